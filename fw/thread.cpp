#include "fw/thread.h"
#include "fw/handles.h"

namespace fw {

namespace {
struct Start {
    ThreadFn fn;
    void* param;
};

DWORD WINAPI thread_main(void* raw)
{
    Start start = *static_cast<Start*>(raw);
    delete static_cast<Start*>(raw);
    return start.fn(start.param);
}
} // namespace

DWORD begin_thread(ThreadFn fn, void* param)
{
    auto* start = new Start{fn, param};
    DWORD id = 0;
    Handle thread(CreateThread(nullptr, 0, thread_main, start, 0, &id));
    if (!thread) {
        delete start;
        return 0;
    }
    return id;
}

} // namespace fw
