#pragma once
// Preview compositions for disc authors: the start page as the menu puts it together from the skin,
// logo, image lists and start picture, and an enlarged sheet of every image list.
#include <string>
#include <vector>

#include "tools/makedisc/ButtonArt.h"
#include "tools/makedisc/Raster.h"

Raster MockStartPage(const Raster& skin, const Raster& logo, const Raster& start, const Raster& banner,
                     const std::vector<ImageStrip>& lists, const std::vector<std::string>& categories);
Raster ImageListSheet(const std::vector<ImageStrip>& lists, int scale);
