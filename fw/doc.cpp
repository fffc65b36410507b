#include "fw/doc.h"
#include "fw/command_ids.h"
#include "fw/app.h"
#include "fw/frame.h"

namespace fw {

namespace {

bool writable_existing_file(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY) && !(attr & FILE_ATTRIBUTE_READONLY);
}

} // namespace

bool Document::OnCmdMsg(UINT id)
{
    switch (id) {
    case ID_FILE_SAVE: OnFileSave(); return true;
    case ID_FILE_SAVE_AS: OnFileSaveAs(); return true;
    default: return false;
    }
}

void Document::SetPathName(const char* path)
{
    char buf[MAX_PATH];
    char* name = nullptr;
    DWORD n = GetFullPathNameA(path, MAX_PATH, buf, &name);
    if (n > 0 && n < MAX_PATH) {
        path_.assign(buf, n);
        title_ = name ? name : path_;
    } else {
        path_ = path;
        size_t slash = path_.find_last_of("\\/");
        title_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    }
    if (frame_)
        frame_->update_title();
}

View* Document::view() const
{
    return frame_ ? frame_->GetActiveView() : nullptr;
}

void Document::OnFileSave()
{
    // A file that is missing or read-only is saved under a name the user picks.
    DoSave(writable_existing_file(path_) ? path_ : std::string());
}

void Document::OnFileSaveAs()
{
    DoSave(std::string());
}

bool Document::DoSave(std::string path)
{
    if (path.empty()) {
        path = path_;
        if (!ask_file_name(frame_ ? frame_->hwnd() : nullptr, false, path))
            return false;
    }
    if (!OnSaveDocument(path.c_str()))
        return false;
    SetPathName(path.c_str());
    return true;
}

} // namespace fw
