#pragma once
// Byte streams. Read may return fewer bytes than asked; ReadBuffer may not (EReadError).
#include <cstdint>
#include <string>

namespace base {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Returns the number of bytes read/written (0 at the end or for count <= 0).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t size) = 0;

    // Exactly count bytes or EReadError "Stream-Read-Fehler" / EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies exactly count bytes from source's current position. A count of 0 or below copies
    // nothing — deliberately not "the whole stream", which silently copied far too much.
    int64_t CopyFrom(TStream& source, int64_t count);

    // Little-endian helpers for binary formats.
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    std::string ReadString(int64_t count);
    void WriteU8(uint8_t v) { WriteBuffer(&v, 1); }
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteString(const std::string& s) { WriteBuffer(s.data(), int64_t(s.size())); }
};

}  // namespace base
