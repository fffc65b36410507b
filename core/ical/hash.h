// A 64-bit hash of bytes for entry lines: a table key on import, an identifier on export.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace ical {

// Eight bytes at a time in two lanes of their own, so that the multiplications of one line
// overlap instead of waiting on each other.
inline std::uint64_t hash_bytes(std::string_view text)
{
    constexpr std::uint64_t k = 0x9E3779B97F4A7C15ULL;
    auto mix = [](std::uint64_t h, std::uint64_t word) {
        h = (h ^ word) * k;
        return h ^ h >> 29;
    };
    auto word_at = [&text](size_t at, size_t size) {
        std::uint64_t word = 0;
        if (size > 0)
            std::memcpy(&word, text.data() + at, size); // an empty view may have no data
        return word;
    };
    std::uint64_t a = text.size(), b = k;
    size_t at = 0;
    for (; at + 16 <= text.size(); at += 16) {
        a = mix(a, word_at(at, 8));
        b = mix(b, word_at(at + 8, 8));
    }
    if (at + 8 <= text.size()) {
        a = mix(a, word_at(at, 8));
        at += 8;
    }
    b = mix(b, word_at(at, text.size() - at));
    return mix(mix(a, b), text.size());
}

} // namespace ical
