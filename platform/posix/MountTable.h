#pragma once
// The mount table of this process (/proc/self/mountinfo): which file system holds a path.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string mountPoint;  // unescaped (\040 -> ' ')
    std::string fsType;
    std::string source;  // e.g. /dev/sr0, server:/export, overlay
};

class MountTable {
public:
    static MountTable Read();  // empty when /proc is not there
    static MountTable Parse(std::string_view mountinfo);

    const std::vector<MountEntry>& Entries() const { return entries_; }
    // The mount that holds an absolute path: the longest mount point that is a prefix at a
    // component boundary; of equal ones the later (it lies on top). nullptr when the table is empty.
    const MountEntry* Find(std::string_view absolutePath) const;

private:
    std::vector<MountEntry> entries_;
};

}  // namespace platform
