#pragma once
// Little-endian fields and 64-bit file positions, shared by the parts of TZipFront.
#include <cstdint>
#include <cstdio>

namespace zipbytes {

inline uint16_t Get16(const unsigned char* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t Get32(const unsigned char* p) {
    return uint32_t(Get16(p)) | (uint32_t(Get16(p + 2)) << 16);
}
inline uint64_t Get64(const unsigned char* p) {
    return uint64_t(Get32(p)) | (uint64_t(Get32(p + 4)) << 32);
}
inline void Put16(unsigned char* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void Put32(unsigned char* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

// fseek/ftell take a long, which is 32 bits on Windows: archives and their offsets may pass 4 GB.
inline int Seek(std::FILE* f, int64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(f, offset, whence);
#else
    return fseeko(f, off_t(offset), whence);
#endif
}
inline int64_t Tell(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return int64_t(ftello(f));
#endif
}

constexpr uint32_t kEndSig = 0x06054B50, kCentralSig = 0x02014B50, kLocalSig = 0x04034B50,
                   kSplitMarker = 0x08074B50, kEnd64Sig = 0x06064B50, kLocator64Sig = 0x07064B50;

}  // namespace zipbytes
