#pragma once
// Drawing functions that every flat control shares: the parent's image behind a control, bevels,
// the embossed look of disabled glyphs and captions.
#include <string_view>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Color.h"
#include "gfx/Types.h"

namespace gui {
class TControl;
}

namespace flat {

// How much of a flat control is see-through.
enum TTransparentMode { tmAlways, tmNotFocused, tmNone };

// Reading order of a flat control; only bdRightToLeft mirrors the layout.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Paints the control's parent (background, contents, graphic siblings below it) into canvas so
// that the part behind the control lands at the canvas origin. The canvas state is kept.
void DrawParentImage(gui::TControl* control, gfx::TCanvas& canvas);

// `width` nested one-pixel rectangles inward: left and top edges in topLeft, right and bottom
// edges (corners included) in bottomRight.
void DrawBevel(gfx::TCanvas& canvas, gfx::TRect rect, gfx::TColor topLeft, int width,
               gfx::TColor bottomRight);

// A one-pixel frame of `width` rings in one colour.
void DrawFrame(gfx::TCanvas& canvas, gfx::TRect rect, gfx::TColor color, int width = 1);

// The disabled look of a glyph: its black pixels, embossed in the system's button-highlight
// (one pixel right and down) and button-shadow colours on the button-face colour.
gfx::TBitmap CreateDisabledGlyph(const gfx::TBitmap& glyph);

// Draws text with the canvas font without a background. Enabled: in `color`; disabled:
// embossed, first one pixel right and down in the button-highlight colour, then in place in the
// button-shadow colour.
void DrawFlatText(gfx::TCanvas& canvas, std::string_view text, const gfx::TRect& rect, unsigned flags,
                  bool enabled, gfx::TColor color);

// True when caption marks key as its accelerator ("&x", the last one if several, compared without
// case; "&&" is a plain ampersand).
bool IsAccel(char key, std::string_view caption);

// Copies a painted off-screen bitmap to the control's canvas in one step.
void PresentOffscreen(gfx::TCanvas& target, const gfx::TBitmap& offscreen);

// The off-screen bitmap a control keeps from paint to paint. Paint hands a painter the bitmap as a
// new one would be (white, its canvas at its defaults) and presents it; the pixels are allocated
// again only when the size changes.
class TOffscreen {
public:
    template <class Painter>
    void Paint(gfx::TCanvas& target, int width, int height, Painter&& painter) {
        if (busy_) {
            // Painted again from inside its own paint (through a parent image): a bitmap of its own.
            gfx::TBitmap b;
            b.SetScaledSize(width, height, target.Scale());
            painter(b.Canvas());
            PresentOffscreen(target, b);
            return;
        }
        busy_ = true;
        gfx::TBitmap& b = Prepare(width, height, target.Scale());
        try {
            gfx::TCanvasStateGuard fresh(b.Canvas());
            painter(b.Canvas());
        } catch (...) {
            busy_ = false;
            throw;
        }
        busy_ = false;
        PresentOffscreen(target, b);
    }
    const gfx::TBitmap& Bitmap() const { return bitmap_; }

private:
    gfx::TBitmap& Prepare(int width, int height, double scale);
    gfx::TBitmap bitmap_{0, 0};
    bool busy_ = false;
};

}  // namespace flat
