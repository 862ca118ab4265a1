#include "platform/win32/MutexSingleInstance.h"

#include <windows.h>

#include "base/Cp1252.h"
#include "platform/win32/WinText.h"

namespace platform {

MutexSingleInstance::~MutexSingleInstance() {
    for (auto& [name, handle] : held_) CloseHandle(handle);
}

std::string MutexSingleInstance::ObjectName(const std::string& name) {
    std::string out = "Local\\cdmenu-";
    for (char c : base::Cp1252ToUtf8(name)) out += c == '\\' ? '_' : c;
    return out;
}

bool MutexSingleInstance::Acquire(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (held_.count(name)) return false;
    HANDLE h = CreateMutexW(nullptr, FALSE, win32::WideText(ObjectName(name)).c_str());
    if (!h) return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    held_[name] = h;
    return true;
}

void MutexSingleInstance::Release(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto it = held_.find(name);
    if (it == held_.end()) return;
    CloseHandle(it->second);
    held_.erase(it);
}

}  // namespace platform
