#include "tools/makedisc/Mockup.h"

#include <algorithm>

#include "tools/makedisc/Theme.h"
#include "tools/makedisc/Typeface.h"

namespace {

const ImageStrip& Find(const std::vector<ImageStrip>& lists, const std::string& name) {
    return *std::find_if(lists.begin(), lists.end(), [&](const ImageStrip& s) { return s.Name == name; });
}

// One band of one image, right-aligned in a button of the given width (what a button shows when its
// width does not exceed the image's), masked.
void Band(Raster& r, const ImageStrip& list, int image, int state, int x, int y, int width) {
    const int band = list.ImageHeight / 4;
    const int shift = width - list.ImageWidth;
    for (int yy = 0; yy < band; ++yy)
        for (int xx = std::max(0, -shift); xx < list.ImageWidth; ++xx) {
            const int sx = image * list.ImageWidth + xx, sy = state * band + yy;
            if (!list.Transparent[static_cast<size_t>(sy) * list.Colour.Width() + sx])
                r.Blend(x + shift + xx, y + yy, list.Colour.At(sx, sy), 1.0);
        }
}

}  // namespace

Raster MockStartPage(const Raster& skin, const Raster& logo, const Raster& start, const Raster& banner,
                     const std::vector<ImageStrip>& lists, const std::vector<std::string>& categories) {
    Raster r = skin;
    r.Draw(logo, 10, 25);
    r.Draw(start, 200, 25);
    r.Draw(banner, 15, 395);
    const ImageStrip& rows = Find(lists, "ilButtons2");
    const bool paging = categories.size() > 13;
    const int shown = paging ? 10 : static_cast<int>(categories.size());
    const int first = paging ? 153 : 130;
    for (int k = 0; k < shown; ++k) {
        const int y = first + 20 * k;
        Band(r, rows, 0, k == 2 ? 1 : 0, 15, y, 170);  // the third row as if the mouse were over it
        Typeface::Sans().Draw(r, 25, y + 14, categories[k], 11, theme::kWhite);
    }
    if (paging) {
        Band(r, Find(lists, "ilButtons3"), 0, 3, 31, 130, 133);
        Band(r, Find(lists, "ilButtons3"), 1, 0, 31, first + 20 * shown + 3, 133);
    }
    const ImageStrip& title = Find(lists, "ilButtons4");
    const char* glyphs[] = {"i", "–", "×"};
    for (int i = 0; i < 3; ++i) {
        Band(r, title, 0, 0, 577 + 17 * i, 2, 17);
        Typeface::SansBold().DrawCentred(r, 577 + 17 * i + 8.5, 15, glyphs[i], 11, theme::kWhite);
    }
    return r;
}

Raster ImageListSheet(const std::vector<ImageStrip>& lists, int scale) {
    int width = 0, height = 0;
    for (const auto& list : lists)
        width = std::max(width, list.Colour.Width()), height += list.Colour.Height() + 4;
    Raster sheet(width * scale, height * scale, Hex(0x808080));
    int top = 0;
    for (const auto& list : lists) {
        for (int y = 0; y < list.Colour.Height(); ++y)
            for (int x = 0; x < list.Colour.Width(); ++x) {
                const bool clear = list.Transparent[static_cast<size_t>(y) * list.Colour.Width() + x];
                const Rgb c =
                    clear ? ((x / 4 + y / 4) % 2 ? Hex(0xFFFFFF) : Hex(0xDDDDDD)) : list.Colour.At(x, y);
                sheet.FillRect(x * scale, (top + y) * scale, scale, scale, c);
            }
        top += list.Colour.Height() + 4;
    }
    return sheet;
}
