// Watches one folder on a thread of its own and tells a window when files in it were written,
// made, renamed or deleted: one command, posted once the folder has been quiet for a moment, so
// that a writer is done before anyone reads.
#pragma once
#include <windows.h>
#include <string>
#include <thread>
#include "fw/handles.h"

namespace fw {

class FolderWatch {
public:
    FolderWatch() = default;
    ~FolderWatch() { stop(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Stops any earlier watch; false when the folder cannot be watched.
    bool start(const std::string& folder, HWND notify, UINT command);
    void stop();
    const std::string& folder() const { return folder_; }

private:
    void run(HANDLE change, HWND notify, UINT command);

    std::thread worker_;
    Handle stop_;
    std::string folder_;
};

} // namespace fw
