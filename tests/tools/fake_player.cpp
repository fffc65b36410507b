// A stand-in media player for the alert tests. Each start appends "<pid>\t<command line>\n" to
// its record: the file named by TRM_PLAYER_RECORD, else fake_player.txt beside the program.
// While the file "<record>.hold" exists it keeps running (until it is killed or the file goes);
// it exits with the code in TRM_PLAYER_EXIT, 0 without it.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string environment(const char* name)
{
    char buf[1024];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string record_path()
{
    std::string path = environment("TRM_PLAYER_RECORD");
    if (!path.empty())
        return path;
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    path.assign(self, n < MAX_PATH ? n : 0);
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "fake_player.txt";
}

// One writer at a time (no write sharing), each line written at the end: players started at
// once wait for each other instead of writing over each other's line.
void append_line(const std::string& path, const std::string& line)
{
    HANDLE f = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 500; ++tries) {
        f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(10);
    }
    if (f == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(f, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(f);
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main()
{
    std::string record = record_path();
    append_line(record, std::to_string(GetCurrentProcessId()) + "\t" + std::to_string(GetCurrentThreadId()) + "\t" +
                            GetCommandLineA() + "\n");
    while (exists(record + ".hold"))
        Sleep(20);
    std::string code = environment("TRM_PLAYER_EXIT");
    return code.empty() ? 0 : std::atoi(code.c_str());
}
