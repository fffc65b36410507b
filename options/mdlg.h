// The options dialog: position, size, colours, date format, status column, media and the autostart link.
#pragma once
#include <windows.h>
#include "fw/dialog.h"

class mdlg : public fw::Dialog {
public:
    mdlg();
    ~mdlg() override;

    // Creates the modeless dialog and fills it from the registry and the live settings.
    void init_mdlg();
    void OnOK() override;
    void OnCancel() override;
    bool on_command(UINT id, UINT code) override;
    void OnClickYmd();
    void OnClickDmy();

    HWND chk_ymd = nullptr, chk_dmy = nullptr, chk_stat = nullptr, chk_link = nullptr, chk_media = nullptr,
         chk_notify = nullptr;

private:
    void fill_numbers();
    void fill_checks();
    void store_positions();
    void store_colours();
    void store_switch(HWND box, const char* name, int& field);
    void store_link();
    void store_media_file();
    void report_link_failure(const char* text);
    // Ends the dialog and deletes this object, emptying the application's slot.
    void close_dialog();
};

// 0 done, 1 no shell link object, 2 no file interface.
int make_link(const char* lnam, const char* lprg, const char* lwrk);
// 0 deleted, 1 failed (also when there was nothing to delete).
int kill_link(const char* lnam);
