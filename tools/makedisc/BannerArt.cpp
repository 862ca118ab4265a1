#include "tools/makedisc/BannerArt.h"

#include <algorithm>
#include <cmath>

#include "tools/common/GifWriter.h"
#include "tools/makedisc/Quantizer.h"
#include "tools/makedisc/Theme.h"
#include "tools/makedisc/Typeface.h"

using namespace theme;

namespace {

constexpr int kW = 170, kH = 70;

void Encode(Banner& banner) {
    // One palette for all frames: quantise them stacked into one picture.
    Raster all(kW, kH * static_cast<int>(banner.Frames.size()));
    for (size_t i = 0; i < banner.Frames.size(); ++i) all.Draw(banner.Frames[i], 0, kH * static_cast<int>(i));
    const IndexedImage indexed = Quantize(all);
    std::vector<uint8_t> palette;
    for (Rgb c : indexed.Palette) palette.insert(palette.end(), {c.R, c.G, c.B});
    TGifWriter gif;
    gif.Header(kW, kH, palette);
    if (banner.LoopCount >= 0) gif.LoopCount(banner.LoopCount);
    for (size_t i = 0; i < banner.Frames.size(); ++i) {
        if (banner.Frames.size() > 1) gif.GraphicControl(banner.DelaysCs[i], 1);
        TGifImageSpec image;
        image.Width = kW;
        image.Height = kH;
        image.Pixels.assign(indexed.Pixels.begin() + static_cast<long>(i) * kW * kH,
                            indexed.Pixels.begin() + static_cast<long>(i + 1) * kW * kH);
        gif.Image(image);
    }
    gif.Trailer();
    banner.Gif = gif.Str();
}

Raster Base(Rgb a, Rgb b) {
    Raster r(kW, kH);
    r.FillRect(0, 0, kW, kH, [=](double x, double y) { return Mix(a, b, (x / kW + y / kH) / 2); });
    r.FillRect(0, 0, kW, 1, kWhite, 0.25);
    r.FillRect(0, kH - 1, kW, 1, Hex(0), 0.3);
    return r;
}

Banner Subscription() {
    Banner b;
    b.LoopCount = 0;
    for (int f = 0; f < 10; ++f) {
        Raster r = Base(Hex(0x1D4ED8), Hex(0x4338CA));
        // The light band sweeps from left to right once per pass.
        const double sweep = -40 + f * 25.0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const double d = std::abs((x - y * 0.4) - sweep);
                if (d < 14) r.Blend(x, y, kWhite, 0.22 * (1 - d / 14));
            }
        theme::DrawDisc(r, 30, 35, 20, Hex(0x2A3A9C));
        Typeface::SansBold().Draw(r, 58, 30, "SoftBox im Abo", 11.5, kWhite);
        Typeface::Sans().Draw(r, 58, 46, "12 Ausgaben, 2 gratis", 10, Hex(0xDCE6FF));
        const double pulse = 0.5 + 0.5 * std::cos(f * 2 * 3.14159265 / 10);
        r.RoundRect(112, 51, 164, 65, 7, Mix(kAmber, Hex(0xFDE68A), pulse * 0.5));
        Typeface::SansBold().DrawCentred(r, 138, 62, "Jetzt!", 9.5, Hex(0x1F2937));
        b.Frames.push_back(std::move(r));
        b.DelaysCs.push_back(f == 9 ? 120 : 12);
    }
    return b;
}

Banner Headline() {
    Banner b;  // no loop block: plays one pass and stays on its last frame
    for (int f = 0; f < 12; ++f) {
        Raster r = Base(Hex(0x0F766E), Hex(0x134E4A));
        const double t = std::min(1.0, f / 9.0), ease = 1 - std::pow(1 - t, 3);
        const double x = 180 - ease * 168;
        // A magazine cover rises into the right-hand corner.
        const double top = 74 - ease * 62;
        r.Shadow(126, top + 2, 160, top + 46, 2, 5, Hex(0), 0.35);
        r.RoundRect(126, top, 160, top + 46, 2, Hex(0xFFFFFF));
        r.FillRect(126, static_cast<int>(top), 34, 10, Hex(0x1D4ED8));
        r.FillRect(130, static_cast<int>(top) + 14, 26, 14, Hex(0xF59E0B));
        for (int i = 0; i < 3; ++i)
            r.FillRect(130, static_cast<int>(top) + 32 + 4 * i, 22 - 5 * i, 2, Hex(0x94A3B8));
        r.RoundRect(x, 10, x + 44, 26, 8, kAmber);
        Typeface::SansBold().DrawCentred(r, x + 22, 22, "NEU", 10, Hex(0x1F2937));
        Typeface::SansBold().Draw(r, x + 2, 46, "Heft 3/2026", 15, kWhite);
        Typeface::Sans().Draw(r, x + 2, 61, "mit 64 Programmen", 10, Hex(0xCCFBF1),
                              std::clamp(t * 1.5 - 0.4, 0.0, 1.0));
        b.Frames.push_back(std::move(r));
        b.DelaysCs.push_back(f == 11 ? 200 : 8);
    }
    return b;
}

Banner Contest() {
    Banner b;
    Raster r = Base(Hex(0xBE185D), Hex(0x7C3AED));
    // A gift box.
    r.RoundRect(14, 28, 50, 60, 3, Hex(0xFDE68A));
    r.RoundRect(11, 21, 53, 31, 3, Hex(0xFCD34D));
    r.FillRect(29, 21, 6, 39, Hex(0xDC2626));
    r.Ring(26, 16, 5, 2.5, Hex(0xDC2626));
    r.Ring(38, 16, 5, 2.5, Hex(0xDC2626));
    Typeface::SansBold().Draw(r, 62, 30, "Gewinnspiel", 14, kWhite);
    Typeface::Sans().Draw(r, 62, 46, "Mitmachen &", 10, Hex(0xFCE7F3));
    Typeface::Sans().Draw(r, 62, 59, "Notebook gewinnen", 10, Hex(0xFCE7F3));
    b.Frames.push_back(std::move(r));
    b.DelaysCs.push_back(0);
    return b;
}

}  // namespace

std::array<Banner, 3> PaintBanners() {
    std::array<Banner, 3> banners{Subscription(), Headline(), Contest()};
    for (Banner& b : banners) Encode(b);
    return banners;
}
