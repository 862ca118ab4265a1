#include "platform/posix/MountTable.h"

#include <fstream>
#include <sstream>

namespace platform {

namespace {

// mountinfo escapes space, tab, newline and backslash as three octal digits.
std::string Unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const char a = s[i + 1], b = s[i + 2], c = s[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> f;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) f.push_back(line.substr(start, i - start));
    }
    return f;
}

}  // namespace

MountTable MountTable::Read() {
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream ss;
    ss << in.rdbuf();
    return Parse(ss.str());
}

MountTable MountTable::Parse(std::string_view text) {
    MountTable table;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::vector<std::string_view> f = Fields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mountpoint options [optional...] - fstype source superoptions
        if (f.size() < 9) continue;
        size_t dash = 6;
        while (dash < f.size() && f[dash] != "-") ++dash;
        if (dash + 2 >= f.size()) continue;
        MountEntry e;
        const std::string_view dev = f[2];
        const size_t colon = dev.find(':');
        if (colon == std::string_view::npos) continue;
        try {
            e.major = static_cast<unsigned>(std::stoul(std::string(dev.substr(0, colon))));
            e.minor = static_cast<unsigned>(std::stoul(std::string(dev.substr(colon + 1))));
        } catch (const std::exception&) {
            continue;
        }
        e.mountPoint = Unescape(f[4]);
        e.fsType = std::string(f[dash + 1]);
        e.source = Unescape(f[dash + 2]);
        table.entries_.push_back(std::move(e));
    }
    return table;
}

const MountEntry* MountTable::Find(std::string_view path) const {
    const MountEntry* best = nullptr;
    for (const MountEntry& e : entries_) {
        const std::string& mp = e.mountPoint;
        bool holds;
        if (mp == "/")
            holds = !path.empty() && path[0] == '/';
        else
            holds = path.substr(0, mp.size()) == mp && (path.size() == mp.size() || path[mp.size()] == '/');
        if (holds && (!best || mp.size() >= best->mountPoint.size())) best = &e;
    }
    return best;
}

}  // namespace platform
