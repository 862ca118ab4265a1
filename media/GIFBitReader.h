#pragma once
// GIFBitReader — the LZW codes of one image, least significant bit first, from the bytes of its data
// sub-blocks, read in place.
//
// The position it shares with its owner moves a whole sub-block at a time, so a progress report made
// between codes sees how far the input has been consumed.
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace media {

class GIFBitReader {
public:
    // pos is the index of the first sub-block's length byte; it is advanced as sub-blocks are taken.
    GIFBitReader(const uint8_t* data, std::size_t size, std::size_t& pos)
        : data_(data), size_(size), pos_(pos) {
        NextSubBlock();
    }

    // The next code of codeSize bits (1..16); -1 once the sub-blocks end before a whole code.
    int Read(int codeSize) {
        while (accBits_ < codeSize) {
            if (bp_ < be_) {
                acc_ |= uint64_t(*bp_++) << accBits_;
                accBits_ += 8;
            } else if (ended_ != End::None) {
                return -1;
            } else {
                NextSubBlock();
            }
        }
        const int code = static_cast<int>(acc_ & ((uint64_t{1} << codeSize) - 1));
        acc_ >>= codeSize;
        accBits_ -= codeSize;
        return code;
    }

    // The sub-blocks ended: at a zero-length block, or with the input (no length byte, a short block).
    bool Ended() const { return ended_ != End::None; }
    // The input ran out inside the image data: the file is truncated.
    bool InputEnded() const { return ended_ == End::Input; }

    // After the end code: skips the rest of the sub-blocks up to and including the terminator.
    void SkipRest() {
        if (Ended()) return;
        int length = ReadByte();
        while (length > 0) {
            pos_ = std::min(size_, pos_ + static_cast<std::size_t>(length));
            length = ReadByte();
        }
    }

private:
    enum class End : uint8_t { None, Terminator, Input };

    int ReadByte() { return pos_ < size_ ? data_[pos_++] : -1; }

    void NextSubBlock() {
        const int length = ReadByte();
        if (length <= 0) {
            ended_ = length < 0 ? End::Input : End::Terminator;
            return;
        }
        const std::size_t got = std::min(static_cast<std::size_t>(length), size_ - pos_);
        bp_ = data_ + pos_;
        be_ = bp_ + got;
        pos_ += got;
        if (got < static_cast<std::size_t>(length)) ended_ = End::Input;
    }

    const uint8_t* data_;
    std::size_t size_;
    std::size_t& pos_;
    uint64_t acc_ = 0;
    int accBits_ = 0;
    const uint8_t* bp_ = nullptr;
    const uint8_t* be_ = nullptr;
    End ended_ = End::None;
};

}  // namespace media
