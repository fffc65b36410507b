#include "options/mdlg.h"
#include "app/log.h"
#include "app/mapp.h"
#include "res/resource.h"

mdlg::mdlg() : fw::Dialog(IDD_OPTIONS)
{
    trm_log("mdlg::mdlg () OK ...\n");
}

mdlg::~mdlg()
{
    trm_log("mdlg::~mdlg () OK ...\n");
}

void mdlg::init_mdlg()
{
    Create(nullptr);
}

bool mdlg::on_command(UINT id, UINT code)
{
    return fw::Dialog::on_command(id, code);
}

void mdlg::OnClickYmd() {}
void mdlg::OnClickDmy() {}

void mdlg::OnOK()
{
    OnCancel();
}

void mdlg::OnCancel()
{
    EndDialog();
    papp->opt_dlg = nullptr;
    delete this;
}
