#pragma once
// The system calls that the program's files are read and written with, as one table. Tests put
// in a table that fails on purpose — a disc taken out, a read error, a full or write-protected
// target — and check that the program says so and loses nothing; the program never changes it.
#include <sys/types.h>

#include <cstddef>

namespace base {

struct TFileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, size_t count);
    ssize_t (*write)(int fd, const void* buffer, size_t count);
    int (*close)(int fd);
    int (*mkdir)(const char* path, mode_t mode);
    int (*mkostemp)(char* pathTemplate, int flags);  // the template's XXXXXX are replaced
    int (*rename)(const char* from, const char* to);
};

// The table in use: the system's unless a test set another.
const TFileCalls& FileCalls();
const TFileCalls& SystemFileCalls();
// nullptr puts the system's back. The table must outlive its use.
void SetFileCalls(const TFileCalls* calls);

}  // namespace base
