#include "platform/FileOps.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>
// The interface's names, not the API's character-set macros.
#undef CopyFile
#undef DeleteFile

#include <algorithm>
#include <cerrno>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "platform/FolderCopy.h"
#include "platform/Services.h"
#include "platform/UserPaths.h"
#include "platform/win32/WinText.h"

namespace platform {

using win32::Narrow;
using win32::Wide;

namespace {

std::string Native(const std::string& appPath) {
    return Services().paths.Resolve(appPath);
}

std::string StripSlash(std::string s) {
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && !(s.size() == 3 && s[1] == ':'))
        s.pop_back();
    return s;
}

DWORD Attributes(const std::string& native) {
    return GetFileAttributesW(Wide(native).c_str());
}

int LastErrno() {
    return win32::ErrnoFrom(GetLastError());
}

// Absolute, without a trailing separator, for comparing folders.
std::string FullPath(const std::string& native) {
    const std::wstring w = Wide(native);
    const DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) return native;
    std::wstring out(n, L'\0');
    out.resize(GetFullPathNameW(w.c_str(), n, out.data(), nullptr));
    std::string full = Narrow(out);
    // A long path comes back in the \\?\ form; folders are compared in the plain one.
    if (full.starts_with("//?/UNC/"))
        full = "//" + full.substr(8);
    else if (full.starts_with("//?/"))
        full = full.substr(4);
    return StripSlash(full);
}

// ---- copy ---------------------------------------------------------------------------------------

class Win32Copy : public FolderCopy {
public:
    using FolderCopy::FolderCopy;

protected:
    int FolderError(const std::string& path) override {
        const DWORD a = Attributes(path);
        if (a == INVALID_FILE_ATTRIBUTES) return LastErrno();
        return (a & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ENOTDIR;
    }
    int MakeFolder(const std::string& path) override {
        return CreateDirectoryW(Wide(path).c_str(), nullptr) ? 0 : LastErrno();
    }
    bool Inside(const std::string& source, const std::string& target) override {
        const std::string fullSrc = FullPath(source), fullDst = FullPath(target);
        return base::SameText(fullDst, fullSrc) ||
               (fullDst.size() > fullSrc.size() &&
                base::SameText(fullDst.substr(0, fullSrc.size() + 1), fullSrc + "/"));
    }
    int Scan(const std::string& root, const std::string& rel, std::vector<Item>& items,
             std::string& failed) override;
    int Lookup(const std::string& target, bool& folder) override {
        const DWORD a = Attributes(target);
        if (a == INVALID_FILE_ATTRIBUTES) return LastErrno();
        folder = a & FILE_ATTRIBUTE_DIRECTORY;
        return 0;
    }
    int ReplaceError(const std::string& target) override {
        const DWORD a = Attributes(target);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) ? EACCES : 0;
    }
    bool CopyBytes(const Item& item, const std::string& from, const std::string& to) override;
    std::string Display(const std::string& native) const override { return ShownPath(native); }
};

// Junctions and folder links are not followed: they could lead back into the tree.
int Win32Copy::Scan(const std::string& root, const std::string& rel, std::vector<Item>& items,
                    std::string& failed) {
    const std::string dir = rel.empty() ? root : root + "/" + rel;
    WIN32_FIND_DATAW fd;
    HANDLE h =
        FindFirstFileExW(Wide(dir + "/*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) {
        failed = dir;
        return LastErrno();
    }
    std::vector<Item> here;
    do {
        const std::wstring_view n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        const std::string name = win32::NarrowText(n);
        const bool folder = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const bool link = fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        const Kind kind = folder ? (link ? Kind::kOther : Kind::kFolder) : Kind::kFile;
        const uint64_t size = kind == Kind::kFile ? (uint64_t(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow : 0;
        here.push_back({rel.empty() ? name : rel + "/" + name, kind, size});
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(here.begin(), here.end(), [](const Item& a, const Item& b) { return a.rel < b.rel; });
    for (const Item& item : here) {
        items.push_back(item);
        if (item.kind == Kind::kFolder)
            if (int err = Scan(root, item.rel, items, failed)) return err;
    }
    return 0;
}

bool Win32Copy::CopyBytes(const Item&, const std::string& from, const std::string& to) {
    const HANDLE in = CreateFileW(Wide(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) return Fail(LastErrno(), from, "%s kann nicht gelesen werden.");
    std::string temp;
    HANDLE out = INVALID_HANDLE_VALUE;
    const size_t slash = to.rfind('/');
    for (unsigned n = GetCurrentProcessId(), attempt = 0; attempt < 100; ++n, ++attempt) {
        temp = to.substr(0, slash + 1) + "~" + to.substr(slash + 1) + ".part-" + std::to_string(n);
        out = CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
        if (out != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (out == INVALID_HANDLE_VALUE) {
        const int err = LastErrno();
        CloseHandle(in);
        return Fail(err, to, "%s kann nicht angelegt werden.");
    }
    const std::wstring wtemp = Wide(temp);
    auto abandon = [&](int err, const std::string& path, const char* what) {
        CloseHandle(in);
        CloseHandle(out);
        DeleteFileW(wtemp.c_str());
        return err ? Fail(err, path, what) : false;
    };
    std::vector<char> buf(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, buf.data(), DWORD(buf.size()), &got, nullptr))
            return abandon(LastErrno(), from, "%s kann nicht gelesen werden.");
        if (got == 0) break;
        DWORD put = 0;
        if (!WriteFile(out, buf.data(), got, &put, nullptr) || put != got)
            return abandon(put != got && GetLastError() == 0 ? ENOSPC : LastErrno(), to,
                           "%s kann nicht geschrieben werden.");
        if (!Copied(got)) return abandon(0, {}, nullptr);
    }
    // The copy keeps the time of the original; it is created writable, whatever the disc says.
    FILETIME written;
    if (GetFileTime(in, nullptr, nullptr, &written)) SetFileTime(out, nullptr, nullptr, &written);
    CloseHandle(in);
    if (!CloseHandle(out)) {
        const int err = LastErrno();
        DeleteFileW(wtemp.c_str());
        return Fail(err, to, "%s kann nicht geschrieben werden.");
    }
    if (!MoveFileExW(wtemp.c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const int err = LastErrno();
        DeleteFileW(wtemp.c_str());
        return Fail(err, to, "%s kann nicht angelegt werden.");
    }
    return true;
}

bool SetError(std::string* error, int err, const std::string& path) {
    if (error) *error = ShownPath(path) + ": " + FileOps::ErrorText(err);
    return false;
}

}  // namespace

bool FileOps::CreateFolder(const std::string& path, int* errorCode) {
    if (CreateDirectoryW(Wide(StripSlash(Native(path))).c_str(), nullptr)) return true;
    if (errorCode) *errorCode = LastErrno();
    return false;
}

std::vector<std::string> FileOps::SubFolders(const std::string& path) {
    std::vector<std::string> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileExW(Wide(StripSlash(Native(path)) + "/*").c_str(), FindExInfoBasic, &fd,
                                FindExSearchLimitToDirectories, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || fd.cFileName[0] == L'.') continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
        out.push_back(base::Utf8ToCp1252(win32::NarrowText(fd.cFileName)));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        const int c = base::AnsiCompareText(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

bool FileOps::FileExists(const std::string& path) {
    const DWORD a = Attributes(Native(path));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileOps::FolderExists(const std::string& path) {
    const DWORD a = Attributes(Native(path));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileOps::DeleteFile(const std::string& path, int* errorCode) {
    const std::string native = Native(path);
    const DWORD a = Attributes(native);
    int err = 0;
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
        err = EISDIR;
    else if (!::DeleteFileW(Wide(native).c_str()))
        err = LastErrno();
    if (err && errorCode) *errorCode = err;
    return err == 0;
}

// The recycle bin through the shell; without a recycle bin (network shares, removable drives)
// the shell deletes for good, as Explorer does.
bool FileOps::MoveToTrash(const std::string& path, std::string* error) {
    const std::string native = FullPath(StripSlash(Native(path)));
    if (Attributes(native) == INVALID_FILE_ATTRIBUTES) return SetError(error, LastErrno(), native);
    std::wstring from = Wide(native);
    from.push_back(L'\0');  // the list ends with two NULs
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int rc = SHFileOperationW(&op);
    if (rc != 0 || op.fAnyOperationsAborted) return SetError(error, rc ? EIO : ECANCELED, native);
    return true;
}

CopyResult FileOps::CopyFolderContents(const std::string& source, const std::string& target,
                                       const CopyCallbacks& callbacks) {
    Win32Copy copy(StripSlash(Native(source)), StripSlash(Native(target)), callbacks);
    return copy.Run();
}

}  // namespace platform
