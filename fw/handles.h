// Scoped owners for kernel handles, COM interfaces, COM initialisation and started processes:
// nothing leaks on an early return.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace fw {

// A kernel handle; both null and INVALID_HANDLE_VALUE mean none, as the API returns either.
class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : h_(h) { }
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& o) noexcept : h_(o.release()) { }
    Handle& operator=(Handle&& o) noexcept
    {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    HANDLE get() const { return h_; }
    bool ok() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return ok(); }
    void reset(HANDLE h = nullptr)
    {
        if (ok())
            CloseHandle(h_);
        h_ = h;
    }
    HANDLE release()
    {
        HANDLE h = h_;
        h_ = nullptr;
        return h;
    }

private:
    HANDLE h_;
};

// A COM interface pointer, released once.
template <class I> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    I* get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the calls that hand out an interface: releases the one held first.
    void** out()
    {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset()
    {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }

private:
    I* p_ = nullptr;
};

// The component runtime for the calling thread, as long as this lives. The calls come through
// the system library loader, so that start-up does not load ole32.
class ComInit {
public:
    ComInit();
    ~ComInit();
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    bool ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// Both handles of a started process.
class Process {
public:
    Process() = default;
    ~Process()
    {
        Handle thread(info.hThread);
        Handle process(info.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    PROCESS_INFORMATION info{};
};

} // namespace fw
