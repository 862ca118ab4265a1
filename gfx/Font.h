#pragma once
// A logical font. The face is matched through fontconfig when text is drawn (see FontEngine.h):
// "Arial" and "MS Sans Serif" map to Liberation Sans, "Verdana" to DejaVu Sans; a fonts/ folder
// beside the program is searched first; "Webdings" is drawn by our own glyphs.
#include <cstdint>
#include <functional>
#include <string>

#include "gfx/Color.h"

namespace gfx {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Output quality, numbered as the logical-font record stores it.
enum TFontQuality : uint8_t {
    fqDefault = 0,  // follows the desktop font-smoothing setting (SetFontSmoothing)
    fqDraft = 1,
    fqProof = 2,
    fqNonAntialiased = 3,
    fqAntialiased = 4,
    fqClearType = 5,  // drawn as anti-aliased grey
};
constexpr uint8_t DEFAULT_QUALITY = 0;
constexpr uint8_t NONANTIALIASED_QUALITY = 3;
constexpr uint8_t ANTIALIASED_QUALITY = 4;

constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t SYMBOL_CHARSET = 2;

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// The logical-font record: read it, change a field, turn it back into a font.
struct TLogFont {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = DEFAULT_CHARSET;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = DEFAULT_QUALITY;
    uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName;
};

// The desktop's font-smoothing setting, which fqDefault follows. The backend sets it from the
// desktop; tests set it to make text deterministic. Default: on.
void SetFontSmoothing(bool on);
bool FontSmoothing();

class TFont {
public:
    static constexpr int kPixelsPerInch = 96;

    TFont();  // "MS Sans Serif", height -11 (8 pt), clWindowText, default charset and quality

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: character height in pixels (em size); positive: cell height (ascent + descent).
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at 96 dpi: Size = -Height * 72 / 96 rounded; SetSize(8) gives Height -11.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);
    TFontQuality Quality() const { return quality_; }
    void SetQuality(TFontQuality quality);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // Whether text in this font is drawn anti-aliased right now (quality + desktop setting).
    bool Antialiased() const;

    TLogFont LogFont() const;
    // Name, height, weight, italic, underline, strike-out, charset and quality from the record;
    // the colour is kept.
    void SetLogFont(const TLogFont& lf);

    void Assign(const TFont& other);
    bool operator==(const TFont& other) const;

    std::function<void()> OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    uint8_t charset_ = DEFAULT_CHARSET;
    TFontQuality quality_ = fqDefault;
    TFontPitch pitch_ = fpDefault;
};

}  // namespace gfx
