#include "zip/unpack32/SafePath.h"

namespace unpack32 {

namespace {

bool HasDrive(const std::string& s) {
    return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

}  // namespace

bool SplitEntryName(const std::string& name, std::vector<std::string>& parts) {
    parts.clear();
    if (name.empty() || name[0] == '/' || name[0] == '\\' || HasDrive(name)) return false;
    if (name.find('\0') != std::string::npos) return false;
    std::string part;
    auto flush = [&]() {
        if (part == "..") return false;
        if (!part.empty() && part != ".") parts.push_back(part);
        part.clear();
        return true;
    };
    for (char c : name) {
        if (c == '/' || c == '\\') {
            if (!flush()) return false;
        } else {
            part += c;
        }
    }
    if (!flush()) return false;
    // A ':' anywhere would name an alternate stream or a drive on the other platform.
    for (const std::string& p : parts)
        if (p.find(':') != std::string::npos) return false;
    return !parts.empty();
}

bool SafeLinkTarget(const std::string& target, size_t depth) {
    if (target.empty() || target[0] == '/' || target[0] == '\\' || HasDrive(target)) return false;
    if (target.find('\0') != std::string::npos || target.find(':') != std::string::npos) return false;
    size_t ups = 0;
    bool named = false;
    std::string part;
    auto step = [&]() {
        if (part == "..") {
            if (named) return false;
            ++ups;
        } else if (!part.empty() && part != ".") {
            named = true;
        }
        part.clear();
        return true;
    };
    for (char c : target) {
        if (c == '/' || c == '\\') {
            if (!step()) return false;
        } else {
            part += c;
        }
    }
    if (!step()) return false;
    return ups <= depth;
}

}  // namespace unpack32
