#pragma once
// FreeType + fontconfig behind TFont: face lookup, metrics and cached glyph coverage.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Font.h"
#include "gfx/FontFace.h"
#include "gfx/Types.h"

namespace gfx {

class TFontEngine {
public:
    static TFontEngine& Instance();

    // Folders searched before the system's fonts (native paths, UTF-8); the one added last is
    // searched first. The "fonts" folder beside the program is always searched.
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

}  // namespace gfx
