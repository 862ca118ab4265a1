#pragma once
// PNG through libpng. Damaged data raises EInvalidGraphic; no libpng error ends the process.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

class TBitmap;

bool IsPng(const uint8_t* data, size_t size);

// Any PNG colour type/depth into a pf32bit bitmap; alpha is dropped (the result is opaque).
// checkSums false: the compressed data's checksum is not computed, for pictures compiled into the
// program (they cannot have been damaged on the way).
void DecodePng(const uint8_t* data, size_t size, TBitmap& bitmap, bool checkSums = true);
// 8-bit RGB, opaque.
std::vector<uint8_t> EncodePng(const TBitmap& bitmap);
// The name is a native path in cp1252; EFOpenError when it cannot be created.
void SavePngFile(const TBitmap& bitmap, const std::string& fileName);

}  // namespace gfx
