#include "platform/DynLib.h"

#include "base/StrUtils.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"

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

std::vector<std::string> DynLib::Candidates(const std::string& name, const std::string& programDir) {
    const std::string trimmed = base::Trim(name);
    if (trimmed.empty()) return {};
    if (trimmed.find('/') != std::string::npos || trimmed.find('\\') != std::string::npos)
        return {Services().paths.Resolve(trimmed)};
    std::string dir = Folder(programDir);
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const std::string file = LibraryFile(trimmed);
    std::vector<std::string> out;
    if (!dir.empty()) out.push_back(dir + file);
    out.push_back(file);  // the system's search
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
        std::string why;
        handle_ = Open(candidate, why);
        if (handle_) {
            loadedFrom_ = candidate;
            error_.clear();
            return true;
        }
        if (!error_.empty()) error_ += "; ";
        error_ += why;
    }
    return false;
}

void DynLib::Unload() {
    if (handle_) Close(handle_);
    handle_ = nullptr;
}

void* DynLib::Symbol(const std::string& symbol) {
    if (!handle_) {
        error_ = "no library loaded";
        return nullptr;
    }
    std::string why;
    void* p = Find(handle_, symbol, why);
    if (!p) error_ = why;
    return p;
}

}  // namespace platform
