#include "app/mapp.h"
#include <cstring>
#include <string>
#include "fw/log.h"
#include "core/media_cmd.h"
#include "fw/registry.h"
#include "app/mwin.h"
#include "res/resource.h"
#include "store/mdoc.h"
#include "store/read_ahead.h"
#include "view/mvie.h"

namespace {
// The template creates its document, frame and view by these names.
const fw::RuntimeClass mdoc_class("mdoc", [] { return static_cast<void*>(new mdoc); });
const fw::RuntimeClass mwin_class("mwin", [] { return static_cast<void*>(new mwin); });
const fw::RuntimeClass mvie_class("mvie", [] { return static_cast<void*>(new mvie); });
} // namespace

// The log writes to the application's stream, which the settings holder opens.
FILE* fw::log_stream()
{
    return papp ? papp->log_file : nullptr;
}

mapp::mapp()
{
    show_all = 0;
    tick_count = 0;
    trm_log("mapp::mapp () OK ...\n");
}

mapp::~mapp()
{
    trm_log("mapp::~mapp () OK ...\n");
}

bool mapp::init_inst()
{
    // The date file is read on a second thread while the windows are made.
    read_ahead(fw::full_path(mdoc::new_file_name));
    AddDocTemplate(new fw::DocTemplate(IDR_MAINFRAME, "mdoc", "mwin", "mvie"));
    OnFileNew();
    HWND main = main_window();
    // Without a main window there is nothing to run; the program ends.
    if (!main)
        return false;
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    chek_comm();
    trm_log("mapp::init_inst () OK ...\n");
    return true;
}

void mapp::chek_comm()
{
    const char* cls = reg_get_str("HKLM", "Software\\Classes\\.wav", "");
    if (!cls)
        return;
    auto key = play_command_key(cls);
    if (!key)
        return;
    const char* play = reg_get_expanded_str("HKLM", key->c_str(), "");
    auto cmd = build_media_cmd(play, gui.media_file);
    if (!cmd || cmd->size() >= sizeof media_cmd)
        return;
    std::memcpy(media_cmd, cmd->c_str(), cmd->size() + 1);
    trm_log("mapp::chek_comm () OK ... %s\n", media_cmd);
}
