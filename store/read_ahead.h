// Reading the date file ahead, on a thread of its own, while the windows are being made. The
// first read of the date file takes the result; a file that changed in between is read again.
#pragma once
#include <string>
#include "store/file_io.h"

// Starts reading and decoding the file at the full path. One read ahead at a time: a second
// start waits for the first and drops it.
void read_ahead(const std::string& path);

// The read ahead of path, if that is the file read ahead and it is unchanged since; false
// otherwise, and the caller reads the file itself. Either way the read ahead is used up.
bool take_read_ahead(const std::string& path, DateFileRead& read);
