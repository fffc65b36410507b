#include "app/log.h"
#include <cstdarg>
#include <cstdio>
#include "app/mapp.h"

void trm_log(const char* fmt, ...)
{
    FILE* f = papp ? papp->log_file : nullptr;
    if (!f)
        return;
    va_list args;
    va_start(args, fmt);
    vfprintf(f, fmt, args);
    va_end(args);
    fflush(f);
}
