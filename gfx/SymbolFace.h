#pragma once
// Our own glyphs for the title-button symbol font: "0" minimise, "1" maximise, "2" restore,
// "r" close, drawn from rectangles and strokes in em units with 4x4 supersampling. Every other
// character is blank with an advance of one em.
#include <array>
#include <optional>

#include "gfx/FontFace.h"

namespace gfx {

class TSymbolFace : public TFontFace {
public:
    TSymbolFace(double em, bool antialias, bool bold);

    const TFontMetrics& Metrics() const override { return metrics_; }
    const TGlyph& Glyph(unsigned char c) override;

private:
    TGlyph Render(unsigned char c);

    double em_;
    bool antialias_;
    bool bold_;
    TFontMetrics metrics_;
    std::array<std::optional<TGlyph>, 256> cache_;
};

}  // namespace gfx
