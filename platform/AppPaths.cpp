#include "platform/AppPaths.h"

#include "base/Paths.h"

namespace platform {

namespace {

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return "./";
    return file.substr(0, slash + 1);
}

}  // namespace

AppPaths AppPaths::Resolve(const AppPathOptions& options) {
    AppPaths p;
    p.programFile_ = options.programFile.empty() ? RunningProgram() : Absolute(options.programFile);
    p.programDir_ = FolderOf(p.programFile_);

    if (!options.dataDir.empty()) {
        p.dataDir_ = base::IncludeTrailingPathDelimiter(Absolute(options.dataDir));
    } else if (HoldsMenuFile(p.programDir_)) {
        p.dataDir_ = p.programDir_;
    } else {
        p.dataDir_ = p.programDir_;
        for (const std::string& candidate :
             {p.programDir_ + "disc/", p.programDir_ + "../share/cdmenu/disc/"}) {
            if (HoldsMenuFile(candidate)) {
                p.dataDir_ = base::IncludeTrailingPathDelimiter(Absolute(candidate));
                p.sampleDisc_ = true;
                break;
            }
        }
    }

    p.rootGiven_ = !options.rootDir.empty();
    if (p.rootGiven_)
        p.discRoot_ = base::IncludeTrailingPathDelimiter(Absolute(options.rootDir));
    else if (p.sampleDisc_)
        p.discRoot_ = p.dataDir_;
    else
        p.discRoot_ = MountPointOf(p.dataDir_);  // on Windows the drive: "E:/", "//srv/share/"
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
        for (const std::string& stored : storedPaths)
            if (Exists(paths.Resolve(NativePath::WinDiscRoot() + stored))) ++found;
        if (found > best) {
            best = found;
            bestRoot = folder;
        }
        if (folder.size() <= mount.size() || folder == "/") break;
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
    if (best > 0) discRoot_ = bestRoot;
}

}  // namespace platform
