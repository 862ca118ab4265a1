#pragma once
// The smallest logo a Menue.dat can carry (3x2 pixels, two colours), shared by the menu target's
// template and the seeds, so that both stay the file the kept inputs grew from.
#include <string>

#include "tools/common/BmpWriter.h"

inline std::string TinyLogo() {
    TBmpSpec logo;
    logo.Width = 3;
    logo.Height = 2;
    logo.BitCount = 8;
    logo.Palette = {0, 0xFFFFFF};
    logo.Pixels = {0, 1, 0, 1, 0, 1};
    return TBmpWriter::Write(logo);
}
