// The Windows side of PosixAt.h (compiled to nothing elsewhere).
#ifdef _WIN32
#include "zip/unpack32/PosixAt.h"

#include <io.h>
#include <process.h>
#include <windows.h>

#include <cctype>
#include <map>
#include <mutex>
#include <string>

namespace unpack32 {

namespace {

// Folder descriptors lie far above the C runtime's own.
constexpr int kFirstFolder = 1 << 20;

std::mutex folderMutex;
std::map<int, std::wstring> folders;
int nextFolder = kFirstFolder;

std::wstring Wide(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(size_t(n - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

// The descriptor's Win32 handle, which the C runtime hands out as an integer.
HANDLE OsHandle(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));  // NOLINT(performance-no-int-to-ptr)
}

int SetErrno(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        default:
            errno = EIO;
    }
    return -1;
}

int AddFolder(std::wstring path) {
    std::lock_guard lock(folderMutex);
    const int id = nextFolder++;
    folders[id] = std::move(path);
    return id;
}

bool IsFolderId(int fd) {
    return fd >= kFirstFolder;
}

// The full path of name inside the folder descriptor dir; false (EBADF) for an unknown one.
bool PathAt(int dir, const char* name, std::wstring& out) {
    std::lock_guard lock(folderMutex);
    auto it = folders.find(dir);
    if (it == folders.end()) {
        errno = EBADF;
        return false;
    }
    out = it->second + L"\\" + Wide(name);
    return true;
}

int OpenPath(const std::wstring& path, int flags, int mode) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (flags & O_DIRECTORY) {
        if (attributes == INVALID_FILE_ATTRIBUTES) return SetErrno(GetLastError());
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            errno = ENOTDIR;
            return -1;
        }
        // A junction or folder link could lead out of the target folder.
        if ((flags & O_NOFOLLOW) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            errno = ELOOP;
            return -1;
        }
        wchar_t full[MAX_PATH * 4];
        const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
        if (n == 0 || n >= MAX_PATH * 4) return SetErrno(GetLastError());
        std::wstring f(full, n);
        while (f.size() > 3 && f.back() == L'\\') f.pop_back();
        return AddFolder(f);
    }
    if ((flags & O_NOFOLLOW) && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        errno = ELOOP;
        return -1;
    }
    // Binary mode: text mode would turn every LF written into CR LF.
    const int crtFlags = (flags & ~(O_DIRECTORY | O_NOFOLLOW)) | _O_BINARY;
    return _wopen(path.c_str(), crtFlags, mode ? _S_IREAD | _S_IWRITE : 0);
}

bool Match(const char* p, const char* s, bool fold) {
    auto eq = [fold](char a, char b) {
        return fold ? std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b))
                    : a == b;
    };
    while (*p) {
        if (*p == '*') {
            while (*p == '*') ++p;
            if (!*p) return true;
            for (; *s; ++s)
                if (Match(p, s, fold)) return true;
            return false;
        }
        if (!*s) return false;
        if (*p == '?') {
            ++p, ++s;
            continue;
        }
        if (*p == '[') {
            const char* q = p + 1;
            const bool negate = *q == '!' || *q == '^';
            if (negate) ++q;
            bool found = false;
            const char* start = q;
            while (*q && (*q != ']' || q == start)) {
                if (q[1] == '-' && q[2] && q[2] != ']') {
                    const unsigned char c = static_cast<unsigned char>(fold ? std::tolower(*s) : *s);
                    const unsigned char lo = static_cast<unsigned char>(fold ? std::tolower(q[0]) : q[0]);
                    const unsigned char hi = static_cast<unsigned char>(fold ? std::tolower(q[2]) : q[2]);
                    if (lo <= c && c <= hi) found = true;
                    q += 3;
                } else {
                    if (eq(*q, *s)) found = true;
                    ++q;
                }
            }
            if (*q != ']') {  // no closing bracket: a literal '['
                if (!eq('[', *s)) return false;
                ++p, ++s;
                continue;
            }
            if (found == negate) return false;
            p = q + 1, ++s;
            continue;
        }
        if (!eq(*p, *s)) return false;
        ++p, ++s;
    }
    return !*s;
}

}  // namespace

bool RegularFileSize(int fd, uint64_t& size) {
    struct _stat64 st;
    if (_fstat64(fd, &st) != 0 || !(st.st_mode & _S_IFREG)) return false;
    size = uint64_t(st.st_size);
    return true;
}

int open(const char* path, int flags, int mode) {
    return OpenPath(Wide(path), flags, mode);
}

int openat(int dir, const char* name, int flags, int mode) {
    std::wstring path;
    if (!PathAt(dir, name, path)) return -1;
    return OpenPath(path, flags, mode);
}

int mkdirat(int dir, const char* name, int) {
    std::wstring path;
    if (!PathAt(dir, name, path)) return -1;
    return CreateDirectoryW(path.c_str(), nullptr) ? 0 : SetErrno(GetLastError());
}

int fstatat(int dir, const char* name, struct stat* st, int) {
    std::wstring path;
    if (!PathAt(dir, name, path)) return -1;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return SetErrno(GetLastError());
    *st = {};
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        st->st_mode = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? _S_IFDIR : _S_IFREG;
    const uint64_t ticks =
        (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    st->st_mtime = time_t(ticks / 10000000ull - 11644473600ull);
    st->st_size = off_t((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return 0;
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    std::wstring a, b;
    if (!PathAt(fromDir, from, a) || !PathAt(toDir, to, b)) return -1;
    return MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : SetErrno(GetLastError());
}

int unlinkat(int dir, const char* name, int) {
    std::wstring path;
    if (!PathAt(dir, name, path)) return -1;
    return DeleteFileW(path.c_str()) ? 0 : SetErrno(GetLastError());
}

int symlinkat(const char*, int, const char*) {
    errno = EPERM;
    return -1;
}

int dup(int fd) {
    if (!IsFolderId(fd)) return _dup(fd);
    std::lock_guard lock(folderMutex);
    auto it = folders.find(fd);
    if (it == folders.end()) {
        errno = EBADF;
        return -1;
    }
    const int id = nextFolder++;
    folders[id] = it->second;
    return id;
}

int close(int fd) {
    if (!IsFolderId(fd)) return _close(fd);
    std::lock_guard lock(folderMutex);
    if (folders.erase(fd) == 0) {
        errno = EBADF;
        return -1;
    }
    return 0;
}

ssize_t write(int fd, const void* data, size_t n) {
    // _write takes an unsigned int count.
    const unsigned chunk = n > (1u << 30) ? 1u << 30 : unsigned(n);
    return _write(fd, data, chunk);
}

ssize_t pread(int fd, void* buffer, size_t n, off_t at) {
    const HANDLE h = OsHandle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    OVERLAPPED at64 = {};
    at64.Offset = DWORD(uint64_t(at) & 0xFFFFFFFFu);
    at64.OffsetHigh = DWORD(uint64_t(at) >> 32);
    DWORD got = 0;
    const DWORD want = n > (1u << 30) ? 1u << 30 : DWORD(n);
    if (!ReadFile(h, buffer, want, &got, &at64)) {
        if (GetLastError() == ERROR_HANDLE_EOF) return 0;
        return SetErrno(GetLastError());
    }
    return ssize_t(got);
}

int fchmod(int, int) {
    return 0;
}

int futimens(int fd, const struct timespec times[2]) {
    if (times[1].tv_nsec == UTIME_OMIT) return 0;
    const HANDLE h = OsHandle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    const uint64_t ticks =
        (uint64_t(times[1].tv_sec) + 11644473600ull) * 10000000ull + uint64_t(times[1].tv_nsec) / 100;
    FILETIME ft;
    ft.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = DWORD(ticks >> 32);
    return SetFileTime(h, nullptr, nullptr, &ft) ? 0 : SetErrno(GetLastError());
}

int fnmatch(const char* pattern, const char* name, int flags) {
    return Match(pattern, name, flags & FNM_CASEFOLD) ? 0 : FNM_NOMATCH;
}

int getpid() {
    return _getpid();
}

}  // namespace unpack32
#endif
