// The date file writer of the view: held-back lines first, then the rows in list order.
#include <string>
#include "fw/log.h"
#include "app/mapp.h"
#include "store/file_io.h"
#include "store/mdoc.h"
#include "view/mvie.h"

void mvie::OnSave()
{
    auto* doc = static_cast<mdoc*>(GetDocument());
    if (!doc)
        return;
    SaveRequest& request = doc->save_request();
    // Held lines are written whatever show_all says: with it on they are normally none, and a
    // line loaded since the last rebuild must not be dropped.
    std::string bytes = papp->list.store.file_text();
    request.ok = !request.target.empty() && write_file_replacing(request.target.c_str(), bytes);
    request.written = request.ok ? std::move(bytes) : std::string();
    trm_log("mvie::OnSave () OK ...\n");
}
