// The date list: an owner-drawn report list over the program's own sorted rows and line store,
// with the in-place editor boxes, the row drawing, printed pages and the alert tick.
#pragma once
#include <windows.h>
#include <string>
#include "fw/dc.h"
#include "fw/dpi.h"
#include "fw/gdi.h"
#include "fw/wnd.h"
#include "core/due_check.h"
#include "core/row_store.h"

class CTrm;

// Today's date and the time of the grid model's last look at the clock, for the due test.
Today today_of(const CTrm& grid);

// One in-place edit box: Escape and Enter released become commands 504 and 505 to the window
// the box belongs to (its parent, the view).
class CEdt : public fw::Wnd {
protected:
    LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class CLst : public fw::Wnd {
public:
    CLst();
    ~CLst() override;

    // place: where the view lays the list out (none: made empty, for the view to place).
    void init_list(HWND parent, const RECT* place = nullptr);
    // Null the first time: creates the columns. Otherwise adds one date line as a row and
    // returns where it went (-1 when nothing was added).
    int add_line(const char* text);
    void fill_list();
    void del_line();
    void chek_date(const char* text);
    void chek_time(const char* text);

    // In-place editor.
    void open_edit();
    void show_edit();
    // Places and shows boxes and hint along the bottom of the view, whatever sel_item holds.
    void place_edit();
    void hide_edit();
    // Tab and Shift+Tab in a box: the next or the previous box takes the focus.
    void focus_next_box(HWND from, bool back);
    // The list takes the keyboard focus with the row (when there is one) selected and in sight.
    void focus_row(int row);

    // Alert tick (timer) and printed page.
    void chek_alrm();
    void prnt_page(fw::Dc& dc);
    void DrawItem(const DRAWITEMSTRUCT* item);

    // Rows as the view, the grids and the writer read them.
    int row_count() const { return static_cast<int>(store.row_count()); }
    std::string cell_text(int row, int col) const;
    // Header caption of a column, "" outside 0..4.
    static const char* caption(int col);
    void refresh_rows();
    // Window width less client width: the border and a shown vertical scroll bar.
    int frame_width() const;
    // Columns, images and fonts for the DPI the window is now shown at.
    void set_dpi();
    // Another program's changes, merged: the selection stays on its row, an open editor as it is.
    void take_changes(const dl::LineChanges& changes);
    bool on_reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // Rows and the line store `lines` (store.lines); sort_up lives there too.
    RowStore store;
    std::vector<std::string>& lines = store.lines;
    fw::Bitmap bmp_done, bmp_open, bmp_due;
    HWND hint = nullptr;
    CEdt edit[10];
    // Initial widths, at 96 DPI (the printed page shares its width out by them).
    int col_width[10] = {};
    int col_align[10] = {};
    // Scratch fields of the due test: p_day, p_month, p_year, p_hour, p_min and due.
    DueScratch scratch;
    bool date_parsed = false;
    int text_width = 0;
    int sel_item = -1;
    int print_page = 0;
    int editing = 0;
    int replacing = 0;
    int col_count = 0;
    int add_count = 0;
    // The DPI the columns and images are made for.
    int shown_dpi = fw::kBaseDpi;
    // The row loaded into the editor; a replacing confirmation removes this row and no other.
    RowStore::RowId loaded_row = 0;

protected:
    LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnLButtonDown(POINT pt);
    void OnKeyUp(UINT key);
    void OnColumnClick(int column);
    void create_columns();
    void create_editor(HWND parent);
    void load_images();
    void set_fonts();
    // Answers the control's request for a cell's text from the store.
    void give_cell_text(LPARAM disp_info, bool wide) const;
    LRESULT read_item_text(WPARAM row, LPARAM item, bool wide) const;
    // Answers the control's type-to-find request: the row index, or -1.
    LRESULT find_item(LPARAM find_info, bool wide) const;
    int first_selected() const;
    void clear_selection();
    void select_only(int row);
    void select_in_sight(int row);
    int column_width(int col) const;
    HFONT font() const;
    // Client width at the last size change: the parent refits the columns when it changes.
    int client_width_ = -1;
};
