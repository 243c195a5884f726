// A 64-bit digest of a sequence of values: cheap enough to take of a whole scene every frame,
// strong enough that two different scenes practically never share one.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace tonvella {

class TDigest {
public:
    void AddBytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (; size >= 8; p += 8, size -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            Mix(word);
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, p, size);
        Mix(tail ^ (std::uint64_t(size) << 56));
    }

    template <typename T> void Add(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        AddBytes(&value, sizeof value);
    }
    template <typename T> void Add(const std::vector<T>& values) {
        Add(values.size());
        AddBytes(values.data(), values.size() * sizeof(T));
    }
    void Add(const std::u16string& text) {
        Add(text.size());
        AddBytes(text.data(), text.size() * sizeof(char16_t));
    }
    template <typename... T> void AddAll(const T&... values) { (Add(values), ...); }

    std::uint64_t Value() const { return state_; }

private:
    // One round of a multiply-xorshift mixer per word: every input bit reaches every output bit.
    void Mix(std::uint64_t word) {
        state_ = (state_ ^ word) * 0x9e3779b97f4a7c15ull;
        state_ ^= state_ >> 29;
        state_ *= 0xbf58476d1ce4e5b9ull;
        state_ ^= state_ >> 32;
    }

    std::uint64_t state_ = 0x243f6a8885a308d3ull;
};

} // namespace tonvella
