#include "store/file_io.h"
#include <windows.h>
#include <vector>
#include "fw/log.h"
#include "fw/app.h"
#include "core/date_text.h"

namespace {

bool write_all(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Where the bytes of path really go: the target of a symbolic link, or path itself.
std::string final_path(const char* path)
{
    // Not every system marks a link as a reparse point: the opened file says where it is.
    fw::Handle f(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    char buf[MAX_PATH + 8];
    DWORD n = f.ok() ? GetFinalPathNameByHandleA(f.get(), buf, sizeof buf, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS) : 0;
    if (n == 0 || n >= sizeof buf)
        return path;
    std::string final(buf, n);
    // The long-path prefix is kept only where the path needs it.
    if (final.compare(0, 4, "\\\\?\\") == 0 && final.size() - 4 < MAX_PATH)
        final.erase(0, 4);
    return final;
}

// A temporary file beside the target, or "" where none can be made (no create rights, or a
// folder too deep for the temporary file's name).
std::string temp_file_beside(const std::string& target)
{
    const std::string folder = fw::folder_of(target);
    // GetTempFileName writes up to MAX_PATH characters: folder, "trmXXXX.tmp" and a terminator.
    const size_t temp_name_length = 12;
    if (folder.size() + temp_name_length >= MAX_PATH)
        return std::string();
    char temp[MAX_PATH];
    return GetTempFileNameA(folder.c_str(), "trm", 0, temp) ? std::string(temp) : std::string();
}

// The access rights of the target go over to the file that replaces it.
void copy_access_rights(const char* from, const char* to)
{
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
    DWORD need = 0;
    GetFileSecurityA(from, what, nullptr, 0, &need);
    if (need == 0)
        return;
    std::vector<char> sd(need);
    if (GetFileSecurityA(from, what, sd.data(), need, &need))
        SetFileSecurityA(to, what, sd.data());
}

// The last resort: the old content is overwritten, so the new size is claimed first, while a
// full disk still leaves the old content whole.
bool write_in_place(const std::string& target, std::string_view bytes)
{
    fw::Handle f(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.ok())
        return false;
    LARGE_INTEGER old_size{}, new_size{}, start{};
    new_size.QuadPart = static_cast<LONGLONG>(bytes.size());
    GetFileSizeEx(f.get(), &old_size);
    if (new_size.QuadPart > old_size.QuadPart &&
        (!SetFilePointerEx(f.get(), new_size, nullptr, FILE_BEGIN) || !SetEndOfFile(f.get())))
        return false;
    if (!SetFilePointerEx(f.get(), start, nullptr, FILE_BEGIN) || !write_all(f.get(), bytes))
        return false;
    if (!SetEndOfFile(f.get()) || !FlushFileBuffers(f.get()))
        return false;
    trm_log("mvie::OnSave () OK, %s written in place: no temporary file could be made beside it ...\n", target.c_str());
    return true;
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
    copy_access_rights(target, temp);
    return MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

HANDLE open_for_reading(const char* path, DWORD share)
{
    return CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Why the last open failed: a file that is not there, or one that cannot be read.
ReadResult why_not_opened()
{
    DWORD err = GetLastError();
    return (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) ? ReadResult::missing : ReadResult::unreadable;
}

// False for a size that cannot be known or is too large to hold in memory at once.
bool readable_size(HANDLE f, size_t& size)
{
    LARGE_INTEGER s{};
    if (!GetFileSizeEx(f, &s) || s.QuadPart < 0 || s.QuadPart > (1LL << 31))
        return false;
    size = static_cast<size_t>(s.QuadPart);
    return true;
}

} // namespace

ReadResult read_whole_file(const char* path, std::string& bytes)
{
    bytes.clear();
    fw::Handle f(open_for_reading(path, FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!f.ok())
        return why_not_opened();
    size_t size = 0;
    if (!readable_size(f.get(), size))
        return ReadResult::unreadable;
    bytes.resize(size);
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

MappedFile::~MappedFile()
{
    if (data_ && size_ > 0)
        UnmapViewOfFile(data_);
}

ReadResult MappedFile::open(const char* path)
{
    HANDLE f = open_for_reading(path, FILE_SHARE_READ);
    if (f == INVALID_HANDLE_VALUE)
        return why_not_opened();
    file_.reset(f);
    size_t size = 0;
    if (!readable_size(f, size))
        return ReadResult::unreadable;
    if (size == 0)
        return ReadResult::ok; // an empty file cannot be mapped
    mapping_.reset(CreateFileMappingA(f, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping_)
        return ReadResult::unreadable;
    data_ = static_cast<const char*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
    if (!data_)
        return ReadResult::unreadable;
    size_ = size;
    return ReadResult::ok;
}

FileStamp file_stamp(const char* path)
{
    FileStamp s;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(final_path(path).c_str(), GetFileExInfoStandard, &data))
        return s;
    s.exists = true;
    s.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    s.written =
        (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return s;
}

DateFileRead read_date_file(const char* path)
{
    DateFileRead r;
    r.stamp = file_stamp(path);
    r.result = read_whole_file(path, r.bytes);
    if (r.result == ReadResult::ok)
        r.lines = dl::decode_lines(r.bytes);
    return r;
}

bool write_file_replacing(const char* path, std::string_view bytes)
{
    return write_file_replacing(path, [bytes](const PieceWriter& write) { return write(bytes); });
}

bool write_file_replacing(const char* path, const std::function<bool(const PieceWriter&)>& produce)
{
    const std::string target = final_path(path);
    DWORD attr = GetFileAttributesA(target.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const std::string temp = temp_file_beside(target);
    if (temp.empty()) {
        // Only into a folder that is there: a save never makes the folder it lost.
        DWORD folder = GetFileAttributesA(fw::folder_of(target).c_str());
        if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        // In place the new size is claimed before anything is overwritten: the pieces are gathered first.
        std::string bytes;
        return produce([&bytes](std::string_view piece) {
                   bytes += piece;
                   return true;
               }) &&
               write_in_place(target, bytes);
    }
    bool ok = false;
    {
        fw::Handle f(
            CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ok = f.ok() && produce([&f](std::string_view piece) { return write_all(f.get(), piece); }) &&
             FlushFileBuffers(f.get()) != 0;
    }
    ok = ok && replace_target(target.c_str(), temp.c_str());
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}
