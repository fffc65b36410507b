// The options dialog through its real window: what it shows, what "OK" stores live and in the
// registry, the autostart link in a Startup folder of the test's own, and "Cancel".
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <objbase.h>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include "fw/registry.h"
#include "fw/app.h"
#include "options/mdlg.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

const char* const shell_folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const int_names[] = {"xo", "yo", "xs", "ys", "col0", "col1", "col2", "col3", "df", "ss", "wf", "wn"};
const char* const add_failed = "Could not add a link to Termaris !\n";
const char* const remove_failed = "Could not remove a link to Termaris !\n";

// A registry value exactly as stored, or nothing; put back as it was found.
struct SavedValue {
    HKEY root;
    std::string key, name;
    std::optional<DWORD> type;
    std::vector<BYTE> data;

    static SavedValue read(HKEY root, const char* key, const char* name)
    {
        SavedValue v{root, key, name, std::nullopt, {}};
        HKEY k;
        if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
            return v;
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(k, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            v.data.resize(size);
            if (RegQueryValueExA(k, name, nullptr, &type, size ? v.data.data() : nullptr, &size) == ERROR_SUCCESS)
                v.type = type;
        }
        RegCloseKey(k);
        return v;
    }

    void restore() const
    {
        HKEY k;
        if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
            return;
        if (type)
            RegSetValueExA(k, name.c_str(), 0, *type, data.empty() ? nullptr : data.data(),
                           static_cast<DWORD>(data.size()));
        else
            RegDeleteValueA(k, name.c_str());
        RegCloseKey(k);
    }
};

int stored(const char* name)
{
    return reg_get_int("HKCU", settings_key, name);
}

void store(const char* name, int value)
{
    reg_set_int("HKCU", settings_key, name, value);
}

std::string stored_media()
{
    const char* text = reg_get_str("HKCU", settings_key, "");
    return text ? text : "";
}

void set_shell_folder(const char* name, const std::optional<std::string>& path)
{
    if (path) {
        reg_set_str("HKCU", shell_folders, name, path->c_str());
        return;
    }
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, shell_folders, 0, KEY_WRITE, &k) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(k, name);
    RegCloseKey(k);
}

std::string sub_folder(const std::string& parent, const char* name)
{
    std::string path = parent + "\\" + name;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool folder_is_empty(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    bool empty = true;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            empty = false;
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return empty;
}

bool same_path(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::string program_folder()
{
    std::string exe = fw::module_path();
    return exe.substr(0, exe.find_last_of('\\'));
}

size_t count_of(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

std::string log_text()
{
    return wt::read_text("trm.log");
}

// What a link file says, read back through the shell's own link object.
struct LinkData {
    bool loaded = false;
    std::string target, folder, icon;
    int icon_index = -1;
};

LinkData read_link(const std::string& file)
{
    LinkData d;
    HRESULT com = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* pf = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf)))) {
            std::wstring wide(file.begin(), file.end());
            if (SUCCEEDED(pf->Load(wide.c_str(), STGM_READ))) {
                char buf[MAX_PATH] = "";
                d.loaded = true;
                link->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH);
                d.target = buf;
                buf[0] = '\0';
                link->GetWorkingDirectory(buf, MAX_PATH);
                d.folder = buf;
                buf[0] = '\0';
                link->GetIconLocation(buf, MAX_PATH, &d.icon_index);
                d.icon = buf;
            }
            pf->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return d;
}

// Watches the message boxes that wt::MessageBoxes records and closes: their owner and icon.
class BoxLooks {
public:
    struct Look {
        HWND owner = nullptr;
        bool stop = false;
    };
    BoxLooks()
    {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, hook, nullptr, GetCurrentThreadId());
    }
    ~BoxLooks()
    {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    BoxLooks(const BoxLooks&) = delete;
    BoxLooks& operator=(const BoxLooks&) = delete;
    const std::vector<Look>& looks() const { return looks_; }

private:
    static BOOL CALLBACK find_stop_icon(HWND child, LPARAM found)
    {
        bool is_icon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        if (is_icon && icon && icon == LoadIcon(nullptr, IDI_HAND))
            *reinterpret_cast<bool*>(found) = true;
        return TRUE;
    }
    static LRESULT CALLBACK hook(int code, WPARAM wp, LPARAM lp)
    {
        HWND box = reinterpret_cast<HWND>(wp);
        if (code == HCBT_ACTIVATE && current_ && GetDlgItem(box, 0xFFFF)) {
            Look look;
            look.owner = GetWindow(box, GW_OWNER);
            EnumChildWindows(box, find_stop_icon, reinterpret_cast<LPARAM>(&look.stop));
            current_->looks_.push_back(look);
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static BoxLooks* current_;
    HHOOK hook_ = nullptr;
    std::vector<Look> looks_;
};
BoxLooks* BoxLooks::current_ = nullptr;

// Counts the paints the view receives while it lives.
class PaintCounter {
public:
    explicit PaintCounter(HWND hwnd) : hwnd_(hwnd)
    {
        paints_ = 0;
        old_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    }
    ~PaintCounter() { SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_)); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    int paints() const { return paints_; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_PAINT)
            ++paints_;
        return CallWindowProcA(old_, hwnd, msg, wp, lp);
    }
    HWND hwnd_;
    static WNDPROC old_;
    static int paints_;
};
WNDPROC PaintCounter::old_ = nullptr;
int PaintCounter::paints_ = 0;

class Options : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : int_names)
            saved_.push_back(SavedValue::read(HKEY_CURRENT_USER, settings_key, name));
        saved_.push_back(SavedValue::read(HKEY_CURRENT_USER, settings_key, ""));
        saved_.push_back(SavedValue::read(HKEY_CURRENT_USER, shell_folders, "Startup"));
        saved_.push_back(SavedValue::read(HKEY_CURRENT_USER, shell_folders, "Personal"));
        const CGUI& gui = papp->gui;
        live_df_ = gui.df;
        live_ss_ = gui.ss;
        live_wf_ = gui.wf;
        live_wn_ = gui.wn;
        std::memcpy(live_col_, gui.col, sizeof live_col_);
        std::strcpy(live_media_, gui.media_file);

        std::string base = wt::temp_dir("options");
        startup_ = sub_folder(base, "startup");
        personal_ = sub_folder(base, "personal");
        link_file_ = startup_ + "\\Termaris.lnk";
        DeleteFileA(link_file_.c_str());
        startup_value_ = startup_;
        personal_value_ = personal_;
    }

    void TearDown() override
    {
        if (papp->opt_dlg && papp->opt_dlg->hwnd())
            SendMessageA(papp->opt_dlg->hwnd(), WM_CLOSE, 0, 0);
        DeleteFileA(link_file_.c_str());
        for (const SavedValue& v : saved_)
            v.restore();
        CGUI& gui = papp->gui;
        gui.df = live_df_;
        gui.ss = live_ss_;
        gui.wf = live_wf_;
        gui.wn = live_wn_;
        papp->rem.apply_wn();
        std::memcpy(gui.col, live_col_, sizeof live_col_);
        std::strcpy(gui.media_file, live_media_);
        wt::pump();
    }

    static HWND open_dialog()
    {
        wt::command(ID_OPTIONS);
        return papp->opt_dlg ? papp->opt_dlg->hwnd() : nullptr;
    }
    static void click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
    static void type(HWND dlg, int id, const std::string& text)
    {
        SendDlgItemMessageA(dlg, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static std::string text_of(HWND dlg, int id) { return wt::window_text(GetDlgItem(dlg, id)); }
    static UINT state_of(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id); }

    // Clicks the link box round its three states until it shows the wanted one.
    static bool request_link(HWND dlg, UINT state)
    {
        for (int i = 0; i < 3 && state_of(dlg, IDC_CHK_LINK) != state; ++i)
            click(dlg, IDC_CHK_LINK);
        return state_of(dlg, IDC_CHK_LINK) == state;
    }

    // The shell writes its own Startup folder back once a link object has been used, so the
    // folders of the test are put in place right before every "OK".
    void press_ok(HWND dlg)
    {
        set_shell_folder("Startup", startup_value_);
        set_shell_folder("Personal", personal_value_);
        click(dlg, IDOK);
    }

    // "OK" with the link box in the given state; the dialog must be gone afterwards.
    void ok_with_link(UINT state)
    {
        HWND dlg = open_dialog();
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(request_link(dlg, state));
        press_ok(dlg);
        EXPECT_EQ(papp->opt_dlg, nullptr);
        EXPECT_FALSE(IsWindow(dlg));
    }

    std::string startup_, personal_, link_file_;
    std::optional<std::string> startup_value_, personal_value_;

private:
    std::vector<SavedValue> saved_;
    int live_df_ = 0, live_ss_ = 0, live_wf_ = 0, live_wn_ = 0;
    COLORREF live_col_[4] = {};
    char live_media_[256] = "";
};

} // namespace

TEST_F(Options, OpensWithTheStoredNumbersAndTheLiveSwitches)
{
    const struct {
        const char* name;
        int value;
        int box;
        const char* shown;
    } numbers[] = {{"xo", 123, IDC_POS_X, "123"},          {"yo", -5, IDC_POS_Y, "-5"},
                   {"xs", 600, IDC_SIZE_X, "600"},         {"ys", 0, IDC_SIZE_Y, "0"},
                   {"col0", 0x00ff00, IDC_COL0, "00ff00"}, {"col1", 0x0a0b0c, IDC_COL1, "0a0b0c"},
                   {"col2", 0xff0000, IDC_COL2, "ff0000"}, {"col3", 0, IDC_COL3, "000000"}};
    for (const auto& n : numbers)
        store(n.name, n.value);
    CGUI& gui = papp->gui;
    gui.df = 1;
    gui.ss = 1;
    gui.wf = 0;
    gui.wn = 1;
    std::strcpy(gui.media_file, "C:\\sounds\\bell.wav");
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(wt::window_text(dlg), "Options");
    for (const auto& n : numbers)
        EXPECT_EQ(text_of(dlg, n.box), n.shown) << n.name;
    EXPECT_EQ(text_of(dlg, IDC_MEDIA_FILE), "C:\\sounds\\bell.wav");
    EXPECT_EQ(state_of(dlg, IDC_CHK_YMD), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_DMY), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_STAT), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_LINK), static_cast<UINT>(BST_INDETERMINATE));
    EXPECT_EQ(state_of(dlg, IDC_CHK_MEDIA), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_NOTIFY), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(wt::window_text(GetDlgItem(dlg, IDC_CHK_NOTIFY)), "Show a notification when a date is due");

    // A second "Options" keeps the one dialog.
    mdlg* first = papp->opt_dlg;
    wt::command(ID_OPTIONS);
    EXPECT_EQ(papp->opt_dlg, first);
    EXPECT_TRUE(IsWindow(dlg));
    click(dlg, IDCANCEL);

    // The numbers come from the registry afresh at every opening; the switches from the live values.
    store("xo", 77);
    gui.df = 0;
    gui.ss = 0;
    gui.wf = 1;
    gui.wn = 0;
    dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(text_of(dlg, IDC_POS_X), "77");
    EXPECT_EQ(state_of(dlg, IDC_CHK_YMD), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_DMY), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_STAT), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_LINK), static_cast<UINT>(BST_INDETERMINATE));
    EXPECT_EQ(state_of(dlg, IDC_CHK_MEDIA), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(state_of(dlg, IDC_CHK_NOTIFY), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(Options, OwnedByTheMainWindowAndPlacedFromIt)
{
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    HWND main = papp->main_window();
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), main);
    EXPECT_EQ(GetWindowLongA(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    // The template's 1,18 in dialog units place its client area from the main window's.
    RECT at{1, 18, 0, 0};
    MapDialogRect(dlg, &at);
    POINT want{at.left, at.top}, have{0, 0};
    ClientToScreen(main, &want);
    ClientToScreen(dlg, &have);
    EXPECT_EQ(have.x, want.x);
    EXPECT_EQ(have.y, want.y);
}

TEST_F(Options, DateFormatBoxesAlwaysKeepExactlyOneChecked)
{
    papp->gui.df = 1;
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    auto formats = [&] { return std::make_pair(state_of(dlg, IDC_CHK_YMD), state_of(dlg, IDC_CHK_DMY)); };
    const auto ymd_only = std::make_pair(static_cast<UINT>(BST_CHECKED), static_cast<UINT>(BST_UNCHECKED));
    const auto dmy_only = std::make_pair(static_cast<UINT>(BST_UNCHECKED), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(formats(), dmy_only);
    click(dlg, IDC_CHK_DMY);
    EXPECT_EQ(formats(), ymd_only);
    click(dlg, IDC_CHK_YMD);
    EXPECT_EQ(formats(), dmy_only);
    click(dlg, IDC_CHK_YMD);
    EXPECT_EQ(formats(), ymd_only);
    click(dlg, IDC_CHK_DMY);
    EXPECT_EQ(formats(), dmy_only);
    click(dlg, IDC_CHK_DMY);
    press_ok(dlg);
    EXPECT_EQ(papp->gui.df, 0);
    EXPECT_EQ(stored("df"), 0);
}

TEST_F(Options, NumbersAreStoredAsTypedAndReopenInTheirOwnFormat)
{
    store("xo", 100);
    store("xs", 600);
    store("col3", 0x123456);
    papp->gui.set_col(0x123456, 3);
    const int live_xo = papp->gui.xo, live_xs = papp->gui.xs;
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    type(dlg, IDC_POS_X, "0x64");
    type(dlg, IDC_POS_Y, "010");
    type(dlg, IDC_SIZE_X, "abc");
    type(dlg, IDC_SIZE_Y, " -20");
    type(dlg, IDC_COL0, "0");
    type(dlg, IDC_COL1, "0x1A2b3C");
    type(dlg, IDC_COL2, "FF0000");
    type(dlg, IDC_COL3, "zz");
    press_ok(dlg);

    EXPECT_EQ(stored("xo"), 100);
    EXPECT_EQ(stored("yo"), 8);
    EXPECT_EQ(stored("xs"), 600);
    EXPECT_EQ(stored("ys"), -20);
    EXPECT_EQ(stored("col0"), 0);
    EXPECT_EQ(stored("col1"), 0x1a2b3c);
    EXPECT_EQ(stored("col2"), 0xff0000);
    EXPECT_EQ(stored("col3"), 0x123456);
    // Position and size apply at the next start; the colours at once.
    EXPECT_EQ(papp->gui.xo, live_xo);
    EXPECT_EQ(papp->gui.xs, live_xs);
    EXPECT_EQ(papp->gui.col[0], RGB(0, 0, 0));
    EXPECT_EQ(papp->gui.col[1], RGB(0x1a, 0x2b, 0x3c));
    EXPECT_EQ(papp->gui.col[2], RGB(0xff, 0, 0));
    EXPECT_EQ(papp->gui.col[3], RGB(0x12, 0x34, 0x56));

    dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(text_of(dlg, IDC_POS_X), "100");
    EXPECT_EQ(text_of(dlg, IDC_POS_Y), "8");
    EXPECT_EQ(text_of(dlg, IDC_SIZE_X), "600");
    EXPECT_EQ(text_of(dlg, IDC_COL0), "000000");
    EXPECT_EQ(text_of(dlg, IDC_COL1), "1a2b3c");
    EXPECT_EQ(text_of(dlg, IDC_COL2), "ff0000");
    EXPECT_EQ(text_of(dlg, IDC_COL3), "123456");
}

TEST_F(Options, OkStoresTheSwitchesAndTheMediaFileLiveAndInTheRegistry)
{
    CGUI& gui = papp->gui;
    gui.df = 1;
    gui.ss = 0;
    gui.wf = 0;
    gui.wn = 1;
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    click(dlg, IDC_CHK_DMY);
    click(dlg, IDC_CHK_STAT);
    click(dlg, IDC_CHK_MEDIA);
    click(dlg, IDC_CHK_NOTIFY);
    type(dlg, IDC_MEDIA_FILE, "C:\\sounds\\gong.wav");
    press_ok(dlg);
    EXPECT_EQ(gui.df, 0);
    EXPECT_EQ(gui.ss, 1);
    EXPECT_EQ(gui.wf, 1);
    EXPECT_EQ(gui.wn, 0);
    EXPECT_STREQ(gui.media_file, "C:\\sounds\\gong.wav");
    EXPECT_EQ(stored("df"), 0);
    EXPECT_EQ(stored("ss"), 1);
    EXPECT_EQ(stored("wf"), 1);
    EXPECT_EQ(stored("wn"), 0);
    EXPECT_FALSE(papp->rem.icon_shown());
    EXPECT_EQ(stored_media(), "C:\\sounds\\gong.wav");

    // Back again; a media path longer than the field is cut to 254 characters.
    dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    click(dlg, IDC_CHK_YMD);
    click(dlg, IDC_CHK_STAT);
    click(dlg, IDC_CHK_MEDIA);
    click(dlg, IDC_CHK_NOTIFY);
    std::string overlong = "C:\\" + std::string(300, 's');
    type(dlg, IDC_MEDIA_FILE, overlong);
    press_ok(dlg);
    EXPECT_EQ(gui.df, 1);
    EXPECT_EQ(gui.ss, 0);
    EXPECT_EQ(gui.wf, 0);
    EXPECT_EQ(gui.wn, 1);
    EXPECT_EQ(std::string(gui.media_file), overlong.substr(0, 254));
    EXPECT_EQ(stored("df"), 1);
    EXPECT_EQ(stored("ss"), 0);
    EXPECT_EQ(stored("wf"), 0);
    EXPECT_EQ(stored("wn"), 1);
    EXPECT_TRUE(papp->rem.icon_shown());
    EXPECT_EQ(stored_media(), overlong.substr(0, 254));
}

TEST_F(Options, OkRepaintsTheMainWindowWithTheNewColours)
{
    HWND view = active_view()->hwnd();
    wt::pump();
    UpdateWindow(papp->main_window());
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    type(dlg, IDC_COL0, "102030");
    PaintCounter counter(view);
    press_ok(dlg);
    EXPECT_GT(counter.paints(), 0);
    EXPECT_EQ(papp->gui.col[0], RGB(0x10, 0x20, 0x30));
}

TEST_F(Options, CheckedLinkBoxAddsTheLinkAndUncheckedRemovesIt)
{
    size_t lines_before = count_of(log_text(), "mdlg..lnam: ");
    wt::MessageBoxes boxes;
    ok_with_link(BST_CHECKED);
    ASSERT_TRUE(wt::file_exists(link_file_));
    LinkData link = read_link(link_file_);
    ASSERT_TRUE(link.loaded);
    std::string exe = fw::module_path();
    std::string work = personal_ + "\\trm";
    EXPECT_TRUE(same_path(link.target, exe)) << link.target;
    EXPECT_TRUE(same_path(link.folder, work)) << link.folder;
    EXPECT_TRUE(same_path(link.icon, exe)) << link.icon;
    EXPECT_EQ(link.icon_index, 0);
    EXPECT_TRUE(wt::file_exists(work));
    std::string log = log_text();
    EXPECT_NE(log.find("mdlg..lnam: " + link_file_ + "\nmdlg..lprg: " + exe + "\nmdlg..lwrk: " + work + "\n"),
              std::string::npos);
    EXPECT_EQ(count_of(log, "mdlg..lnam: "), lines_before + 1);

    ok_with_link(BST_UNCHECKED);
    EXPECT_FALSE(wt::file_exists(link_file_));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Options, RemovingALinkThatIsNotThereIsReportedAndTheRestStored)
{
    wt::MessageBoxes boxes;
    BoxLooks looks;
    HWND dlg = open_dialog();
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(request_link(dlg, BST_UNCHECKED));
    type(dlg, IDC_POS_X, "0x10");
    type(dlg, IDC_MEDIA_FILE, "C:\\sounds\\after.wav");
    press_ok(dlg);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, remove_failed);
    EXPECT_EQ(boxes.shown()[0].caption, fw::app_name());
    ASSERT_EQ(looks.looks().size(), 1u);
    EXPECT_TRUE(looks.looks()[0].stop);
    EXPECT_EQ(looks.looks()[0].owner, dlg);
    EXPECT_EQ(stored("xo"), 16);
    EXPECT_EQ(stored_media(), "C:\\sounds\\after.wav");
    EXPECT_EQ(papp->opt_dlg, nullptr);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(Options, IndeterminateLinkBoxLogsThePathsAndTouchesNoLink)
{
    wt::MessageBoxes boxes;
    const std::string lines =
        "mdlg..lnam: " + link_file_ + "\nmdlg..lprg: " + fw::module_path() + "\nmdlg..lwrk: " + personal_ + "\\trm\n";
    size_t before = count_of(log_text(), lines);
    ok_with_link(BST_INDETERMINATE);
    EXPECT_FALSE(wt::file_exists(link_file_));
    ASSERT_EQ(make_link(link_file_.c_str(), fw::module_path().c_str(), personal_.c_str()), 0);
    std::string bytes = wt::read_file(link_file_);
    ok_with_link(BST_INDETERMINATE);
    EXPECT_EQ(wt::read_file(link_file_), bytes);
    EXPECT_EQ(count_of(log_text(), lines), before + 2);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Options, WithoutStartupFolderTheLinkRequestIsIgnored)
{
    startup_value_.reset();
    wt::MessageBoxes boxes;
    size_t before = count_of(log_text(), "mdlg..lnam: ");
    ok_with_link(BST_UNCHECKED);
    ok_with_link(BST_CHECKED);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(count_of(log_text(), "mdlg..lnam: "), before);
    EXPECT_TRUE(folder_is_empty(startup_));
}

TEST_F(Options, WithoutPersonalFolderTheLinkStartsInTheProgramFolder)
{
    personal_value_.reset();
    wt::MessageBoxes boxes;
    ok_with_link(BST_CHECKED);
    LinkData link = read_link(link_file_);
    ASSERT_TRUE(link.loaded);
    EXPECT_TRUE(same_path(link.folder, program_folder())) << link.folder;
    EXPECT_NE(log_text().find("mdlg..lwrk: " + program_folder() + "\n"), std::string::npos);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Options, OverlongFolderPathsChangeNoLinkAndAreReported)
{
    // Cut to 255 characters, the link name would name a file in the Startup folder itself.
    std::string overlong = startup_ + "\\" + std::string(255 - startup_.size(), 'd');
    startup_value_ = overlong;
    wt::MessageBoxes boxes;
    BoxLooks looks;
    ok_with_link(BST_CHECKED);
    ok_with_link(BST_UNCHECKED);
    startup_value_ = startup_;
    personal_value_ = personal_ + "\\" + std::string(255 - personal_.size(), 'p');
    ok_with_link(BST_CHECKED);
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[0].text, add_failed);
    EXPECT_EQ(boxes.shown()[1].text, remove_failed);
    EXPECT_EQ(boxes.shown()[2].text, add_failed);
    ASSERT_EQ(looks.looks().size(), 3u);
    EXPECT_TRUE(looks.looks()[0].stop);
    EXPECT_TRUE(looks.looks()[1].stop);
    EXPECT_TRUE(folder_is_empty(startup_));
}

TEST_F(Options, CancelAndTheCloseBoxChangeNothing)
{
    store("xo", 50);
    store("col1", 0xe0e0e0);
    CGUI& gui = papp->gui;
    gui.df = 1;
    gui.ss = 0;
    gui.wf = 0;
    gui.wn = 1;
    std::vector<int> registry_before;
    for (const char* name : int_names)
        registry_before.push_back(stored(name));
    std::string media_before = stored_media();
    COLORREF col_before[4];
    std::memcpy(col_before, gui.col, sizeof col_before);
    std::string live_media = gui.media_file;
    size_t links_logged = count_of(log_text(), "mdlg..lnam: ");
    size_t closed_before = count_of(log_text(), "mdlg::~mdlg () OK ...\n");

    for (int way = 0; way < 2; ++way) {
        HWND dlg = open_dialog();
        ASSERT_NE(dlg, nullptr);
        for (int id = IDC_POS_X; id <= IDC_COL3; ++id)
            type(dlg, id, "0x99");
        type(dlg, IDC_MEDIA_FILE, "C:\\other.wav");
        click(dlg, IDC_CHK_DMY);
        click(dlg, IDC_CHK_STAT);
        click(dlg, IDC_CHK_MEDIA);
        click(dlg, IDC_CHK_NOTIFY);
        ASSERT_TRUE(request_link(dlg, BST_CHECKED));
        if (way == 0)
            click(dlg, IDCANCEL);
        else
            SendMessageA(dlg, WM_CLOSE, 0, 0);
        EXPECT_EQ(papp->opt_dlg, nullptr);
        EXPECT_FALSE(IsWindow(dlg));
    }

    for (size_t i = 0; i < registry_before.size(); ++i)
        EXPECT_EQ(stored(int_names[i]), registry_before[i]) << int_names[i];
    EXPECT_EQ(stored_media(), media_before);
    EXPECT_EQ(gui.df, 1);
    EXPECT_EQ(gui.ss, 0);
    EXPECT_EQ(gui.wf, 0);
    EXPECT_EQ(gui.wn, 1);
    EXPECT_EQ(std::memcmp(gui.col, col_before, sizeof col_before), 0);
    EXPECT_EQ(std::string(gui.media_file), live_media);
    EXPECT_FALSE(wt::file_exists(link_file_));
    std::string log = log_text();
    EXPECT_EQ(count_of(log, "mdlg..lnam: "), links_logged);
    EXPECT_EQ(count_of(log, "mdlg::~mdlg () OK ...\n"), closed_before + 2);
}
