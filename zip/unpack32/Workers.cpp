#include "zip/unpack32/Workers.h"

#include <cerrno>
#include <new>

#include "zip/unpack32/PosixAt.h"
#include "zip/unpack32/Session.h"

namespace unpack32 {

namespace {

bool ReadAt(int fd, uint64_t at, char* buffer, size_t n) {
    while (n > 0) {
        ssize_t got = pread(fd, buffer, n, off_t(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        buffer += got;
        at += uint64_t(got);
        n -= size_t(got);
    }
    return true;
}

int32_t WriteErrorCode(int e) {
    return (e == ENOSPC || e == EDQUOT ? kErrDiskFull : kErrWrite) | (e << 8);
}

}  // namespace

int32_t ExecuteFileJob(TFileJob& job, TWorkerState& state) {
    int32_t error = 0;
    const char* data = nullptr;
    try {
        state.in.Grow(size_t(job.compressed));
        if (job.method != 0) state.out.Grow(size_t(job.size));
    } catch (const std::bad_alloc&) {
        error = kErrMemory;
    }
    if (error == 0 && job.compressed &&
        !ReadAt(job.archiveFd, job.dataOffset, state.in.data(), size_t(job.compressed)))
        error = kErrData;
    if (error == 0 && job.method == 0) {
        if (job.compressed != job.size) error = kErrSize;
        data = state.in.data();
    } else if (error == 0) {
        data = state.out.data();
        error = state.inflater.Inflate(state.in.data(), size_t(job.compressed), state.out.data(),
                                       size_t(job.size));
    }
    if (error == 0) {
        if (Crc32(data, size_t(job.size)) != job.crc) error = kErrCrc;
    }
    if (job.dir < 0) return error;
    size_t left = size_t(job.size);
    const char* p = data;
    while (left > 0 && error == 0) {
        ssize_t w = write(job.fd, p, left);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0)
            error = WriteErrorCode(w < 0 ? errno : ENOSPC);
        else
            p += w, left -= size_t(w);
    }
    if (error == 0 && job.mode) fchmod(job.fd, job.mode);
    if (error == 0 && job.mtime) {
        struct timespec times[2] = {{0, UTIME_OMIT}, {job.mtime, 0}};
        futimens(job.fd, times);
    }
    if (close(job.fd) != 0 && error == 0) error = WriteErrorCode(errno);
    job.fd = -1;
    // rename replaces a link at leaf instead of writing through it.
    if (error == 0 && !job.direct && renameat(job.dir, job.temp.c_str(), job.dir, job.leaf.c_str()) != 0)
        error = WriteErrorCode(errno);
    // Nothing half-written stays behind.
    if (error != 0) unlinkat(job.dir, (job.direct ? job.leaf : job.temp).c_str(), 0);
    close(job.dir);
    job.dir = -1;
    return error;
}

TWorkers::TWorkers(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Loop(); });
}

TWorkers::~TWorkers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    work_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void TWorkers::Submit(std::shared_ptr<TFileJob> job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(job));
    }
    work_.notify_one();
}

void TWorkers::Wait(const TFileJob& job) {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return job.done.load(); });
}

void TWorkers::Loop() {
    TWorkerState state;
    for (;;) {
        std::shared_ptr<TFileJob> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            work_.wait(lock, [&] { return stop_ || !queue_.empty(); });
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        int32_t result;
        try {
            result = ExecuteFileJob(*job, state);
        } catch (...) {
            result = kErrMemory;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job->result = result;
            job->done = true;
        }
        finished_.notify_all();
    }
}

}  // namespace unpack32
