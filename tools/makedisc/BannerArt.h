#pragma once
// The three 170×70 GIF banners of the sample disc: banner 1 loops for ever (a light sweeps over a
// subscription offer), banner 2 plays once (a headline slides in and stays), banner 3 is a still.
#include <array>
#include <string>
#include <vector>

#include "tools/makedisc/Raster.h"

struct Banner {
    std::vector<Raster> Frames;
    std::vector<int> DelaysCs;  // per frame, in hundredths of a second
    int LoopCount = -1;         // -1: no loop block (plays once); 0: for ever
    std::string Gif;            // the encoded file
};

std::array<Banner, 3> PaintBanners();
