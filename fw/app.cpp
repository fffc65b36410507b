#include "fw/app.h"
#include "fw/command_ids.h"
#include <commctrl.h>
#include <commdlg.h>
#include <map>
#include "fw/doc.h"
#include "fw/frame.h"
#include "fw/system_dll.h"
#include "fw/view.h"

namespace fw {

App* App::current_ = nullptr;

namespace {

PrinterHooks& printer_hooks()
{
    static PrinterHooks hooks;
    return hooks;
}

BOOL print_dialog(PRINTDLGA* pd)
{
    if (printer_hooks().dialog)
        return printer_hooks().dialog(*pd);
    static auto* const fn = system_function<decltype(PrintDlgA)>("comdlg32.dll", "PrintDlgA");
    return fn && fn(pd);
}

HDC printer_dc(HGLOBAL names_handle, HGLOBAL mode_handle)
{
    const auto* names = names_handle ? static_cast<const DEVNAMES*>(GlobalLock(names_handle)) : nullptr;
    if (!names)
        return nullptr;
    const char* base = reinterpret_cast<const char*>(names);
    const auto* mode = mode_handle ? static_cast<const DEVMODEA*>(GlobalLock(mode_handle)) : nullptr;
    const char* device = base + names->wDeviceOffset;
    HDC dc = printer_hooks().device ? printer_hooks().device(device, mode)
                                    : CreateDCA(base + names->wDriverOffset, device, nullptr, mode);
    if (mode)
        GlobalUnlock(mode_handle);
    GlobalUnlock(names_handle);
    return dc;
}

int clamped(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

BOOL file_dialog(bool open, OPENFILENAMEA* ofn)
{
    static auto* const open_fn = system_function<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    static auto* const save_fn = system_function<decltype(GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
    auto* fn = open ? open_fn : save_fn;
    return fn && fn(ofn);
}

std::map<std::string, RuntimeClass::Factory>& class_table()
{
    static std::map<std::string, RuntimeClass::Factory> table;
    return table;
}

FileDialogHook& file_dialog_hook()
{
    static FileDialogHook hook;
    return hook;
}

} // namespace

RuntimeClass::RuntimeClass(const char* name, Factory make)
{
    class_table()[name] = std::move(make);
}

void* RuntimeClass::create(const char* name)
{
    auto it = class_table().find(name);
    return it == class_table().end() ? nullptr : it->second();
}

DocTemplate::DocTemplate(UINT resource_id, const char* doc_class, const char* frame_class, const char* view_class)
    : resource_id_(resource_id), doc_class_(doc_class), frame_class_(frame_class), view_class_(view_class)
{ }

Document* DocTemplate::open_new()
{
    if (doc_)
        return doc_->OnNewDocument() ? doc_ : nullptr;
    doc_ = static_cast<Document*>(RuntimeClass::create(doc_class_.c_str()));
    auto* frame = static_cast<Frame*>(RuntimeClass::create(frame_class_.c_str()));
    if (!doc_ || !frame)
        return nullptr;
    doc_->set_frame(frame);
    if (!frame->load_frame(resource_id_, doc_))
        return nullptr;
    if (App* app = App::current(); app && !app->main_frame())
        app->set_main_frame(frame);
    doc_->OnNewDocument();
    frame->update_title();
    return doc_;
}

App::App()
{
    current_ = this;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
}

App::~App()
{
    if (dev_mode_)
        GlobalFree(dev_mode_);
    if (dev_names_)
        GlobalFree(dev_names_);
    delete template_;
    if (current_ == this)
        current_ = nullptr;
}

bool App::OnCmdMsg(UINT id)
{
    switch (id) {
    case ID_FILE_NEW: OnFileNew(); return true;
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_PRINT_SETUP: OnFilePrintSetup(); return true;
    default: return false;
    }
}

void App::AddDocTemplate(DocTemplate* tmpl)
{
    delete template_;
    template_ = tmpl;
}

void App::OnFileNew()
{
    if (template_)
        template_->open_new();
}

void App::OnFileOpen()
{
    std::string path;
    if (ask_file_name(main_window(), true, path))
        open_document_file(path.c_str());
}

void App::open_document_file(const char* path)
{
    Document* doc = template_ ? template_->document() : nullptr;
    if (!doc)
        return;
    std::string full = full_path(path);
    if (same_file(full, doc->GetPathName())) {
        SetForegroundWindow(main_window());
        return;
    }
    if (doc->OnOpenDocument(full.c_str())) {
        doc->SetPathName(full.c_str());
        if (doc->frame())
            doc->frame()->update_title();
    }
}

HWND App::main_window() const
{
    return main_frame_ ? main_frame_->hwnd() : nullptr;
}

void App::add_modeless(HWND dlg)
{
    modeless_.push_back(dlg);
}

void App::remove_modeless(HWND dlg)
{
    for (auto it = modeless_.begin(); it != modeless_.end(); ++it)
        if (*it == dlg) {
            modeless_.erase(it);
            return;
        }
}

bool App::pre_translate(MSG& msg)
{
    for (HWND dlg : modeless_)
        if (IsWindow(dlg) && IsDialogMessageA(dlg, &msg))
            return true;
    return false;
}

void App::on_idle()
{
    if (main_frame_ && main_frame_->status())
        main_frame_->status()->update_indicators();
}

int App::Run()
{
    MSG msg;
    for (;;) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            on_idle();
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (pre_translate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool App::ask_printer(HWND owner, PrintInfo& info)
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = dev_mode_;
    pd.hDevNames = dev_names_;
    // Copies and collation are left to the program, so every printer gets them.
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_ALLPAGES;
    pd.nMinPage = static_cast<WORD>(info.min_page);
    pd.nMaxPage = static_cast<WORD>(info.max_page);
    pd.nFromPage = pd.nMinPage;
    pd.nToPage = pd.nMaxPage;
    pd.nCopies = 1;
    const bool ok = print_dialog(&pd) != FALSE;
    // The dialog may have changed the printer or its settings even when it was cancelled.
    dev_mode_ = pd.hDevMode;
    dev_names_ = pd.hDevNames;
    if (!ok)
        return false;
    info.dc = pd.hDC;
    const bool range = (pd.Flags & PD_PAGENUMS) != 0;
    info.from_page = range ? clamped(pd.nFromPage, info.min_page, info.max_page) : info.min_page;
    info.to_page = range ? clamped(pd.nToPage, info.from_page, info.max_page) : info.max_page;
    info.copies = pd.nCopies > 0 ? pd.nCopies : 1;
    info.collate = (pd.Flags & PD_COLLATE) != 0;
    return info.dc != nullptr;
}

HDC App::chosen_printer_dc()
{
    if (!dev_names_) {
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.Flags = PD_RETURNDEFAULT;
        if (!print_dialog(&pd))
            return nullptr;
        dev_mode_ = pd.hDevMode;
        dev_names_ = pd.hDevNames;
    }
    return printer_dc(dev_names_, dev_mode_);
}

void App::OnFilePrintSetup()
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = main_window();
    pd.hDevMode = dev_mode_;
    pd.hDevNames = dev_names_;
    pd.Flags = PD_PRINTSETUP;
    if (print_dialog(&pd)) {
        dev_mode_ = pd.hDevMode;
        dev_names_ = pd.hDevNames;
    }
}

const std::string& app_name()
{
    static const std::string name = [] {
        std::string path = module_path();
        size_t slash = path.find_last_of("\\/");
        std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
        size_t dot = file.find_last_of('.');
        return dot == std::string::npos ? file : file.substr(0, dot);
    }();
    return name;
}

bool same_file(const std::string& a, const std::string& b)
{
    return !a.empty() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::string folder_of(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string full_path(const char* path)
{
    char buf[MAX_PATH];
    DWORD n = GetFullPathNameA(path, MAX_PATH, buf, nullptr);
    return (n > 0 && n < MAX_PATH) ? std::string(buf, n) : std::string(path);
}

std::string module_path()
{
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n < MAX_PATH ? n : 0);
}

std::string load_string(UINT id)
{
    char buf[512];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

int message_box(HWND owner, const char* text, UINT flags)
{
    return MessageBoxA(owner, text, app_name().c_str(), flags);
}

void set_printer_hooks(PrinterHooks hooks)
{
    printer_hooks() = std::move(hooks);
}

void set_file_dialog_hook(FileDialogHook hook)
{
    file_dialog_hook() = std::move(hook);
}

bool ask_file_name(HWND owner, bool open, std::string& path, const FileTypes* types)
{
    if (file_dialog_hook())
        return file_dialog_hook()(open, path);
    // The dialog starts with the given name, as a save of a named document does.
    char buf[MAX_PATH] = "";
    if (path.size() < sizeof buf)
        path.copy(buf, path.size());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = types ? types->filter : "All Files (*.*)\0*.*\0";
    ofn.lpstrDefExt = types ? types->default_ext : nullptr;
    ofn.lpstrFile = buf;
    ofn.nMaxFile = sizeof buf;
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (open)
        ofn.Flags |= OFN_FILEMUSTEXIST;
    else
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!file_dialog(open, &ofn))
        return false;
    path = buf;
    return true;
}

} // namespace fw
