#include "tools/makedisc/SkinArt.h"

#include <algorithm>
#include <cmath>

#include "tools/makedisc/Theme.h"
#include "tools/makedisc/Typeface.h"

using namespace theme;

namespace {

// Where the layout puts things (window coordinates). Both panels end at 470, where the info page
// ends, so that nothing of them shows below it.
constexpr double kSidebarLeft = 5, kSidebarTop = 24, kSidebarRight = 195, kSidebarBottom = 470;
constexpr double kPageLeft = 197, kPageTop = 24, kPageRight = 637, kPageBottom = 470;

void DrawTitleStrip(Raster& r, int width, const std::string& caption) {
    r.FillRect(0, 0, width, 20, [](double, double y) { return Mix(Hex(0x2A3C66), Hex(0x172239), y / 20); });
    r.FillRect(0, 0, width, 1, Hex(0xFFFFFF), 0.10);
    // A hairline in the accent colours closes the strip.
    r.FillRect(
        0, 20, width, 1, [width](double x, double) { return Mix(kAmber, kBlue, x / width); }, 0.9);
    theme::DrawDisc(r, 11, 10, 6.5, Hex(0x172239));
    Typeface::SansBold().Draw(r, 23, 14.5, caption, 11, Hex(0xF3F6FC));
}

void DrawStepCard(Raster& r, double x, double y, int number, const char* title, const char* line1,
                  const char* line2) {
    r.Shadow(x, y + 2, x + 125, y + 112, 10, 10, Hex(0x5A4A30), 0.18);
    r.RoundRect(x, y, x + 125, y + 112, 10, Hex(0xFFFFFF), 0.92);
    r.RoundFrame(x, y, x + 125, y + 112, 10, 1, Hex(0xE2DACB));
    const Rgb accent = number == 1 ? kBlue : number == 2 ? Hex(0x14B8A6) : kAmber;
    r.Circle(x + 62.5, y + 26, 14, accent);
    Typeface::SansBold().DrawCentred(r, x + 62.5, y + 31.5, std::to_string(number), 15, kWhite);
    Typeface::SansBold().DrawCentred(r, x + 62.5, y + 63, title, 11, kInk);
    Typeface::Sans().DrawCentred(r, x + 62.5, y + 81, line1, 10, kMuted);
    Typeface::Sans().DrawCentred(r, x + 62.5, y + 95, line2, 10, kMuted);
}

}  // namespace

Raster PaintSkin(const DiscTitle& title) {
    Raster r(640, 480);
    r.FillRect(0, 0, 640, 480, theme::Backdrop);
    DrawTitleStrip(r, 640, title.Caption);

    // Sidebar: logo on top, the category column, the banner well at the bottom. Its fill depends on y
    // only, so the program list panel (whose snapshot is taken 7 pixels left of where it is shown)
    // matches the skin around it.
    r.Shadow(kSidebarLeft, kSidebarTop + 3, kSidebarRight, kSidebarBottom, 10, 12, Hex(0), 0.55);
    r.RoundRect(kSidebarLeft, kSidebarTop, kSidebarRight, kSidebarBottom, 10,
                [](double x, double y) { return theme::Weave(theme::Sidebar(y), int(x), int(y), 0.6); });
    r.RoundFrame(kSidebarLeft, kSidebarTop, kSidebarRight, kSidebarBottom, 10, 1, kSidebarEdge);
    r.FillRect(12, 126, 176, 1, Hex(0xFFFFFF), 0.08);
    r.RoundRect(11, 391, 189, 467, 6, Hex(0x070B16), 0.55);
    r.RoundFrame(11, 391, 189, 467, 6, 1, Hex(0x33446C), 0.9);

    // The page: paper with an accent edge on top, a framed place for the screenshot, a card for the
    // facts and a well for the description.
    r.Shadow(kPageLeft, kPageTop + 4, kPageRight, kPageBottom, 10, 14, Hex(0), 0.6);
    r.RoundRect(kPageLeft, kPageTop, kPageRight, kPageBottom, 10, [](double x, double y) {
        if (y < kPageTop + 3) return Mix(kAmber, kBlue, (x - kPageLeft) / (kPageRight - kPageLeft));
        return Paper(y, kPageTop, kPageBottom);
    });
    r.Shadow(215, 57, 476, 251, 3, 10, Hex(0x4A3C28), 0.22);
    r.RoundFrame(213, 53, 478, 253, 3, 1, Hex(0xD6CEBF));
    r.FillRect(214, 54, 263, 198, Hex(0xF0F0F0));  // the thumbnail panel's own colour
    r.RoundRect(480, 50, 621, 252, 8, Hex(0xFFFFFF), 0.55);
    r.RoundFrame(480, 50, 621, 252, 8, 1, Hex(0xE2DACB));
    r.RoundRect(210, 257, 624, 433, 8, Hex(0xFFFFFF), 0.55);
    r.RoundFrame(210, 257, 624, 433, 8, 1, Hex(0xE2DACB));
    return r;
}

Raster PaintStartPicture(const Raster& skin, const DiscTitle& title) {
    Raster r = skin.Crop(200, 25, 425, 440);
    // The skin's page decorations belong to the program page; the start page is plain paper below
    // the accent edge, which it keeps from the skin so that both meet without a seam.
    r.FillRect(0, static_cast<int>(kPageTop) + 3 - 25, 425, 440,
               [](double, double y) { return Paper(y + 25, kPageTop, kPageBottom); });
    for (int i = 0; i < 5; ++i) r.Ring(212, 118, 80 + 16 * i, 1, Hex(0xD8CFBF), 0.5 - 0.09 * i);
    theme::DrawDisc(r, 212, 118, 72, Hex(0xF4F0E8));
    Typeface::SansBold().DrawCentred(r, 212.5, 236, "Willkommen!", 28, kInk);
    Typeface::Sans().DrawCentred(r, 212.5, 262, title.Subtitle, 13, kMuted);
    DrawStepCard(r, 12, 288, 1, "Rubrik wählen", "in der Leiste links", "eine Rubrik anklicken");
    DrawStepCard(r, 150, 288, 2, "Programm ansehen", "Bild, Fakten und", "Beschreibung lesen");
    DrawStepCard(r, 288, 288, 3, "Loslegen", "starten, installieren", "oder kopieren");
    Typeface::Sans().DrawCentred(r, 212.5, 425, "Tipp: Mit „Suche“ finden Sie jedes Programm der Sammlung.",
                                 10.5, kMuted);
    return r;
}

Raster PaintInfoBackground(const DiscTitle& title) {
    Raster r(640, 450);
    r.FillRect(0, 0, 640, 450, [](double x, double y) { return theme::Backdrop(x, y + 20); });
    for (int i = 0; i < 4; ++i) r.Ring(560, 64, 70 + 18 * i, 1, Hex(0x5A7BB5), 0.35 - 0.07 * i);
    theme::DrawDisc(r, 560, 64, 58, Hex(0x142040));
    Typeface::SansBold().Draw(r, 28, 62, "Impressum", 32, kWhite);
    Typeface::Sans().Draw(r, 30, 90, title.Brand + " – " + title.Subtitle, 14, Hex(0xB8C6E2));
    r.FillRect(30, 104, 120, 3, [](double x, double) { return Mix(kAmber, kBlue, (x - 30) / 120); });

    // Publisher and contact on the dark side; the links are drawn by the page at (12, 169) and (12, 185).
    Typeface::SansBold().Draw(r, 12, 134, "HERAUSGEBER", 10, kAmber);
    Typeface::SansBold().Draw(r, 12, 154, title.Publisher, 14, kWhite);

    // Credits on a paper card; the names are drawn at (275, 182), (275, 257) and (275, 332).
    r.Shadow(262, 146, 628, 372, 12, 16, Hex(0), 0.6);
    r.RoundRect(262, 146, 628, 372, 12, [](double, double y) { return Paper(y, 146, 372); });
    const char* headings[] = {"ZUSAMMENSTELLUNG", "REDAKTIONSASSISTENZ", "PROGRAMMIERUNG"};
    for (int i = 0; i < 3; ++i) {
        const double y = 182 + 75 * i;
        r.Circle(280, y - 9, 3, i == 0 ? kBlue : i == 1 ? Hex(0x14B8A6) : kAmber);
        Typeface::SansBold().Draw(r, 289, y - 5, headings[i], 9.5, Hex(0x8A6A3A));
        if (i > 0) r.FillRect(275, static_cast<int>(y) - 26, 340, 1, Hex(0xDCD3C3));
    }

    // Bottom strip for the copyright line at (12, 430) and the close button at (525, 425).
    r.FillRect(0, 414, 640, 36, Hex(0x060A14), 0.55);
    r.FillRect(
        0, 414, 640, 1, [](double x, double) { return Mix(kAmber, kBlue, x / 640); }, 0.8);
    return r;
}

Raster PaintSearchSkin() {
    Raster r(380, 120);
    r.FillRect(0, 0, 380, 120, [](double, double y) { return Paper(y, 20, 120); });
    DrawTitleStrip(r, 380, "Programmsuche");
    r.Ring(330, 100, 10, 3, Hex(0xC9BFAE), 0.6);
    r.Line(337, 107, 346, 116, 4, Hex(0xC9BFAE), 0.6);
    // A plain frame: the dialog has no system border.
    r.FillRect(0, 21, 1, 99, Hex(0x4A5878));
    r.FillRect(379, 21, 1, 99, Hex(0x4A5878));
    r.FillRect(0, 119, 380, 1, Hex(0x4A5878));
    return r;
}

Raster PaintLogo(const Raster& skin, const DiscTitle& title) {
    Raster r = skin.Crop(10, 25, 190, 101);
    theme::DrawDisc(r, 40, 50, 31, theme::Sidebar(75));
    const double room = 92;
    const double brandPx =
        std::min(27.0, 27.0 * room / std::max(1.0, Typeface::SansBold().Measure(title.Brand, 27)));
    Typeface::SansBold().Draw(r, 82, 48, title.Brand, brandPx, kWhite);
    Typeface::SansBold().Draw(r, 83, 68, "2026", 15, kAmber);
    Typeface::Sans().Draw(r, 83, 86, "Software-Sammlung", 10, Hex(0xAFC0DD));
    return r;
}

Raster PaintHeaderBar(const Raster& skin) {
    Raster r = skin.Crop(15, 128, 170, 20);
    r.RoundRect(0, 0, 170, 20, 5, [](double x, double y) {
        return Mix(Mix(kBlue, kBlueDeep, y / 20), Hex(0x4338CA), x / 340);
    });
    r.FillRect(4, 1, 162, 1, Hex(0xFFFFFF), 0.25);
    return r;
}

Raster PaintFactBar(const Raster& skin) {
    Raster r = skin.Crop(485, 55, 130, 13);
    r.RoundRect(0, 0, 130, 13, 4, [](double, double y) { return Mix(Hex(0x3E5584), Hex(0x2A3A5E), y / 13); });
    return r;
}
