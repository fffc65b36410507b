#include "list/clst.h"

void CLst::chek_alrm() {}
