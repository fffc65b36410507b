// A modeless dialog from a template; OnOK and OnCancel end it.
#pragma once
#include <windows.h>
#include <string>
#include "fw/wnd.h"

namespace fw {

class Dialog : public Wnd {
public:
    explicit Dialog(UINT template_id) : template_id_(template_id) { }
    ~Dialog() override;

    // parent null: the application's main window.
    bool Create(HWND parent = nullptr);
    void EndDialog();
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(); }
    virtual void OnCancel() { EndDialog(); }
    // Control notifications (id, code); true when handled.
    virtual bool on_command(UINT id, UINT code);

    std::string item_text(int id, size_t limit) const;
    void set_item_text(int id, const char* text);
    int check_state(int id) const;
    void set_check(int id, int state);

private:
    static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    UINT template_id_;
};

} // namespace fw
