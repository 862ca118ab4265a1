// The display density the SDL backend scales by: what the desktop announces before what the
// screen measures.
#include <gtest/gtest.h>

#include "gui/backend/sdl/X11Probe.h"

TEST(Density, DesktopAnnouncementBeforePhysicalSize) {
    // Xft.dpi as desktops set it for 2x, on an X server that reports 96 physical dpi.
    EXPECT_EQ(gui::DensityScale(0, 192, 96), 2);
    EXPECT_EQ(gui::DensityScale(0, 96, 192), 1) << "the desktop's 1x wins over the measured size";
    EXPECT_EQ(gui::DensityScale(0, 144, 96), 1) << "1.5x stays at 1: only whole blocks";
    EXPECT_EQ(gui::DensityScale(0, 168, 96), 2);
    EXPECT_EQ(gui::DensityScale(0, 288, 96), 3);
    EXPECT_EQ(gui::DensityScale(0, 960, 96), 4);
    // Without an announcement the physical density counts.
    EXPECT_EQ(gui::DensityScale(0, 0, 96), 1);
    EXPECT_EQ(gui::DensityScale(0, 0, 200), 2);
    // GDK_SCALE decides over both.
    EXPECT_EQ(gui::DensityScale(2, 96, 96), 2);
    EXPECT_EQ(gui::DensityScale(1, 192, 192), 1);
    EXPECT_EQ(gui::DensityScale(9, 0, 0), 4);
}

TEST(Density, XftDpiFromTheResourceString) {
    EXPECT_EQ(gui::XftDpiOf("Xft.dpi:\t192\n"), 192);
    EXPECT_EQ(gui::XftDpiOf("Xcursor.size:\t48\nXft.antialias:\t1\nXft.dpi:\t144.5\nXft.hinting:\t1\n"),
              144.5);
    EXPECT_EQ(gui::XftDpiOf("Xft.antialias:\t1\n"), 0);
    EXPECT_EQ(gui::XftDpiOf("Xft.dpi:\tviele\n"), 0);
    EXPECT_EQ(gui::XftDpiOf(""), 0);
    EXPECT_EQ(gui::XftDpiOf(nullptr), 0);
    // A key that only ends in the name is another resource.
    EXPECT_EQ(gui::XftDpiOf("myXft.dpi:\t192\n"), 0);
}
