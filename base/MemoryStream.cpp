#include "base/MemoryStream.h"

#include <cstring>

#include "base/FileStream.h"

namespace base {

TMemoryStream::TMemoryStream(const void* bytes, size_t size)
    : data_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size) {}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || pos_ >= int64_t(data_.size())) return 0;
    int64_t n = std::min<int64_t>(count, int64_t(data_.size()) - pos_);
    std::memcpy(buffer, data_.data() + pos_, size_t(n));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    if (pos_ + count > int64_t(data_.size())) data_.resize(size_t(pos_ + count));
    std::memcpy(data_.data() + pos_, buffer, size_t(count));
    pos_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? pos_ : Size();
    int64_t p = base + offset;
    pos_ = p < 0 ? 0 : p;
    return pos_;
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(size_t(std::max<int64_t>(size, 0)));
    if (pos_ > int64_t(data_.size())) pos_ = int64_t(data_.size());
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream f(fileName, TFileStream::fmOpenRead);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream f(fileName, TFileStream::fmCreate);
    SaveToStream(f);
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t n = source.Size();
    data_.assign(size_t(n), 0);
    source.ReadBuffer(data_.data(), n);
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) {
    dest.WriteBuffer(data_.data(), int64_t(data_.size()));
}

}  // namespace base
