// The application object, the single-document template and the message loop.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <functional>
#include <string>
#include <vector>

namespace fw {

class Document;
class Frame;
class View;
struct PrintInfo;

// Creates objects by class name, as the document template names its classes.
class RuntimeClass {
public:
    using Factory = std::function<void*()>;
    RuntimeClass(const char* name, Factory make);
    static void* create(const char* name);
};

// Names document, frame and view classes for one resource id (menu, title string, icon).
class DocTemplate {
public:
    DocTemplate(UINT resource_id, const char* doc_class, const char* frame_class, const char* view_class);
    UINT resource_id() const { return resource_id_; }
    // Document, then frame (its WM_CREATE runs inside and creates the view), then OnNewDocument.
    Document* open_new();
    Document* document() const { return doc_; }
    const std::string& view_class() const { return view_class_; }
    void document_closed() { doc_ = nullptr; }

private:
    UINT resource_id_;
    std::string doc_class_, frame_class_, view_class_;
    Document* doc_ = nullptr;
};

class App {
public:
    App();
    virtual ~App();

    virtual bool InitInstance() = 0;
    // Commands the application handles itself; the last stop of the command route.
    virtual bool OnCmdMsg(UINT id);

    void AddDocTemplate(DocTemplate* tmpl);
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    // Opens a path as the chosen file of OnFileOpen would be opened.
    void open_document_file(const char* path);

    int Run();
    Frame* main_frame() const { return main_frame_; }
    void set_main_frame(Frame* f) { main_frame_ = f; }
    HWND main_window() const;
    DocTemplate* doc_template() const { return template_; }

    // Modeless dialogs get their keyboard handling from the loop.
    void add_modeless(HWND dlg);
    void remove_modeless(HWND dlg);
    bool pre_translate(MSG& msg);
    // The printer chosen with the printer settings (the system's default until then) serves the
    // print dialog, printing and preview alike.
    // The print dialog with info's pages min..max: sets info's device context, pages and copies.
    bool ask_printer(HWND owner, PrintInfo& info);
    // A device context of the chosen printer, without a dialog; null when there is no printer.
    HDC chosen_printer_dc();

    static App* current() { return current_; }

private:
    void on_idle();

    static App* current_;
    DocTemplate* template_ = nullptr;
    Frame* main_frame_ = nullptr;
    std::vector<HWND> modeless_;
    HGLOBAL dev_mode_ = nullptr;
    HGLOBAL dev_names_ = nullptr;
};

// The application name: the executable's file name without extension (the default message box caption).
const std::string& app_name();
std::string module_path();
// The full form of a path, and whether two paths name the same file (case does not matter).
std::string full_path(const char* path);
bool same_file(const std::string& a, const std::string& b);
// The folder part of a path, with its final separator ("." for a bare name).
std::string folder_of(const std::string& path);
std::string load_string(UINT id);
int message_box(HWND owner, const char* text, UINT flags);

// The file types a file dialog offers: a filter list ("Name\0*.ext\0...\0") and the extension a
// typed name without one gets (no dot).
struct FileTypes {
    const char* filter;
    const char* default_ext;
};

// Tests stand in for the printer: the dialog answers as the user would (false: cancelled), the
// device makes the device context of a chosen printer.
struct PrinterHooks {
    std::function<bool(PRINTDLGA& pd)> dialog;
    std::function<HDC(const char* device, const DEVMODEA* mode)> device;
};
void set_printer_hooks(PrinterHooks hooks);

// Tests replace the standard file dialogs; returns false when the user cancelled.
using FileDialogHook = std::function<bool(bool open, std::string& path)>;
void set_file_dialog_hook(FileDialogHook hook);
// The dialog starts with path's name (when it has one) and puts the chosen file there. Without
// types, all files are offered.
bool ask_file_name(HWND owner, bool open, std::string& path, const FileTypes* types = nullptr);

} // namespace fw
