#pragma once
// FreeType + fontconfig behind TFont: face lookup, metrics and cached glyph coverage.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Font.h"
#include "gfx/Types.h"

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

class TFontFace;

class TFontEngine {
public:
    static TFontEngine& Instance();

    // Folders searched before the system's fonts (native paths, UTF-8). A "fonts" folder beside
    // the program is added on first use.
    void AddFontFolder(const std::string& folder);

    // The face for a font (cached by name, size, style and rendering mode).
    TFontFace& Face(const TFont& font);

    // The file a family name resolves to (for tests and diagnostics); empty for our own glyphs.
    std::string ResolveFile(const std::string& family, bool bold, bool italic);

    ~TFontEngine();

private:
    TFontEngine();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class TFontFace {
public:
    virtual ~TFontFace() = default;
    virtual const TFontMetrics& Metrics() const = 0;
    // Glyph of a cp1252 character.
    virtual const TGlyph& Glyph(unsigned char c) = 0;
    int TextWidth(std::string_view text);
};

}  // namespace gfx
