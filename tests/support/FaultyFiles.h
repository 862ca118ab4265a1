#pragma once
// A file-call table that fails on purpose, put in for the length of a scope:
//
//   FaultyFiles faults;
//   faults.FailReads("daten.txt", EIO);           // reads of that file fail (a scratched disc)
//   faults.LimitWrites(target, 100000);           // the target's disk is full after 100000 bytes
//   faults.ReadOnly(target);                      // nothing can be created or renamed there
//
// Paths are matched by substring (reads) and by prefix (writes) on the native path handed to the
// call. Only one FaultyFiles exists at a time.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "base/FileCalls.h"

class FaultyFiles {
public:
    FaultyFiles() {
        self_ = this;
        base::SetFileCalls(&kTable);
    }
    ~FaultyFiles() {
        base::SetFileCalls(nullptr);
        self_ = nullptr;
    }
    FaultyFiles(const FaultyFiles&) = delete;
    FaultyFiles& operator=(const FaultyFiles&) = delete;

    void FailReads(const std::string& pathPart, int error) {
        std::lock_guard lock(mutex_);
        readPart_ = pathPart;
        readError_ = error;
    }
    void LimitWrites(const std::string& prefix, int64_t bytes) {
        std::lock_guard lock(mutex_);
        writePrefix_ = prefix;
        bytesLeft_ = bytes;
    }
    void ReadOnly(const std::string& prefix, int error = EROFS) {
        std::lock_guard lock(mutex_);
        readOnlyPrefix_ = prefix;
        readOnlyError_ = error;
    }
    void Heal() {
        std::lock_guard lock(mutex_);
        readPart_.clear();
        writePrefix_.clear();
        readOnlyPrefix_.clear();
    }
    // Failures handed out so far, so that a test knows its fault was met.
    int Injected() const { return injected_; }

private:
    static bool Under(const std::string& path, const std::string& prefix) {
        return !prefix.empty() && path.compare(0, prefix.size(), prefix) == 0;
    }
    int Fail(int error) {
        ++injected_;
        errno = error;
        return -1;
    }

    static int Open(const char* path, int flags, mode_t mode) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            if ((flags & (O_CREAT | O_WRONLY | O_RDWR)) && Under(path, f.readOnlyPrefix_))
                return f.Fail(f.readOnlyError_);
        }
        const int fd = base::SystemFileCalls().open(path, flags, mode);
        if (fd >= 0) {
            std::lock_guard lock(f.mutex_);
            f.paths_[fd] = path;
        }
        return fd;
    }
    static ssize_t Read(int fd, void* buffer, size_t count) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            auto it = f.paths_.find(fd);
            if (!f.readPart_.empty() && it != f.paths_.end() &&
                it->second.find(f.readPart_) != std::string::npos)
                return f.Fail(f.readError_);
        }
        return base::SystemFileCalls().read(fd, buffer, count);
    }
    static ssize_t Write(int fd, const void* buffer, size_t count) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            auto it = f.paths_.find(fd);
            if (it != f.paths_.end() && Under(it->second, f.writePrefix_)) {
                if (f.bytesLeft_ <= 0) return f.Fail(ENOSPC);
                // A disk that fills up takes what still fits, then refuses the rest.
                if (int64_t(count) > f.bytesLeft_) count = size_t(f.bytesLeft_);
                f.bytesLeft_ -= int64_t(count);
            }
        }
        return base::SystemFileCalls().write(fd, buffer, count);
    }
    static int Close(int fd) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            f.paths_.erase(fd);
        }
        return base::SystemFileCalls().close(fd);
    }
    static int Mkdir(const char* path, mode_t mode) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            if (Under(path, f.readOnlyPrefix_)) return f.Fail(f.readOnlyError_);
        }
        return base::SystemFileCalls().mkdir(path, mode);
    }
    static int Mkostemp(char* pathTemplate, int flags) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            if (Under(pathTemplate, f.readOnlyPrefix_)) return f.Fail(f.readOnlyError_);
        }
        const int fd = base::SystemFileCalls().mkostemp(pathTemplate, flags);
        if (fd >= 0) {
            std::lock_guard lock(f.mutex_);
            f.paths_[fd] = pathTemplate;
        }
        return fd;
    }
    static int Rename(const char* from, const char* to) {
        FaultyFiles& f = *self_;
        {
            std::lock_guard lock(f.mutex_);
            if (Under(to, f.readOnlyPrefix_)) return f.Fail(f.readOnlyError_);
        }
        return base::SystemFileCalls().rename(from, to);
    }

    static inline FaultyFiles* self_ = nullptr;
    static inline const base::TFileCalls kTable = {&Open, &Read, &Write, &Close, &Mkdir, &Mkostemp, &Rename};

    std::mutex mutex_;
    std::map<int, std::string> paths_;  // descriptors opened while the table was in place
    std::string readPart_, writePrefix_, readOnlyPrefix_;
    int readError_ = EIO, readOnlyError_ = EROFS;
    int64_t bytesLeft_ = 0;
    std::atomic<int> injected_{0};
};
