#include "view/mvie.h"

void mvie::OnNewDate() {}
void mvie::OnEditDate() {}
void mvie::OnCancelEdit() {}
void mvie::OnDeleteDate() {}
void mvie::OnConfirmEdit() {}
int mvie::pars_date(const char*, int, int&, int&, int&) { return 4; }
int mvie::pars_time(std::string&) { return 1; }
