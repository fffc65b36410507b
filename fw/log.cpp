#include "fw/log.h"
#include <cstdarg>

void trm_log(const char* fmt, ...)
{
    FILE* f = fw::log_stream();
    if (!f)
        return;
    va_list args;
    va_start(args, fmt);
    vfprintf(f, fmt, args);
    va_end(args);
    fflush(f);
}
