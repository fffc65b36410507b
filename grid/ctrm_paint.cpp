#include "grid/ctrm.h"

void CTrm::init_view(fw::Dc&, int, int, int, int, int) {}
void CTrm::draw_view(fw::Dc&, int, int, int, int, int, int, int) {}
void CTrm::draw_month(fw::Dc&, int, int, int, int) {}
