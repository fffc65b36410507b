#include "store/mdoc.h"
#include <iterator>
#include <string>
#include <vector>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/frame.h"
#include "fw/view.h"
#include "res/resource.h"
#include "store/file_io.h"
#include "core/line_merge.h"
#include "store/read_ahead.h"

namespace {

// A file that is being written or is locked is looked at again this often before a save.
const int kSettleTries = 10;
const DWORD kSettlePauseMs = 100;

fw::View* shown_view()
{
    fw::Frame* frame = papp->main_frame();
    return frame ? frame->GetActiveView() : nullptr;
}

std::string not_written_text(const std::string& path)
{
    return "The Dates could not be written to " + path + " !\n";
}

class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
};

} // namespace

mdoc::mdoc()
{
    trm_log("mdoc::mdoc () OK ...\n");
}

mdoc::~mdoc()
{
    trm_log("mdoc::~mdoc () OK ...\n");
}

bool mdoc::OnNewDocument()
{
    SetPathName(new_file_name);
    read_file(new_file_name);
    return true;
}

bool mdoc::OnOpenDocument(const char* path)
{
    // Opening would drop the dates in memory that could not be written: the user decides.
    if (!ask_save(GetPathName().c_str()) &&
        !confirm_unsaved("Open the other file all the same?", frame() ? frame()->hwnd() : nullptr))
        return false;
    papp->list.lines.clear();
    read_file(path);
    if (HWND main = papp->main_window())
        SendMessageA(main, WM_COMMAND, ID_RELOAD_VIEW, 0);
    return true;
}

bool mdoc::OnSaveDocument(const char* path)
{
    if (ask_save(path))
        return true;
    fw::message_box(frame() ? frame()->hwnd() : nullptr, not_written_text(path).c_str(), MB_OK | MB_ICONSTOP);
    return false;
}

void mdoc::PreCloseFrame(fw::Frame* frame)
{
    close_cancelled_ = false;
    if (ask_save(GetPathName().c_str()))
        return;
    // At the end of the session nobody can answer: the file keeps what it held.
    if (frame && frame->ending_session()) {
        trm_log("mdoc::PreCloseFrame () FAILED, the Dates could not be written to %s ...\n", GetPathName().c_str());
        return;
    }
    // Closing now would lose every change since the last save: the user decides.
    close_cancelled_ = !confirm_unsaved("Close Termaris all the same?", frame ? frame->hwnd() : nullptr);
}

bool mdoc::OnCmdMsg(UINT id)
{
    if (id != ID_CHECK_FILE)
        return fw::Document::OnCmdMsg(id);
    check_file();
    return true;
}

bool mdoc::confirm_unsaved(const char* question, HWND owner) const
{
    std::string text = not_written_text(GetPathName()) + question;
    return fw::message_box(owner, text.c_str(), MB_YESNO | MB_ICONSTOP) == IDYES;
}

bool mdoc::read_file(const char* path)
{
    const std::string full = fw::full_path(path);
    DateFileRead read;
    if (!take_read_ahead(full, read))
        read = read_date_file(path);
    if (read.result == ReadResult::ok) {
        std::vector<std::string>& lines = papp->list.lines;
        if (lines.empty())
            lines = std::move(read.lines);
        else
            lines.insert(lines.end(), std::make_move_iterator(read.lines.begin()),
                         std::make_move_iterator(read.lines.end()));
    }
    // An existing file that could not be read must not be emptied by a later save.
    unreadable_path_ = read.result == ReadResult::unreadable ? full : std::string();
    take_base(full, std::move(read.bytes), read.stamp);
    trm_log("mdoc::read_file () OK ...\n");
    return read.result != ReadResult::unreadable;
}

void mdoc::take_base(const std::string& path, std::string bytes, const FileStamp& stamp)
{
    base_path_ = path;
    base_.take(std::move(bytes), stamp);
    const std::string folder = fw::folder_of(path);
    HWND main = frame() ? frame()->hwnd() : nullptr;
    if (main && !fw::same_file(folder, watch_.folder()))
        watch_.start(folder, main, ID_CHECK_FILE);
}

mdoc::FileCheck mdoc::check_file()
{
    const std::string& path = GetPathName();
    // One look at a time: a look never waits for anything that could start another.
    if (checking_ || !fw::same_file(path, base_path_))
        return FileCheck::unchanged;
    Flag checking(checking_);
    if (fw::same_file(path, unreadable_path_))
        return check_unreadable_file(path);
    return check_changed_file(path);
}

mdoc::FileCheck mdoc::check_unreadable_file(const std::string& path)
{
    DateFileRead read = read_date_file(path.c_str());
    if (read.result == ReadResult::unreadable)
        return FileCheck::busy;
    // Readable at last: its entries join those entered since, and saves to it work again.
    unreadable_path_.clear();
    if (read.result == ReadResult::missing) {
        base_.take(std::string(), read.stamp);
        return FileCheck::missing;
    }
    merge_in(read.bytes);
    base_.take(std::move(read.bytes), read.stamp);
    return FileCheck::merged;
}

mdoc::FileCheck mdoc::check_changed_file(const std::string& path)
{
    const FileStamp now = file_stamp(path.c_str());
    // A file that is gone for a moment (a sync client replacing it) has not lost its entries.
    if (!now.exists)
        return FileCheck::missing;
    if (now == base_.stamp)
        return FileCheck::unchanged;
    DateFileRead read = read_date_file(path.c_str());
    if (read.result == ReadResult::missing)
        return FileCheck::missing;
    // Locked, or written while it was read: looked at again next time.
    if (read.result != ReadResult::ok || read.stamp != file_stamp(path.c_str()))
        return FileCheck::busy;
    const std::uint64_t hash = content_hash(read.bytes);
    const bool changed = !base_.same_content(read.bytes, hash);
    if (changed)
        merge_in(read.bytes);
    base_.take(std::move(read.bytes), read.stamp, hash);
    return changed ? FileCheck::merged : FileCheck::unchanged;
}

void mdoc::merge_in(std::string_view theirs)
{
    CLst& list = papp->list;
    // The changes point into base and theirs only, so the store may change under its own views.
    const dl::LineChanges changes =
        dl::merge_changes(dl::line_views(base_.bytes), list.store.line_views(), dl::line_views(theirs));
    if (changes.empty())
        return;
    list.take_changes(changes);
    if (fw::View* view = shown_view())
        InvalidateRect(view->hwnd(), nullptr, TRUE);
    trm_log("mdoc::merge_in () OK ...\n");
}

mdoc::FileCheck mdoc::settle_file()
{
    FileCheck found = check_file();
    for (int i = 1; i < kSettleTries && found == FileCheck::busy; ++i) {
        Sleep(kSettlePauseMs);
        found = check_file();
    }
    return found;
}

bool mdoc::ask_save(const char* target)
{
    const std::string full = fw::full_path(target);
    const bool unreadable = fw::same_file(full, unreadable_path_);
    // Whatever another program wrote into the current file since is merged in before it is
    // written over; while that file cannot be read, writing over it could lose its entries.
    if (fw::same_file(full, base_path_) && settle_file() == FileCheck::busy && !unreadable) {
        trm_log("mdoc::ask_save () FAILED, %s is locked or being written ...\n", full.c_str());
        return false;
    }
    // The file that could not be read is never overwritten: with nothing to keep that is no
    // loss, but dates entered since then are reported as not saved.
    if (fw::same_file(full, unreadable_path_))
        return papp->list.row_count() == 0 && papp->list.lines.empty();
    HWND main = papp->main_window();
    if (!shown_view() || !main)
        return false;
    save_request_ = SaveRequest{target, false, {}};
    SendMessageA(main, WM_COMMAND, ID_SAVE_DATES, 0);
    const bool ok = save_request_.ok;
    if (ok)
        take_base(full, std::move(save_request_.written), file_stamp(full.c_str()));
    save_request_ = SaveRequest{};
    return ok;
}
