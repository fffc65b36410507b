#include "ical/codec.h"

namespace ical {

namespace {

std::string latin1_to_utf8(std::string_view text) {
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

std::string utf8_to_latin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = utf8_sequence_length(c);
        bool whole = i + length <= text.size() && length > 1;
        for (size_t k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
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

}  // namespace

size_t utf8_sequence_length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    return 1;
}

const TextCodec& latin1_codec() {
    static const TextCodec codec{latin1_to_utf8, utf8_to_latin1};
    return codec;
}

}  // namespace ical
