// The diagnostic log "trm.log": one formatted write and a flush per line, from any thread.
#pragma once

void trm_log(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
