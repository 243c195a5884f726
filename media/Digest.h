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
        // Long runs (vertex arrays) go through four lanes that do not wait on each other, which
        // the processor works on side by side; they are folded into the state at the end.
        if (size >= 64) {
            std::uint64_t lanes[4] = {state, state ^ 0x13198a2e03707344ull,
                                      state ^ 0xa4093822299f31d0ull, state ^ 0x082efa98ec4e6c89ull};
            for (; size >= 32; p += 32, size -= 32)
                for (int i = 0; i < 4; ++i) {
                    std::uint64_t word;
                    std::memcpy(&word, p + 8 * i, 8);
                    lanes[i] = Round(lanes[i], word);
                }
            for (std::uint64_t lane : lanes)
                Mix(lane);
        }
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
    // Plain values go in as one run of bytes rather than a mixing round each.
    template <typename... T> void AddAll(const T&... values) {
        if constexpr ((std::is_trivially_copyable_v<T> && ...)) {
            unsigned char bytes[(sizeof(T) + ...)];
            std::size_t at = 0;
            ((std::memcpy(bytes + at, &values, sizeof values), at += sizeof values), ...);
            AddBytes(bytes, sizeof bytes);
        } else {
            (Add(values), ...);
        }
    }

    std::uint64_t Value() const { return state; }

private:
    // One round of a multiply-xorshift mixer per word: every input bit reaches every output bit.
    static std::uint64_t Round(std::uint64_t h, std::uint64_t word) {
        h = (h ^ word) * 0x9e3779b97f4a7c15ull;
        h ^= h >> 29;
        h *= 0xbf58476d1ce4e5b9ull;
        return h ^ (h >> 32);
    }
    void Mix(std::uint64_t word) { state = Round(state, word); }

    std::uint64_t state = 0x243f6a8885a308d3ull;
};

} // namespace tonvella
