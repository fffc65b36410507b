#include "store/read_ahead.h"
#include <windows.h>
#include <thread>
#include "fw/app.h"

namespace {

struct Pending {
    std::thread worker;
    std::string path;
    DateFileRead read;

    void finish()
    {
        if (worker.joinable())
            worker.join();
    }
    // The program may end without ever taking it: the thread must not outlive the process' statics.
    ~Pending() { finish(); }
};

Pending& pending()
{
    static Pending p;
    return p;
}

} // namespace

void read_ahead(const std::string& path)
{
    Pending& p = pending();
    p.finish();
    p.path = path;
    p.read = DateFileRead();
    p.worker = std::thread([&p] { p.read = read_date_file(p.path.c_str()); });
}

bool take_read_ahead(const std::string& path, DateFileRead& read)
{
    Pending& p = pending();
    if (p.path.empty())
        return false;
    p.finish();
    bool usable = fw::same_file(p.path, path) && file_stamp(path.c_str()) == p.read.stamp;
    if (usable)
        read = std::move(p.read);
    p.path.clear();
    p.read = DateFileRead();
    return usable;
}
