#pragma once
// Takes a fuzz input apart into numbers, flags and strings, front to back. Past the end every read
// yields zero or empty, so that any input maps onto some case.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

class TFuzzInput {
public:
    TFuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Left() const { return size_ - pos_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool Flag() { return Byte() & 1; }
    uint16_t Word() { return uint16_t(Byte() | Byte() << 8); }
    // A value in [0, limit).
    size_t Below(size_t limit) { return limit ? Word() % limit : 0; }
    // A string of up to maxLength bytes, its length taken from the input first.
    std::string Text(size_t maxLength) { return Take(Below(maxLength + 1)); }
    std::string Take(size_t count) {
        count = std::min(count, Left());
        std::string s(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return s;
    }
    std::string Rest() { return Take(Left()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
