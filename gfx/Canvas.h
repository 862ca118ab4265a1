#pragma once
// Drawing on a TBitmap, modelled on the classic GDI device context:
//  - logical coordinates = device coordinates - origin; the clip rectangle is kept in device
//    coordinates and always lies inside the bitmap;
//  - the pen's colour/width/style, the brush (fill and background colour), the font (text colour);
//  - lines exclude their end point; rectangles are half-open [Left, Right) x [Top, Bottom);
//  - BitBlt/StretchBlt evaluate any ternary raster-op code (dst, src, pattern = brush colour);
//    between formats: mono -> colour uses this canvas's font colour for 0 bits and brush colour for
//    1 bits; colour -> mono compares with the source canvas's brush colour (equal = 1, white).
//
// Anti-aliased text over a key colour: when the target bitmap is Transparent() and a text pixel
// lands on its TransparentColor(), the pixel stores the text colour plus how much of the key still
// shows (the A byte of the 32-bit pixel). TransparentCopy/Draw blend such pixels over the real
// destination, so key-coloured work bitmaps get smooth text with no key-colour fringe. Set the
// work bitmap's TransparentColor (SetTransparentColor + SetTransparent(true)) before drawing text.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Brush.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Pen.h"
#include "gfx/Types.h"

namespace gfx {

class TBitmap;

// Ternary raster operations (P = pattern/brush, S = source, D = destination).
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t MERGECOPY = 0x00C000CA;
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATPAINT = 0x00FB0A09;
constexpr uint32_t WHITENESS = 0x00FF0062;
using TCopyMode = uint32_t;
constexpr TCopyMode cmSrcCopy = SRCCOPY;

// Stretch modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// DrawText flags.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;  // tab stops every 8 characters
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;  // a line too wide for the rectangle ends in "…"

// TextRect options.
constexpr unsigned ETO_OPAQUE = 0x2;
constexpr unsigned ETO_CLIPPED = 0x4;

// Background mode of text and styled lines (derived from the brush style like in the classic
// toolkit: bsClear = TRANSPARENT).
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

class TCanvas {
public:
    explicit TCanvas(TBitmap& target);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBitmap& Bitmap() { return *target_; }
    // Device pixels per logical pixel of the target (Bitmap.h); work pictures made for drawing
    // onto this canvas take it.
    double Scale() const;
    const TBitmap& Bitmap() const { return *target_; }

    TPen& Pen() { return state_.pen; }
    const TPen& Pen() const { return state_.pen; }
    TBrush& Brush() { return state_.brush; }
    const TBrush& Brush() const { return state_.brush; }
    TFont& Font() { return state_.font; }
    const TFont& Font() const { return state_.font; }
    void SetFont(const TFont& font) { state_.font.Assign(font); }
    void SetPen(const TPen& pen) { state_.pen = pen; }
    void SetBrush(const TBrush& brush) { state_.brush = brush; }
    int BkMode() const { return state_.brush.Style() == bsClear ? TRANSPARENT : OPAQUE; }

    TCopyMode CopyMode() const { return state_.copyMode; }
    void SetCopyMode(TCopyMode mode) { state_.copyMode = mode; }
    int StretchBltMode() const { return state_.stretchMode; }
    void SetStretchBltMode(int mode) { state_.stretchMode = mode; }

    // Origin: logical (0,0) lies at device point Origin().
    TPoint Origin() const { return state_.origin; }
    void SetOrigin(TPoint origin) { state_.origin = origin; }
    void SetOrigin(int x, int y) { state_.origin = {x, y}; }
    void MoveOrigin(int dx, int dy) { state_.origin.X += dx, state_.origin.Y += dy; }
    // Clip in logical coordinates.
    TRect ClipRect() const;
    void IntersectClip(const TRect& rect);
    void SetClipRect(const TRect& rect);  // replaces the clip (still limited to the bitmap)
    void ResetClip();
    // Save/restore pen, brush, font, origin, clip, modes and pen position. Restore with the
    // value SaveState returned (a stack; restoring an older level drops the newer ones).
    int SaveState();
    void RestoreState(int level);
    void RestoreState() { RestoreState(int(saved_.size())); }
    // Back to the state of a new canvas on this bitmap (nothing saved, dash pattern at its start).
    void Reset() {
        state_ = State{};
        ResetClip();
        saved_.clear();
        dashPhase_ = 0;
    }

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    TPoint PenPos() const { return state_.penPos; }
    void SetPenPos(TPoint p) { state_.penPos = p; }
    void MoveTo(int x, int y) { state_.penPos = {x, y}; }
    // A line from the pen position to (x,y), the end point excluded; the pen moves there.
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    // Filled with the brush (alternate rule), outlined with the pen.
    void Polygon(std::span<const TPoint> points);
    // Filled with the brush, outlined with the pen, like the window system: the outline lies
    // inside [left,right) x [top,bottom).
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // With the brush colour (a cleared brush fills nothing).
    void FillRect(const TRect& rect);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& rect);
    // Mixes colour into every device pixel of rect: share of 255 of it, the rest what was there.
    void Wash(const TRect& rect, TColor colour, unsigned share);

    // Text. x,y is the top-left of the text cell. The background behind the text is filled with
    // the brush colour unless the brush is clear.
    void TextOut(int x, int y, std::string_view text);
    // Like TextOut, clipped to rect (which is filled first when the brush is solid).
    void TextRect(const TRect& rect, int x, int y, std::string_view text, unsigned options = ETO_CLIPPED);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    TSize TextExtent(std::string_view text);
    // Formatted text in rect; returns the text height. With DT_CALCRECT only rect's right and
    // bottom are set to fit the text and nothing is drawn. "&x" underlines x and "&&" is "&"
    // unless DT_NOPREFIX.
    int DrawText(std::string_view text, TRect& rect, unsigned flags);
    int DrawText(std::string_view text, const TRect& rect, unsigned flags) {
        TRect r = rect;
        return DrawText(text, r, flags);
    }

    // Raster operations. A source canvas of another pixel format is converted as described above.
    void BitBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, uint32_t rop);
    void BitBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, uint32_t rop);
    // Raster operations without a source (BLACKNESS, WHITENESS, PATCOPY, DSTINVERT, PATINVERT).
    void PatBlt(int x, int y, int w, int h, uint32_t rop);
    // Stretching by StretchBltMode(): COLORONCOLOR/BLACKONWHITE/WHITEONBLACK pick the nearest
    // source pixel (on shrinking, BLACKONWHITE keeps dark pixels (AND) and WHITEONBLACK keeps light
    // ones (OR) of the dropped rows and columns); HALFTONE averages the source area.
    void StretchBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, int sw, int sh,
                    uint32_t rop);
    void StretchBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw, int sh,
                    uint32_t rop);
    // Copies with the key colour transparent: source pixels of exactly `key` leave the
    // destination as it is; text pixels with coverage (see above) blend onto the destination.
    void TransparentCopy(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, TColor key);
    void TransparentCopy(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, TColor key);

    // CopyRect with CopyMode() and StretchBltMode(); stretches when the sizes differ.
    void CopyRect(const TRect& dest, const TCanvas& src, const TRect& source);
    // Whole bitmap at (x,y); a Transparent() bitmap is drawn with its TransparentColor as key.
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);

private:
    struct State {
        TPen pen;
        TBrush brush;
        TFont font;
        TPoint origin;
        TRect clip;  // device coordinates
        TPoint penPos;
        TCopyMode copyMode = SRCCOPY;
        int stretchMode = BLACKONWHITE;
    };

    friend class TBitmap;
    void TargetResized();
    void PlotPen(int x, int y, uint32_t rgb);  // device coordinates, clipped, pen mode
    void DrawLine(int x0, int y0, int x1, int y1, bool lastPixel);
    void FillDevice(TRect r, uint32_t rgb);
    void DrawTextLine(int x, int y, std::string_view text, bool prefix, const TRect* clip);
    TRect PixelClip() const;
    void FillPixels(TRect r, uint32_t rgb);  // device pixels, within the bitmap
    void ScaledEllipse(const TRect& device, bool pen, uint32_t line, uint32_t fill);
    void ScaledStretch(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw, int sh,
                       uint32_t rop, uint32_t reference);
    void ScaledBlit(const TRect& dest, const TBitmap* src, const TRect& source, uint32_t rop,
                    const uint32_t* key, uint32_t reference);

    TBitmap* target_;
    State state_;
    std::vector<State> saved_;
    uint32_t dashPhase_ = 0;
};

// Saves a canvas's state and restores it when the scope ends, however it ends.
class TCanvasStateGuard {
public:
    explicit TCanvasStateGuard(TCanvas& canvas) : canvas_(canvas), level_(canvas.SaveState()) {}
    ~TCanvasStateGuard() { canvas_.RestoreState(level_); }
    TCanvasStateGuard(const TCanvasStateGuard&) = delete;
    TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

private:
    TCanvas& canvas_;
    int level_;
};

}  // namespace gfx
