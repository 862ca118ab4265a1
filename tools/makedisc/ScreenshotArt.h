#pragma once
// Screenshots of the catalogue's programs: a plausible program window of the requested size, drawn
// from the program's name, kind of window and description.
#include <string>
#include <vector>

#include "tools/makedisc/Raster.h"

struct ScreenshotRequest {
    std::string Title;  // UTF-8
    std::string
        Kind;  // editor, paint, table, player, browser, game, terminal, files, chart, dialog, map, calendar
    std::string Url;                // homepage, for the browser kind
    std::vector<std::string> Text;  // description paragraphs (UTF-8), for text-like kinds
    int Width = 0, Height = 0;
};

Raster PaintScreenshot(const ScreenshotRequest& shot);
