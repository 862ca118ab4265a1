#pragma once
// Colours and shared motifs of the sample disc's look: a deep night-blue window with a fine diagonal
// weave, a glassy sidebar on the left, a warm paper-white page on the right, amber and blue accents.
#include "tools/makedisc/Raster.h"

namespace theme {

constexpr Rgb kNightTop = Hex(0x1B2846);
constexpr Rgb kNightBottom = Hex(0x0C1324);
constexpr Rgb kSidebar = Hex(0x17223C);
constexpr Rgb kSidebarEdge = Hex(0x2C3B60);
constexpr Rgb kRow = Hex(0x1C2946);
constexpr Rgb kRowLine = Hex(0x2A3A5E);
constexpr Rgb kPaperTop = Hex(0xFAF8F3);
constexpr Rgb kPaperBottom = Hex(0xEEE8DE);
constexpr Rgb kInk = Hex(0x1B2540);
constexpr Rgb kMuted = Hex(0x6B7489);
constexpr Rgb kBlue = Hex(0x3B82F6);
constexpr Rgb kBlueDeep = Hex(0x1D4ED8);
constexpr Rgb kAmber = Hex(0xF59E0B);
constexpr Rgb kAmberDeep = Hex(0xC2410C);
constexpr Rgb kTeal = Hex(0x2DD4BF);
constexpr Rgb kWhite = Hex(0xFFFFFF);

// The transparent key colour of the image-list buttons (red 70, green 95, blue 135).
constexpr Rgb kButtonKey = Rgb{70, 95, 135};

// Window background: vertical night gradient, two soft glows and a faint diagonal weave.
Rgb Backdrop(double x, double y);
// The diagonal weave of the backdrop at a strength of 0..1. Its period of 7 pixels makes it look the
// same after the program list panel's 7-pixel shift.
Rgb Weave(Rgb c, int x, int y, double strength);
// The sidebar's fill at a window row (it depends on y only).
Rgb Sidebar(double y);
// The page's paper: a gentle vertical gradient between y0 and y1.
Rgb Paper(double y, double y0, double y1);
// A stylised disc (rainbow sheen, hub, hole) centred at cx, cy.
void DrawDisc(Raster& r, double cx, double cy, double radius, Rgb hole);

}  // namespace theme
