#include "tests/media_sound/HeapPeak.h"

#include <algorithm>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace tonvella::test {
namespace {

// Plain values only: operator new runs while threads start and end, before any constructor.
thread_local bool t_counting = false;
thread_local long long t_held = 0;
thread_local long long t_peak = 0;

void* Allocate(std::size_t bytes) {
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p) throw std::bad_alloc();
    if (t_counting) {
        t_held += (long long)malloc_usable_size(p);
        t_peak = std::max(t_peak, t_held);
    }
    return p;
}

void Release(void* p) noexcept {
    if (!p) return;
    if (t_counting) t_held -= (long long)malloc_usable_size(p);
    std::free(p);
}

} // namespace

THeapPeak::THeapPeak() {
    t_held = 0;
    t_peak = 0;
    t_counting = true;
}

THeapPeak::~THeapPeak() {
    t_counting = false;
}

long long THeapPeak::Peak() const {
    return t_peak;
}

} // namespace tonvella::test

// Every unaligned form is replaced, so that each block is freed by the allocator that made it
// (the sanitizers' own operators would otherwise see a malloc freed by delete).
void* operator new(std::size_t bytes) {
    return tonvella::test::Allocate(bytes);
}
void* operator new[](std::size_t bytes) {
    return tonvella::test::Allocate(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return tonvella::test::Allocate(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept {
    return operator new(bytes, tag);
}
void operator delete(void* p) noexcept {
    tonvella::test::Release(p);
}
void operator delete[](void* p) noexcept {
    tonvella::test::Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    tonvella::test::Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    tonvella::test::Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    tonvella::test::Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    tonvella::test::Release(p);
}
