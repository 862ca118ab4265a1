#include "base/Paths.h"

namespace base {

namespace {
bool IsDelim(char c) {
    return c == '\\' || c == ':';
}

size_t LastDelimiter(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsDelim(path[i - 1])) return i - 1;
    return std::string_view::npos;
}
}  // namespace

std::string ExtractFileDrive(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share: up to (not including) the backslash after the share name.
        size_t server = path.find('\\', 2);
        if (server == std::string_view::npos || server == 2) return {};
        size_t share = path.find('\\', server + 1);
        return std::string(path.substr(0, share == std::string_view::npos ? path.size() : share));
    }
    return {};
}

std::string ExtractFilePath(std::string_view path) {
    size_t i = LastDelimiter(path);
    return i == std::string_view::npos ? std::string() : std::string(path.substr(0, i + 1));
}

std::string ExtractFileDir(std::string_view path) {
    size_t i = LastDelimiter(path);
    if (i == std::string_view::npos) return {};
    // Keep the root backslash of "C:\" and the colon of "C:".
    if (i > 0 && path[i] == '\\' && !IsDelim(path[i - 1])) return std::string(path.substr(0, i));
    return std::string(path.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view path) {
    size_t i = LastDelimiter(path);
    return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string ExtractFileExt(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (c == '.') return std::string(path.substr(i - 1));
        if (IsDelim(c) || c == '/') break;
    }
    return {};
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    std::string e = ExtractFileExt(path);
    std::string out(path.substr(0, path.size() - e.size()));
    out += ext;
    return out;
}

std::string IncludeTrailingBackslash(std::string_view path) {
    std::string s(path);
    if (s.empty() || s.back() != '\\') s += '\\';
    return s;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
    std::string s(path);
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

std::string WindowsToNativeSeparators(std::string_view path) {
    std::string s(path);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

std::string NativeToWindowsSeparators(std::string_view path) {
    std::string s(path);
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string s(path);
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    std::string s(path);
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string ExtractNativeFilePath(std::string_view path) {
    size_t i = path.rfind('/');
    return i == std::string_view::npos ? std::string() : std::string(path.substr(0, i + 1));
}

std::string ExtractNativeFileName(std::string_view path) {
    size_t i = path.rfind('/');
    return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string JoinNativePath(std::string_view a, std::string_view b) {
    if (a.empty() || (!b.empty() && b.front() == '/')) return std::string(b);
    std::string s = IncludeTrailingPathDelimiter(a);
    while (!b.empty() && b.front() == '/') b.remove_prefix(1);
    s += b;
    return s;
}

}  // namespace base
