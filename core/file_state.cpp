#include "core/file_state.h"

#include <cstring>

std::uint64_t content_hash(std::string_view bytes)
{
    const std::uint64_t mul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = 0xCBF29CE484222325ull ^ (bytes.size() * mul);
    auto mix = [&](std::uint64_t word) {
        h = (h ^ word) * mul;
        h ^= h >> 32;
    };
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        mix(word);
    }
    std::uint64_t tail = 0;
    if (i < bytes.size())
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    mix(tail);
    return h;
}
