// The main frame window: placement, menu, tool bar, status bar and the window-level commands.
#pragma once
#include "fw/frame.h"

class mwin : public fw::Frame {
public:
    mwin();
    ~mwin() override;

    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnCmdMsg(UINT id) override;
    void OnDpiChanged(int dpi) override;

    void OnShowAll();
    void OnReloadView();
    // Tool bar button and menu check mark of "Show all Dates" as the switch stands.
    void mark_show_all();
    void OnOptions();
    void OnHelp();
    void OnInfo();
    void OnEnde();
    void OnImportIcal();
    void OnExportIcal();

    fw::ToolBar tool_bar;
    fw::StatusBar status_bar;

protected:
    LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp) override;
};
