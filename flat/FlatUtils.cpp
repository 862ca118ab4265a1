#include "flat/FlatUtils.h"

#include <algorithm>
#include <cstdint>

#include "gui/Control.h"

namespace flat {

using gfx::TColor;
using gfx::TRect;

void DrawParentImage(gui::TControl* control, gfx::TCanvas& canvas) {
    if (control == nullptr || control->Parent() == nullptr) return;
    const int saved = canvas.SaveState();
    control->PaintParentInto(canvas, {0, 0});
    canvas.RestoreState(saved);
}

namespace {

void Fill(gfx::TCanvas& canvas, const TRect& r, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

}  // namespace

void DrawBevel(gfx::TCanvas& canvas, TRect rect, TColor topLeft, int width, TColor bottomRight) {
    const gfx::TBrush saved = canvas.Brush();
    for (; width > 0 && !rect.IsEmpty(); --width) {
        // The top-left colour stops one short of the far corners, which belong to the
        // bottom-right colour.
        Fill(canvas, {rect.Left, rect.Top, rect.Right - 1, rect.Top + 1}, topLeft);
        Fill(canvas, {rect.Left, rect.Top, rect.Left + 1, rect.Bottom - 1}, topLeft);
        Fill(canvas, {rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, bottomRight);
        Fill(canvas, {rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, bottomRight);
        gfx::InflateRect(rect, -1, -1);
    }
    canvas.SetBrush(saved);
}

void DrawFrame(gfx::TCanvas& canvas, TRect rect, TColor color, int width) {
    const gfx::TBrush saved = canvas.Brush();
    canvas.Brush().SetColor(color);
    for (; width > 0 && !rect.IsEmpty(); --width) {
        canvas.FrameRect(rect);
        gfx::InflateRect(rect, -1, -1);
    }
    canvas.SetBrush(saved);
}

gfx::TBitmap CreateDisabledGlyph(const gfx::TBitmap& glyph) {
    const int w = glyph.Width(), h = glyph.Height();
    gfx::TBitmap result(w, h);
    const TColor face = gfx::ColorToRGB(gfx::clBtnFace) & 0xFFFFFF;
    const TColor highlight = gfx::ColorToRGB(gfx::clBtnHighlight) & 0xFFFFFF;
    const TColor shadow = gfx::ColorToRGB(gfx::clBtnShadow) & 0xFFFFFF;
    // Black is the reference colour of the mask: the glyph's black pixels make its shape.
    auto inMask = [&](int x, int y) { return (glyph.Pixel(x, y) & 0xFFFFFF) == gfx::clBlack; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) result.SetPixel(x, y, face);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inMask(x, y)) result.SetPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inMask(x, y)) result.SetPixel(x, y, shadow);
    return result;
}

void DrawFlatText(gfx::TCanvas& canvas, std::string_view text, const TRect& rect, unsigned flags,
                  bool enabled, TColor color) {
    const gfx::TBrush savedBrush = canvas.Brush();
    const TColor savedColor = canvas.Font().Color();
    canvas.Brush().SetStyle(gfx::bsClear);
    if (enabled) {
        canvas.Font().SetColor(color);
        canvas.DrawText(text, rect, flags);
    } else {
        canvas.Font().SetColor(gfx::clBtnHighlight);
        canvas.DrawText(text, gfx::Offset(rect, 1, 1), flags);
        canvas.Font().SetColor(gfx::clBtnShadow);
        canvas.DrawText(text, rect, flags);
    }
    canvas.Font().SetColor(savedColor);
    canvas.SetBrush(savedBrush);
}

bool IsAccel(char key, std::string_view caption) {
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
    // The last "&x" counts, as in the window system's labels.
    char hot = 0;
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        ++i;
        if (caption[i] != '&') hot = caption[i];
    }
    return hot != 0 && upper(hot) == upper(key);
}

void PresentOffscreen(gfx::TCanvas& target, const gfx::TBitmap& offscreen) {
    target.BitBlt(0, 0, offscreen.LogicalWidth(), offscreen.LogicalHeight(), offscreen, 0, 0, gfx::SRCCOPY);
}

gfx::TBitmap& TOffscreen::Prepare(int width, int height, double scale) {
    bitmap_.SetScaledSize(width, height, scale);
    // White, as a new 32-bit bitmap starts: painters may leave pixels untouched.
    auto* first = reinterpret_cast<std::uint32_t*>(bitmap_.Bits());
    std::fill(first, first + size_t(bitmap_.Stride() / 4) * size_t(bitmap_.Height()), 0x00FFFFFFu);
    return bitmap_;
}

}  // namespace flat
