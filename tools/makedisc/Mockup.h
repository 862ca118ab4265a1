#pragma once
// Preview compositions for disc authors: the start page as the menu puts it together from the skin,
// logo, image lists and start picture, and an enlarged sheet of every image list.
#include <string>
#include <vector>

#include "tools/makedisc/ButtonArt.h"
#include "tools/makedisc/Raster.h"

Raster MockStartPage(const Raster& skin, const Raster& logo, const Raster& start, const Raster& banner,
                     const std::vector<ImageStrip>& lists, const std::vector<std::string>& categories);
// The page of one program with the program list beside it, as the menu lays them out.
struct PageMock {
    std::string Category;
    std::vector<std::string> Programs;                       // of the category; the first one is shown
    std::vector<std::pair<std::string, std::string>> Facts;  // key and value of the rows shown
    std::string Features;
    std::vector<std::string> Text;
    Raster Screenshot;
    bool Install = false, Unpack = false, Start = false;
};
Raster MockProgramPage(const Raster& skin, const Raster& logo, const Raster& headerBar, const Raster& factBar,
                       const std::vector<ImageStrip>& lists, const PageMock& page);
// The info page over the window, with the credits and contact links where the page puts them.
Raster MockInfoPage(const Raster& skin, const Raster& background, const std::vector<ImageStrip>& lists,
                    const std::vector<std::string>& credits, const std::string& mail, const std::string& web);
Raster ImageListSheet(const std::vector<ImageStrip>& lists, int scale);
