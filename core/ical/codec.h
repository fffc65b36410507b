// Text between the program's ANSI code page and the UTF-8 of iCalendar files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ical {

// A code page's conversions. A single-byte code page may also give the code points of its
// upper 128 bytes: text is then converted through that table, and only what the table cannot
// say (a character of no byte, bytes that are not UTF-8) takes the general conversion.
class TextCodec {
public:
    using Convert = std::function<std::string(std::string_view)>;
    // to_utf8 for any text of the code page; from_utf8 gives "?" for every character the code
    // page cannot hold, and for bytes that are not UTF-8.
    TextCodec(Convert to_utf8, Convert from_utf8);
    // upper[i] is the code point of byte 0x80 + i, 0 when that byte has none of its own.
    TextCodec(Convert to_utf8, Convert from_utf8, const char32_t (&upper)[128]);

    std::string to_utf8(std::string_view text) const;
    std::string from_utf8(std::string_view utf8) const;
    void append_utf8(std::string& out, std::string_view text) const;
    void append_from_utf8(std::string& out, std::string_view utf8) const;
    // The table's conversion into out, which has room for utf8.size() bytes: no character takes
    // more bytes in the code page than in UTF-8. Returns the end of what it wrote, or null when
    // there is no table or it cannot convert the whole text.
    char* write_from_utf8(char* out, std::string_view utf8) const;
    // The UTF-8 of a byte from the table, or empty when the byte needs the general conversion.
    std::string_view utf8_of(unsigned char byte) const
    {
        return {table_utf8_[byte - 0x80], table_length_[byte - 0x80]};
    }
    bool has_table() const { return has_table_; }

private:
    bool table_holds(std::string_view text) const;

    Convert to_utf8_, from_utf8_;
    bool has_table_ = false;
    char table_utf8_[128][3] = {};
    std::uint8_t table_length_[128] = {};
    std::vector<std::pair<char32_t, char>> bytes_of_; // code point and its byte, by code point
    char byte_of_two_[0x800 - 0x80] = {}; // the same for two-byte points; 0: none
};

// ISO 8859-1, where every byte is the character of the same number: the code page of the
// portable tools, and a stand-in for the system's in tests.
const TextCodec& latin1_codec();

// Number of bytes of the UTF-8 sequence that starts with this byte (1 for a stray byte).
inline size_t utf8_sequence_length(unsigned char lead)
{
    if (lead < 0xC2)
        return 1;
    if (lead <= 0xDF)
        return 2;
    if (lead <= 0xEF)
        return 3;
    return lead <= 0xF4 ? 4 : 1;
}

} // namespace ical
