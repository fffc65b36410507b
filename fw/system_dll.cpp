#include "fw/system_dll.h"
#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace fw {

namespace {

// Only the system folder: a library of the same name beside the program is never taken.
HMODULE load_system_library(const char* dll)
{
    if (HMODULE module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // Systems without that search flag: the library by its full path in the system folder.
    char folder[MAX_PATH];
    UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    std::string path = std::string(folder, n) + "\\" + dll;
    return LoadLibraryA(path.c_str());
}

} // namespace

FARPROC system_proc(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    if (!module)
        module = load_system_library(dll);
    return module ? GetProcAddress(module, name) : nullptr;
}

} // namespace fw
