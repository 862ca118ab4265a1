#include "base/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/FileCalls.h"

namespace base {

TFileStream::TFileStream(const std::string& fileName, Mode mode) : fileName_(fileName) {
    int flags = O_CLOEXEC;
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
    fd_ = FileCalls().open(native.c_str(), flags, 0644);
    struct stat st;
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode))) {
        FileCalls().close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) throw EFOpenError::CannotOpen(fileName);
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) FileCalls().close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < count) {
        ssize_t n = FileCalls().read(fd_, p + total, size_t(count - total));
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
        ssize_t n = FileCalls().write(fd_, p + total, size_t(count - total));
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
    off_t r = ::lseek(fd_, off_t(offset), whence);
    return r < 0 ? -1 : int64_t(r);
}

int64_t TFileStream::Size() {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return 0;
    return int64_t(st.st_size);
}

void TFileStream::SetSize(int64_t size) {
    if (::ftruncate(fd_, off_t(size)) != 0) throw EWriteError();
}

}  // namespace base
