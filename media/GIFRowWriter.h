#pragma once
// GIFRowWriter — stores decoded values into a frame's pixels (and its transparency mask) in the order
// the image data holds its rows: top to bottom, or the four interlace passes.
//
// Every few rows of a large frame it reports progress; a False answer cancels, which ends the rows at
// once (Done() turns true and Cancelled() tells why).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace media {

class GIFRowWriter {
public:
    // Frames above this many pixels report after each 32nd row (64th when narrow).
    static constexpr std::size_t kProgressArea = 100000;

    // pixels (and mask when not null) hold width * height bytes; the mask gets 1 where the stored value
    // is transparentIndex.
    GIFRowWriter(uint8_t* pixels, uint8_t* mask, int width, int height, bool interlaced, int transparentIndex,
                 std::function<bool()> onRows = nullptr)
        : pixels_(pixels),
          mask_(mask),
          width_(width),
          height_(height),
          interlaced_(interlaced),
          ti_(transparentIndex),
          area_(std::size_t(width) * std::size_t(height)),
          rowPtr_(pixels),
          onRows_(area_ > kProgressArea ? std::move(onRows) : nullptr),
          progressEvery_(width <= 320 ? 64 : 32) {}

    bool Done() const { return row_ >= height_; }
    bool Cancelled() const { return cancelled_; }
    bool Interlaced() const { return interlaced_; }
    int Row() const { return row_; }
    // Room left in the current row.
    int RowRoom() const { return width_ - x_; }
    // Index of the next pixel in the buffer, and the pixels from there to the end of the buffer.
    std::size_t Here() const { return std::size_t(rowPtr_ - pixels_) + std::size_t(x_); }
    std::size_t Room() const { return area_ - Here(); }
    uint8_t* Pixels() const { return pixels_; }
    // Values stored so far, in the order of the data.
    std::size_t Stored() const { return std::size_t(rowsDone_) * std::size_t(width_) + std::size_t(x_); }

    void Put(int value) {
        rowPtr_[x_] = static_cast<uint8_t>(value);
        if (mask_) mask_[(rowPtr_ - pixels_) + x_] = value == ti_;
        if (++x_ == width_) EndRow();
    }

    // Accepts n values that the caller stored from Here() on (within the buffer, rows in order only).
    void Advance(int n) {
        if (mask_) {
            const std::size_t at = Here();
            for (int i = 0; i < n; ++i) mask_[at + i] = pixels_[at + i] == ti_;
        }
        while (n > 0) {
            const int step = std::min(n, width_ - x_);
            x_ += step;
            n -= step;
            if (x_ == width_) {
                EndRow();
                if (cancelled_) return;
            }
        }
    }

    // Accepts n values that the caller stored from Here() on within the current row.
    void AdvanceInRow(int n) {
        if (mask_) {
            uint8_t* m = mask_ + (rowPtr_ - pixels_);
            for (int i = x_; i < x_ + n; ++i) m[i] = rowPtr_[i] == ti_;
        }
        x_ += n;
        if (x_ == width_) EndRow();
    }
    uint8_t* RowAt() const { return rowPtr_ + x_; }

private:
    void EndRow() {
        const int finished = row_;
        if (onRows_ && finished % progressEvery_ == 0 && finished < height_ && !onRows_()) {
            cancelled_ = true;
            row_ = height_;
            return;
        }
        NextRow();
        ++rowsDone_;
        x_ = 0;
        if (!Done()) rowPtr_ = pixels_ + std::size_t(row_) * std::size_t(width_);
    }

    void NextRow() {
        if (!interlaced_) {
            ++row_;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        row_ += kStep[pass_];
        while (row_ >= height_ && pass_ < 3) {
            ++pass_;
            row_ = kStart[pass_];  // a pass without rows in the image starts past the end and is skipped
        }
    }

    uint8_t* const pixels_;
    uint8_t* const mask_;
    const int width_, height_;
    const bool interlaced_;
    const int ti_;
    const std::size_t area_;
    int row_ = 0, pass_ = 0, x_ = 0, rowsDone_ = 0;
    uint8_t* rowPtr_;
    std::function<bool()> onRows_;
    const int progressEvery_;
    bool cancelled_ = false;
};

}  // namespace media
