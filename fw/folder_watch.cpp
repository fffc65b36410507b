#include "fw/folder_watch.h"

namespace fw {

namespace {

// A writer that renames a temporary file over the watched one makes several changes in a row.
const DWORD kQuietMs = 150;

} // namespace

bool FolderWatch::start(const std::string& folder, HWND notify, UINT command)
{
    stop();
    HANDLE change = FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                                 FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE)
        return false;
    stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stop_) {
        FindCloseChangeNotification(change);
        return false;
    }
    folder_ = folder;
    worker_ = std::thread([this, change, notify, command] { run(change, notify, command); });
    return true;
}

void FolderWatch::stop()
{
    if (stop_)
        SetEvent(stop_.get());
    if (worker_.joinable())
        worker_.join();
    stop_.reset();
    folder_.clear();
}

void FolderWatch::run(HANDLE change, HWND notify, UINT command)
{
    const HANDLE waits[] = {stop_.get(), change};
    DWORD got = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    while (got == WAIT_OBJECT_0 + 1 && FindNextChangeNotification(change)) {
        // Told once the changes stopped for a moment.
        got = WaitForMultipleObjects(2, waits, FALSE, kQuietMs);
        if (got == WAIT_TIMEOUT) {
            PostMessageA(notify, WM_COMMAND, command, 0);
            got = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        }
    }
    FindCloseChangeNotification(change);
}

} // namespace fw
