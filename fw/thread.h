// Worker threads: start a function with one parameter; the thread's handle is released at once.
#pragma once
#include <windows.h>

namespace fw {

using ThreadFn = UINT (*)(void* param);

// Returns the new thread's id, or 0 when it could not start.
DWORD begin_thread(ThreadFn fn, void* param);

} // namespace fw
