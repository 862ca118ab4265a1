#pragma once
// File images of the disc's pictures: uncompressed Windows bitmaps (24-bit, 8-bit palette, 1-bit
// masks) and baseline JPEG through libjpeg.
#include <string>
#include <vector>

#include "tools/makedisc/Quantizer.h"
#include "tools/makedisc/Raster.h"

std::string EncodeBmp24(const Raster& raster);
std::string EncodeBmp8(const IndexedImage& image);
// Monochrome mask in the image-list convention: bit 1 (white) = transparent, 0 (black) = opaque.
std::string EncodeBmpMask(int width, int height, const std::vector<bool>& transparent);
std::string EncodeJpeg(const Raster& raster, int quality);
// PNG for previews, and for the pictures built into the program (fastDecode: a palette when the
// colours fit one, and only the filters that are cheap to undo).
std::string EncodePng(const Raster& raster, bool fastDecode = false);
