#pragma once
#include "gfx/Color.h"

namespace gfx {

enum TBrushStyle { bsSolid, bsClear };

// The brush colour is also the canvas's background colour: text with a solid brush gets an opaque
// background in it, dotted pens fill their gaps with it, and colour-to-monochrome copies compare
// the source against it.
class TBrush {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) {
        color_ = color;
        if (style_ == bsClear && color != clNone) style_ = bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { style_ = style; }
    void Assign(const TBrush& other) { *this = other; }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

}  // namespace gfx
