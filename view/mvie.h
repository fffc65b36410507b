// The main view: tab control, date list and grids; layout, timer, printing and the entry commands.
#pragma once
#include <windows.h>
#include <string>
#include "fw/view.h"

class mvie : public fw::FormView {
public:
    mvie();
    ~mvie() override;

    void DoDataExchange() override;
    void OnDraw(fw::Dc& dc) override;
    bool OnPreparePrinting(fw::PrintInfo& info) override;
    void OnPrint(fw::Dc& dc, fw::PrintInfo& info) override;
    bool OnCmdMsg(UINT id) override;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Fonts, list and layout at the DPI the settings holder now has.
    void OnDpiChanged(int dpi) override;

    // Start-up on the first paint, layout and tabs.
    void init_mvie();
    void OnSize(UINT type, int cx, int cy);
    // Tab control and list over a client area of rc; nothing at 100 x 50 or less.
    void layout(const RECT& rc);
    // The list's place in it: below the tabs, above the editor while that is open.
    RECT list_place(const RECT& rc) const;
    void OnTabChange();
    // Brings the "List" tab forward, as a click on it does.
    void show_list();
    void OnTimer();
    void OnRefill();
    void OnReload();
    void OnKeyUp(UINT key);
    int selected_tab() const;

    // Date entry commands and their checks.
    void OnNewDate();
    void OnEditDate();
    void OnCancelEdit();
    void OnDeleteDate();
    void OnConfirmEdit();
    // The "Date" box takes the focus with the caret where the day is typed.
    void focus_date_box();
    int pars_date(const char* text, int df, int& day, int& month, int& year);
    int pars_time(std::string& text);

    // The date file writer; the document names the target in its save request before it
    // sends the command.
    void OnSave();

    // Grid mouse handling and navigation.
    void OnLButtonDown(POINT pt);
    void OnRButtonDown(POINT pt);
    void OnLButtonDblClk(POINT pt);
    void OnPrev();
    void OnNext();
    void set_tabs();

    HWND tab_ctrl = nullptr;
    // Period the alert timer was started with.
    int timer_ms = 0;
    int click_x = 0, click_y = 0;
    static bool init_done;
};

// The view of the main frame, or null before it exists.
mvie* active_view();
