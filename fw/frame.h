// The main frame: menu, tool bar, status bar around one view; routes commands.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "fw/dpi.h"
#include "fw/gdi.h"
#include "fw/wnd.h"

namespace fw {

class Document;
class View;

// A tool bar that docks on any side of its frame: drag it by a free spot (between or beside its
// buttons) towards an edge to move it there.
class ToolBar : public Wnd {
public:
    enum class Side { top, bottom, left, right };

    // Buttons from the resource: the button ids in order (RCDATA of 16-bit words, 0 for a
    // separator) under resource_id, and their images of 16 x 16 at 96 DPI in one strip a scale.
    bool create(HWND parent, UINT ctrl_id, UINT resource_id, const ScaledBitmap& images, bool flat, int dpi);
    // Images and buttons for another DPI.
    void set_dpi(int dpi);
    void press(UINT cmd, bool down);
    bool pressed(UINT cmd) const;

    Side side() const { return side_; }
    void dock(Side side);
    // Width and height the bar needs on its side.
    SIZE extent() const;

protected:
    LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Side nearest_side(POINT screen_pt) const;
    void add_images(int count);
    UINT ctrl_id_ = 0, resource_id_ = 0;
    ScaledBitmap images_{};
    // A strip stretched for a scale without a drawing of its own; the control draws from it.
    Bitmap stretched_;
    int dpi_ = kBaseDpi;
    Side side_ = Side::top;
    bool dragging_ = false;
};

class StatusBar {
public:
    // Message pane, then one pane for each indicator string.
    bool create(HWND parent, UINT ctrl_id, const std::vector<UINT>& indicators, int dpi);
    void set_dpi(int dpi);
    HWND hwnd() const { return hwnd_; }
    void set_message(const char* text);
    std::string message() const;
    void update_indicators();
    void layout();

private:
    HWND hwnd_ = nullptr;
    std::vector<UINT> indicators_;
    int dpi_ = kBaseDpi;
};

class Frame : public Wnd {
public:
    Frame();
    ~Frame() override;

    // Creates the window with menu, icon and title from the template's resource id.
    bool load_frame(UINT resource_id, Document* doc);
    virtual int OnCreate(CREATESTRUCTA* cs);
    virtual bool OnCmdMsg(UINT id);
    // Offers a command to the view, the document, the frame and the application, in that order.
    bool route_command(UINT id);

    View* GetActiveView() const { return view_; }
    Document* document() const { return doc_; }
    void update_title();
    void recalc_layout();
    void show_bar(HWND bar, bool show);
    StatusBar* status() const { return status_; }
    void set_bars(ToolBar* tools, StatusBar* status)
    {
        tools_ = tools;
        status_ = status;
    }
    void show_prompt(UINT id);
    static const char* window_class();
    // The DPI the frame is shown at: the window's own, or the last one a DPI change named.
    int dpi() const { return dpi_; }
    // Set once the session ends: no window may wait for an answer any more.
    bool ending_session() const { return ending_session_; }

protected:
    LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp) override;
    void post_nc_destroy() override;
    virtual void OnClose();
    // Fonts and images for the new DPI, before the frame takes its new rectangle and lays out again.
    virtual void OnDpiChanged(int dpi);
    // The session ends and the process with it: the document is closed as at a close, without
    // destroying any window.
    virtual void OnEndSession();

private:
    bool on_notify(NMHDR* hdr, LRESULT& result);
    void on_init_menu_popup(HMENU menu);
    void on_dpi_changed(int dpi, const RECT* suggested);

    View* view_ = nullptr;
    Document* doc_ = nullptr;
    ToolBar* tools_ = nullptr;
    StatusBar* status_ = nullptr;
    UINT resource_id_ = 0;
    int dpi_ = kBaseDpi;
    std::string tip_;
    bool ending_session_ = false;
};

} // namespace fw
