#pragma once
// The window pictures of the sample disc, placed after the main window's layout: the 640×480 skin,
// the start picture over the page, the info page background, the search dialog's skin, the logo and
// the two small bars of the program list heading and the fact keys.
#include <string>

#include "tools/makedisc/Raster.h"

struct DiscTitle {
    std::string Brand;     // large word in the logo, e.g. "SoftBox"
    std::string Subtitle;  // line under it
    std::string Caption;   // text of the title strip
    std::string Publisher;
};

Raster PaintSkin(const DiscTitle& title);
// 425×440 at (200, 25) of the skin, drawn over the skin's own page so that it blends in.
Raster PaintStartPicture(const Raster& skin, const DiscTitle& title);
// 640×450, shown at (0, 20) of the window.
Raster PaintInfoBackground(const DiscTitle& title);
// 380×120 skin of the search dialog.
Raster PaintSearchSkin();
// 190×101, shown stretched at (10, 25).
Raster PaintLogo(const Raster& skin, const DiscTitle& title);
// 170×20 heading bar of the program list (at (15, 128) when shown).
Raster PaintHeaderBar(const Raster& skin);
// 130×13 background bar of a fact key on the page.
Raster PaintFactBar(const Raster& skin);
