#include "view/mvie.h"

void mvie::OnLButtonDown(POINT) {}
void mvie::OnRButtonDown(POINT) {}
void mvie::OnLButtonDblClk(POINT) {}
void mvie::OnPrev() {}
void mvie::OnNext() {}
void mvie::set_tabs() {}
