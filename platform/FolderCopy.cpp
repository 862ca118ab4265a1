#include "platform/FolderCopy.h"

#include <algorithm>
#include <cerrno>

#include "base/Cp1252.h"
#include "base/StrUtils.h"

namespace platform {

bool FolderCopy::Fail(int err, const std::string& path, const char* what) {
    result_.status = CopyStatus::kFailed;
    result_.errorCode = err;
    result_.failedPath = Display(path);
    result_.message = base::Format(what, result_.failedPath.c_str()) + " " + FileOps::ErrorText(err);
    return false;
}

bool FolderCopy::Progress() {
    if (cb_.progress && !cb_.progress(progress_)) {
        result_.status = CopyStatus::kCancelled;
        return false;
    }
    return true;
}

bool FolderCopy::Copied(uint64_t n) {
    progress_.fileBytesDone += n;
    progress_.bytesDone += n;
    result_.bytesCopied += n;
    return Progress();
}

bool FolderCopy::MayReplace(const std::string& target, bool& skip) {
    skip = false;
    bool folder = false;
    if (const int err = Lookup(target, folder)) {
        if (err == ENOENT) return true;
        return Fail(err, target, "%s kann nicht ersetzt werden.");
    }
    if (folder) return Fail(EISDIR, target, "%s kann nicht ersetzt werden.");
    if (!yesToAll_ && cb_.confirmOverwrite) {
        switch (cb_.confirmOverwrite(Display(target))) {
            case OverwriteAnswer::kYes:
                break;
            case OverwriteAnswer::kYesToAll:
                yesToAll_ = true;
                break;
            case OverwriteAnswer::kNo:
                skip = true;
                return true;
            case OverwriteAnswer::kCancel:
                result_.status = CopyStatus::kCancelled;
                return false;
        }
    }
    if (const int err = ReplaceError(target)) return Fail(err, target, "%s kann nicht ersetzt werden.");
    return true;
}

bool FolderCopy::CopyEntry(const Item& item) {
    const std::string from = src_ + "/" + item.rel;
    const std::string to = dst_ + "/" + item.rel;
    bool skip;
    if (!MayReplace(to, skip)) return false;
    if (skip) {
        ++result_.filesSkipped;
        progress_.bytesDone += item.size;
        return true;
    }
    progress_.fileBytesDone = 0;
    if (!(item.kind == Kind::kFile ? CopyBytes(item, from, to) : CopyLink(from, to))) return false;
    ++result_.filesCopied;
    return true;
}

CopyResult FolderCopy::Run() {
    if (const int err = FolderError(src_)) {
        Fail(err, src_, "%s kann nicht gelesen werden.");
        return result_;
    }
    if (const int err = FolderError(dst_); err == ENOTDIR) {
        Fail(ENOTDIR, dst_, "Der Ordner %s kann nicht angelegt werden.");
        return result_;
    } else if (err) {
        if (const int made = MakeFolder(dst_)) {
            Fail(made, dst_, "Der Ordner %s kann nicht angelegt werden.");
            return result_;
        }
        ++result_.foldersCreated;
    }
    if (Inside(src_, dst_)) {
        Fail(EINVAL, dst_, "%s liegt im Quellordner.");
        result_.message = base::Format("%s liegt im Quellordner.", result_.failedPath.c_str());
        return result_;
    }

    std::vector<Item> items;
    std::string failed;
    if (int err = Scan(src_, {}, items, failed)) {
        Fail(err, failed, "%s kann nicht gelesen werden.");
        return result_;
    }
    for (const Item& it : items) {
        if (it.kind == Kind::kFile || it.kind == Kind::kLink) ++progress_.filesTotal;
        progress_.bytesTotal += it.size;
    }
    if (!Progress()) return result_;

    for (const Item& item : items) {
        switch (item.kind) {
            case Kind::kFolder: {
                const std::string to = dst_ + "/" + item.rel;
                if (const int err = MakeFolder(to); err == 0) {
                    ++result_.foldersCreated;
                } else if (err != EEXIST || FolderError(to) != 0) {
                    Fail(err == EEXIST ? ENOTDIR : err, to, "Der Ordner %s kann nicht angelegt werden.");
                    return result_;
                }
                break;
            }
            case Kind::kFile:
            case Kind::kLink: {
                std::string win = base::Utf8ToCp1252(item.rel);
                std::replace(win.begin(), win.end(), '/', '\\');
                progress_.file = win;
                progress_.fileBytes = item.size;
                progress_.fileBytesDone = 0;
                if (!Progress()) return result_;
                if (!CopyEntry(item)) return result_;
                ++progress_.filesDone;
                break;
            }
            case Kind::kOther:
                ++result_.filesSkipped;  // reading a pipe or a device would hang or never end
                break;
        }
    }
    progress_.file.clear();
    progress_.fileBytes = progress_.fileBytesDone = 0;
    Progress();
    return result_;
}

}  // namespace platform
