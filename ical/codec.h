// Text between the program's ANSI code page and the UTF-8 of iCalendar files.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ical {

struct TextCodec {
    std::function<std::string(std::string_view)> to_utf8;
    // "?" for every character the code page cannot hold, and for bytes that are not UTF-8.
    std::function<std::string(std::string_view)> from_utf8;
};

// ISO 8859-1, where every byte is the character of the same number: the code page of the
// portable tools, and a stand-in for the system's in tests.
const TextCodec& latin1_codec();

// Number of bytes of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t utf8_sequence_length(unsigned char lead);

}  // namespace ical
