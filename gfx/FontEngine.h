#pragma once
// FreeType + fontconfig behind TFont: face lookup (font folders and built-in faces first; fontconfig
// only for faces they lack), metrics and cached glyph coverage.
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
    // searched first. After them come the faces built into the program (gfx/BuiltinFonts.h), then
    // the "fonts" folder beside the program.
    void AddFontFolder(const std::string& folder);
    // Fonts from folder only, never the system's (the same pictures on every machine); a face it
    // lacks is drawn blank, with a message on stderr.
    void UseOnlyFontFolder(const std::string& folder);
    // Back to the start: the built-in faces, the folder beside the program, then the system's fonts.
    // Each of the three closes every font file opened so far: a folder no longer searched can be
    // deleted, and faces handed out before are invalid.
    void ResetFontFolders();
    // How often a face was looked up through fontconfig (which starts with the first lookup).
    int FontconfigQueries() const;

    // The face for a font (cached by name, size, style and rendering mode); at a scale other than
    // 1 the font rasterised at that many times its size, for a picture shown at a desktop scale.
    TFontFace& Face(const TFont& font, double scale = 1.0);

    // The file a family name resolves to (for tests and diagnostics); empty for our own glyphs.
    std::string ResolveFile(const std::string& family, bool bold, bool italic);

    ~TFontEngine();

private:
    TFontEngine();
    static std::vector<std::string> DefaultFolders();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace gfx
