// The Win32 backend: native messages become the framework's events in logical pixels, the
// window region follows the skin's outline, and the clipboard carries cp1252 text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/backend/win32/Win32Backend.h"

#include <windows.h>
#undef CreateWindow

using namespace gui;

namespace {

struct Fixture {
    std::unique_ptr<Backend> backend;
    WindowHandle window = 0;
    HWND hwnd = nullptr;

    explicit Fixture(double scale, const wchar_t* caption) {
        BackendOptions o;
        o.scale = scale;
        backend = CreateWin32Backend(o);
        WindowParams p;
        p.bounds = gfx::Bounds(10, 10, 100, 80);
        p.frameless = true;
        std::string narrow;
        for (const wchar_t* c = caption; *c; ++c) narrow += char(*c);
        p.caption = narrow;
        window = backend->CreateWindow(p);
        hwnd = FindWindowW(L"cdmenuWindow", caption);
    }
    // The events the message produced (the window procedure runs inside SendMessage).
    std::vector<Event> Send(UINT msg, WPARAM wp, LPARAM lp) {
        SendMessageW(hwnd, msg, wp, lp);
        std::vector<Event> out;
        Event ev;
        while (backend->PollEvent(ev))
            if (ev.type != EventType::Expose && ev.type != EventType::Moved && ev.type != EventType::Resized)
                out.push_back(ev);
        return out;
    }
};

}  // namespace

TEST(Win32Backend, MouseAndWheelReachTheFrameworkInLogicalPixels) {
    Fixture f(2, L"cdmenu-test-mouse");
    ASSERT_NE(f.hwnd, nullptr);
    auto ev = f.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(41, 21));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::MouseDown);
    EXPECT_EQ(ev[0].window, f.window);
    EXPECT_EQ(ev[0].x, 20);
    EXPECT_EQ(ev[0].y, 10);
    EXPECT_EQ(ev[0].button, mbLeft);
    EXPECT_EQ(ev[0].shift & (ssShift | ssLeft | ssCtrl), ssShift | ssLeft);
    ev = f.Send(WM_RBUTTONUP, 0, MAKELPARAM(7, 9));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::MouseUp);
    EXPECT_EQ(ev[0].button, mbRight);
    EXPECT_EQ(ev[0].x, 3);

    // A fine-grained wheel: half notches add up to one, a notch back gives a negative step.
    EXPECT_TRUE(f.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(30, 30)).empty());
    ev = f.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(30, 30));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::MouseWheel);
    EXPECT_EQ(ev[0].wheelDelta, 120);
    ev = f.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-240)), MAKELPARAM(30, 30));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].wheelDelta, -240);
}

TEST(Win32Backend, KeysAndTypedTextFollowTheProgramsRules) {
    Fixture f(1, L"cdmenu-test-keys");
    ASSERT_NE(f.hwnd, nullptr);
    auto ev = f.Send(WM_KEYDOWN, VK_NUMPAD5, LPARAM(1) << 30);  // held: a repeat
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::KeyDown);
    EXPECT_EQ(ev[0].key, 0x65);
    EXPECT_TRUE(ev[0].repeat);
    ev = f.Send(WM_KEYUP, VK_F5, 0);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::KeyUp);
    EXPECT_EQ(ev[0].key, 0x74);
    EXPECT_TRUE(f.Send(WM_KEYDOWN, VK_LWIN, 0).empty());  // a key the framework does not know

    ev = f.Send(WM_CHAR, 0xE4, 0);  // ä
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::Text);
    EXPECT_EQ(ev[0].text, "\xE4");
    ev = f.Send(WM_CHAR, 0x20AC, 0);  // the euro sign lies at 0x80 in cp1252
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].text, "\x80");
    EXPECT_TRUE(f.Send(WM_CHAR, 0x0D, 0).empty());  // Enter is a key, not text
    // A character outside the BMP comes as two halves: one character, which cp1252 lacks.
    EXPECT_TRUE(f.Send(WM_CHAR, 0xD83D, 0).empty());
    ev = f.Send(WM_CHAR, 0xDE00, 0);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].text, "?");
    EXPECT_TRUE(f.Send(WM_CHAR, 0xDE00, 0).empty());  // a second half alone is dropped
    ev = f.Send(WM_CHAR, L'x', 0);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].text, "x");
}

TEST(Win32Backend, TheWindowRegionIsTheScaledOutline) {
    Fixture f(2, L"cdmenu-test-shape");
    ASSERT_NE(f.hwnd, nullptr);
    f.backend->SetWindowShape(f.window, {gfx::Bounds(0, 5, 100, 70), gfx::Bounds(5, 0, 90, 80)});
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(f.hwnd, rgn), ERROR);
    EXPECT_TRUE(PtInRegion(rgn, 199, 20));    // inside the wide part
    EXPECT_FALSE(PtInRegion(rgn, 2, 2));      // a cut corner
    EXPECT_TRUE(PtInRegion(rgn, 12, 2));      // the tall part
    EXPECT_FALSE(PtInRegion(rgn, 199, 155));  // the other cut corner (the wide part ends at 150)
    DeleteObject(rgn);
    f.backend->SetWindowShape(f.window, {});
    rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(f.hwnd, rgn), ERROR);  // a plain rectangle again
    DeleteObject(rgn);
}

TEST(Win32Backend, AMonitorOfAnotherDensityGivesTheWindowsItsFactor) {
    Fixture f(0, L"cdmenu-test-dpi");  // the desktop's factor: 1 at Wine's 96 dpi
    ASSERT_NE(f.hwnd, nullptr);
    ASSERT_EQ(f.backend->Scale(), 1);
    RECT suggested{300, 200, 450, 320};
    const auto ev = f.Send(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(f.backend->Scale(), 1.5);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].type, EventType::ScaleChanged);
    // The window keeps its place and takes the new size of its 100 x 80 logical pixels.
    RECT client{};
    GetClientRect(f.hwnd, &client);
    EXPECT_EQ(client.right, 150);
    EXPECT_EQ(client.bottom, 120);
    RECT outer{};
    GetWindowRect(f.hwnd, &outer);
    EXPECT_EQ(outer.left, 300);
    EXPECT_EQ(outer.top, 200);
    // Input in logical pixels at the new factor: device 31,16 lies in logical 20,10.
    const auto down = f.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(31, 16));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].x, 20);
    EXPECT_EQ(down[0].y, 10);
    f.Send(WM_LBUTTONUP, 0, MAKELPARAM(31, 16));
}

TEST(Win32Backend, DensityScaleFollowsLogPixelsInQuarterSteps) {
    EXPECT_EQ(Win32DensityScale(96), 1);
    EXPECT_EQ(Win32DensityScale(120), 1.25);
    EXPECT_EQ(Win32DensityScale(144), 1.5);
    EXPECT_EQ(Win32DensityScale(168), 1.75);
    EXPECT_EQ(Win32DensityScale(192), 2);
    EXPECT_EQ(Win32DensityScale(288), 3);
    EXPECT_EQ(Win32DensityScale(600), 4);
}
