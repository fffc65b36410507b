// The date file as bytes: CR LF on disk, '\n' in the store.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dl {

constexpr char ctrl_z = 26;

// One element per line, each with its '\n' (also the last, when the file lacks the final
// newline). CR LF and a lone LF end a line; a lone CR is data. Overlong lines stay whole.
// Ctrl-Z bytes that run to the end of the file are a DOS end marker and dropped; any other
// Ctrl-Z is data.
std::vector<std::string> decode_lines(std::string_view bytes);

// Appends one line as it goes to disk: every '\n' as CR LF, and a newline added when the
// line lacks one so that it cannot run into the next line. An empty line adds nothing.
void append_encoded(std::string& out, std::string_view line);

std::string encode_lines(const std::vector<std::string>& lines);

} // namespace dl
