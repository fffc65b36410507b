// The date entry commands of the view: new, edit, cancel, confirm and delete, with the checks
// that turn the editor's boxes into one date line.
#include <optional>
#include <string>
#include "app/mapp.h"
#include "fw/app.h"
#include "core/date_line.h"
#include "core/entry_parse.h"
#include "view/mvie.h"

namespace {

const int kDateBox = 0, kDayBox = 1, kTimeBox = 2, kTextBox = 3;
const size_t kMaxLineLength = dl::line_limit;

std::string box_text(const CLst& list, int box)
{
    char buf[255] = "";
    if (HWND edit = list.edit[box].hwnd())
        GetWindowTextA(edit, buf, sizeof buf);
    return buf;
}

void set_box_text(const CLst& list, int box, const std::string& text)
{
    if (HWND edit = list.edit[box].hwnd())
        SetWindowTextA(edit, text.c_str());
}

void focus_box(const CLst& list, int box)
{
    if (HWND edit = list.edit[box].hwnd())
        SetFocus(edit);
}

void warn(HWND owner, const char* text)
{
    if (text)
        fw::message_box(owner, text, MB_OK | MB_ICONEXCLAMATION);
}

// Day, Time and To do as they go into the line: a pasted tab or line end must not split it.
std::string line_fields(const CLst& list)
{
    std::string fields;
    for (int box = kDayBox; box <= kTextBox; ++box)
        fields += clean_field_text(box_text(list, box)) + "\t";
    return fields;
}

// The row that was loaded into the editor, wherever it went since; gone after a deletion or a
// rebuild, and then nothing is removed.
void remove_loaded_row(CLst& list)
{
    std::optional<size_t> row = list.store.find_row(list.loaded_row);
    if (!row)
        return;
    list.sel_item = static_cast<int>(*row);
    list.del_line();
}

} // namespace

void mvie::OnNewDate()
{
    CLst& list = papp->list;
    const CTrm& grid = papp->grid;
    set_box_text(list, kDateBox, new_date_stub(papp->gui.df, grid.shown_month, grid.shown_year));
    list.place_edit();
    list.editing = 1;
    focus_date_box();
}

void mvie::focus_date_box()
{
    HWND box = papp->list.edit[kDateBox].hwnd();
    if (!box)
        return;
    SetFocus(box);
    // Where the day goes: in front of ".MM.YYYY" (df 1), behind "YYYY.MM." otherwise.
    const LPARAM at = papp->gui.df == 1 ? 0 : GetWindowTextLengthA(box);
    SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(at), at);
}

void mvie::OnEditDate()
{
    papp->list.open_edit();
    papp->list.show_edit();
}

void mvie::OnCancelEdit()
{
    papp->list.hide_edit();
    papp->list.focus_row(papp->list.sel_item);
}

void mvie::OnDeleteDate()
{
    papp->list.del_line();
}

void mvie::OnConfirmEdit()
{
    CLst& list = papp->list;
    int day = 0, month = 0, year = 0;
    if (pars_date(box_text(list, kDateBox).c_str(), papp->gui.df, day, month, year) != 0) {
        if (list.editing)
            focus_box(list, kDateBox);
        return;
    }
    std::string line = dl::format_stored_date(year, month, day) + "\t";
    if (const char* label = papp->grid.day_name(day, month, year))
        set_box_text(list, kDayBox, label);
    std::string time = box_text(list, kTimeBox);
    if (!time.empty()) {
        const int code = pars_time(time);
        set_box_text(list, kTimeBox, time);
        if (code != 0) {
            focus_box(list, kTimeBox);
            return;
        }
    }
    line += line_fields(list) + "0\n";
    if (line.size() > kMaxLineLength) {
        warn(hwnd_, "Entry Error, Text too long !");
        focus_box(list, kTextBox);
        return;
    }
    if (list.replacing == 1)
        remove_loaded_row(list);
    const int row = list.add_line(line.c_str());
    list.hide_edit();
    list.focus_row(row);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int mvie::pars_date(const char* text, int df, int& day, int& month, int& year)
{
    const int code = pars_date_text(text, df, day, month, year);
    warn(hwnd_, date_error_message(code));
    return code;
}

int mvie::pars_time(std::string& text)
{
    const int code = pars_time_text(text);
    warn(hwnd_, time_error_message(code));
    return code;
}
