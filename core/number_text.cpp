#include "core/number_text.h"

#include <climits>

namespace {

constexpr std::uint64_t magnitude_cap = std::uint64_t(1) << 40;

// White space of the "C" locale; bytes above 0x7f never count, whatever the char signedness.
bool is_c_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digit_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool is_digit_of(char c, int base)
{
    const int d = digit_value(c);
    return d >= 0 && d < base;
}

} // namespace

bool ScanCursor::at(std::size_t offset, char c) const
{
    return pos_ + offset < text_.size() && text_[pos_ + offset] == c;
}

void ScanCursor::skip_space()
{
    while (pos_ < text_.size() && is_c_space(text_[pos_]))
        ++pos_;
}

bool ScanCursor::take(char c)
{
    if (!at(0, c))
        return false;
    ++pos_;
    return true;
}

// A "0x" counts as prefix only when a hex digit follows; otherwise the 0 alone is the number.
int ScanCursor::prefixed_base(int base)
{
    if (base != 0 && base != 16)
        return base;
    if (at(0, '0') && (at(1, 'x') || at(1, 'X')) && pos_ + 2 < text_.size() && is_digit_of(text_[pos_ + 2], 16)) {
        pos_ += 2;
        return 16;
    }
    if (base == 0)
        return at(0, '0') ? 8 : 10;
    return base;
}

bool ScanCursor::read_magnitude(int base, Magnitude& out)
{
    const std::size_t start = pos_;
    skip_space();
    out = Magnitude{};
    if (at(0, '-') || at(0, '+'))
        out.negative = text_[pos_++] == '-';
    base = prefixed_base(base);
    if (pos_ >= text_.size() || !is_digit_of(text_[pos_], base)) {
        pos_ = start;
        return false;
    }
    for (; pos_ < text_.size() && is_digit_of(text_[pos_], base); ++pos_) {
        if (out.value < magnitude_cap)
            out.value = out.value * static_cast<unsigned>(base) + static_cast<unsigned>(digit_value(text_[pos_]));
    }
    return true;
}

bool ScanCursor::read_int(int base, int& value)
{
    Magnitude m;
    if (!read_magnitude(base, m))
        return false;
    const std::uint64_t int_max = static_cast<std::uint64_t>(INT_MAX);
    if (!m.negative)
        value = m.value > int_max ? INT_MAX : static_cast<int>(m.value);
    else
        value = m.value > int_max ? INT_MIN : -static_cast<int>(m.value);
    return true;
}

bool ScanCursor::read_uint(int base, std::uint32_t& value)
{
    Magnitude m;
    if (!read_magnitude(base, m))
        return false;
    if (m.value > UINT32_MAX)
        value = UINT32_MAX;
    else
        value = m.negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(m.value))
                           : static_cast<std::uint32_t>(m.value);
    return true;
}

int scan_decimal_format(std::string_view text, std::string_view format, int* values, int max_values)
{
    ScanCursor cursor(text);
    int read = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char f = format[i];
        if (f == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
            ++i;
            if (read >= max_values || !cursor.read_int(10, values[read]))
                break;
            ++read;
        } else if (is_c_space(f)) {
            cursor.skip_space();
        } else if (!cursor.take(f)) {
            break;
        }
    }
    return read;
}

std::optional<int> scan_c_int(std::string_view text)
{
    int value = 0;
    if (!ScanCursor(text.substr(0, number_box_chars)).read_int(0, value))
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> scan_hex(std::string_view text)
{
    std::uint32_t value = 0;
    if (!ScanCursor(text.substr(0, number_box_chars)).read_uint(16, value))
        return std::nullopt;
    return value;
}

std::string format_hex6(std::uint32_t value)
{
    return format_printf("%06x", static_cast<unsigned>(value));
}

std::string format_int(int value)
{
    return format_printf("%i", value);
}
