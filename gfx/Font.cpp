#include "gfx/Font.h"

#include <atomic>
#include <cmath>

namespace gfx {

namespace {
std::atomic<bool> gFontSmoothing{true};
}

void SetFontSmoothing(bool on) {
    gFontSmoothing = on;
}
bool FontSmoothing() {
    return gFontSmoothing;
}

TFont::TFont() = default;

void TFont::Changed() {
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    // -MulDiv(Height, 72, 96), rounded half away from zero like MulDiv.
    long v = long(-height_) * 72;
    return int(v >= 0 ? (v + 48) / 96 : -((-v + 48) / 96));
}

void TFont::SetSize(int points) {
    long v = long(points) * 96;
    SetHeight(-int(v >= 0 ? (v + 36) / 72 : -((-v + 36) / 72)));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(uint8_t charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetQuality(TFontQuality quality) {
    if (quality == quality_) return;
    quality_ = quality;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

bool TFont::Antialiased() const {
    switch (quality_) {
        case fqAntialiased:
        case fqClearType:
            return true;
        case fqNonAntialiased:
            return false;
        default:
            return FontSmoothing();
    }
}

TLogFont TFont::LogFont() const {
    TLogFont lf;
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfQuality = quality_;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? 1 : pitch_ == fpVariable ? 2 : 0;
    lf.lfFaceName = name_;
    return lf;
}

void TFont::SetLogFont(const TLogFont& lf) {
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    TFontStyles s = 0;
    if (lf.lfWeight >= 600) s |= fsBold;
    if (lf.lfItalic) s |= fsItalic;
    if (lf.lfUnderline) s |= fsUnderline;
    if (lf.lfStrikeOut) s |= fsStrikeOut;
    style_ = s;
    charset_ = lf.lfCharSet;
    quality_ = lf.lfQuality <= fqClearType ? TFontQuality(lf.lfQuality) : fqDefault;
    pitch_ = (lf.lfPitchAndFamily & 3) == 1   ? fpFixed
             : (lf.lfPitchAndFamily & 3) == 2 ? fpVariable
                                              : fpDefault;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (this == &other || *this == other) return;
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    quality_ = other.quality_;
    pitch_ = other.pitch_;
    Changed();
}

bool TFont::operator==(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
           charset_ == o.charset_ && quality_ == o.quality_ && pitch_ == o.pitch_;
}

}  // namespace gfx
