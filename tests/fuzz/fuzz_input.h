// Shared by the fuzz targets: taking typed values off the input, and stopping on a broken rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace fuzz {

// Values are taken from the front; once the input runs out, every value is 0 or empty.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) { }

    std::uint8_t byte()
    {
        if (bytes_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return b;
    }

    bool flag() { return (byte() & 1) != 0; }

    std::int32_t int32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | byte();
        std::int32_t out;
        std::memcpy(&out, &v, sizeof out);
        return out;
    }

    bool empty() const { return bytes_.empty(); }

    // Up to the next NUL (dropped) or the end: a text as a C function receives it.
    std::string text()
    {
        const std::size_t nul = bytes_.find('\0');
        std::string t(bytes_.substr(0, nul));
        bytes_.remove_prefix(nul == std::string_view::npos ? bytes_.size() : nul + 1);
        return t;
    }

    std::string rest()
    {
        std::string r(bytes_);
        bytes_ = {};
        return r;
    }

private:
    std::string_view bytes_;
};

inline std::string printable(std::string_view s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02x", c);
            out += esc;
        }
    }
    return out;
}

// A broken rule is a finding: abort, so that libFuzzer keeps the input that did it.
[[noreturn]] inline void fail(const char* rule, std::string_view detail = {})
{
    std::fprintf(stderr, "rule broken: %s\n", rule);
    if (!detail.empty())
        std::fprintf(stderr, "  at: %s\n", printable(detail).c_str());
    std::abort();
}

inline void require(bool ok, const char* rule, std::string_view detail = {})
{
    if (!ok)
        fail(rule, detail);
}

} // namespace fuzz
