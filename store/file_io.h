// Whole-file reads and writes of the date file; a write never destroys the previous file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

enum class ReadResult { ok, missing, unreadable };

ReadResult read_whole_file(const char* path, std::string& bytes);
// The file's bytes split into its date lines (CR LF or LF ends a line, Ctrl-Z ends the file).
ReadResult read_date_lines(const char* path, std::vector<std::string>& lines);

// Writes the bytes beside the target first and replaces the target only once they are all on
// disk; a read-only target, a full disk or any other failure leaves the old file as it was.
bool write_file_replacing(const char* path, std::string_view bytes);
