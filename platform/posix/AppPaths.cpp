#include "platform/AppPaths.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Paths.h"
#include "platform/posix/MountTable.h"

namespace platform {

// Absolute and free of symbolic links when the folder exists; lexically absolute otherwise.
std::string AppPaths::Absolute(const std::string& path) {
    char buf[PATH_MAX];
    if (realpath(path.c_str(), buf)) return buf;
    if (!path.empty() && path[0] == '/') return path;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return path;
    return base::IncludeTrailingPathDelimiter(cwd) + path;
}

bool AppPaths::HoldsMenuFile(const std::string& dir) {
    const std::string file = NativePath("/").Resolve(dir + "Menue.dat");
    struct stat st;
    return stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool AppPaths::Exists(const std::string& nativePath) {
    struct stat st;
    return stat(nativePath.c_str(), &st) == 0;
}

std::string AppPaths::RunningProgram() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return std::string(buf, static_cast<size_t>(n));
}

std::string AppPaths::MountPointOf(const std::string& nativePath) {
    const MountTable table = MountTable::Read();
    const MountEntry* e = table.Find(Absolute(nativePath));
    return e ? base::IncludeTrailingPathDelimiter(e->mountPoint) : "/";
}

bool AppPaths::EnterDiscRoot() const {
    return !discRoot_.empty() && chdir(discRoot_.c_str()) == 0;
}

}  // namespace platform
