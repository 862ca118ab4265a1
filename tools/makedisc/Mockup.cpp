#include "tools/makedisc/Mockup.h"

#include <algorithm>
#include <cmath>

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

// A button stretched as the image-list button does it: caps of roundWidth, a repeated strip between.
void Stretched(Raster& r, const ImageStrip& list, int image, int state, int x, int y, int width,
               int roundWidth) {
    Band(r, list, image, state, x, y, list.ImageWidth);
    Band(r, list, image, state, x, y, width);
    const int band = list.ImageHeight / 4;
    for (int i = 0; i <= width - 2 * roundWidth; ++i)
        for (int yy = 0; yy < band; ++yy)
            for (int dx = 0; dx < 2; ++dx)
                r.At(x + roundWidth + i + dx, y + yy) =
                    list.Colour.At(image * list.ImageWidth + roundWidth + 1 + dx, state * band + yy);
}

void Wrapped(Raster& r, double x, double y, double width, double bottom, const std::vector<std::string>& text,
             double px) {
    const double line = px * 1.36;
    for (const auto& para : text) {
        std::vector<std::string> lines = Typeface::Sans().Wrap(para, px, width);
        if (lines.empty()) lines.emplace_back();  // a paragraph without words still takes a line
        for (const std::string& current : lines) {
            if (y + line <= bottom) Typeface::Sans().Draw(r, x, y + px, current, px, Hex(0));
            y += line;
        }
    }
}

}  // namespace

Raster MockProgramPage(const Raster& skin, const Raster& logo, const Raster& headerBar, const Raster& factBar,
                       const std::vector<ImageStrip>& lists, const PageMock& page) {
    Raster r = skin;
    r.Draw(logo, 10, 25);
    // Program list column at (15, 128), its background taken from the skin at its form place (8, 128).
    r.Draw(skin.Crop(8, 128, 170, 265), 15, 128);
    r.Draw(headerBar, 15, 128);
    Typeface::Sans().Draw(r, 20, 143, page.Category, 11, theme::kWhite);
    r.FillRect(15, 148, 170, 214, Hex(0));
    for (size_t i = 0; i < page.Programs.size(); ++i) {
        const int y = 149 + 14 * static_cast<int>(i);
        if (i == 0) r.FillRect(16, y, 156, 14, Hex(0xC0C0C0));
        Typeface::Sans().Draw(r, 19, y + 11, page.Programs[i], 10.5, i == 0 ? Hex(0) : theme::kWhite);
    }
    r.FillRect(15, 361, 170, 15, Hex(0xD4D0C8));
    Typeface::Sans().DrawCentred(r, 100, 372, "Rubrikauswahl", 10, Hex(0));
    const std::string count = "1/" + std::to_string(page.Programs.size());
    Typeface::Sans().Draw(r, 185 - Typeface::Sans().Measure(count, 10.5), 387, count, 10.5, theme::kWhite);

    // The page.
    Typeface::SansBold().Draw(r, 208, 41, page.Programs.front(), 15, Hex(0));
    r.FillRect(200 + 8 + static_cast<int>(Typeface::SansBold().Measure(page.Programs.front(), 15)) + 6, 34,
               420, 1, Hex(0xA09683));
    r.FillRect(215, 55, 261, 196, Hex(0xF0F0F0));
    if (page.Screenshot.Width() > 0) {
        const int w = page.Screenshot.Width(), h = page.Screenshot.Height();
        if (w < 261 || h < 196) {
            const Raster clip = page.Screenshot.Crop(std::max(0, (w - 261) / 2), std::max(0, (h - 196) / 2),
                                                     std::min(w, 261), std::min(h, 196));
            r.Draw(clip, 215 + std::max(0, (261 - w) / 2), 55 + std::max(0, (196 - h) / 2));
        } else {
            const bool byWidth = 196.0 / h > 261.0 / w;
            const int sw = byWidth ? 261 : static_cast<int>(std::lround(double(w) * 196 / h));
            const int sh = byWidth ? static_cast<int>(std::lround(double(h) * 261 / w)) : 196;
            r.Draw(page.Screenshot.Scaled(sw, sh), 215 + (261 - sw) / 2, 55 + (196 - sh) / 2);
        }
    }
    for (size_t k = 0; k < page.Facts.size(); ++k) {
        const int top = 55 + 33 * static_cast<int>(k);
        r.Draw(factBar, 485, top);
        Typeface::SansBold().DrawCentred(r, 550, top + 10.5, page.Facts[k].first, 9.5, theme::kWhite);
        std::string value = page.Facts[k].second;
        Typeface::Sans().DrawCentred(r, 550, top + 25, value, 9, Hex(0));
    }
    const ImageStrip& glyphs = Find(lists, "ilGlyphs1");
    Band(r, glyphs, 0, 0, 586, 37, 16);
    Band(r, glyphs, 1, 0, 606, 37, 16);
    const bool features = page.Features.size() >= 3;
    Wrapped(r, 216, 261, 378, features ? 261 + 146 : 261 + 166, page.Text, 10);
    if (features) {
        Typeface::SansBold().Draw(r, 216, 423, "Besonderheiten:", 10, Hex(0));
        Typeface::Sans().Draw(r, 328, 423, page.Features, 10, Hex(0));
    }
    // The description's scroll bar.
    r.FillRect(599, 260, 12, 148, Hex(0xEFE9E0));
    r.FillRect(599, 260, 12, 17, Hex(0xFFFFFF));
    r.FillRect(599, 391, 12, 17, Hex(0xFFFFFF));
    r.FillRect(599, 277, 12, 17, Hex(0xA29A82));
    const ImageStrip& buttons = Find(lists, "ilButtons1");
    struct Button {
        const char* Caption;
        int X, Image;
        bool Enabled;
    };
    const Button row[] = {{"Suche", 215, 1, true},
                          {"Starten", 357, 0, page.Start},
                          {"Kopieren", 443, 0, page.Start || page.Install || page.Unpack},
                          {page.Unpack ? "Entpacken" : "Installieren", 529, 0, page.Install || page.Unpack}};
    for (const Button& b : row) {
        Stretched(r, buttons, b.Image, b.Enabled ? 0 : 3, b.X, 435, 80, 15);
        Typeface::SansBold().DrawCentred(r, b.X + 40, 449, b.Caption, 10,
                                         b.Enabled ? theme::kWhite : Hex(0xC0C0C0));
    }
    return r;
}

Raster MockInfoPage(const Raster& skin, const Raster& background, const std::vector<ImageStrip>& lists,
                    const std::vector<std::string>& credits, const std::string& mail,
                    const std::string& web) {
    Raster r = skin;
    r.Draw(background, 0, 20);
    const double tops[] = {182, 257, 332};
    const std::string names[] = {credits[0], credits[1], "morvane.development"};
    for (int i = 0; i < 3; ++i) Typeface::SansBold().Draw(r, 275, 20 + tops[i] + 14, names[i], 15, Hex(0));
    Typeface::SansBold().Draw(r, 12, 20 + 430 + 11, credits[2], 12, Hex(0x9FCBFF));
    for (auto [text, top] : {std::pair{mail, 169}, std::pair{web, 185}}) {
        Typeface::SansBold().Draw(r, 12, 20 + top + 10, text, 11, theme::kWhite);
        r.FillRect(12, 20 + top + 12, static_cast<int>(Typeface::SansBold().Measure(text, 11)), 1,
                   theme::kWhite);
    }
    Stretched(r, Find(lists, "ilButtons1"), 0, 0, 525, 20 + 425, 100, 15);
    Typeface::SansBold().DrawCentred(r, 575, 20 + 439, "Schließen", 10, theme::kWhite);
    const ImageStrip& title = Find(lists, "ilButtons4");
    const char* glyphs[] = {"i", "–", "×"};
    for (int i = 0; i < 3; ++i) {
        Band(r, title, 0, i == 0 ? 3 : 0, 577 + 17 * i, 2, 17);
        Typeface::SansBold().DrawCentred(r, 577 + 17 * i + 8.5, 15, glyphs[i], 11,
                                         i == 0 ? Hex(0xC0C0C0) : theme::kWhite);
    }
    return r;
}

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
