#include "platform/NativePath.h"
#include "platform/UserPaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <vector>

#include "base/Cp1252.h"
#include "base/StrUtils.h"

namespace platform {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> Split(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

NativePath::NativePath(std::string discRoot) : discRoot_(std::move(discRoot)) {
    if (discRoot_.empty() || discRoot_[0] != '/') discRoot_ = "/" + discRoot_;
    if (discRoot_.back() != '/') discRoot_ += '/';
}

std::string NativePath::Convert(std::string_view appPath) const {
    std::string s = base::Cp1252ToUtf8(appPath);
    for (char& c : s)
        if (c == '\\') c = '/';
    if (s.size() >= 2 && s[0] == '/' && s[1] == '/') return s;  // UNC: left alone
    if (s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':') {
        const bool disc = std::toupper(static_cast<unsigned char>(s[0])) == kDiscDrive;
        std::string rest = s.substr(2);
        size_t skip = 0;
        while (skip < rest.size() && rest[skip] == '/') ++skip;
        return (disc ? discRoot_ : std::string("/")) + rest.substr(skip);
    }
    return s;
}

std::string NativePath::Resolve(std::string_view appPath) const {
    std::string path = Convert(appPath);
    if (path.empty()) return path;
    const bool absolute = path[0] == '/';
    const bool trailing = path.back() == '/' && path.size() > 1;
    std::string cur = absolute ? (path.rfind("//", 0) == 0 ? "//" : "/") : "";
    bool matching = true;  // once a component is missing, nothing below it can exist
    for (const std::string& part : Split(path)) {
        std::string next = cur;
        if (!next.empty() && next.back() != '/') next += '/';
        if (!matching || part == "." || part == ".." || Exists(next + part)) {
            cur = next + part;
            continue;
        }
        std::string found;
        if (DIR* dir = opendir(next.empty() ? "." : next.c_str())) {
            // Several names can fold alike on a case-sensitive disc; the smallest wins so that the
            // choice does not depend on directory order.
            while (dirent* e = readdir(dir)) {
                std::string_view name = e->d_name;
                if (name == "." || name == "..") continue;
                if (SameName(name, part) && (found.empty() || name < found)) found = name;
            }
            closedir(dir);
        }
        if (found.empty()) {
            matching = false;
            found = part;
        }
        cur = next + found;
    }
    if (cur.empty()) cur = ".";
    if (trailing && cur.back() != '/') cur += '/';
    return cur;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') return std::string();
    std::string folder = home;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string ShownPath(std::string_view nativePath) {
    return base::Utf8ToCp1252(nativePath);
}

std::string NativePath::ToWindows(std::string_view nativePath) const {
    const std::string s(nativePath);
    const std::string rootNoSlash = discRoot_.substr(0, discRoot_.size() - 1);
    return WindowsForm(s, !s.empty() && s[0] == '/' && (s.rfind(discRoot_, 0) == 0 || s == rootNoSlash));
}

bool NativePath::ExecuteBitsMatter() {
    return true;
}

}  // namespace platform
