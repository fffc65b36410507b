// The application object: root of all shared state, reached through papp.
#pragma once
#include <windows.h>
#include <cstdio>
#include "app/cgui.h"
#include "app/crem.h"
#include "fw/app.h"
#include "grid/ctrm.h"
#include "list/clst.h"

class mdlg;

class mapp : public fw::App {
public:
    mapp();
    ~mapp() override;

    bool InitInstance() override { return init_inst(); }
    bool init_inst();
    void chek_comm();

    DWORD play_thread = 0;
    // Set by the settings holder's constructor, which runs after this member is initialised.
    FILE* log_file = nullptr;
    mdlg* opt_dlg = nullptr;
    CGUI gui;
    CLst list;
    CTrm grid;
    CRem rem;
    char media_cmd[256] = "";
    int show_all = 0;
    int tick_count = 0;
};

extern mapp* papp;
