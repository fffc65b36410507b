#include "fw/system_dll.h"

namespace fw {

FARPROC system_proc(const char* dll, const char* name)
{
    // Only the system folder: a library of the same name beside the program is never taken.
    HMODULE module = GetModuleHandleA(dll);
    if (!module)
        module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

} // namespace fw
