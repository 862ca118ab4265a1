#include "platform/DynLib.h"

#include <windows.h>

#include "base/StrUtils.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "platform/win32/WinText.h"

namespace platform {

DynLib::~DynLib() {
    Unload();
}

DynLib::DynLib(DynLib&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_)), loadedFrom_(std::move(other.loadedFrom_)) {
    other.handle_ = nullptr;
}

DynLib& DynLib::operator=(DynLib&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = other.handle_;
        error_ = std::move(other.error_);
        loadedFrom_ = std::move(other.loadedFrom_);
        other.handle_ = nullptr;
    }
    return *this;
}

// Windows loads "UNPACK32.DLL" by that name: beside the program first, then by the system's search.
std::vector<std::string> DynLib::Candidates(const std::string& name, const std::string& programDir) {
    const std::string trimmed = base::Trim(name);
    if (trimmed.empty()) return {};
    if (trimmed.find('/') != std::string::npos || trimmed.find('\\') != std::string::npos)
        return {Services().paths.Resolve(trimmed)};
    std::string dir = programDir;
    for (char& c : dir)
        if (c == '\\') c = '/';
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::vector<std::string> out;
    if (!dir.empty()) out.push_back(dir + trimmed);
    out.push_back(trimmed);
    return out;
}

bool DynLib::Load(const std::string& name, const std::string& programDir) {
    Unload();
    error_.clear();
    loadedFrom_.clear();
    std::string dir = programDir;
    if (dir.empty()) {
        const std::string program = AppPaths::RunningProgram();
        dir = program.substr(0, program.rfind('/') + 1);
    }
    const std::vector<std::string> candidates = Candidates(name, dir);
    if (candidates.empty()) {
        error_ = "no library name given";
        return false;
    }
    for (const std::string& candidate : candidates) {
        const bool withFolder = candidate.find('/') != std::string::npos;
        // A library loaded by path finds its own dependencies beside itself.
        HMODULE h = LoadLibraryExW(win32::Wide(candidate).c_str(), nullptr,
                                   withFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
        if (h) {
            handle_ = reinterpret_cast<void*>(h);
            loadedFrom_ = candidate;
            error_.clear();
            return true;
        }
        const DWORD code = GetLastError();
        if (!error_.empty()) error_ += "; ";
        error_ += candidate + ": " + win32::ErrorMessage(code);
    }
    return false;
}

void DynLib::Unload() {
    if (handle_) FreeLibrary(reinterpret_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

void* DynLib::Symbol(const std::string& symbol) {
    if (!handle_) {
        error_ = "no library loaded";
        return nullptr;
    }
    FARPROC p = GetProcAddress(reinterpret_cast<HMODULE>(handle_), symbol.c_str());
    if (!p) error_ = symbol + ": " + win32::ErrorMessage(GetLastError());
    return reinterpret_cast<void*>(p);
}

}  // namespace platform
