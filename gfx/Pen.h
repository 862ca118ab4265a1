#pragma once
#include "gfx/Color.h"

namespace gfx {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Binary raster operation of the pen (R2_*): how pen pixels combine with the destination.
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width < 1 ? 1 : width; }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { style_ = style; }
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode) { mode_ = mode; }
    void Assign(const TPen& other) { *this = other; }

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

}  // namespace gfx
