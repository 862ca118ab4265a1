#include "platform/AppPaths.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/MountTable.h"

namespace platform {

namespace {

std::string WithSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

// Absolute and free of symbolic links when the folder exists; lexically absolute otherwise.
std::string Absolute(const std::string& path) {
    char buf[PATH_MAX];
    if (realpath(path.c_str(), buf)) return buf;
    if (!path.empty() && path[0] == '/') return path;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return path;
    return WithSlash(cwd) + path;
}

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return "./";
    return file.substr(0, slash + 1);
}

bool HoldsMenuFile(const std::string& dir) {
    const std::string file = NativePath("/").Resolve(dir + "Menue.dat");
    struct stat st;
    return stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string AppPaths::RunningProgram() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return std::string(buf, static_cast<size_t>(n));
}

std::string AppPaths::MountPointOf(const std::string& nativePath) {
    const MountTable table = MountTable::Read();
    const MountEntry* e = table.Find(Absolute(nativePath));
    return e ? WithSlash(e->mountPoint) : "/";
}

AppPaths AppPaths::Resolve(const AppPathOptions& options) {
    AppPaths p;
    p.programFile_ = options.programFile.empty() ? RunningProgram() : Absolute(options.programFile);
    p.programDir_ = FolderOf(p.programFile_);

    if (!options.dataDir.empty()) {
        p.dataDir_ = WithSlash(Absolute(options.dataDir));
    } else if (HoldsMenuFile(p.programDir_)) {
        p.dataDir_ = p.programDir_;
    } else {
        p.dataDir_ = p.programDir_;
        for (const std::string& candidate :
             {p.programDir_ + "disc/", p.programDir_ + "../share/cdmenu/disc/"}) {
            if (HoldsMenuFile(candidate)) {
                p.dataDir_ = WithSlash(Absolute(candidate));
                p.sampleDisc_ = true;
                break;
            }
        }
    }

    p.rootGiven_ = !options.rootDir.empty();
    if (p.rootGiven_)
        p.discRoot_ = WithSlash(Absolute(options.rootDir));
    else if (p.sampleDisc_)
        p.discRoot_ = p.dataDir_;
    else
        p.discRoot_ = MountPointOf(p.dataDir_);
    return p;
}

void AppPaths::FindDiscRoot(const std::vector<std::string>& storedPaths) {
    if (rootGiven_ || sampleDisc_ || storedPaths.empty()) return;
    const std::string mount = MountPointOf(dataDir_);
    int best = 0;
    std::string bestRoot;
    for (std::string folder = dataDir_;;) {
        const NativePath paths(folder);
        int found = 0;
        for (const std::string& stored : storedPaths) {
            struct stat st;
            const std::string native = paths.Resolve(NativePath::WinDiscRoot() + stored);
            if (stat(native.c_str(), &st) == 0) ++found;
        }
        if (found > best) {
            best = found;
            bestRoot = folder;
        }
        if (folder.size() <= mount.size() || folder == "/") break;
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
    if (best > 0) discRoot_ = bestRoot;
}

bool AppPaths::EnterDiscRoot() const {
    return !discRoot_.empty() && chdir(discRoot_.c_str()) == 0;
}

}  // namespace platform
