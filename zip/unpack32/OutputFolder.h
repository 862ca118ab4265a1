#pragma once
// Where the unpack library writes: the current directory at the start of the call. Folders are
// walked with openat and O_NOFOLLOW, so no symbolic link — from the archive or already on disk — is
// ever followed while writing; files are written under a temporary name and renamed into place only
// when they are complete and correct, so a failed entry leaves nothing behind.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace unpack32 {

class TOutputFolder {
public:
    TOutputFolder();
    ~TOutputFolder();
    TOutputFolder(const TOutputFolder&) = delete;
    TOutputFolder& operator=(const TOutputFolder&) = delete;

    bool Ok() const { return root_ >= 0; }
    // Opens (creating when asked) the folders parts[0..count-1]; -1 with errno set on failure.
    int OpenFolder(const std::vector<std::string>& parts, size_t count, bool create);

    enum class TExisting { None, File, Folder, Other };
    TExisting Existing(int dir, const std::string& leaf, time_t* mtime) const;

    // A new temporary file in dir; its descriptor, or -1 with errno set.
    int CreateTemp(int dir, std::string& tempName);
    // Replaces leaf by the finished temporary file.
    bool Commit(int dir, const std::string& tempName, const std::string& leaf);
    void Discard(int dir, const std::string& tempName);
    bool MakeLink(int dir, const std::string& leaf, const std::string& target, bool replace);

private:
    // A name for a temporary file, unique within this process.
    std::string NextTempName();

    int root_ = -1;
    // The last folder opened; archives list their files folder by folder.
    std::vector<std::string> cachedParts_;
    int cached_ = -1;
    unsigned counter_ = 0;
    std::string pid_;
};

}  // namespace unpack32
