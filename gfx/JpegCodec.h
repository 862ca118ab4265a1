#pragma once
// JPEG through libjpeg-turbo. Damaged data raises EInvalidGraphic with the library's message —
// the library's error exit never ends the process.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/Types.h"

namespace gfx {

class TBitmap;

bool IsJpeg(const uint8_t* data, size_t size);  // by the SOI marker FF D8 FF

// Picture size from the header only.
TSize JpegSize(const uint8_t* data, size_t size);

// Full decode (scaleDenom 1) or DCT-scaled decode at 1/2, 1/4, 1/8 (scaleDenom 2, 4, 8) into a
// pf32bit bitmap. Grey and CMYK pictures are converted to RGB.
void DecodeJpeg(const uint8_t* data, size_t size, TBitmap& bitmap, int scaleDenom = 1);

// Baseline encoder for tests and disc tools; quality 1..100.
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality = 90);

}  // namespace gfx
