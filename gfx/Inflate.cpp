#include "gfx/Inflate.h"

#include <zlib.h>

namespace gfx {

std::vector<unsigned char> Inflate(std::span<const unsigned char> packed, size_t size) {
    std::vector<unsigned char> bytes(size);
    uLongf unpacked = uLongf(size);
    if (uncompress(bytes.data(), &unpacked, packed.data(), uLong(packed.size())) != Z_OK || unpacked != size)
        bytes.clear();
    return bytes;
}

}  // namespace gfx
