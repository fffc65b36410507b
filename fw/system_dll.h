// Functions of system libraries that only some commands need (file and print dialogs, the shell,
// the component runtime). Looking them up on first use keeps those libraries out of start-up.
#pragma once
#include <windows.h>
#include <cstring>

namespace fw {

// The address of `name` in the system library `dll`, or nullptr when either is missing.
FARPROC system_proc(const char* dll, const char* name);

// The same, typed: system_function<decltype(PrintDlgA)>("comdlg32.dll", "PrintDlgA").
template <class Fn> Fn* system_function(const char* dll, const char* name)
{
    FARPROC proc = system_proc(dll, name);
    Fn* fn = nullptr;
    static_assert(sizeof fn == sizeof proc, "function pointers differ in size");
    std::memcpy(&fn, &proc, sizeof fn);
    return fn;
}

} // namespace fw
