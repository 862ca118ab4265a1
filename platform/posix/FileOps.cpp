#include "platform/FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

#include "base/Cp1252.h"
#include "base/FileCalls.h"
#include "base/StrUtils.h"
#include "platform/FolderCopy.h"
#include "platform/Services.h"
#include "platform/UserPaths.h"
#include "platform/posix/MountTable.h"

namespace platform {

namespace {

std::string Native(const std::string& appPath) {
    return Services().paths.Resolve(appPath);
}

std::string StripSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string RealPath(const std::string& path) {
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

// ---- copy ---------------------------------------------------------------------------------------

class PosixCopy : public FolderCopy {
public:
    using FolderCopy::FolderCopy;

protected:
    int FolderError(const std::string& path) override {
        struct stat st;
        if (stat(path.c_str(), &st) != 0) return errno;
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    }
    int MakeFolder(const std::string& path) override {
        return base::FileCalls().mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
    }
    bool Inside(const std::string& source, const std::string& target) override {
        const std::string realSrc = RealPath(source), realDst = RealPath(target);
        return realDst == realSrc || realDst.rfind(realSrc + "/", 0) == 0;
    }
    int Scan(const std::string& root, const std::string& rel, std::vector<Item>& items,
             std::string& failed) override;
    int Lookup(const std::string& target, bool& folder) override {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0) return errno;
        folder = S_ISDIR(st.st_mode);
        return 0;
    }
    int ReplaceError(const std::string& target) override {
        struct stat st;
        if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return 0;
        return access(target.c_str(), W_OK) == 0 ? 0 : errno;
    }
    bool CopyBytes(const Item& item, const std::string& from, const std::string& to) override;
    bool CopyLink(const std::string& from, const std::string& to) override;
    std::string Display(const std::string& native) const override { return ShownPath(native); }

private:
    static std::string TempBeside(const std::string& target, int& fd);
};

int PosixCopy::Scan(const std::string& root, const std::string& rel, std::vector<Item>& items,
                    std::string& failed) {
    const std::string dir = rel.empty() ? root : root + "/" + rel;
    DIR* d = opendir(dir.c_str());
    if (!d) {
        failed = dir;
        return errno;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        const std::string_view n = e->d_name;
        if (n != "." && n != "..") names.emplace_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string r = rel;
        if (!r.empty()) r += '/';
        r += name;
        std::string full = root;
        full += '/';
        full += r;
        struct stat st;
        if (lstat(full.c_str(), &st) != 0) {
            failed = full;
            return errno;
        }
        Kind kind = S_ISDIR(st.st_mode)   ? Kind::kFolder
                    : S_ISREG(st.st_mode) ? Kind::kFile
                    : S_ISLNK(st.st_mode) ? Kind::kLink
                                          : Kind::kOther;
        items.push_back({r, kind, kind == Kind::kFile ? static_cast<uint64_t>(st.st_size) : 0, st.st_mode,
                         st.st_mtim.tv_sec, st.st_mtim.tv_nsec});
        if (kind == Kind::kFolder)
            if (int err = Scan(root, r, items, failed)) return err;
    }
    return 0;
}

std::string PosixCopy::TempBeside(const std::string& target, int& fd) {
    const size_t slash = target.rfind('/');
    std::string tmpl = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".part-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    fd = base::FileCalls().mkostemp(buf.data(), O_CLOEXEC);
    return std::string(buf.data());
}

bool PosixCopy::CopyBytes(const Item& item, const std::string& from, const std::string& to) {
    const base::TFileCalls& io = base::FileCalls();
    const int in = io.open(from.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (in < 0) return Fail(errno, from, "%s kann nicht gelesen werden.");
    int out;
    const std::string temp = TempBeside(to, out);
    if (out < 0) {
        const int err = errno;
        io.close(in);
        return Fail(err, to, "%s kann nicht angelegt werden.");
    }
    auto abandon = [&](int err, const std::string& path, const char* what) {
        io.close(in);
        io.close(out);
        unlink(temp.c_str());
        return err ? Fail(err, path, what) : false;
    };
    std::vector<char> buf(1 << 16);
    for (;;) {
        const ssize_t n = io.read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return abandon(errno, from, "%s kann nicht gelesen werden.");
        }
        if (n == 0) break;
        for (ssize_t off = 0; off < n;) {
            const ssize_t w = io.write(out, buf.data() + off, static_cast<size_t>(n - off));
            if (w < 0) {
                if (errno == EINTR) continue;
                return abandon(errno, to, "%s kann nicht geschrieben werden.");
            }
            off += w;
        }
        if (!Copied(static_cast<uint64_t>(n))) return abandon(0, {}, nullptr);
    }
    // Discs mark every file read-only; the copy stays writable for its owner so it can be replaced.
    fchmod(out, (item.mode & 07777) | S_IWUSR);
    const timespec mtime{static_cast<time_t>(item.mtimeSec), static_cast<long>(item.mtimeNsec)};
    const timespec times[2] = {mtime, mtime};
    futimens(out, times);
    io.close(in);
    if (io.close(out) != 0) {
        const int err = errno;
        unlink(temp.c_str());
        return Fail(err, to, "%s kann nicht geschrieben werden.");
    }
    if (io.rename(temp.c_str(), to.c_str()) != 0) {
        const int err = errno;
        unlink(temp.c_str());
        return Fail(err, to, "%s kann nicht angelegt werden.");
    }
    return true;
}

bool PosixCopy::CopyLink(const std::string& from, const std::string& to) {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = readlink(from.c_str(), buf.data(), PATH_MAX);
    if (n < 0) return Fail(errno, from, "%s kann nicht gelesen werden.");
    // A unique name beside the target, freed again for the link to take it.
    int fd;
    const std::string temp = TempBeside(to, fd);
    if (fd < 0) return Fail(errno, to, "%s kann nicht angelegt werden.");
    close(fd);
    unlink(temp.c_str());
    if (symlink(std::string(buf.data(), static_cast<size_t>(n)).c_str(), temp.c_str()) != 0)
        return Fail(errno, to, "%s kann nicht angelegt werden.");
    if (rename(temp.c_str(), to.c_str()) != 0) {
        const int err = errno;
        unlink(temp.c_str());
        return Fail(err, to, "%s kann nicht angelegt werden.");
    }
    return true;
}

// ---- trash --------------------------------------------------------------------------------------

std::string PercentEncode(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

bool MakeDirs(const std::string& path, mode_t mode) {
    size_t pos = 1;
    for (;;) {
        pos = path.find('/', pos);
        const std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
        if (pos == std::string::npos) return true;
        ++pos;
    }
}

bool SetError(std::string* error, int err, const std::string& path) {
    if (error) *error = ShownPath(path) + ": " + FileOps::ErrorText(err);
    return false;
}

}  // namespace

bool FileOps::CreateFolder(const std::string& path, int* errorCode) {
    const std::string native = StripSlash(Native(path));
    if (base::FileCalls().mkdir(native.c_str(), 0777) == 0) return true;
    if (errorCode) *errorCode = errno;
    return false;
}

std::vector<std::string> FileOps::SubFolders(const std::string& path) {
    std::vector<std::string> out;
    const std::string native = Native(path);
    DIR* d = opendir(native.c_str());
    if (!d) return out;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        struct stat st;
        if (stat((StripSlash(native) + "/" + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            out.push_back(ShownPath(e->d_name));
    }
    closedir(d);
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        const int c = base::AnsiCompareText(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

bool FileOps::FileExists(const std::string& path) {
    struct stat st;
    return stat(Native(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FileOps::FolderExists(const std::string& path) {
    struct stat st;
    return stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileOps::DeleteFile(const std::string& path, int* errorCode) {
    const std::string native = Native(path);
    struct stat st;
    int err = 0;
    if (lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        err = EISDIR;  // unlink on a folder reports EPERM on Linux, which would mislead
    else if (unlink(native.c_str()) != 0)
        err = errno;
    if (err && errorCode) *errorCode = err;
    return err == 0;
}

bool FileOps::MoveToTrash(const std::string& path, std::string* error) {
    std::string native = StripSlash(Native(path));
    const size_t slash = native.rfind('/');
    const std::string parent =
        RealPath(slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash)));
    const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    if (parent.empty() || name.empty() || name == "." || name == "..") return SetError(error, ENOENT, native);
    const std::string absolute = (parent == "/" ? "" : parent) + "/" + name;
    struct stat item;
    if (lstat(absolute.c_str(), &item) != 0) return SetError(error, errno, absolute);

    std::string dataHome;
    if (const char* x = getenv("XDG_DATA_HOME"); x && *x == '/')
        dataHome = x;
    else if (const char* h = getenv("HOME"); h && *h)
        dataHome = std::string(h) + "/.local/share";
    std::string trash, infoPath = absolute;
    struct stat home;
    if (!dataHome.empty() && stat(dataHome.c_str(), &home) == 0 && home.st_dev == item.st_dev) {
        trash = dataHome + "/Trash";
    } else {
        // Another file system: its own trash at the top, with paths relative to that top.
        const MountTable table = MountTable::Read();
        const MountEntry* m = table.Find(absolute);
        std::string top = m ? m->mountPoint : "/";
        trash = (top == "/" ? "" : top) + "/.Trash-" + std::to_string(getuid());
        if (top != "/" && absolute.rfind(top + "/", 0) == 0) infoPath = absolute.substr(top.size() + 1);
    }
    if (!MakeDirs(trash + "/files", 0700) || !MakeDirs(trash + "/info", 0700))
        return SetError(error, errno, trash);

    // The info file is created first and exclusively: it reserves the name in the trash.
    std::string stored;
    int fd = -1;
    for (int n = 1; n < 10000 && fd < 0; ++n) {
        stored = n == 1 ? name : name + "." + std::to_string(n);
        std::string info = trash;
        info += "/info/";
        info += stored;
        info += ".trashinfo";
        fd = open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return SetError(error, errno, trash);
    }
    if (fd < 0) return SetError(error, EEXIST, trash);
    char date[32];
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string info =
        "[Trash Info]\nPath=" + PercentEncode(infoPath) + "\nDeletionDate=" + date + "\n";
    const std::string infoFile = trash + "/info/" + stored + ".trashinfo";
    const bool written = write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
    const int writeErr = errno;
    close(fd);
    if (!written) {
        unlink(infoFile.c_str());
        return SetError(error, writeErr, infoFile);
    }
    if (rename(absolute.c_str(), (trash + "/files/" + stored).c_str()) != 0) {
        const int err = errno;
        unlink(infoFile.c_str());
        return SetError(error, err, absolute);
    }
    return true;
}

CopyResult FileOps::CopyFolderContents(const std::string& source, const std::string& target,
                                       const CopyCallbacks& callbacks) {
    PosixCopy copy(StripSlash(Native(source)), StripSlash(Native(target)), callbacks);
    return copy.Run();
}

}  // namespace platform
