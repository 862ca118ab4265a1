#include "zip/unpack32/Inflater.h"

#include <zlib.h>
#ifdef UNPACK32_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

#include "zip/unpack32/Session.h"

namespace unpack32 {

#ifdef UNPACK32_HAVE_LIBDEFLATE

TInflater::TInflater() : state_(libdeflate_alloc_decompressor()) {}

TInflater::~TInflater() {
    libdeflate_free_decompressor(static_cast<libdeflate_decompressor*>(state_));
}

bool TInflater::Ready() const {
    return state_ != nullptr;
}

int32_t TInflater::Inflate(const char* in, size_t compressed, char* out, size_t size) {
    if (!state_) return kErrMemory;
    size_t produced = 0;
    libdeflate_result r = libdeflate_deflate_decompress(static_cast<libdeflate_decompressor*>(state_), in,
                                                        compressed, out, size, &produced);
    if (r == LIBDEFLATE_INSUFFICIENT_SPACE) return kErrSize;
    if (r == LIBDEFLATE_SHORT_OUTPUT || (r == LIBDEFLATE_SUCCESS && produced != size)) return kErrSize;
    return r == LIBDEFLATE_SUCCESS ? 0 : kErrData;
}

uint32_t Crc32(const char* data, size_t size) {
    return libdeflate_crc32(0, data, size);
}

#else

TInflater::TInflater() = default;
TInflater::~TInflater() = default;

bool TInflater::Ready() const {
    return true;
}

int32_t TInflater::Inflate(const char* in, size_t compressed, char* out, size_t size) {
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return kErrMemory;
    char extra;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    z.avail_in = uInt(compressed);
    z.next_out = reinterpret_cast<Bytef*>(out);
    z.avail_out = uInt(size);
    int r = inflate(&z, Z_FINISH);
    if (r == Z_BUF_ERROR && z.avail_out == 0) {
        // Full at the declared size: one byte more tells whether the stream wanted to go on.
        z.next_out = reinterpret_cast<Bytef*>(&extra);
        z.avail_out = 1;
        r = inflate(&z, Z_FINISH);
        inflateEnd(&z);
        return r == Z_STREAM_END && z.avail_out == 1 ? 0 : kErrSize;
    }
    size_t produced = size - z.avail_out;
    inflateEnd(&z);
    if (r != Z_STREAM_END) return r == Z_BUF_ERROR ? kErrSize : kErrData;
    return produced == size ? 0 : kErrSize;
}

uint32_t Crc32(const char* data, size_t size) {
    // zlib's crc32 takes at most 4 GiB at a time; entries inflated whole are far smaller.
    return uint32_t(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data), uInt(size)));
}

#endif

}  // namespace unpack32
