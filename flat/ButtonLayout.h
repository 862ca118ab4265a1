#pragma once
// Where a flat button puts its glyph and caption: both centred across the layout direction, and
// along it placed by Margin and Spacing, either of which may be -1 ("share the room evenly").
#include "gfx/Types.h"

namespace flat {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TButtonLayoutResult {
    gfx::TPoint GlyphPos;   // top-left corner of the glyph image
    gfx::TRect TextBounds;  // the caption's measured box
};

// client: the button's client rectangle; offset: 1,1 while pressed, else 0,0; glyph and text:
// the sizes of one glyph image and of the caption on one line (0,0 when absent).
TButtonLayoutResult CalcButtonLayout(const gfx::TRect& client, gfx::TPoint offset, TButtonLayout layout,
                                     int margin, int spacing, gfx::TSize glyph, gfx::TSize text);

}  // namespace flat
