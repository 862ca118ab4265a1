#pragma once
// Pictures made small: the integer scaling arithmetic, the fit of a picture into a frame, a box
// filter, and the JPEG thumbnail pipeline that lets the decoder's DCT scaling do most of the work.
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Types.h"

namespace gfx {

// Windows' MulDiv: a*b/c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// source scaled to fit target keeping its proportions, centred in it; false for an empty source.
bool FitRect(const TRect& source, const TRect& target, TRect& result);

// Box-filter reduction of a 32-bit picture to w x h: every source pixel counts once, so the
// thumbnail of a detailed screenshot stays calm instead of aliasing.
TBitmap BoxReduce(const TBitmap& src, int w, int h);

// The whole file in one read (a file that shrinks meanwhile keeps what was read); false when it
// cannot be opened.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

struct TThumbnail {
    TBitmap picture;
    TRect place{};        // where it stands in the frame
    bool fitted = false;  // reduced to fit (false: smaller than the frame, shown as it is)
};

// A JPEG for a frame of frameWidth x frameHeight: a picture smaller than the frame in either
// direction is decoded whole; a larger one is decoded at the largest DCT scale 1/n that still
// leaves the fitted size, then box-filtered to it. Damaged data throws EInvalidGraphic. At a
// desktop scale a fitted picture is made at the scaled size (a bitmap with that scale, Bitmap.h).
TThumbnail JpegThumbnail(const uint8_t* data, size_t size, int frameWidth, int frameHeight,
                         double scale = 1.0);

}  // namespace gfx
