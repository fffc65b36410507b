// Printing hooks of the view: pages of 60 list rows, or one page for a grid.
#include "app/mapp.h"
#include "view/mvie.h"

namespace {
const int kRowsPerPage = 60;
}

bool mvie::OnPreparePrinting(fw::PrintInfo& info)
{
    int rows = papp->list.row_count();
    int pages = rows / kRowsPerPage;
    if (pages < 1)
        pages = 1;
    if (pages * kRowsPerPage < rows)
        ++pages;
    info.min_page = 1;
    info.max_page = pages;
    papp->list.print_page = info.cur_page - 1;
    int tab = selected_tab();
    if (tab == 1 || tab == 2)
        info.max_page = 1;
    return DoPreparePrinting(info);
}

void mvie::OnPrint(fw::Dc& dc, fw::PrintInfo& info)
{
    papp->list.print_page = info.cur_page - 1;
    OnDraw(dc);
}
