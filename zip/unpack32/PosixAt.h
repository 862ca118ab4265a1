#pragma once
// The POSIX file calls of the unpack library. On Windows they are provided here over the C
// runtime and the Win32 API: folder descriptors name a folder by its full path (Windows has no
// openat), files are C runtime descriptors opened in binary mode, and positional reads go through
// ReadFile with an offset. Paths and entry names are UTF-8.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>

#ifndef _WIN32
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

namespace unpack32 {

// The size of an open regular file; false for anything else.
inline bool RegularFileSize(int fd, uint64_t& size) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    size = uint64_t(st.st_size);
    return true;
}

}  // namespace unpack32

#else
#include <fcntl.h>
#include <strings.h>

#include <cerrno>
#include <ctime>

static_assert(sizeof(off_t) == 8, "archives past 2 GiB need a 64-bit off_t (_FILE_OFFSET_BITS=64)");

#ifndef O_DIRECTORY
#define O_DIRECTORY 0x200000
#endif
#ifndef O_NOFOLLOW
#define O_NOFOLLOW 0x400000
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC _O_NOINHERIT
#endif
#ifndef AT_SYMLINK_NOFOLLOW
#define AT_SYMLINK_NOFOLLOW 0x100
#endif
#ifndef UTIME_OMIT
#define UTIME_OMIT ((1l << 30) - 2l)
#endif
#ifndef S_ISLNK
// Also the test for a link entry in an archive, whose mode is a Unix one whatever the system.
#define S_ISLNK(m) (((m)&0170000) == 0120000)
#endif
#ifndef EDQUOT
#define EDQUOT ENOSPC
#endif
#define FNM_NOESCAPE 0x01
#define FNM_CASEFOLD 0x10
#define FNM_NOMATCH 1

namespace unpack32 {

bool RegularFileSize(int fd, uint64_t& size);

int open(const char* path, int flags, int mode = 0);
int openat(int dir, const char* name, int flags, int mode = 0);
int mkdirat(int dir, const char* name, int mode);
// st_mode and st_mtime only; a reparse point (link, junction) has no type bits.
int fstatat(int dir, const char* name, struct stat* st, int flags);
int renameat(int fromDir, const char* from, int toDir, const char* to);
int unlinkat(int dir, const char* name, int flags);
// Creating links needs a privilege on Windows: always fails with EPERM.
int symlinkat(const char* target, int dir, const char* name);
int dup(int fd);
int close(int fd);
ssize_t write(int fd, const void* data, size_t n);
ssize_t pread(int fd, void* buffer, size_t n, off_t at);
// Windows has no permission bits to give (only read-only, which the written files must not get).
int fchmod(int fd, int mode);
int futimens(int fd, const struct timespec times[2]);
int fnmatch(const char* pattern, const char* name, int flags);
int getpid();

}  // namespace unpack32
#endif
