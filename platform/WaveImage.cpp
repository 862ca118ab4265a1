#include "platform/WaveImage.h"

#include <cstring>

namespace platform {

namespace {

uint32_t U32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool WaveImage::Parse(const uint8_t* image, size_t size, WaveImage& out, std::string* error) {
    out = WaveImage();
    if (!image || size < 12) return Fail(error, "too short for a RIFF header");
    if (std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF WAVE image");
    const uint64_t riffEnd = 8ull + U32(image + 4);
    const size_t end = riffEnd < size ? static_cast<size_t>(riffEnd) : size;
    bool haveFmt = false, haveData = false;
    size_t pos = 12;
    while (pos + 8 <= end && !(haveFmt && haveData)) {
        const uint8_t* chunk = image + pos;
        const uint32_t length = U32(chunk + 4);
        const size_t body = pos + 8;
        if (length > end - body) {
            // Only the data chunk may be cut short (a truncated recording still plays).
            if (std::memcmp(chunk, "data", 4) != 0) return Fail(error, "chunk reaches past the end");
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) return Fail(error, "format chunk too short");
            out.formatTag = U16(image + body);
            out.channels = U16(image + body + 2);
            out.sampleRate = U32(image + body + 4);
            out.bitsPerSample = U16(image + body + 14);
            haveFmt = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFmt) return Fail(error, "data chunk before the format chunk");
            out.dataOffset = body;
            out.dataSize = length > end - body ? end - body : length;
            haveData = true;
        }
        const uint64_t next = static_cast<uint64_t>(body) + length + (length & 1);
        if (next > end) break;
        pos = static_cast<size_t>(next);
    }
    if (!haveFmt) return Fail(error, "no format chunk");
    if (!haveData) return Fail(error, "no data chunk");
    if (out.channels == 0 || out.sampleRate == 0) return Fail(error, "format without channels or rate");
    out.imageSize = end;
    return true;
}

}  // namespace platform
