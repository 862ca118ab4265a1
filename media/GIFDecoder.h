#pragma once
// TGIFDecoder — reads the bytes of a GIF file (87a or 89a) into at most 256 frames.
//
// Tolerant by design: unknown bytes between blocks are skipped two at a time, damaged LZW data ends
// a frame early, and a frame that cannot be read is dropped while the frames before it stay. Each kept
// frame's Status and DroppedFrame tell how the reading of each frame ended. No byte sequence makes it
// read outside its input or touch anything outside its 4096-entry code tables.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/Exceptions.h"
#include "media/GIFFrame.h"

namespace media {

enum class TGIFVersion { gvGIF87a, gvGIF89a };

// The silent cancel of a decode: a cancelled progress between frames.
class EGIFAbort : public base::Exception {
public:
    EGIFAbort() : base::Exception("") {}
};

class TGIFDecoder {
public:
    static constexpr int kMaxFrames = 256;
    static constexpr int kMaxDimension = 16384;
    // Frames stop being read once the picture would need more bitmap memory than this: the limits on
    // count and size alone would still let a file ask for 256 frames of 16384 x 16384 pixels.
    static constexpr std::size_t kMaxBitmapBytes = std::size_t{256} << 20;

    TGIFDecoder();

    // Everything back to "no picture", except the global palette and the picture size that every
    // decode sets anew.
    void Reset();

    // Decodes data; False for empty input, a foreign signature or a malformed image descriptor
    // (frames are then worthless to the caller). Throws for a truncated header or a cancel outside
    // frame decoding.
    bool Decode(const uint8_t* data, std::size_t size);

    // Called at the points where decoding reports progress, with the bytes read and the total. It
    // may return False to cancel.
    std::function<bool(int64_t processed, int64_t total)> OnProgress;
    bool FirstImageOnly = false;

    TGIFVersion Version = TGIFVersion::gvGIF87a;
    std::array<uint8_t, 768> GlobalPalette{};
    int MaxColourBits = 0;
    std::vector<std::unique_ptr<TGIFFrame>> Frames;
    int LoopCount = 1;
    bool HasTransparency = false;
    int ScreenWidth = 0, ScreenHeight = 0;
    int ImageWidth = 0, ImageHeight = 0;
    bool KeepOnProcessing = true;
    // Why the frame after the last kept one was read but not kept: gsTruncated (its descriptor is cut
    // off), gsDamaged (zero width or height; Decode then returns False), gsTooLarge, gsCancelled.
    // gsOk when no frame was dropped.
    TGIFFrameStatus DroppedFrame = TGIFFrameStatus::gsOk;

    int FrameCount() const { return static_cast<int>(Frames.size()); }
    int64_t Position() const { return static_cast<int64_t>(pos_); }

    // Bitmap bytes the decoded picture holds: frames, their masks and saved areas, and the composed
    // picture with its mask.
    std::size_t BitmapBytes() const { return bitmapBytes_ + ComposedBytes(ImageWidth, ImageHeight); }

private:
    using GraphicControl = std::array<uint8_t, 6>;

    TGIFFrameStatus ReadFrame(TGIFFrame& frame, const GraphicControl& gce);
    void Progress();
    // Progress from inside a frame: False when this very call cancelled.
    bool FrameProgress();
    static std::size_t FrameBytes(const TGIFFrame& frame);
    static std::size_t ComposedBytes(int width, int height);

    // Byte access to the input; Read never reads past the end and returns what it got.
    std::size_t Read(void* buffer, std::size_t count);
    void ReadExact(void* buffer, std::size_t count);
    int ReadByte();  // -1 at the end
    void SkipSubBlocks(int firstLength);

    const uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    std::size_t bitmapBytes_ = 0;
};

}  // namespace media
