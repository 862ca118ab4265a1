#pragma once
#include <string>
#include <vector>

#include "base/Stream.h"

namespace base {

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
    TMemoryStream(const void* bytes, size_t size);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return int64_t(data_.size()); }
    void SetSize(int64_t size) override;

    void Clear();
    uint8_t* Memory() { return data_.data(); }
    const uint8_t* Memory() const { return data_.data(); }
    const std::vector<uint8_t>& Bytes() const { return data_; }

    // The file name is a native path in cp1252; EFOpenError when it cannot be opened.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    // Whole stream from its start; source position ends at its end.
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest);

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};

}  // namespace base
