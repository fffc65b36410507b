#include "fw/handles.h"
#include "fw/system_dll.h"

namespace fw {

ComInit::ComInit()
{
    static auto* const init = system_function<decltype(CoInitialize)>("ole32.dll", "CoInitialize");
    hr_ = init ? init(nullptr) : E_NOTIMPL;
}

ComInit::~ComInit()
{
    static auto* const done = system_function<decltype(CoUninitialize)>("ole32.dll", "CoUninitialize");
    if (SUCCEEDED(hr_) && done)
        done();
}

} // namespace fw
