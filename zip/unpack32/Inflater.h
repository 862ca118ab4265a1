#pragma once
// TInflater — inflates an entry held whole in memory into a buffer of its declared size. The one
// inflate of the library for such entries: the calling thread's path and each worker own one, so that
// both treat damaged or mis-sized data alike.

#include <cstddef>
#include <cstdint>

namespace unpack32 {

class TInflater {
public:
    TInflater();
    ~TInflater();
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    // False when its state could not be allocated (Inflate then answers kErrMemory).
    bool Ready() const;

    // Raw deflate data in[0, compressed) into out, which must come out at exactly size bytes. Returns
    // 0, kErrSize (more or fewer bytes), kErrData (damaged data) or kErrMemory.
    int32_t Inflate(const char* in, size_t compressed, char* out, size_t size);

private:
    void* state_ = nullptr;
};

// CRC-32 of an entry's bytes as the archive stores it.
uint32_t Crc32(const char* data, size_t size);

}  // namespace unpack32
