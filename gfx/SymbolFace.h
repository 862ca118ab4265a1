#pragma once
// Our own glyphs for the title-button symbol font: "0" minimise, "1" maximise, "2" restore,
// "r" close, drawn from rectangles and strokes in em units with 4x4 supersampling. Every other
// character is blank with an advance of one em.
#include "gfx/FontFace.h"

namespace gfx {

class TSymbolFace : public TFontFace {
public:
    TSymbolFace(double em, bool antialias, bool bold);

    const TFontMetrics& Metrics() const override { return metrics_; }

protected:
    TGlyph Render(unsigned char c) override;

private:
    double em_;
    bool antialias_;
    bool bold_;
    TFontMetrics metrics_;
};

}  // namespace gfx
