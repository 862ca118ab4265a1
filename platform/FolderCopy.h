#pragma once
// FileOps::CopyFolderContents as every system does it: the order, the progress, the overwrite
// questions, the refusals and the messages. A system lists the tree and moves the bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileOps.h"

namespace platform {

class FolderCopy {
public:
    enum class Kind { kFolder, kFile, kLink, kOther };
    struct Item {
        std::string rel;  // relative to the source, '/' separated, UTF-8
        Kind kind;
        uint64_t size;
        // Where the listing has them: permission bits and modification time (seconds, nanoseconds).
        uint32_t mode = 0;
        int64_t mtimeSec = 0, mtimeNsec = 0;
    };

    FolderCopy(std::string src, std::string dst, const CopyCallbacks& cb)
        : src_(std::move(src)), dst_(std::move(dst)), cb_(cb) {}
    virtual ~FolderCopy() = default;
    CopyResult Run();

protected:
    // The system's part. Errors are errno values; paths are native.
    // 0 for a folder, ENOTDIR for something else, the lookup's error when there is nothing.
    virtual int FolderError(const std::string& path) = 0;
    virtual int MakeFolder(const std::string& path) = 0;
    // Is target the source or inside it?
    virtual bool Inside(const std::string& source, const std::string& target) = 0;
    // Lists the tree below root in a fixed order (names sorted, each folder before its contents).
    virtual int Scan(const std::string& root, const std::string& rel, std::vector<Item>& items,
                     std::string& failed) = 0;
    // What stands at target: 0 (folder says whether it is one) or the lookup's error.
    virtual int Lookup(const std::string& target, bool& folder) = 0;
    // 0 when an existing target may be replaced; a write-protected one is not, behind the user's back.
    virtual int ReplaceError(const std::string& target) = 0;
    // Copies a file's bytes under a name of its own beside to and renames it when complete.
    virtual bool CopyBytes(const Item& item, const std::string& from, const std::string& to) = 0;
    virtual bool CopyLink(const std::string& /*from*/, const std::string& /*to*/) { return false; }
    virtual std::string Display(const std::string& native) const = 0;  // for the user (cp1252)

    // Records the failure; false.
    bool Fail(int err, const std::string& path, const char* what);
    // n more bytes copied of the current file; false when the user cancelled.
    bool Copied(uint64_t n);

private:
    bool Progress();
    // true: go on; sets skip when the file is to be left alone.
    bool MayReplace(const std::string& target, bool& skip);
    bool CopyEntry(const Item& item);

    std::string src_, dst_;
    const CopyCallbacks& cb_;
    CopyResult result_;
    CopyProgress progress_;
    bool yesToAll_ = false;
};

}  // namespace platform
