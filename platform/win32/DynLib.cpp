#include <windows.h>

#include "platform/DynLib.h"
#include "platform/win32/WinText.h"

namespace platform {

// Windows loads "UNPACK32.DLL" by that name.
std::string DynLib::LibraryFile(const std::string& name) {
    return name;
}

std::string DynLib::Folder(const std::string& programDir) {
    std::string dir = programDir;
    for (char& c : dir)
        if (c == '\\') c = '/';
    return dir;
}

void* DynLib::Open(const std::string& path, std::string& why) {
    const bool withFolder = path.find('/') != std::string::npos;
    // A library loaded by path finds its own dependencies beside itself.
    HMODULE h =
        LoadLibraryExW(win32::Wide(path).c_str(), nullptr, withFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    if (!h) why = path + ": " + win32::ErrorMessage(GetLastError());
    return reinterpret_cast<void*>(h);
}

void DynLib::Close(void* handle) {
    FreeLibrary(reinterpret_cast<HMODULE>(handle));
}

void* DynLib::Find(void* handle, const std::string& symbol, std::string& why) {
    FARPROC p = GetProcAddress(reinterpret_cast<HMODULE>(handle), symbol.c_str());
    if (!p) why = symbol + ": " + win32::ErrorMessage(GetLastError());
    return reinterpret_cast<void*>(p);
}

}  // namespace platform
