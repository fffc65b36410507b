// Times what keeping another program's changes costs against the save it comes with, at a
// million entries: the look at an unchanged file, the look at a file touched without a change
// (read and hashed), and the merge of a changed file into the rows; the ratios are the figures.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_data.h"
#include "core/row_store.h"
#include "core/date_text.h"
#include "core/file_state.h"
#include "core/line_merge.h"

namespace {

FileStamp stamp_of(const std::string& path)
{
    struct stat st { };
    if (stat(path.c_str(), &st) != 0)
        return {};
    return {true, static_cast<std::uint64_t>(st.st_size),
            static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u + st.st_mtim.tv_nsec};
}

std::string read_all(const std::string& path)
{
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    bytes.resize(static_cast<size_t>(stamp_of(path).size));
    bytes.resize(std::fread(&bytes[0], 1, bytes.size(), f));
    std::fclose(f);
    return bytes;
}

// As the program saves: the bytes beside the target, on disk, then one rename.
bool save(const RowStore& store, const std::string& path)
{
    const std::string bytes = store.file_text();
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok =
        std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0 && fsync(fileno(f)) == 0;
    ok = std::fclose(f) == 0 && ok;
    return ok && std::rename(temp.c_str(), path.c_str()) == 0;
}

// Another program's version: one entry changed, one added.
std::string their_version(std::string bytes)
{
    const size_t second = bytes.find('\n') + 1;
    bytes.insert(second, "X");
    return bytes + "2030.01.01\tMon\t\tadded by another program\t0\r\n";
}

} // namespace

int main()
{
    const size_t count = 1000000;
    const std::string path = "native_merge_bench.dat";
    RowStore store;
    store.lines = dl::decode_lines(date_file(count));
    store.fill(false);
    save(store, path); // warms the file system
    FileBase base;

    double save_ms = 1e30;
    for (int i = 0; i < 3; ++i) {
        const double ms = time_ms([&] { save(store, path); });
        save_ms = std::min(save_ms, ms);
    }
    base.take(store.file_text(), stamp_of(path));

    bool unchanged = false;
    const double check_ms = time_ms([&] { unchanged = stamp_of(path) == base.stamp; });
    const double touched_ms = time_ms([&] {
        const std::string bytes = read_all(path);
        unchanged = unchanged && base.same_content(bytes, content_hash(bytes));
    });

    // Ours changed an entry too; theirs is on disk. Each round merges into a fresh copy of both.
    store.set_cell(0, 3, "changed here");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << their_version(base.bytes);
    }
    size_t rows_after = 0;
    double merge_ms = 1e30;
    for (int i = 0; i < 3; ++i) {
        RowStore ours = store;
        FileBase last = base;
        const double ms = time_ms([&] {
            std::string theirs = read_all(path);
            const std::uint64_t hash = content_hash(theirs);
            if (last.same_content(theirs, hash))
                return;
            const dl::LineChanges changes =
                dl::merge_changes(dl::line_views(last.bytes), ours.line_views(), dl::line_views(theirs));
            ours.apply_changes(changes, false);
            last.take(std::move(theirs), stamp_of(path), hash);
            rows_after = ours.row_count();
        });
        merge_ms = std::min(merge_ms, ms);
    }
    std::remove(path.c_str());

    std::printf("%zu entries, %zu rows after the merge%s\n", count, rows_after, unchanged ? "" : " (check FAILED)");
    std::printf("  save (encode, write, flush, rename)      %8.1f ms  (best of 3, as the merge)\n", save_ms);
    std::printf("  check, file unchanged (stamp)           %8.3f ms  %6.4f x save  (at most 0.10)\n", check_ms,
                check_ms / save_ms);
    std::printf("  check, file touched (read + hash)       %8.1f ms  %6.4f x save  (rare: written without a change)\n",
                touched_ms, touched_ms / save_ms);
    std::printf("  merge: read, hash, merge, rows updated  %8.1f ms  %6.4f x save  (at most 2)\n", merge_ms,
                merge_ms / save_ms);
    return 0;
}
