// Print preview: the view's printed pages rendered into metafiles and shown scaled, page by page.
#pragma once
#include <windows.h>
#include <memory>
#include "fw/dc.h"
#include "fw/wnd.h"

namespace fw {

class View;

class PreviewWindow : public Wnd {
public:
    static PreviewWindow* open(View* view, std::unique_ptr<PrintInfo> info);
    // The preview that is open, if any (one at a time).
    static PreviewWindow* active();

    int current_page() const { return page_; }
    int page_count() const { return info_->max_page - info_->min_page + 1; }
    void go_to(int page);
    void print();
    void close();
    // The page as rendered for display; null before the first paint.
    HENHMETAFILE page_metafile() const { return page_emf_; }

protected:
    LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp) override;
    void post_nc_destroy() override;

private:
    PreviewWindow(View* view, std::unique_ptr<PrintInfo> info);
    ~PreviewWindow() override;
    void render_page();
    void paint();
    void layout_buttons();
    RECT page_rect() const;
    // A figure at 96 DPI at the DPI of the frame the preview belongs to.
    int px(int figure) const;

    View* view_;
    std::unique_ptr<PrintInfo> info_;
    int page_ = 1;
    HENHMETAFILE page_emf_ = nullptr;
    HWND buttons_[4] = {};
};

} // namespace fw
