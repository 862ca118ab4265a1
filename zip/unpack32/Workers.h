#pragma once
// Parallel extraction of plain entries (stored or deflated, not encrypted, of a size that fits in
// memory): the calling thread creates each file, one after the other as the kernel serialises them
// per folder anyway; worker threads read the raw data with pread, inflate it, check size and CRC,
// write the file and rename it into place, so that inflating overlaps with the file system's work.
// The caller's callbacks stay on the calling thread: it submits entries in archive order and reports
// each result when the oldest job is done.

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "zip/unpack32/Inflater.h"

namespace unpack32 {

struct TFileJob {
    int archiveFd = -1;  // shared, read with pread only
    int dir = -1;        // the job's own descriptor of the target folder (closed by the job); -1: test only
    int fd = -1;         // the file to write, created by the caller (closed by the job)
    std::string leaf, temp, shown, key;
    uint64_t dataOffset = 0, compressed = 0, size = 0;
    uint32_t crc = 0;
    uint16_t method = 0;  // 0 stored, 8 deflated
    mode_t mode = 0;      // permission bits to apply, 0 for none
    time_t mtime = 0;
    bool direct = false;  // fd is leaf itself, not the temporary file that replaces it
    int32_t result = 0;
    std::atomic<bool> done{false};
};

// One worker's buffers and inflater, kept for the worker's life: no allocation per entry.
struct TWorkerState {
    // Grows without filling: only the bytes really read or inflated become resident.
    struct TBuffer {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        char* data() const { return bytes.get(); }
        void Grow(size_t n) {
            if (n <= size) return;
            bytes.reset(new char[n]);
            size = n;
        }
    };
    TBuffer in, out;
    TInflater inflater;
};

// Inflates, checks and writes one entry; returns 0 or an error code of Session.h.
int32_t ExecuteFileJob(TFileJob& job, TWorkerState& state);

class TWorkers {
public:
    explicit TWorkers(unsigned threads);
    ~TWorkers();
    TWorkers(const TWorkers&) = delete;
    TWorkers& operator=(const TWorkers&) = delete;

    void Submit(std::shared_ptr<TFileJob> job);
    // Waits until job is done.
    void Wait(const TFileJob& job);

private:
    void Loop();
    std::mutex mutex_;
    std::condition_variable work_, finished_;
    std::deque<std::shared_ptr<TFileJob>> queue_;
    std::vector<std::thread> threads_;
    bool stop_ = false;
};

}  // namespace unpack32
