// The date file writer of the view: held-back lines first, then the rows in list order.
#include <string>
#include "app/log.h"
#include "app/mapp.h"
#include "store/file_io.h"
#include "view/mvie.h"

void mvie::OnSave()
{
    // Held lines are written whatever show_all says: with it on they are normally none, and a
    // line loaded since the last rebuild must not be dropped.
    std::string bytes = papp->list.store.file_text();
    save_ok = !save_target.empty() && write_file_replacing(save_target.c_str(), bytes);
    saved_text = save_ok ? std::move(bytes) : std::string();
    trm_log("mvie::OnSave () OK ...\n");
}
