#pragma once
// Number texts as the C runtime's scanf and printf read and write them, without their buffers.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// The options dialog reads at most this many characters from a number box.
constexpr std::size_t number_box_chars = 15;

// Reads numbers and literals from a text the way sscanf walks its input. Numbers that do not fit
// saturate (strtol on a 32-bit long), so an overlong year can never wrap into a valid one.
class ScanCursor {
public:
    explicit ScanCursor(std::string_view text) : text_(text) { }

    // Base 10 (%d), 16 (%x, optional 0x) or 0 (%i: 0x hex, leading 0 octal, else decimal).
    // Skips leading white space like every numeric conversion; false when no digit follows.
    bool read_int(int base, int& value);
    bool read_uint(int base, std::uint32_t& value);

    // A blank in a format: any run of white space, none included.
    void skip_space();
    // An ordinary format character: must stand in the text right here.
    bool take(char c);

private:
    struct Magnitude {
        bool negative = false;
        std::uint64_t value = 0; // saturated far above 32 bits
    };
    bool read_magnitude(int base, Magnitude& out);
    int prefixed_base(int base);
    bool at(std::size_t offset, char c) const;

    std::string_view text_;
    std::size_t pos_ = 0;
};

// sscanf with a format made of "%d", blanks and ordinary characters: stores the numbers read into
// values (at most max_values) and returns how many were read (0 also when nothing was).
int scan_decimal_format(std::string_view text, std::string_view format, int* values, int max_values);

// "%i" of the first characters of a number box; nullopt when they do not begin with a number.
std::optional<int> scan_c_int(std::string_view text);
// "%x" (an optional 0x) of the first characters of a number box.
std::optional<std::uint32_t> scan_hex(std::string_view text);

std::string format_hex6(std::uint32_t value); // "%06x"
std::string format_int(int value); // "%i"

// snprintf into a string of the exact length: nothing can be cut off or written past.
template <class... Args> std::string format_printf(const char* format, Args... args)
{
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}
