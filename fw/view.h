// The view: one child window of the frame, created from a dialog template as a form.
#pragma once
#include <windows.h>
#include "fw/dc.h"
#include "fw/wnd.h"

namespace fw {

class Document;
class Frame;

class View : public Wnd {
public:
    View() = default;
    ~View() override = default;

    virtual bool create_view(Frame* frame, Document* doc, UINT ctrl_id) = 0;
    virtual void OnDraw(Dc& dc) = 0;
    virtual bool OnPreparePrinting(PrintInfo& info);
    virtual void OnPrint(Dc& dc, PrintInfo& info);
    virtual bool OnCmdMsg(UINT id);
    // The frame moved to a screen of another DPI; the view lays itself out again.
    virtual void OnDpiChanged(int) { }
    // The printer dialog (or the given device context) for a print; false when cancelled.
    bool DoPreparePrinting(PrintInfo& info);

    // The framework's print and preview commands.
    void OnFilePrint();
    void OnFilePrintPreview();
    // Prints every page of info onto its device context; false when the job failed.
    bool print_pages(PrintInfo& info);

    Document* GetDocument() const { return doc_; }
    Frame* frame() const { return frame_; }

protected:
    LRESULT route_view_message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    void paint();

    Document* doc_ = nullptr;
    Frame* frame_ = nullptr;
};

// A view whose child controls come from a dialog template.
class FormView : public View {
public:
    explicit FormView(UINT template_id) : template_id_(template_id) { }
    bool create_view(Frame* frame, Document* doc, UINT ctrl_id) override;
    // Binds child controls to their objects once the form exists.
    virtual void DoDataExchange() { }
    // Every message of the form; handlers return true when they consumed it.
    virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    void post_nc_destroy() override;

private:
    static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    UINT template_id_;
};

} // namespace fw
