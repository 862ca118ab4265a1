#include "platform/win32/Win32Shell.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/win32/WinText.h"

namespace platform {

std::string Win32Shell::CurrentFolder() const {
    wchar_t cwd[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, cwd);
    return n && n < MAX_PATH ? win32::Narrow(std::wstring_view(cwd, n)) : ".";
}

std::string Win32Shell::FolderOf(const std::string& native) const {
    const size_t slash = native.find_last_of('/');
    return slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
}

bool Win32Shell::Spawn(const std::vector<std::string>& command, const std::string& folder) {
    if (command.size() != 2) return false;
    const std::wstring verb = win32::WideText(command[0]);
    // A URL keeps its slashes; a path gets the API's separators.
    const bool url = IsUrl(command[1]);
    const std::wstring target = url ? win32::WideText(command[1]) : win32::Wide(command[1]);
    const std::wstring dir = folder.empty() ? std::wstring() : win32::Wide(folder);
    HINSTANCE r = ShellExecuteW(nullptr, verb.c_str(), target.c_str(), nullptr,
                                dir.empty() ? nullptr : dir.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

}  // namespace platform
