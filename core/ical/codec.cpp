#include "core/ical/codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ical {

namespace {

std::string latin1_to_utf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8_to_latin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = utf8_sequence_length(c);
        bool whole = i + length <= text.size() && length > 1;
        for (size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (length == 1 && c < 0x80) {
            out += text[i];
        } else if (whole && length == 2 && c <= 0xC3 && c >= 0xC2) {
            out += static_cast<char>((c & 0x1F) << 6 | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
        } else {
            out += '?';
        }
        i += whole ? length : 1;
    }
    return out;
}

bool is_continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Where the ASCII bytes from at end.
size_t ascii_run_end(std::string_view text, size_t at)
{
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80)
        ++at;
    return at;
}

// The code point of a well-formed two- or three-byte sequence at the start of text (no overlong
// form, no surrogate), or 0 with anything else.
char32_t two_or_three_byte_point(std::string_view text, size_t& length)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    length = utf8_sequence_length(lead);
    if (length == 2 && text.size() >= 2 && is_continuation(static_cast<unsigned char>(text[1])))
        return static_cast<char32_t>((lead & 0x1F) << 6 | (static_cast<unsigned char>(text[1]) & 0x3F));
    if (length != 3 || text.size() < 3)
        return 0;
    const auto second = static_cast<unsigned char>(text[1]), third = static_cast<unsigned char>(text[2]);
    if (!is_continuation(second) || !is_continuation(third))
        return 0;
    const char32_t point = static_cast<char32_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F));
    return point < 0x800 || (point >= 0xD800 && point <= 0xDFFF) ? 0 : point;
}

} // namespace

TextCodec::TextCodec(Convert to_utf8, Convert from_utf8)
    : to_utf8_(std::move(to_utf8)), from_utf8_(std::move(from_utf8))
{ }

TextCodec::TextCodec(Convert to_utf8, Convert from_utf8, const char32_t (&upper)[128])
    : TextCodec(std::move(to_utf8), std::move(from_utf8))
{
    has_table_ = true;
    for (size_t i = 0; i < 128; ++i) {
        const char32_t point = upper[i];
        // Bytes of ASCII or of no BMP character would change the escaping or need a surrogate.
        if (point < 0x80 || point > 0xFFFF || (point >= 0xD800 && point <= 0xDFFF))
            continue;
        char* utf8 = table_utf8_[i];
        if (point < 0x800) {
            utf8[0] = static_cast<char>(0xC0 | point >> 6);
            utf8[1] = static_cast<char>(0x80 | (point & 0x3F));
            table_length_[i] = 2;
        } else {
            utf8[0] = static_cast<char>(0xE0 | point >> 12);
            utf8[1] = static_cast<char>(0x80 | (point >> 6 & 0x3F));
            utf8[2] = static_cast<char>(0x80 | (point & 0x3F));
            table_length_[i] = 3;
        }
        bytes_of_.emplace_back(point, static_cast<char>(0x80 + i));
    }
    std::sort(bytes_of_.begin(), bytes_of_.end());
    // A character of two bytes has no single way back: the general conversion decides.
    std::vector<std::pair<char32_t, char>> unique;
    for (size_t i = 0; i < bytes_of_.size(); ++i) {
        const bool shared = (i > 0 && bytes_of_[i - 1].first == bytes_of_[i].first) ||
                            (i + 1 < bytes_of_.size() && bytes_of_[i + 1].first == bytes_of_[i].first);
        if (!shared)
            unique.push_back(bytes_of_[i]);
    }
    bytes_of_.swap(unique);
    for (const auto& [point, byte] : bytes_of_)
        if (point < 0x800)
            byte_of_two_[point - 0x80] = byte;
}

bool TextCodec::table_holds(std::string_view text) const
{
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && table_length_[b - 0x80] == 0)
            return false;
    }
    return true;
}

void TextCodec::append_utf8(std::string& out, std::string_view text) const
{
    if (!has_table_ || !table_holds(text)) {
        out += to_utf8_(text);
        return;
    }
    for (size_t i = 0; i < text.size();) {
        const size_t ascii_end = ascii_run_end(text, i);
        out.append(text.data() + i, ascii_end - i);
        if (ascii_end == text.size())
            break;
        const auto b = static_cast<unsigned char>(text[ascii_end]);
        out.append(table_utf8_[b - 0x80], table_length_[b - 0x80]);
        i = ascii_end + 1;
    }
}

char* TextCodec::write_from_utf8(char* out, std::string_view utf8) const
{
    if (!has_table_)
        return nullptr;
    for (size_t i = 0; i < utf8.size();) {
        // ASCII goes through eight bytes at a time.
        if (i + 8 <= utf8.size()) {
            std::uint64_t word;
            std::memcpy(&word, utf8.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                std::memcpy(out, &word, 8);
                out += 8;
                i += 8;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            *out++ = static_cast<char>(lead);
            ++i;
            continue;
        }
        size_t length = 0;
        const char32_t point = two_or_three_byte_point(utf8.substr(i), length);
        char byte = 0;
        if (point >= 0x80 && point < 0x800) {
            byte = byte_of_two_[point - 0x80];
        } else if (point != 0) {
            const auto found = std::lower_bound(bytes_of_.begin(), bytes_of_.end(), std::make_pair(point, '\0'),
                                                [](const auto& a, const auto& b) { return a.first < b.first; });
            if (found != bytes_of_.end() && found->first == point)
                byte = found->second;
        }
        if (byte == 0)
            return nullptr;
        *out++ = byte;
        i += length;
    }
    return out;
}

void TextCodec::append_from_utf8(std::string& out, std::string_view utf8) const
{
    const size_t before = out.size();
    out.resize(before + utf8.size());
    if (char* end = write_from_utf8(&out[before], utf8)) {
        out.resize(static_cast<size_t>(end - out.data()));
        return;
    }
    out.resize(before);
    out += from_utf8_(utf8);
}

std::string TextCodec::to_utf8(std::string_view text) const
{
    std::string out;
    append_utf8(out, text);
    return out;
}

std::string TextCodec::from_utf8(std::string_view utf8) const
{
    std::string out;
    append_from_utf8(out, utf8);
    return out;
}

const TextCodec& latin1_codec()
{
    static const TextCodec codec = [] {
        char32_t upper[128];
        for (size_t i = 0; i < 128; ++i)
            upper[i] = static_cast<char32_t>(0x80 + i);
        return TextCodec(latin1_to_utf8, utf8_to_latin1, upper);
    }();
    return codec;
}

} // namespace ical
