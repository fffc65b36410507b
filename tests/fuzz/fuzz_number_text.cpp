// Any format and text for the scanf-like readers: nothing is written past the values given, and
// where the C runtime's sscanf is defined (numbers that fit) the results are sscanf's.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "core/number_text.h"

namespace {

// Only "%d", blanks and ordinary characters, at most four numbers: sscanf may run it as well.
bool is_plain_decimal_format(const std::string& format)
{
    int numbers = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 >= format.size() || format[i + 1] != 'd')
            return false;
        ++numbers;
        ++i;
    }
    return numbers <= 4;
}

// Runs of digits short enough that neither int nor a 32-bit hex value can overflow.
bool has_only_short_numbers(const std::string& text)
{
    int run = 0;
    for (char c : text) {
        const bool digit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        run = digit ? run + 1 : 0;
        if (run > 7)
            return false;
    }
    return true;
}

void check_format(const std::string& format, const std::string& text, int max_values)
{
    std::vector<int> values(static_cast<size_t>(max_values), -12345); // exactly that room, on the heap
    const int read = scan_decimal_format(text, format, values.data(), max_values);
    fuzz::require(read >= 0 && read <= max_values, "no more numbers than room for them", format);

    const std::string c_text(text.c_str());
    if (!is_plain_decimal_format(format) || !has_only_short_numbers(c_text))
        return;
    std::vector<int> by_view(4, -12345);
    const int view_read = scan_decimal_format(c_text, format, by_view.data(), 4);
    int c[4] = {-12345, -12345, -12345, -12345};
    int c_read = std::sscanf(c_text.c_str(), format.c_str(), &c[0], &c[1], &c[2], &c[3]);
    if (c_read < 0)
        c_read = 0;
    fuzz::require(view_read == c_read, "as many numbers as sscanf reads", format + " | " + c_text);
    for (int i = 0; i < c_read; ++i)
        fuzz::require(by_view[static_cast<size_t>(i)] == c[i], "the numbers of sscanf", c_text);
}

void check_number_box(const std::string& box)
{
    const std::string first(box.substr(0, number_box_chars).c_str());
    const std::optional<int> i = scan_c_int(first);
    const std::optional<std::uint32_t> x = scan_hex(first);
    if (!has_only_short_numbers(first))
        return;
    int ci = 0;
    unsigned cx = 0;
    const bool c_has_i = std::sscanf(first.c_str(), "%i", &ci) == 1;
    const bool c_has_x = std::sscanf(first.c_str(), "%x", &cx) == 1;
    fuzz::require(i.has_value() == c_has_i && (!c_has_i || *i == ci), "%i as sscanf reads it", first);
    fuzz::require(x.has_value() == c_has_x && (!c_has_x || *x == cx), "%x as sscanf reads it", first);
}

void check_formatting(int v, std::uint32_t u, const std::string& text)
{
    fuzz::require(format_int(v) == std::to_string(v), "%i writes the number");
    fuzz::require(scan_c_int(format_int(v)) == v, "a written number reads back");
    fuzz::require(format_hex6(u).size() >= 6 && scan_hex(format_hex6(u)) == u, "a written colour reads back");
    const std::string c_text(text.c_str());
    fuzz::require(format_printf("%s", c_text.c_str()) == c_text, "a formatted text is never cut", c_text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const int max_values = in.byte() % 5;
    const int v = in.int32();
    const auto u = static_cast<std::uint32_t>(in.int32());
    const std::string format = in.text();
    const std::string text = in.rest();
    check_format(format, text, max_values);
    check_number_box(text);
    check_formatting(v, u, text);
    return 0;
}
