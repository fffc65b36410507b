#include "store/file_io.h"
#include <windows.h>
#include "store/date_text.h"

namespace {

class File {
public:
    explicit File(HANDLE h) : h_(h) {}
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    void close()
    {
        if (ok())
            CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

std::string folder_of(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

bool write_all(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(h) != 0;
}

// One rename, so that the target is at every moment the old or the new file. ReplaceFile is no
// such step everywhere (one implementation moves the old file away first): a process killed in
// between would leave no date file at all. The target's attributes go over to the new file.
bool replace_target(const char* target, const char* temp)
{
    DWORD attr = GetFileAttributesA(target);
    if (attr == INVALID_FILE_ATTRIBUTES)
        return MoveFileExA(temp, target, MOVEFILE_WRITE_THROUGH) != 0;
    if (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const DWORD kept = attr & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (kept)
        SetFileAttributesA(temp, kept);
    return MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace

ReadResult read_whole_file(const char* path, std::string& bytes)
{
    bytes.clear();
    File f(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f.ok()) {
        DWORD err = GetLastError();
        return (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) ? ReadResult::missing
                                                                              : ReadResult::unreadable;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart < 0 || size.QuadPart > (1LL << 31))
        return ReadResult::unreadable;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(f.get(), &bytes[got], static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
            bytes.clear();
            return ReadResult::unreadable;
        }
        if (n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return ReadResult::ok;
}

ReadResult read_date_lines(const char* path, std::vector<std::string>& lines)
{
    std::string bytes;
    ReadResult r = read_whole_file(path, bytes);
    if (r == ReadResult::ok)
        lines = dl::decode_lines(bytes);
    return r;
}

bool write_file_replacing(const char* path, std::string_view bytes)
{
    std::string target = path;
    DWORD attr = GetFileAttributesA(path);
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder_of(target).c_str(), "trm", 0, temp))
        return false;
    bool ok = false;
    {
        File f(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ok = f.ok() && write_all(f.get(), bytes);
    }
    ok = ok && replace_target(path, temp);
    if (!ok)
        DeleteFileA(temp);
    return ok;
}
