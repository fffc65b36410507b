// The diagnostic log: one formatted write and a flush per line, from any thread.
#pragma once
#include <cstdio>

namespace fw {
// The stream the log writes to, or null for none; the program that links the framework says
// which (it owns the stream).
FILE* log_stream();
} // namespace fw

void trm_log(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
