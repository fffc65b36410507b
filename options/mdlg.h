// The options dialog: position, size, colours, date format, status column, media and the autostart link.
#pragma once
#include <windows.h>
#include "fw/dialog.h"

class mdlg : public fw::Dialog {
public:
    mdlg();
    ~mdlg() override;

    void init_mdlg();
    void OnOK() override;
    void OnCancel() override;
    bool on_command(UINT id, UINT code) override;
    void OnClickYmd();
    void OnClickDmy();

    HWND chk_ymd = nullptr, chk_dmy = nullptr, chk_stat = nullptr, chk_link = nullptr, chk_media = nullptr;
};

// 0 done, 1 no shell link object, 2 no file interface.
int make_link(const char* lnam, const char* lprg, const char* lwrk);
// 0 deleted, 1 failed.
int kill_link(const char* lnam);
