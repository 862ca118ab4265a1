#pragma once
// One font at one size and rendering mode: metrics and cached glyph coverage per cp1252 character.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace gfx {

// A rendered glyph: 8-bit coverage (0..255), already thresholded to 0/255 when not anti-aliased.
struct TGlyph {
    int width = 0;
    int height = 0;
    int left = 0;     // offset of the bitmap from the pen position
    int top = 0;      // rows above the baseline
    int advance = 0;  // pixels
    std::vector<uint8_t> coverage;
};

struct TFontMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;  // ascent + descent: the text height of a line
    int internalLeading = 0;
    int underlinePos = 0;  // rows below the baseline
    int lineThickness = 1;
};

// Faces are made and owned by TFontEngine; use them on the GUI thread.
class TFontFace {
public:
    virtual ~TFontFace() = default;
    virtual const TFontMetrics& Metrics() const = 0;
    // Glyph of a cp1252 character, rendered on first use.
    const TGlyph& Glyph(unsigned char c) {
        std::optional<TGlyph>& slot = cache_[c];
        if (!slot) slot = Render(c);
        return *slot;
    }
    int TextWidth(std::string_view text);

protected:
    virtual TGlyph Render(unsigned char c) = 0;

private:
    std::array<std::optional<TGlyph>, 256> cache_;
};

}  // namespace gfx
