#include "zip/unpack32/OutputFolder.h"
#include "zip/unpack32/PosixAt.h"

#include <algorithm>
#include <cerrno>

namespace unpack32 {

TOutputFolder::TOutputFolder() {
    root_ = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

TOutputFolder::~TOutputFolder() {
    if (cached_ >= 0 && cached_ != root_) close(cached_);
    if (root_ >= 0) close(root_);
}

int TOutputFolder::OpenFolder(const std::vector<std::string>& parts, size_t count, bool create) {
    if (cached_ >= 0 && cachedParts_.size() == count &&
        std::equal(parts.begin(), parts.begin() + long(count), cachedParts_.begin()))
        return cached_;
    int dir = root_;
    for (size_t i = 0; i < count; ++i) {
        if (create && mkdirat(dir, parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
            int e = errno;
            if (dir != root_) close(dir);
            errno = e;
            return -1;
        }
        int next = openat(dir, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int e = errno;
        if (dir != root_) close(dir);
        if (next < 0) {
            errno = e;
            return -1;
        }
        dir = next;
    }
    if (cached_ >= 0 && cached_ != root_) close(cached_);
    cached_ = dir;
    cachedParts_.assign(parts.begin(), parts.begin() + long(count));
    return dir;
}

TOutputFolder::TExisting TOutputFolder::Existing(int dir, const std::string& leaf, time_t* mtime) const {
    struct stat st;
    if (fstatat(dir, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return TExisting::None;
    if (mtime) *mtime = st.st_mtime;
    if (S_ISDIR(st.st_mode)) return TExisting::Folder;
    if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)) return TExisting::File;
    return TExisting::Other;
}

std::string TOutputFolder::NextTempName() {
    if (pid_.empty()) pid_ = std::to_string(getpid());
    return ".~unpack32." + pid_ + "." + std::to_string(counter_++);
}

int TOutputFolder::CreateTemp(int dir, std::string& tempName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = NextTempName();
        int fd = openat(dir, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool TOutputFolder::Commit(int dir, const std::string& tempName, const std::string& leaf) {
    // rename replaces a link at leaf instead of writing through it.
    return renameat(dir, tempName.c_str(), dir, leaf.c_str()) == 0;
}

void TOutputFolder::Discard(int dir, const std::string& tempName) {
    unlinkat(dir, tempName.c_str(), 0);
}

bool TOutputFolder::MakeLink(int dir, const std::string& leaf, const std::string& target, bool replace) {
    if (replace) unlinkat(dir, leaf.c_str(), 0);
    return symlinkat(target.c_str(), dir, leaf.c_str()) == 0;
}

}  // namespace unpack32
