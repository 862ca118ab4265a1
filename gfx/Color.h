#pragma once
// Colour values: 0x00BBGGRR for plain colours; 0x80000000 + index names a system colour, which
// is stored and compared unchanged and resolved (ColorToRGB) only when drawing.
#include <cstdint>

namespace gfx {

using TColor = uint32_t;

constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return int((c >> 16) & 0xFF);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
// What a pixel query outside the bitmap returns.
constexpr TColor clInvalid = 0xFFFFFFFF;

constexpr TColor kSystemColorFlag = 0x80000000;
constexpr TColor clScrollBar = 0x80000000;
constexpr TColor clBackground = 0x80000001;
constexpr TColor clActiveCaption = 0x80000002;
constexpr TColor clInactiveCaption = 0x80000003;
constexpr TColor clMenu = 0x80000004;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowFrame = 0x80000006;
constexpr TColor clMenuText = 0x80000007;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clCaptionText = 0x80000009;
constexpr TColor clActiveBorder = 0x8000000A;
constexpr TColor clInactiveBorder = 0x8000000B;
constexpr TColor clAppWorkSpace = 0x8000000C;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInactiveCaptionText = 0x80000013;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;
constexpr TColor clInfoText = 0x80000017;
constexpr TColor clInfoBk = 0x80000018;
constexpr TColor clHotLight = 0x8000001A;
constexpr TColor clGradientActiveCaption = 0x8000001B;
constexpr TColor clGradientInactiveCaption = 0x8000001C;
constexpr TColor clMenuHighlight = 0x8000001D;
constexpr TColor clMenuBar = 0x8000001E;
constexpr int kSystemColorCount = 31;

constexpr bool IsSystemColor(TColor c) {
    return (c & kSystemColorFlag) != 0;
}

// The system colour table starts with the classic Windows standard scheme (button face
// 192,192,192, highlight navy, ...); a backend may replace entries with the desktop's values.
TColor GetSysColor(int index);
void SetSysColor(int index, TColor rgb);
void ResetSysColors();

// System colours resolve through the table; plain colours come back unchanged (clNone and
// clDefault too — callers that draw mask the result to 24 bits).
TColor ColorToRGB(TColor color);

// Storage form of a 32-bit pixel: 0xAARRGGBB (bytes B, G, R, A in memory). A is 0 for an
// ordinary opaque pixel; see Canvas.h for the one use of A (anti-aliased text over a key colour).
constexpr uint32_t ColorToPixel(TColor c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr TColor PixelToColor(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// A drawing colour (system colours resolved) in storage form.
inline uint32_t ResolvePixel(TColor c) {
    return ColorToPixel(ColorToRGB(c) & 0xFFFFFF);
}

}  // namespace gfx
