// Reading another process's controls through their own window messages. Messages that carry a
// pointer get it in a block of memory inside the target process.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace e2e {

// SendMessage with a bound, so that a hung or dead target cannot stop the suite; 0 on timeout.
LRESULT send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);

// Memory in the process that owns a window, freed with the object.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return base_ != nullptr; }
    LPARAM address(size_t offset = 0) const;
    bool write(const void* data, size_t size, size_t offset = 0);
    bool read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_ = 0;
};

// WM_GETTEXT, which the system carries across processes itself.
std::string window_text(HWND hwnd);
std::string class_name(HWND hwnd);
// The window's rectangle in screen coordinates; a client rectangle moved onto the screen.
RECT window_rect(HWND hwnd);
RECT client_to_screen(HWND hwnd, RECT rc);
// The window that has the keyboard focus in the thread of the given window.
HWND focus_of(HWND any_window_of_thread);

// List view.
int list_count(HWND list);
std::string list_text(HWND list, int row, int col);
std::vector<std::string> list_row(HWND list, int row, int cols);
// Every row as its cells joined by tabs, first row first.
std::vector<std::string> list_rows(HWND list, int cols);
bool list_row_rect(HWND list, int row, RECT& screen);
int list_column_width(HWND list, int col);
// The first selected row, or -1.
int list_selected(HWND list);

// Tab control.
int tab_count(HWND tab);
int tab_selected(HWND tab);
std::string tab_text(HWND tab, int index);
std::vector<std::string> tab_texts(HWND tab);
bool tab_rect(HWND tab, int index, RECT& screen);

// Tool bar: buttons by position (0 for a separator) and by command.
std::vector<int> toolbar_commands(HWND bar);
bool toolbar_rect(HWND bar, UINT cmd, RECT& screen);
bool toolbar_pressed(HWND bar, UINT cmd);

// Status bar pane text.
std::string status_text(HWND bar, int part);

// Check box: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
int check_state(HWND button);

} // namespace e2e
