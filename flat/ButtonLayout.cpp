#include "flat/ButtonLayout.h"

namespace flat {

// Integer division here is "div": it truncates toward zero, also for the negative room of a
// caption wider than the button.
TButtonLayoutResult CalcButtonLayout(const gfx::TRect& client, gfx::TPoint offset, TButtonLayout layout,
                                     int margin, int spacing, gfx::TSize glyph, gfx::TSize text) {
    const int w = client.Width();
    const int h = client.Height();
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    gfx::TPoint glyphPos, textPos;

    if (horizontal) {
        glyphPos.Y = (h - glyph.cy + 1) / 2;
        textPos.Y = (h - text.cy + 1) / 2;
    } else {
        glyphPos.X = (w - glyph.cx + 1) / 2;
        textPos.X = (w - text.cx + 1) / 2;
    }

    if (text.cx == 0 || glyph.cx == 0) spacing = 0;

    const int extent = horizontal ? w : h;
    const int g = horizontal ? glyph.cx : glyph.cy;
    const int t = horizontal ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - g - t) / 3;
            spacing = margin;
        } else {
            margin = (extent - (g + spacing + t) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = ((extent - (margin + g)) - t) / 2;
    }

    int glyphAt = 0, textAt = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphAt = margin;
        textAt = glyphAt + g + spacing;
    } else {
        glyphAt = extent - margin - g;
        textAt = glyphAt - spacing - t;
    }
    if (horizontal) {
        glyphPos.X = glyphAt;
        textPos.X = textAt;
    } else {
        glyphPos.Y = glyphAt;
        textPos.Y = textAt;
    }

    const int dx = client.Left + offset.X;
    const int dy = client.Top + offset.Y;
    TButtonLayoutResult r;
    r.GlyphPos = {glyphPos.X + dx, glyphPos.Y + dy};
    r.TextBounds = gfx::Bounds(textPos.X + dx, textPos.Y + dy, text.cx, text.cy);
    return r;
}

}  // namespace flat
