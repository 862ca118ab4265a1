#include "base/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/NativeFile.h"
#ifndef _WIN32
#include "base/FileCalls.h"
#endif

namespace base {

namespace {

// The C runtime's file calls on both systems. Windows: UTF-16 names, binary mode (text mode would
// turn LF into CR LF), 64-bit offsets (off_t and long are 32 bits there), counts in unsigned int.
#ifdef _WIN32
constexpr int kNoInherit = _O_NOINHERIT;
int OpenFile(const std::string& utf8, int flags) {
    int fd = -1;
    _wsopen_s(&fd, NativeFsPath(utf8).c_str(), flags | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    return fd;
}
bool IsFolder(int fd) {
    struct _stat64 st;
    return _fstat64(fd, &st) != 0 || (st.st_mode & _S_IFDIR);
}
int64_t FileSize(int fd) {
    struct _stat64 st;
    return _fstat64(fd, &st) != 0 ? 0 : int64_t(st.st_size);
}
constexpr size_t kMaxChunk = size_t(1) << 30;
int64_t ReadSome(int fd, void* p, size_t n) {
    return ::_read(fd, p, unsigned(std::min(n, kMaxChunk)));
}
int64_t WriteSome(int fd, const void* p, size_t n) {
    return ::_write(fd, p, unsigned(std::min(n, kMaxChunk)));
}
int64_t SeekTo(int fd, int64_t offset, int whence) {
    return ::_lseeki64(fd, offset, whence);
}
bool Truncate(int fd, int64_t size) {
    return ::_chsize_s(fd, size) == 0;
}
int CloseFile(int fd) {
    return ::_close(fd);
}
#else
constexpr int kNoInherit = O_CLOEXEC;
int OpenFile(const std::string& utf8, int flags) {
    return FileCalls().open(utf8.c_str(), flags, 0644);
}
bool IsFolder(int fd) {
    struct stat st;
    return ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode);
}
int64_t FileSize(int fd) {
    struct stat st;
    return ::fstat(fd, &st) != 0 ? 0 : int64_t(st.st_size);
}
int64_t ReadSome(int fd, void* p, size_t n) {
    return FileCalls().read(fd, p, n);
}
int64_t WriteSome(int fd, const void* p, size_t n) {
    return FileCalls().write(fd, p, n);
}
int64_t SeekTo(int fd, int64_t offset, int whence) {
    return ::lseek(fd, off_t(offset), whence);
}
bool Truncate(int fd, int64_t size) {
    return ::ftruncate(fd, off_t(size)) == 0;
}
int CloseFile(int fd) {
    return FileCalls().close(fd);
}
#endif

}  // namespace

TFileStream::TFileStream(const std::string& fileName, Mode mode) : fileName_(fileName) {
    int flags = kNoInherit;
    switch (mode) {
        case fmOpenRead:
            flags |= O_RDONLY;
            break;
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        case fmCreate:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
    }
    std::string native = Cp1252ToUtf8(fileName);
    fd_ = OpenFile(native, flags);
    if (fd_ >= 0 && IsFolder(fd_)) {
        CloseFile(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) throw EFOpenError::CannotOpen(fileName);
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) CloseFile(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < count) {
        const int64_t n = ReadSome(fd_, p + total, size_t(count - total));
        if (n < 0 && errno == EINTR) continue;
        // A failed read is no end of the file: a disc taken out must not pass for a short file.
        if (n < 0)
            throw EReadError(
                Format("Datei %s kann nicht gelesen werden (E/A-Fehler %d).", fileName_.c_str(), errno));
        if (n == 0) break;
        total += n;
    }
    return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t total = 0;
    auto* p = static_cast<const char*>(buffer);
    while (total < count) {
        const int64_t n = WriteSome(fd_, p + total, size_t(count - total));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += n;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                 : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                    : SEEK_END;
    const int64_t r = SeekTo(fd_, offset, whence);
    return r < 0 ? -1 : r;
}

int64_t TFileStream::Size() {
    return FileSize(fd_);
}

void TFileStream::SetSize(int64_t size) {
    if (!Truncate(fd_, size)) throw EWriteError();
}

}  // namespace base
