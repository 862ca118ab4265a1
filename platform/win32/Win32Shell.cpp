#include "platform/win32/Win32Shell.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cctype>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "platform/Services.h"
#include "platform/win32/WinText.h"

namespace platform {

NativePath Win32Shell::Paths() const {
    return paths_ ? *paths_ : Services().paths;
}

bool Win32Shell::IsUrl(const std::string& target) {
    size_t i = 0;
    while (i < target.size() && (std::isalnum(static_cast<unsigned char>(target[i])) || target[i] == '+' ||
                                 target[i] == '-' || target[i] == '.'))
        ++i;
    return i >= 2 && i < target.size() && target[i] == ':' &&
           std::isalpha(static_cast<unsigned char>(target[0]));
}

std::vector<std::string> Win32Shell::OpenCommand(const std::string& target) const {
    const std::string t = base::Trim(target);
    if (t.empty()) return {};
    if (IsUrl(t)) return {"open", base::Cp1252ToUtf8(t)};
    return ExecuteCommand(t);
}

std::vector<std::string> Win32Shell::ExploreCommand(const std::string& folder) const {
    std::string native;
    if (base::Trim(folder).empty()) {
        wchar_t cwd[MAX_PATH];
        DWORD n = GetCurrentDirectoryW(MAX_PATH, cwd);
        native = n && n < MAX_PATH ? win32::Narrow(std::wstring_view(cwd, n)) : ".";
    } else {
        native = Paths().Resolve(folder);
    }
    return {"explore", native};
}

std::vector<std::string> Win32Shell::ExecuteCommand(const std::string& file) const {
    const std::string t = base::Trim(file);
    if (t.empty()) return {};
    return {"open", Paths().Resolve(t)};
}

std::string Win32Shell::WorkingFolder(const std::string& target) const {
    const std::string t = base::Trim(target);
    if (t.empty() || IsUrl(t)) return {};
    std::string native = Paths().Resolve(t);
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

bool Win32Shell::Open(const std::string& target) {
    auto c = OpenCommand(target);
    return !c.empty() && Spawn(c, WorkingFolder(target));
}
bool Win32Shell::Explore(const std::string& folder) {
    auto c = ExploreCommand(folder);
    return !c.empty() && Spawn(c, {});
}
bool Win32Shell::Execute(const std::string& file) {
    auto c = ExecuteCommand(file);
    return !c.empty() && Spawn(c, WorkingFolder(file));
}

}  // namespace platform
