#include <gtest/gtest.h>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

using namespace gfx;

namespace {
// Channel-wise reference: every raster op is a bitwise function, so each byte can be checked alone.
TColor Each(TColor a, TColor b, TColor c, int (*f)(int, int, int)) {
    return RGB(f(GetRValue(a), GetRValue(b), GetRValue(c)) & 0xFF,
               f(GetGValue(a), GetGValue(b), GetGValue(c)) & 0xFF,
               f(GetBValue(a), GetBValue(b), GetBValue(c)) & 0xFF);
}
}  // namespace

TEST(CanvasRop, EveryNamedRasterOpIsPixelExact) {
    const TColor S = 0x3366C9, D = 0xA5F00F, P = 0x5AC3E1;
    TBitmap src(3, 2), dst(3, 2);
    src.Canvas().Brush().SetColor(S);
    src.Canvas().FillRect({0, 0, 3, 2});
    struct Case {
        uint32_t rop;
        int (*f)(int p, int s, int d);
    };
    const Case cases[] = {
        {SRCCOPY, [](int, int s, int) { return s; }},
        {SRCAND, [](int, int s, int d) { return s & d; }},
        {SRCINVERT, [](int, int s, int d) { return s ^ d; }},
        {SRCPAINT, [](int, int s, int d) { return s | d; }},
        {NOTSRCCOPY, [](int, int s, int) { return ~s; }},
        {SRCERASE, [](int, int s, int d) { return s & ~d; }},
        {MERGECOPY, [](int p, int s, int) { return p & s; }},
        {MERGEPAINT, [](int, int s, int d) { return ~s | d; }},
        {BLACKNESS, [](int, int, int) { return 0; }},
        {WHITENESS, [](int, int, int) { return 0xFF; }},
        {PATCOPY, [](int p, int, int) { return p; }},
        {PATINVERT, [](int p, int, int d) { return p ^ d; }},
        {DSTINVERT, [](int, int, int d) { return ~d; }},
        {0x00E20746,
         [](int p, int s, int d) { return (d & ~s) | (p & s); }},  // DSPDxax: pattern through a mask
    };
    for (const Case& c : cases) {
        dst.Canvas().Brush().SetColor(D);
        dst.Canvas().FillRect({0, 0, 3, 2});
        dst.Canvas().Brush().SetColor(P);
        dst.Canvas().BitBlt(1, 0, 2, 2, src.Canvas(), 0, 0, c.rop);
        EXPECT_EQ(dst.Pixel(1, 1), Each(P, S, D, c.f)) << std::hex << c.rop;
        EXPECT_EQ(dst.Pixel(2, 0), Each(P, S, D, c.f)) << std::hex << c.rop;
        EXPECT_EQ(dst.Pixel(0, 0), D) << "outside the target rectangle " << std::hex << c.rop;
    }
    // PatBlt needs no source at all.
    dst.Canvas().Brush().SetColor(clRed);
    dst.Canvas().PatBlt(0, 0, 1, 1, PATCOPY);
    EXPECT_EQ(dst.Pixel(0, 0), clRed);
}

TEST(CanvasRop, MonochromeConversionsFollowTextBackgroundAndReferenceColours) {
    // Mono -> colour: 0 bits take the target's text (font) colour, 1 bits its background (brush).
    TBitmap mono(2, 1, pf1bit);
    mono.SetPixelIndex(0, 0, 0);
    mono.SetPixelIndex(1, 0, 1);
    TBitmap colour(2, 1);
    colour.Canvas().Font().SetColor(clRed);
    colour.Canvas().Brush().SetColor(clBlue);
    colour.Canvas().BitBlt(0, 0, 2, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(colour.Pixel(0, 0), clRed);
    EXPECT_EQ(colour.Pixel(1, 0), clBlue);

    // The transparency-mask idiom: mask AND keeps what is under white (1) and clears under black.
    TBitmap composed(2, 1);
    composed.Canvas().Brush().SetColor(0x123456);
    composed.Canvas().FillRect({0, 0, 2, 1});
    composed.Canvas().Font().SetColor(clBlack);
    composed.Canvas().Brush().SetColor(clWhite);
    composed.Canvas().BitBlt(0, 0, 2, 1, mono.Canvas(), 0, 0, SRCAND);
    EXPECT_EQ(composed.Pixel(0, 0), clBlack);
    EXPECT_EQ(composed.Pixel(1, 0), TColor(0x123456));

    // Colour -> mono: pixels equal to the source's background (brush) colour become 1 (white).
    TBitmap glyph(3, 1);
    glyph.SetPixel(0, 0, clBlack);
    glyph.SetPixel(1, 0, 0x010101);
    glyph.SetPixel(2, 0, clWhite);
    glyph.Canvas().Brush().SetColor(clBlack);
    TBitmap mask(3, 1, pf1bit);
    mask.Canvas().BitBlt(0, 0, 3, 1, glyph.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(mask.PixelIndex(0, 0), 1);
    EXPECT_EQ(mask.PixelIndex(1, 0), 0);  // near black is not black
    EXPECT_EQ(mask.PixelIndex(2, 0), 0);

    // Drawing a whole mono bitmap shows its palette, whatever the canvas colours are.
    TBitmap shown(2, 1);
    shown.Canvas().Font().SetColor(clRed);
    shown.Canvas().Brush().SetColor(clBlue);
    shown.Canvas().Draw(0, 0, mono);
    EXPECT_EQ(shown.Pixel(0, 0), clBlack);
    EXPECT_EQ(shown.Pixel(1, 0), clWhite);
    EXPECT_EQ(shown.Canvas().Font().Color(), clRed);

    // Mono -> mono copies bits unchanged, whatever the colours.
    TBitmap mono2(2, 1, pf1bit);
    mono2.Canvas().Font().SetColor(clRed);
    mono2.Canvas().BitBlt(0, 0, 2, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(mono2.PixelIndex(0, 0), 0);
    EXPECT_EQ(mono2.PixelIndex(1, 0), 1);
    // BLACKNESS / WHITENESS on a mask.
    mono2.Canvas().PatBlt(0, 0, 1, 1, WHITENESS);
    mono2.Canvas().PatBlt(1, 0, 1, 1, BLACKNESS);
    EXPECT_EQ(mono2.PixelIndex(0, 0), 1);
    EXPECT_EQ(mono2.PixelIndex(1, 0), 0);
}

TEST(CanvasRop, PaletteSourcesAndClippingAgainstTheSource) {
    TBitmap pal(2, 1, pf8bit);
    std::vector<TColor> p(256, clBlack);
    p[7] = 0x00AA55;
    pal.SetPalette(p);
    pal.SetPixelIndex(1, 0, 7);
    TBitmap dst(4, 1);
    dst.Canvas().BitBlt(0, 0, 4, 1, pal, 0, 0, SRCCOPY);  // only 2 source columns exist
    EXPECT_EQ(dst.Pixel(0, 0), clBlack);
    EXPECT_EQ(dst.Pixel(1, 0), TColor(0x00AA55));
    EXPECT_EQ(dst.Pixel(2, 0), clWhite);  // untouched
    // A negative source position copies only what exists: source column -1 leaves dst 1 alone.
    dst.Canvas().BitBlt(1, 0, 3, 1, pal, -1, 0, SRCCOPY);
    EXPECT_EQ(dst.Pixel(1, 0), TColor(0x00AA55));
    EXPECT_EQ(dst.Pixel(2, 0), clBlack);
    EXPECT_EQ(dst.Pixel(3, 0), TColor(0x00AA55));
}

TEST(CanvasRop, KeyColourCopySkipsExactlyTheKey) {
    const TColor key = 0x875F46;
    TBitmap src(3, 1);
    src.SetPixel(0, 0, key);
    src.SetPixel(1, 0, key + 1);
    src.SetPixel(2, 0, clRed);
    TBitmap dst(3, 1);
    dst.Canvas().Brush().SetColor(clGreen);
    dst.Canvas().FillRect({0, 0, 3, 1});
    dst.Canvas().TransparentCopy(0, 0, 3, 1, src, 0, 0, key);
    EXPECT_EQ(dst.Pixel(0, 0), clGreen);
    EXPECT_EQ(dst.Pixel(1, 0), key + 1);
    EXPECT_EQ(dst.Pixel(2, 0), clRed);
    // Draw of a Transparent bitmap with the automatic key (bottom-left pixel).
    TBitmap dst2(3, 1);
    src.SetTransparent(true);
    EXPECT_EQ(src.TransparentColor(), key);
    dst2.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst2.Pixel(0, 0), clWhite);
    EXPECT_EQ(dst2.Pixel(2, 0), clRed);
}

TEST(CanvasRop, AntialiasedTextOnKeyBitmapLeavesNoKeyFringe) {
    auto render = [](bool markKey) {
        TBitmap work(120, 30);
        work.Canvas().Brush().SetColor(clFuchsia);
        work.Canvas().FillRect({0, 0, 120, 30});
        if (markKey) {
            work.SetTransparentColor(clFuchsia);
            work.SetTransparent(true);
        }
        work.Canvas().Brush().SetStyle(bsClear);
        work.Canvas().Font().SetName("Verdana");
        work.Canvas().Font().SetHeight(-13);
        work.Canvas().Font().SetColor(clBlack);
        work.Canvas().Font().SetQuality(fqAntialiased);
        work.Canvas().TextOut(2, 2, "Wolke sagt: Moin!");
        TBitmap screen(120, 30);  // white skin below
        screen.Canvas().TransparentCopy(0, 0, 120, 30, work, 0, 0, clFuchsia);
        int tinted = 0, grey = 0, black = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                TColor c = screen.Pixel(x, y);
                if (GetRValue(c) != GetGValue(c) || GetBValue(c) != GetGValue(c))
                    ++tinted;
                else if (c == clBlack)
                    ++black;
                else if (c != clWhite)
                    ++grey;
            }
        return std::tuple{tinted, grey, black};
    };
    auto [tinted, grey, black] = render(true);
    EXPECT_EQ(tinted, 0);  // no magenta in the edges
    EXPECT_GT(grey, 20);   // edges really are smooth, blended onto the white below
    EXPECT_GT(black, 20);
    auto [tintedPlain, greyPlain, blackPlain] = render(false);
    EXPECT_GT(tintedPlain, 20);  // the fringe the marking prevents
    (void)greyPlain;
    (void)blackPlain;
}

TEST(CanvasRop, OriginsAndClipsOfBothCanvasesApply) {
    TBitmap src(4, 4), dst(6, 6);
    src.Canvas().Brush().SetColor(clRed);
    src.Canvas().FillRect({2, 2, 4, 4});  // red square bottom-right
    src.Canvas().SetOrigin(2, 2);         // logical (0,0) is the red square
    dst.Canvas().SetOrigin(1, 1);
    int outer = dst.Canvas().SaveState();
    dst.Canvas().IntersectClip({0, 0, 1, 2});  // device x 1, y 1..2
    dst.Canvas().BitBlt(0, 0, 2, 2, src.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Pixel(1, 1), clRed);
    EXPECT_EQ(dst.Pixel(1, 2), clRed);
    EXPECT_EQ(dst.Pixel(2, 1), clWhite);  // clipped
    int inner = dst.Canvas().SaveState();
    dst.Canvas().SetOrigin(0, 0);
    dst.Canvas().RestoreState(outer);  // restoring the outer level drops the inner one too
    EXPECT_EQ(dst.Canvas().Origin(), Point(1, 1));
    EXPECT_EQ(dst.Canvas().ClipRect(), Rect(-1, -1, 5, 5));
    dst.Canvas().RestoreState(inner);  // no longer exists: nothing happens
    EXPECT_EQ(dst.Canvas().Origin(), Point(1, 1));

    // The key copy honours the source canvas's origin and the target's clip alike.
    TBitmap work(3, 3);
    work.Canvas().Brush().SetColor(clFuchsia);
    work.Canvas().FillRect({0, 0, 3, 3});
    work.SetPixel(2, 2, clBlue);
    work.Canvas().SetOrigin(1, 1);
    TBitmap screen(4, 4);
    screen.Canvas().IntersectClip({0, 0, 4, 3});
    screen.Canvas().TransparentCopy(0, 0, 3, 3, work.Canvas(), 0, 0, clFuchsia);  // work (1,1).. at (0,0)
    EXPECT_EQ(screen.Pixel(1, 1), clBlue);
    EXPECT_EQ(screen.Pixel(0, 0), clWhite);
    screen.Canvas().TransparentCopy(2, 2, 3, 3, work.Canvas(), 0, 0, clFuchsia);  // blue would land at (3,3)
    EXPECT_EQ(screen.Pixel(3, 3), clWhite);                                       // outside the clip
}
