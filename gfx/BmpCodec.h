#pragma once
// Windows bitmap files (uncompressed, 1/4/8/24/32 bits per pixel, bottom-up or top-down; 32-bit
// ones also with bit fields in the plain blue-green-red layout).
//
// Reading consumes exactly: the 14-byte file header, the info header (its length is its own first
// 4 bytes; 12-byte core headers included), the bit masks after a 40-byte header, the colour table (biClrUsed
// entries, or 2^bits when that is 0 and bits <= 8; biClrUsed entries are skipped for deeper pictures), and
// the pixel rows, each padded to 4 bytes — the rows follow the colour table without a gap, so the stream ends
// right after the last row (data that follows, such as the sounds of the menu file, stays unread).
// LoadFile-style callers that want bfOffBits honoured pass honourPixelOffset.
// Every failure raises EInvalidGraphic naming what was wrong; nothing is read outside the data.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace base {
class TStream;
}

namespace gfx {

class TBitmap;

struct TBmpReadOptions {
    // Skip forward to bfOffBits when it lies beyond the colour table (a gap). Off for embedded
    // pictures, whose header offsets are not trusted.
    bool honourPixelOffset = false;
    // Pictures above this many pixels are refused (damaged headers ask for absurd sizes).
    int64_t maxPixels = int64_t(16384) * 16384;
};

// 1-bit pictures become pf1bit (palette kept), 4- and 8-bit ones pf8bit, deeper ones pf32bit.
void ReadBmp(base::TStream& stream, TBitmap& bitmap, const TBmpReadOptions& options = {});
// The same over a buffer; returns the number of bytes consumed.
size_t ReadBmp(const uint8_t* data, size_t size, TBitmap& bitmap, const TBmpReadOptions& options = {});

// pf1bit -> 1 bit, pf8bit -> 8 bit with a 256-entry table, else 24 bit; bottom-up.
void WriteBmp(base::TStream& stream, const TBitmap& bitmap);
// bitsPerPixel 1, 4, 8, 24 or 32 (palette formats need a palette bitmap of at most 2^bits
// colours; 32-bit writes a zero fourth byte). topDown writes a negative height.
std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap, int bitsPerPixel = 0, bool topDown = false);

}  // namespace gfx
