#pragma once
// DecodeGIFImageData — the LZW image data of one frame into its pixels: a bit reader feeds codes to
// the code table, whose strings a row writer stores, and the result says how the data ended.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "media/GIFFrame.h"
#include "media/GIFFrameStatus.h"

namespace media {

// Reads from data[pos] (the root code size byte) to the end code and the rest of its sub-blocks, or as
// far as the data is readable; pos is left after what was read. Fills frame.Pixels, and frame.Mask
// for a transparent frame (pixels never stored stay 0 and transparent). onRows is asked every few
// rows of a large frame and may return False to cancel.
//
// The status is about the pixels: gsOk once every pixel is stored, whatever follows in the data;
// gsTruncated when the data ends (file end, terminator, end code) before the last pixel; gsDamaged
// when a code valid data cannot hold was met before the last pixel, even where decoding went on
// through it; gsCancelled when onRows cancelled (the pixels are then incomplete).
TGIFFrameStatus DecodeGIFImageData(TGIFFrame& frame, const uint8_t* data, std::size_t size, std::size_t& pos,
                                   std::function<bool()> onRows = nullptr);

}  // namespace media
