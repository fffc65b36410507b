#include "list/clst.h"
#include "app/log.h"
#include "app/mapp.h"

CLst::CLst()
{
    trm_log("CLst::CLst () OK ...\n");
}

CLst::~CLst()
{
    trm_log("CLst::~CLst () OK ...\n");
}

void CLst::init_list(HWND) {}
void CLst::add_line(const char*) {}
void CLst::fill_list() {}
void CLst::del_line() {}
void CLst::chek_date(const char*) {}
void CLst::chek_time(const char*) {}
void CLst::prnt_page(fw::Dc&) {}
void CLst::DrawItem(const DRAWITEMSTRUCT*) {}
std::string CLst::cell_text(int, int) const { return {}; }
void CLst::refresh_rows() {}
bool CLst::on_reflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
LRESULT CLst::wnd_proc(UINT msg, WPARAM wp, LPARAM lp) { return default_proc(msg, wp, lp); }
