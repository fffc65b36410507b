#include "store/mdoc.h"
#include <iterator>
#include <string>
#include <vector>
#include "app/log.h"
#include "app/mapp.h"
#include "fw/frame.h"
#include "res/resource.h"
#include "store/file_io.h"
#include "store/read_ahead.h"
#include "view/mvie.h"


namespace {

std::string not_written_text(const std::string& path)
{
    return "The Dates could not be written to " + path + " !\n";
}

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
    // Closing now would lose every change since the last save: the user decides.
    close_cancelled_ = !ask_save(GetPathName().c_str()) &&
                       !confirm_unsaved("Close Termaris all the same?", frame ? frame->hwnd() : nullptr);
}

bool mdoc::confirm_unsaved(const char* question, HWND owner) const
{
    std::string text = not_written_text(GetPathName()) + question;
    return fw::message_box(owner, text.c_str(), MB_YESNO | MB_ICONSTOP) == IDYES;
}

bool mdoc::read_file(const char* path)
{
    ReadResult r = ReadResult::missing;
    std::vector<std::string> read;
    if (!take_read_ahead(fw::full_path(path), r, read))
        r = read_date_lines(path, read);
    if (r == ReadResult::ok) {
        std::vector<std::string>& lines = papp->list.lines;
        if (lines.empty())
            lines = std::move(read);
        else
            lines.insert(lines.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    }
    // An existing file that could not be read must not be emptied by a later save.
    unreadable_path_ = r == ReadResult::unreadable ? fw::full_path(path) : std::string();
    trm_log("mdoc::read_file () OK ...\n");
    return r != ReadResult::unreadable;
}

bool mdoc::ask_save(const char* target)
{
    // The file that could not be read is never overwritten: with nothing to keep that is no
    // loss, but dates entered since then are reported as not saved.
    if (fw::same_file(fw::full_path(target), unreadable_path_))
        return papp->list.row_count() == 0 && papp->list.lines.empty();
    mvie* view = active_view();
    HWND main = papp->main_window();
    if (!view || !main)
        return false;
    view->save_target = target;
    view->save_ok = false;
    SendMessageA(main, WM_COMMAND, ID_SAVE_DATES, 0);
    return view->save_ok;
}
