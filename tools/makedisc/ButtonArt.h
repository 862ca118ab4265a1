#pragma once
// The image lists of the main window, each a strip of images side by side with a 1-bit mask. Every
// image of a button list holds the four states stacked in equal bands: normal, hot, pressed, disabled.
// Pixels outside the mask carry the buttons' key colour 0x875F46, so they stay transparent even where
// an image is drawn without its mask.
#include <string>
#include <vector>

#include "tools/makedisc/Raster.h"

struct ImageStrip {
    std::string Name;  // component name of the list, e.g. "ilButtons2"
    int ImageWidth = 0;
    int ImageHeight = 0;
    int Count = 0;
    Raster Colour;                  // Count * ImageWidth by ImageHeight
    std::vector<bool> Transparent;  // the mask, one flag per pixel of Colour
};

// ilButtons1 (60×80, action buttons), ilButtons2 (170×80, category rows), ilButtons3 (134×92, arrows),
// ilButtons4 (17×68, title-bar buttons), ilGlyphs1 (16×16, full-screen and explorer glyphs).
std::vector<ImageStrip> PaintImageLists();
