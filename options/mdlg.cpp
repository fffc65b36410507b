#include "options/mdlg.h"
#include <shellapi.h>
#include <shlobj.h>
#include <objbase.h>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/registry.h"
#include "fw/app.h"
#include "fw/handles.h"
#include "fw/system_dll.h"
#include "core/number_text.h"
#include "res/resource.h"

namespace {

const char* const shell_folders_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const add_failed = "Could not add a link to Termaris !\n";
const char* const remove_failed = "Could not remove a link to Termaris !\n";

// Paths live in 255 characters and a terminator.
constexpr size_t path_chars = 255;
constexpr size_t media_chars = 254;

const int position_boxes[] = {IDC_POS_X, IDC_POS_Y, IDC_SIZE_X, IDC_SIZE_Y};
const char* const position_names[] = {"xo", "yo", "xs", "ys"};
const int colour_boxes[] = {IDC_COL0, IDC_COL1, IDC_COL2, IDC_COL3};
const char* const colour_names[] = {"col0", "col1", "col2", "col3"};

int stored_int(const char* name)
{
    return reg_get_int("HKCU", settings_key, name);
}

void store_int(const char* name, int value)
{
    reg_set_int("HKCU", settings_key, name, value);
}

std::optional<std::string> shell_folder(const char* name)
{
    const char* text = reg_get_str("HKCU", shell_folders_key, name);
    if (!text)
        return std::nullopt;
    return std::string(text);
}

// The running program's folder, without a closing backslash unless it is a drive's root.
std::string program_folder(const std::string& program)
{
    size_t slash = program.find_last_of('\\');
    if (slash == std::string::npos)
        return std::string();
    if (slash > 0 && program[slash - 1] == ':')
        return program.substr(0, slash + 1);
    return program.substr(0, slash);
}

struct LinkPaths {
    std::string lnam, lprg, lwrk;
    bool fit() const { return lnam.size() <= path_chars && lprg.size() <= path_chars && lwrk.size() <= path_chars; }
};

LinkPaths link_paths(const std::string& startup)
{
    LinkPaths p;
    p.lnam = startup + "\\Termaris.lnk";
    p.lprg = fw::module_path();
    std::optional<std::string> personal = shell_folder("Personal");
    // Without a personal folder the program starts in its own folder, where it was set up.
    p.lwrk = personal ? *personal + "\\trm" : program_folder(p.lprg);
    return p;
}

int check_of(HWND box)
{
    return static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0));
}

void set_check_of(HWND box, int state)
{
    SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

// The two date format boxes act as a pair: whatever the clicked one became, the other is its opposite.
void pair_with(HWND clicked, HWND other)
{
    set_check_of(other, check_of(clicked) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
}

std::wstring wide_of(const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::vector<wchar_t> buf(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text, -1, buf.data(), n);
    return std::wstring(buf.data());
}

void create_folder(const char* folder)
{
    std::string command = std::string("md \"") + folder + "\"";
    std::system(command.c_str());
}

} // namespace

mdlg::mdlg() : fw::Dialog(IDD_OPTIONS)
{
    trm_log("mdlg::mdlg () OK ...\n");
}

mdlg::~mdlg()
{
    trm_log("mdlg::~mdlg () OK ...\n");
}

void mdlg::init_mdlg()
{
    if (!Create(nullptr))
        return;
    fill_numbers();
    set_item_text(IDC_MEDIA_FILE, papp->gui.media_file);
    chk_ymd = GetDlgItem(hwnd_, IDC_CHK_YMD);
    chk_dmy = GetDlgItem(hwnd_, IDC_CHK_DMY);
    chk_stat = GetDlgItem(hwnd_, IDC_CHK_STAT);
    chk_link = GetDlgItem(hwnd_, IDC_CHK_LINK);
    chk_media = GetDlgItem(hwnd_, IDC_CHK_MEDIA);
    chk_notify = GetDlgItem(hwnd_, IDC_CHK_NOTIFY);
    fill_checks();
}

void mdlg::fill_numbers()
{
    for (int i = 0; i < 4; ++i)
        set_item_text(position_boxes[i], format_int(stored_int(position_names[i])).c_str());
    for (int i = 0; i < 4; ++i) {
        auto value = static_cast<std::uint32_t>(stored_int(colour_names[i]));
        set_item_text(colour_boxes[i], format_hex6(value).c_str());
    }
}

void mdlg::fill_checks()
{
    const CGUI& gui = papp->gui;
    set_check_of(chk_ymd, gui.df == 1 ? BST_UNCHECKED : BST_CHECKED);
    set_check_of(chk_dmy, gui.df == 1 ? BST_CHECKED : BST_UNCHECKED);
    set_check_of(chk_stat, gui.ss == 1 ? BST_CHECKED : BST_UNCHECKED);
    // The link's presence is never read: the box only carries a request.
    set_check_of(chk_link, BST_INDETERMINATE);
    set_check_of(chk_media, gui.wf == 1 ? BST_CHECKED : BST_UNCHECKED);
    set_check_of(chk_notify, gui.wn == 1 ? BST_CHECKED : BST_UNCHECKED);
}

bool mdlg::on_command(UINT id, UINT code)
{
    if (code == BN_CLICKED && id == IDC_CHK_YMD) {
        OnClickYmd();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_CHK_DMY) {
        OnClickDmy();
        return true;
    }
    return fw::Dialog::on_command(id, code);
}

void mdlg::OnClickYmd()
{
    pair_with(chk_ymd, chk_dmy);
}

void mdlg::OnClickDmy()
{
    pair_with(chk_dmy, chk_ymd);
}

void mdlg::OnOK()
{
    CGUI& gui = papp->gui;
    store_positions();
    store_colours();
    store_switch(chk_dmy, "df", gui.df);
    store_switch(chk_stat, "ss", gui.ss);
    store_link();
    store_switch(chk_media, "wf", gui.wf);
    store_switch(chk_notify, "wn", gui.wn);
    papp->rem.apply_wn();
    store_media_file();
    HWND frame = papp->main_window();
    close_dialog();
    if (frame)
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void mdlg::OnCancel()
{
    close_dialog();
}

// The new position and size apply at the next start; a box without a number keeps what is stored.
void mdlg::store_positions()
{
    for (int i = 0; i < 4; ++i)
        if (std::optional<int> value = scan_c_int(item_text(position_boxes[i], number_box_chars)))
            store_int(position_names[i], *value);
}

void mdlg::store_colours()
{
    for (int i = 0; i < 4; ++i)
        if (std::optional<std::uint32_t> value = scan_hex(item_text(colour_boxes[i], number_box_chars))) {
            papp->gui.set_col(*value, i);
            store_int(colour_names[i], static_cast<int>(*value));
        }
}

void mdlg::store_switch(HWND box, const char* name, int& field)
{
    field = check_of(box) == BST_CHECKED ? 1 : 0;
    store_int(name, field);
}

void mdlg::store_link()
{
    std::optional<std::string> startup = shell_folder("Startup");
    if (!startup)
        return;
    LinkPaths p = link_paths(*startup);
    trm_log("mdlg..lnam: %s\n", p.lnam.c_str());
    trm_log("mdlg..lprg: %s\n", p.lprg.c_str());
    trm_log("mdlg..lwrk: %s\n", p.lwrk.c_str());
    int request = check_of(chk_link);
    if (request == BST_CHECKED) {
        // A path that does not fit would name another file: nothing is done, and the user is told.
        if (!p.fit() || make_link(p.lnam.c_str(), p.lprg.c_str(), p.lwrk.c_str()) > 0)
            report_link_failure(add_failed);
    } else if (request == BST_UNCHECKED) {
        if (!p.fit() || kill_link(p.lnam.c_str()) > 0)
            report_link_failure(remove_failed);
    }
}

void mdlg::store_media_file()
{
    CGUI& gui = papp->gui;
    std::string text = item_text(IDC_MEDIA_FILE, media_chars);
    std::memcpy(gui.media_file, text.c_str(), text.size() + 1);
    reg_set_str("HKCU", settings_key, "", gui.media_file);
}

void mdlg::report_link_failure(const char* text)
{
    fw::message_box(hwnd_, text, MB_OK | MB_ICONSTOP);
}

void mdlg::close_dialog()
{
    EndDialog();
    if (papp->opt_dlg == this)
        papp->opt_dlg = nullptr;
    delete this;
}

int make_link(const char* lnam, const char* lprg, const char* lwrk)
{
    create_folder(lwrk);
    fw::ComInit com;
    static auto* const create = fw::system_function<decltype(CoCreateInstance)>("ole32.dll", "CoCreateInstance");
    fw::ComPtr<IShellLinkA> link;
    if (!create || FAILED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())))
        return 1;
    link->SetPath(lprg);
    link->SetWorkingDirectory(lwrk);
    link->SetIconLocation(lprg, 0);
    link->SetArguments("");
    fw::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
        return 2;
    std::wstring name = wide_of(lnam);
    file->Save(name.c_str(), TRUE);
    return 0;
}

int kill_link(const char* lnam)
{
    size_t n = std::strlen(lnam);
    if (n > path_chars)
        return 1;
    // The shell takes a list of names, ended by an empty one.
    char from[path_chars + 2] = {};
    std::memcpy(from, lnam, n);
    SHFILEOPSTRUCTA op{};
    op.hwnd = nullptr;
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.pTo = nullptr;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    static auto* const remove = fw::system_function<decltype(SHFileOperationA)>("shell32.dll", "SHFileOperationA");
    return remove && remove(&op) == 0 ? 0 : 1;
}
