#pragma once
#include <cstdio>
#include <string>

#include "base/Stream.h"

namespace base {

class TFileStream : public TStream {
public:
    enum Mode { fmOpenRead, fmOpenWrite, fmOpenReadWrite, fmCreate };

    // fileName is a native path in cp1252 (converted to UTF-8 for the file system).
    // Raises EFOpenError "Datei %s kann nicht geöffnet werden" (fmCreate likewise).
    TFileStream(const std::string& fileName, Mode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override;
    void SetSize(int64_t size) override;

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    int fd_ = -1;
};

}  // namespace base
