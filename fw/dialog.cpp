#include "fw/dialog.h"
#include <vector>
#include "fw/app.h"

namespace fw {

Dialog::~Dialog()
{
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND h = hwnd_;
        unbind();
        if (App* app = App::current())
            app->remove_modeless(h);
        DestroyWindow(h);
    }
}

bool Dialog::Create(HWND parent)
{
    // Without a parent named the main window owns the dialog: it stays above it, has no task bar
    // button of its own, and its template position counts from the main window.
    App* app = App::current();
    if (!parent && app)
        parent = app->main_window();
    HWND made = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id_), parent, dialog_proc,
                                   reinterpret_cast<LPARAM>(this));
    if (!made)
        return false;
    if (app)
        app->add_modeless(made);
    return true;
}

void Dialog::EndDialog()
{
    if (!hwnd_)
        return;
    HWND h = hwnd_;
    unbind();
    if (App* app = App::current())
        app->remove_modeless(h);
    DestroyWindow(h);
}

bool Dialog::on_command(UINT id, UINT code)
{
    if (code != BN_CLICKED)
        return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

std::string Dialog::item_text(int id, size_t limit) const
{
    std::vector<char> buf(limit + 1, '\0');
    int n = GetDlgItemTextA(hwnd_, id, buf.data(), static_cast<int>(buf.size()));
    return std::string(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

void Dialog::set_item_text(int id, const char* text)
{
    SetDlgItemTextA(hwnd_, id, text);
}

int Dialog::check_state(int id) const
{
    return static_cast<int>(IsDlgButtonChecked(hwnd_, id));
}

void Dialog::set_check(int id, int state)
{
    CheckDlgButton(hwnd_, id, static_cast<UINT>(state));
}

INT_PTR CALLBACK Dialog::dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = static_cast<Dialog*>(from_handle(hwnd));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->bind(hwnd);
        return self->OnInitDialog() ? TRUE : FALSE;
    }
    if (!self)
        return FALSE;
    if (msg == WM_COMMAND)
        return self->on_command(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
    if (msg == WM_CLOSE) {
        self->OnCancel();
        return TRUE;
    }
    return FALSE;
}

} // namespace fw
