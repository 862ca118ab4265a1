#include "tools/makedisc/ButtonArt.h"

#include <algorithm>
#include <optional>

#include "tools/makedisc/Theme.h"

using namespace theme;

namespace {

enum State { kNormal, kHot, kPressed, kDisabled };

// Draws into a colour picture and, for the outline shapes, into a coverage picture that becomes the
// mask. Over a known backdrop, edge pixels are blended with it; otherwise they keep the pure colour.
class Sprite {
public:
    Sprite(int w, int h, std::optional<Rgb> backdrop)
        : colour(w, h, backdrop.value_or(Rgb{})), cover(w, h, Rgb{}), unblend_(!backdrop) {}

    void Body(double x0, double y0, double x1, double y1, double r, const Raster::Paint& paint) {
        colour.RoundRect(x0, y0, x1, y1, r, paint);
        cover.RoundRect(x0, y0, x1, y1, r, kWhite);
    }

    ImageStrip Finish(std::string name, int imageWidth, int imageHeight, int count) {
        ImageStrip strip{std::move(name), imageWidth, imageHeight, count, colour, {}};
        strip.Transparent.resize(colour.Pixels().size());
        for (int y = 0; y < colour.Height(); ++y)
            for (int x = 0; x < colour.Width(); ++x) {
                const double a = cover.At(x, y).R / 255.0;
                Rgb& c = strip.Colour.At(x, y);
                const bool transparent = a < 0.5;
                strip.Transparent[static_cast<size_t>(y) * colour.Width() + x] = transparent;
                if (transparent) {
                    c = kButtonKey;
                    continue;
                }
                if (unblend_ && a < 1) {
                    // Drawn over black: undo the edge's darkening.
                    c = Rgb{static_cast<uint8_t>(std::min(255.0, c.R / a)),
                            static_cast<uint8_t>(std::min(255.0, c.G / a)),
                            static_cast<uint8_t>(std::min(255.0, c.B / a))};
                }
                if (c == kButtonKey) c.B += 1;  // a visible pixel must never read as transparent
            }
        return strip;
    }

    Raster colour;
    Raster cover;

private:
    bool unblend_;
};

Raster::Paint Vertical(Rgb top, Rgb bottom, double y0, double h) {
    return [=](double, double y) { return Mix(top, bottom, std::clamp((y - y0) / h, 0.0, 1.0)); };
}

void ChevronRight(Raster& r, double cx, double cy, double w, double h, Rgb c, double width) {
    r.Line(cx - w / 2, cy - h / 2, cx + w / 2, cy, width, c);
    r.Line(cx + w / 2, cy, cx - w / 2, cy + h / 2, width, c);
}

void Chevron(Raster& r, double cx, double cy, double w, double h, bool up, Rgb c, double width = 2.2) {
    const double tip = up ? cy - h / 2 : cy + h / 2, base = up ? cy + h / 2 : cy - h / 2;
    r.Line(cx - w / 2, base, cx, tip, width, c);
    r.Line(cx, tip, cx + w / 2, base, width, c);
}

// Action buttons of the page and the dialogs: image 0 blue, image 1 amber ("Suche").
ImageStrip ActionButtons() {
    Sprite s(120, 80, std::nullopt);
    const Rgb faces[2][4][2] = {
        {{Hex(0x5B96F8), Hex(0x2563EB)},
         {Hex(0x7DB0FB), Hex(0x3B82F6)},
         {Hex(0x1E40AF), Hex(0x1D4ED8)},
         {Hex(0x7A8396), Hex(0x646D80)}},
        {{Hex(0xF8B84E), Hex(0xE0850B)},
         {Hex(0xFBCB6E), Hex(0xF59E0B)},
         {Hex(0xB4540A), Hex(0xD97706)},
         {Hex(0x7A8396), Hex(0x646D80)}},
    };
    for (int image = 0; image < 2; ++image)
        for (int state = 0; state < 4; ++state) {
            const double x0 = image * 60, y0 = state * 20;
            // The middle columns fill the whole band: the strip copy would show white where they did not.
            s.Body(x0, y0, x0 + 60, y0 + 20, 7,
                   Vertical(faces[image][state][0], faces[image][state][1], y0, 20));
            if (state != kPressed)
                s.colour.FillRect(static_cast<int>(x0) + 6, static_cast<int>(y0) + 1, 48, 1, kWhite,
                                  state == kDisabled ? 0.12 : 0.35);
            else
                s.colour.FillRect(static_cast<int>(x0) + 4, static_cast<int>(y0) + 1, 52, 2, Hex(0), 0.18);
        }
    return s.Finish("ilButtons1", 60, 80, 2);
}

// Category rows of the sidebar: a quiet list row, a blue pill when hot, amber when pressed.
ImageStrip CategoryRows() {
    Sprite s(170, 80, theme::Sidebar(260));
    for (int state = 0; state < 4; ++state) {
        const double y0 = state * 20;
        const int top = static_cast<int>(y0);
        switch (state) {
            case kNormal:
            case kDisabled: {
                const bool off = state == kDisabled;
                s.Body(0, y0, 170, y0 + 20, 0, [off](double, double) { return off ? Hex(0x18223A) : kRow; });
                s.colour.FillRect(0, top + 19, 170, 1, off ? Hex(0x202C48) : kRowLine);
                s.colour.RoundRect(3, y0 + 5, 6, y0 + 15, 1.5, off ? Hex(0x34425F) : kBlue, off ? 1.0 : 0.8);
                ChevronRight(s.colour, 161, y0 + 10, 4, 8, off ? Hex(0x34425F) : Hex(0x6E7FA6), 1.6);
                break;
            }
            case kHot:
                s.Body(0, y0, 170, y0 + 20, 5, [y0](double x, double y) {
                    return Mix(Mix(Hex(0x4B8DF8), kBlueDeep, (y - y0) / 20), Hex(0x4F46E5), x / 400);
                });
                s.colour.FillRect(4, top + 1, 162, 1, kWhite, 0.3);
                ChevronRight(s.colour, 161, y0 + 10, 4, 8, kWhite, 1.8);
                break;
            case kPressed:
                s.Body(0, y0, 170, y0 + 20, 5, Vertical(Hex(0xD97706), Hex(0xF59E0B), y0, 20));
                s.colour.FillRect(3, top + 1, 164, 2, Hex(0), 0.15);
                ChevronRight(s.colour, 161, y0 + 11, 4, 8, kWhite, 1.8);
                break;
        }
    }
    return s.Finish("ilButtons2", 170, 80, 1);
}

// Paging arrows above and below the category column (image 0 up, image 1 down). Buttons of 133 pixels
// show image columns 1 to 133, so everything is centred on column 67.
ImageStrip ArrowButtons() {
    Sprite s(268, 92, theme::Sidebar(250));
    for (int image = 0; image < 2; ++image)
        for (int state = 0; state < 4; ++state) {
            const double x0 = image * 134, y0 = state * 23;
            Rgb top, bottom, border, arrow;
            switch (state) {
                case kNormal:
                    top = Hex(0x2A3B64), bottom = Hex(0x1F2C4C), border = Hex(0x3D5181),
                    arrow = Hex(0xC7D2EA);
                    break;
                case kHot:
                    top = Hex(0x4B8DF8), bottom = kBlueDeep, border = Hex(0x8DB6FB), arrow = kWhite;
                    break;
                case kPressed:
                    top = Hex(0xD97706), bottom = kAmber, border = Hex(0xFCD34D), arrow = kWhite;
                    break;
                default:
                    top = Hex(0x1B2640), bottom = Hex(0x18223A), border = Hex(0x27355A),
                    arrow = Hex(0x45526F);
                    break;
            }
            s.Body(x0 + 1, y0 + 1, x0 + 134, y0 + 22, 8, Vertical(top, bottom, y0, 23));
            s.colour.RoundFrame(x0 + 1, y0 + 1, x0 + 134, y0 + 22, 8, 1, border);
            Chevron(s.colour, x0 + 67.5, y0 + 11.5, 14, 7, image == 0, arrow);
        }
    return s.Finish("ilButtons3", 134, 92, 2);
}

// Round-cornered squares behind the title-bar glyphs ("i", minimise, close).
ImageStrip TitleButtons() {
    Sprite s(17, 68, Mix(Hex(0x2A3C66), Hex(0x172239), 0.5));
    const Rgb faces[4][2] = {{Hex(0x3A4F80), Hex(0x2A3A62)},
                             {Hex(0x5B96F8), Hex(0x2563EB)},
                             {Hex(0xD97706), Hex(0xB45309)},
                             {Hex(0x2A3247), Hex(0x252C40)}};
    for (int state = 0; state < 4; ++state) {
        const double y0 = state * 17;
        s.Body(0, y0, 17, y0 + 17, 4, Vertical(faces[state][0], faces[state][1], y0, 17));
        if (state != kDisabled) s.colour.FillRect(3, static_cast<int>(y0), 11, 1, kWhite, 0.25);
    }
    return s.Finish("ilButtons4", 17, 68, 1);
}

// Image 0: full-screen view (a frame with arrows out of its corners); image 1: explorer (a folder).
ImageStrip Glyphs() {
    Sprite s(32, 16, std::nullopt);
    const Rgb ink = Hex(0x1E3A8A);
    s.Body(1, 1, 15, 15, 3, [](double, double y) { return Mix(Hex(0xE8F0FF), Hex(0xC9DAFB), y / 16); });
    s.colour.RoundFrame(1, 1, 15, 15, 3, 1.2, ink);
    for (auto [cx, cy, dx, dy] :
         {std::tuple{4.5, 4.5, -1, -1}, {11.5, 4.5, 1, -1}, {4.5, 11.5, -1, 1}, {11.5, 11.5, 1, 1}}) {
        s.colour.Line(8 + dx * 1.0, 8 + dy * 1.0, cx, cy, 1.3, ink);
        s.colour.Line(cx, cy, cx - dx * 2.5, cy, 1.3, ink);
        s.colour.Line(cx, cy, cx, cy - dy * 2.5, 1.3, ink);
    }
    const Rgb edge = Hex(0x9A5B0A);
    s.Body(16 + 1, 3, 16 + 7, 6, 1, [](double, double) { return Hex(0xF4B73E); });
    s.Body(16 + 1, 4.5, 16 + 15, 14, 1.5,
           [](double, double y) { return Mix(Hex(0xFCD06A), Hex(0xE9A023), (y - 4) / 10); });
    s.colour.RoundFrame(16 + 1, 4.5, 16 + 15, 14, 1.5, 1, edge);
    s.colour.FillRect(16 + 2, 7, 12, 1, Hex(0xFFF1C7), 0.9);
    return s.Finish("ilGlyphs1", 16, 16, 2);
}

}  // namespace

std::vector<ImageStrip> PaintImageLists() {
    return {ActionButtons(), CategoryRows(), ArrowButtons(), TitleButtons(), Glyphs()};
}
