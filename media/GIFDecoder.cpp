#include "media/GIFDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "media/GIFImageData.h"

namespace media {

TGIFDecoder::TGIFDecoder() {
    Reset();
}

void TGIFDecoder::Reset() {
    Frames.clear();
    Version = TGIFVersion::gvGIF87a;
    MaxColourBits = 0;
    LoopCount = 1;
    HasTransparency = false;
    KeepOnProcessing = true;
    DroppedFrame = TGIFFrameStatus::gsOk;
    bitmapBytes_ = 0;
    data_ = nullptr;
    size_ = pos_ = 0;
}

std::size_t TGIFDecoder::Read(void* buffer, std::size_t count) {
    std::size_t n = std::min(count, size_ - pos_);
    if (n > 0) std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

void TGIFDecoder::ReadExact(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) throw base::EReadError();
}

int TGIFDecoder::ReadByte() {
    return pos_ < size_ ? data_[pos_++] : -1;
}

void TGIFDecoder::SkipSubBlocks(int length) {
    // The lengths come from the file: a missing length byte ends the skipping like a zero one.
    while (length > 0) {
        pos_ = std::min(size_, pos_ + static_cast<std::size_t>(length));
        length = ReadByte();
    }
}

void TGIFDecoder::Progress() {
    if (!OnProgress) return;
    // Only a cancel given in this very call aborts; a decode that was cancelled inside a frame has
    // already dropped that frame and ends with the frames before it.
    const bool before = KeepOnProcessing;
    if (!OnProgress(static_cast<int64_t>(pos_), static_cast<int64_t>(size_))) KeepOnProcessing = false;
    if (before && !KeepOnProcessing) throw EGIFAbort();
}

bool TGIFDecoder::FrameProgress() {
    const bool before = KeepOnProcessing;
    if (!OnProgress(static_cast<int64_t>(pos_), static_cast<int64_t>(size_))) KeepOnProcessing = false;
    return !(before && !KeepOnProcessing);
}

std::size_t TGIFDecoder::FrameBytes(const TGIFFrame& f) {
    const std::size_t area = std::size_t(f.Width) * std::size_t(f.Height);
    std::size_t bytes = area;
    if (f.Transparent) bytes += area;
    if (f.Disposal == 3) bytes += area * 5;
    return bytes;
}

std::size_t TGIFDecoder::ComposedBytes(int width, int height) {
    return std::size_t(width) * std::size_t(height) * 5;
}

bool TGIFDecoder::Decode(const uint8_t* data, std::size_t size) {
    Reset();
    data_ = data;
    size_ = size;
    pos_ = 0;
    GraphicControl gce{};
    if (size == 0) return false;

    uint8_t sig[6];
    ReadExact(sig, 6);
    if (sig[0] != 'G' || sig[1] != 'I' || sig[2] != 'F') return false;
    Version = sig[4] == '9' ? TGIFVersion::gvGIF89a : TGIFVersion::gvGIF87a;

    uint8_t screen[7];
    ReadExact(screen, 7);
    ScreenWidth = screen[0] | (screen[1] << 8);
    ScreenHeight = screen[2] | (screen[3] << 8);
    GlobalPalette.fill(0);
    if (screen[4] & 0x80) {
        MaxColourBits = (screen[4] & 7) + 1;
        ReadExact(GlobalPalette.data(), std::size_t{3} << MaxColourBits);
    }
    ImageWidth = ScreenWidth;
    ImageHeight = ScreenHeight;

    while (pos_ < size_ && KeepOnProcessing) {
        Progress();
        uint8_t block[2] = {0, 0};
        Read(block, 2);
        if (block[0] == 0x21) {
            switch (block[1]) {
                case 0x01: {  // plain text: header block, then text sub-blocks
                    int n = ReadByte();
                    if (n > 0) pos_ = std::min(size_, pos_ + static_cast<std::size_t>(n));
                    SkipSubBlocks(n < 0 ? 0 : ReadByte());
                    break;
                }
                case 0xF9:
                    Read(gce.data(), gce.size());
                    break;
                case 0xFE:  // comment: not kept
                    SkipSubBlocks(ReadByte());
                    break;
                case 0xFF: {
                    int n = ReadByte();
                    uint8_t ident[256] = {};
                    std::size_t got = n > 0 ? Read(ident, static_cast<std::size_t>(n)) : 0;
                    int length = ReadByte();
                    if (got >= 11 && std::memcmp(ident, "NETSCAPE2.0", 11) == 0 && length > 0) {
                        uint8_t sub[256] = {};
                        // The sub-block id byte is not checked; a sub-block too short for the
                        // count leaves the loop count alone.
                        if (Read(sub, static_cast<std::size_t>(length)) >= 3)
                            LoopCount = sub[1] | (sub[2] << 8);
                        length = ReadByte();
                    }
                    SkipSubBlocks(length);
                    break;
                }
                default:  // unknown label: only the two bytes are dropped
                    break;
            }
        } else if (block[0] == 0x2C) {
            pos_ -= 2;
            if (FrameCount() >= kMaxFrames) break;
            Frames.push_back(std::make_unique<TGIFFrame>());
            TGIFFrame& frame = *Frames.back();
            TGIFFrameStatus status;
            try {
                status = ReadFrame(frame, gce);
            } catch (const std::bad_alloc&) {
                status = TGIFFrameStatus::gsTooLarge;
            }
            frame.Status = status;
            // A frame whose image data was read is kept whatever its status; one refused before its
            // data, or cancelled inside it, is dropped.
            if (frame.Pixels.empty() || status == TGIFFrameStatus::gsTooLarge ||
                status == TGIFFrameStatus::gsCancelled) {
                DroppedFrame = status;
                if (status == TGIFFrameStatus::gsDamaged) {  // no usable descriptor: nothing is worth keeping
                    pos_ = size_;
                    Progress();
                    return false;
                }
                Frames.pop_back();
                break;
            }
            bitmapBytes_ += FrameBytes(frame);
            MaxColourBits = std::max(MaxColourBits, frame.ColourBits);
            HasTransparency = HasTransparency || frame.Transparent;
            if (FirstImageOnly) {
                pos_ = size_;
                break;
            }
            gce.fill(0);
        } else if (block[0] == 0x3B) {
            break;
        }
        // Any other byte: the pair is dropped and the loop goes on.
    }
    Progress();

    for (const auto& f : Frames) {
        ImageWidth = std::max(ImageWidth, f->Left + f->Width);
        ImageHeight = std::max(ImageHeight, f->Top + f->Height);
    }
    return true;
}

TGIFFrameStatus TGIFDecoder::ReadFrame(TGIFFrame& frame, const GraphicControl& gce) {
    uint8_t d[10];
    if (Read(d, 10) != 10) return TGIFFrameStatus::gsTruncated;
    frame.Left = d[1] | (d[2] << 8);
    frame.Top = d[3] | (d[4] << 8);
    frame.Width = d[5] | (d[6] << 8);
    frame.Height = d[7] | (d[8] << 8);
    const uint8_t flags = d[9];
    if (d[0] != 0x2C || frame.Width == 0 || frame.Height == 0) return TGIFFrameStatus::gsDamaged;
    if (frame.Width > kMaxDimension || frame.Height > kMaxDimension) return TGIFFrameStatus::gsTooLarge;

    if (flags & 0x80) {
        frame.HasLocalPalette = true;
        frame.ColourBits = (flags & 7) + 1;
        Read(frame.Palette.data(), std::size_t{3} << frame.ColourBits);  // a short table stays zero-filled
    } else {
        frame.HasLocalPalette = false;
        frame.Palette = GlobalPalette;
        frame.ColourBits = 0;
    }
    frame.Interlaced = (flags & 0x40) != 0;

    const uint8_t packed = gce[1];
    frame.Disposal = static_cast<uint8_t>((packed >> 2) & 7);
    if (frame.Disposal > 3) frame.Disposal = 2;
    frame.Delay = (gce[2] | (gce[3] << 8)) * 10;
    frame.Transparent = (packed & 1) != 0;
    frame.TransparentIndex = gce[4];

    // Refused like an over-large frame once the whole picture would need too much memory (this
    // frame is already in Frames, so the composed size below covers it).
    std::size_t composedW = static_cast<std::size_t>(ScreenWidth),
                composedH = static_cast<std::size_t>(ScreenHeight);
    for (const auto& f : Frames) {
        composedW = std::max(composedW, static_cast<std::size_t>(f->Left + f->Width));
        composedH = std::max(composedH, static_cast<std::size_t>(f->Top + f->Height));
    }
    if (bitmapBytes_ + FrameBytes(frame) + composedW * composedH * 5 > kMaxBitmapBytes)
        return TGIFFrameStatus::gsTooLarge;

    std::function<bool()> onRows;
    if (OnProgress) onRows = [this] { return FrameProgress(); };
    const TGIFFrameStatus status = DecodeGIFImageData(frame, data_, size_, pos_, std::move(onRows));
    if (status == TGIFFrameStatus::gsCancelled) return status;

    frame.PaletteCount = 1 << (frame.HasLocalPalette ? frame.ColourBits : MaxColourBits);
    if (frame.Disposal == 3) {
        const std::size_t area = std::size_t(frame.Width) * std::size_t(frame.Height);
        frame.SavedImage.assign(area, 0);
        frame.SavedMask.assign(area, 0);
    }
    return status;
}

}  // namespace media
