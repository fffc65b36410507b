// Shared by the Windows benchmarks: a folder of their own under the user's temporary folder.
#pragma once
#include <windows.h>
#include <string>

// The folder's path, made when it is not there yet.
inline std::string scratch_folder(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string folder = std::string(dir) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
