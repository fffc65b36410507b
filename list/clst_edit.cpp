#include "list/clst.h"

void CLst::open_edit() {}
void CLst::show_edit() {}
void CLst::place_edit() {}
void CLst::hide_edit() {}
LRESULT CEdt::wnd_proc(UINT msg, WPARAM wp, LPARAM lp) { return default_proc(msg, wp, lp); }
