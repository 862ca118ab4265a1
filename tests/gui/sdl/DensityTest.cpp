// The display density the SDL backend scales by: what the desktop announces before what the
// screen measures; and how the scale meets a compositor that scales windows itself (Wayland).
#include <gtest/gtest.h>

#include "gui/backend/Backend.h"
#include "gui/backend/sdl/DisplayScale.h"
#include "gui/backend/sdl/X11Probe.h"

TEST(Density, DesktopAnnouncementBeforePhysicalSize) {
    // Xft.dpi as desktops set it for 2x, on an X server that reports 96 physical dpi.
    EXPECT_EQ(gui::DensityScale(0, 192, 96), 2);
    EXPECT_EQ(gui::DensityScale(0, 96, 192), 1) << "the desktop's 1x wins over the measured size";
    EXPECT_EQ(gui::DensityScale(0, 120, 96), 1.25);
    EXPECT_EQ(gui::DensityScale(0, 144, 96), 1.5);
    EXPECT_EQ(gui::DensityScale(0, 168, 96), 1.75);
    EXPECT_EQ(gui::DensityScale(0, 100, 96), 1) << "a desktop a little denser than 96 stays at 1";
    EXPECT_EQ(gui::DensityScale(0, 0, 150), 1) << "a measured size below 168 dpi is not trusted";
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

TEST(Density, AWindowTooLargeForTheWorkAreaTakesTheLargestFactorThatFits) {
    // 640 x 480 on a 1366 x 768 laptop at 200 % (a 40-pixel panel): 1.5 is the most that fits.
    EXPECT_EQ(gui::FitScale(2, 640, 480, 1366, 728), 1.5);
    EXPECT_EQ(gui::FitScale(2, 640, 480, 1920, 1040), 2);
    EXPECT_EQ(gui::FitScale(1.5, 640, 480, 800, 560), 1) << "never below 1";
    EXPECT_EQ(gui::FitScale(1.25, 640, 480, 0, 0), 1.25) << "an unknown work area changes nothing";
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

TEST(Density, OutputScaleFromAHighDensityWindow) {
    // A 64x64 window as a Wayland output at 2x or 3x gives it; X11 windows are in pixels.
    EXPECT_EQ(gui::OutputScaleOf(64, 64, 128, 128), 2);
    EXPECT_EQ(gui::OutputScaleOf(64, 64, 192, 192), 3);
    EXPECT_EQ(gui::OutputScaleOf(640, 480, 640, 480), 1);
    // A fractional output (1.25x, 1.5x, 1.75x) rounds to the nearest whole step.
    EXPECT_EQ(gui::OutputScaleOf(64, 64, 80, 80), 1);
    EXPECT_EQ(gui::OutputScaleOf(64, 64, 112, 112), 2);
    // Unknown or inconsistent sizes say nothing.
    EXPECT_EQ(gui::OutputScaleOf(0, 0, 128, 128), 1);
    EXPECT_EQ(gui::OutputScaleOf(64, 64, 0, 0), 1);
    EXPECT_EQ(gui::OutputScaleOf(64, 64, 128, 64), 1);
}

TEST(Density, WaylandOutputScaleIsAnAnnouncement) {
    EXPECT_EQ(gui::AnnouncedDpi("wayland", 0, 2), 192);
    EXPECT_EQ(gui::AnnouncedDpi("wayland", 0, 1), 96);
    EXPECT_EQ(gui::AnnouncedDpi("x11", 192, 1), 192);
    EXPECT_EQ(gui::AnnouncedDpi("x11", 0, 2), 0) << "X11 takes no output scale";
    EXPECT_EQ(gui::AnnouncedDpi("wayland", 192, 1), 96) << "Xwayland's resources are not the output's";
    EXPECT_EQ(gui::AnnouncedDpi("dummy", 192, 2), 0);
    EXPECT_EQ(gui::AnnouncedDpi(nullptr, 192, 2), 0);
    // As announcements they win over the measured density, and GDK_SCALE over them.
    EXPECT_EQ(gui::DensityScale(0, gui::AnnouncedDpi("wayland", 0, 2), 96), 2);
    EXPECT_EQ(gui::DensityScale(0, gui::AnnouncedDpi("wayland", 0, 1), 200), 1);
    EXPECT_EQ(gui::DensityScale(1, gui::AnnouncedDpi("wayland", 0, 2), 96), 1);
}

TEST(Density, ScaleSplitsIntoWindowUnitsOnScalingCompositors) {
    // Where a unit is a pixel (X11, a 1x output) nothing changes.
    EXPECT_EQ(gui::SplitScale(1, 1).units, 1);
    EXPECT_FALSE(gui::SplitScale(1, 1).highDpi);
    EXPECT_EQ(gui::SplitScale(2, 1).units, 2);
    EXPECT_FALSE(gui::SplitScale(2, 1).highDpi);
    EXPECT_EQ(gui::SplitScale(0, 1).units, 1);
    // On a 2x output a 2x menu is a window of 640x480 units with real pixels.
    EXPECT_EQ(gui::SplitScale(2, 2).units, 1);
    EXPECT_TRUE(gui::SplitScale(2, 2).highDpi);
    EXPECT_EQ(gui::SplitScale(4, 2).units, 2);
    EXPECT_EQ(gui::SplitScale(3, 3).units, 1);
    // A scale between the output's steps rounds to one; below one step is one step, still sharp.
    EXPECT_EQ(gui::SplitScale(1, 2).units, 0.5);
    EXPECT_TRUE(gui::SplitScale(1, 2).highDpi);
    EXPECT_EQ(gui::SplitScale(3, 2).units, 1.5);
    EXPECT_EQ(gui::SplitScale(3, 2).scale, 3);
    EXPECT_EQ(gui::SplitScale(1.5, 1).units, 1.5) << "a fractional factor on X11: window units are pixels";
}
