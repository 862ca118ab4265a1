// The banner strip: which banners rotate, the wrap/change handshake and the clicks, on a Menue.dat
// the tests write (banner 1 loops, banner 2 plays once, banner 3 is a still).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "app/MenuResourceCheck.h"
#include "app/Preview.h"
#include "app/ScriptRunner.h"
#include "gfx/Bitmap.h"
#include "gfx/PngCodec.h"
#include "gui/Timer.h"
#include "media/GIFImage.h"
#include "tests/support/MenuFixture.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/GifWriter.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/common/WavWriter.h"

namespace {

std::string Gif(int frames, bool loop) {
    TGifWriter w;
    w.Header(170, 70, {0, 0, 0, 255, 255, 255, 200, 40, 40, 40, 40, 200});
    if (loop) w.LoopCount(0);
    for (int f = 0; f < frames; ++f) {
        TGifImageSpec image;
        image.Width = 170;
        image.Height = 70;
        image.Pixels.assign(170 * 70, uint8_t(f % 4));
        w.GraphicControl(10).Image(image);
    }
    return w.Trailer().Str();
}

// Frames that each fill the picture with one colour of the palette, shown for the given delays.
std::string GifOfColours(const std::vector<uint8_t>& colours, const std::vector<int>& delaysCs) {
    TGifWriter w;
    w.Header(170, 70, {0, 0, 0, 255, 255, 255, 200, 40, 40, 40, 40, 200});
    w.LoopCount(0);
    for (size_t f = 0; f < colours.size(); ++f) {
        TGifImageSpec image;
        image.Width = 170;
        image.Height = 70;
        image.Pixels.assign(170 * 70, colours[f]);
        w.GraphicControl(delaysCs[f]).Image(image);
    }
    return w.Trailer().Str();
}

TMenuDatWriter MenuWith(const std::string& target2, const std::string& target3) {
    TMenuDatWriter w;
    w.ProjectField = "TEST~~~";
    w.Credits = {"Zusammenstellung", "Redaktion", "Copyright"};
    w.BannerTargets = {"www.eins.de", target2, target3};
    w.Logo = TBmpWriter::Fill24(190, 101, [](int x, int y) { return uint32_t(x * 256 + y); });
    for (int i = 0; i < 7; ++i) {
        WavWriter wav;
        wav.AddTone(440.0 + 40 * i, 20);
        w.Sounds[size_t(i)] = TMenuDatWriter::Bytes(wav.Image());
    }
    w.Gifs = {Gif(2, true), Gif(2, false), Gif(1, false)};
    return w;
}

void StartWith(MenuFixture& menu, const TMenuDatWriter& w) {
    menu.WriteFile("Menue.dat", w.Build());
    ASSERT_TRUE(menu.Start());
    menu.Main()->Banners().Seed(7);
}

// Starts the menu with these banner targets.
void StartWith(MenuFixture& menu, const std::string& target2, const std::string& target3) {
    StartWith(menu, MenuWith(target2, target3));
}

int Shown(const TMainForm* m) {
    int shown = -1, count = 0;
    for (int i = 0; i < 3; ++i)
        if (m->Banners().Banner(i)->Left() == 15) shown = i, ++count;
    return count == 1 ? shown : -2;
}

}  // namespace

TEST(BannerStrip, OnlyBannerOneWhenTheSecondIsAbsent) {
    // "---" anywhere in the second target restricts the strip to banner 1, whatever the third says.
    for (const std::string target2 : {"---", "www.zwei---drei.de"}) {
        MenuFixture menu(MenuFixture::kNoStart);
        StartWith(menu, target2, "www.drei.de");
        TMainForm* m = menu.Main();
        EXPECT_EQ(Shown(m), 0);
        for (int i = 0; i < 50; ++i) m->Banners().Cycle();
        EXPECT_EQ(Shown(m), 0);
        // Its animation wraps again and again; nothing changes.
        menu.Backend().Advance(60000);
        EXPECT_EQ(Shown(m), 0);
        EXPECT_TRUE(m->Banners().Banner(0)->Animate());
    }
}

TEST(BannerStrip, BannersOneAndTwoAlternateAtRandom) {
    MenuFixture menu(MenuFixture::kNoStart);
    StartWith(menu, "www.zwei.de", "---");
    TMainForm* m = menu.Main();
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) {
        m->Banners().Cycle();
        const int shown = Shown(m);
        seen.insert(shown);
        // Waiting banners stand off-screen and do not animate.
        for (int b = 0; b < 3; ++b)
            if (b != shown) {
                EXPECT_EQ(m->Banners().Banner(b)->Left(), -200);
                EXPECT_EQ(m->Banners().Banner(b)->Top(), 395);
                EXPECT_FALSE(m->Banners().Banner(b)->Animate());
            }
        // Both are animated: the 20-second timer is off while they show.
        EXPECT_FALSE(m->Banners().Timer1()->Enabled());
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1}));
}

TEST(BannerStrip, WaitingBannersEventsAreIgnoredAndTheStillOneUsesTheTimer) {
    MenuFixture menu(MenuFixture::kNoStart);
    StartWith(menu, "www.zwei.de", "www.drei.de");
    TMainForm* m = menu.Main();
    while (Shown(m) != 2) m->Banners().Cycle();
    // The still banner: the timer replaces it.
    EXPECT_TRUE(m->Banners().Timer1()->Enabled());
    media::TGIFImage* waiting = m->Banners().Banner(0);
    m->Banners().SetWrapped(false);
    m->Banners().WrapAnimation(waiting);
    EXPECT_FALSE(m->Banners().Wrapped());
    m->Banners().SetWrapped(true);
    m->Banners().Change(waiting);
    EXPECT_EQ(Shown(m), 2);
    EXPECT_TRUE(m->Banners().Wrapped());
    // The shown banner's change after a wrap rotates (and clears the flag).
    m->Banners().Change(m->Banners().Banner(2));
    EXPECT_FALSE(m->Banners().Wrapped());

    while (Shown(m) != 2) m->Banners().Cycle();
    int rotations = 0;
    for (int i = 0; i < 20 && rotations == 0; ++i) {
        menu.Backend().Advance(20000);
        if (Shown(m) != 2 || m->Banners().Timer1()->Enabled()) ++rotations;
    }
    EXPECT_GT(rotations, 0);
}

TEST(BannerStrip, AnimatedBannerRotatesAfterItsWrapAndAPlayOnceBannerAfterItsRun) {
    MenuFixture menu(MenuFixture::kNoStart);
    StartWith(menu, "www.zwei.de", "---");
    TMainForm* m = menu.Main();
    while (Shown(m) != 0) m->Banners().Cycle();
    // The looping banner: a wrap, then the next frame change rotates.
    bool wrapped = false, rotated = false;
    for (int step = 0; step < 100 && !rotated; ++step) {
        menu.Backend().Advance(50);
        if (m->Banners().Wrapped()) wrapped = true;
        if (wrapped && !m->Banners().Wrapped()) rotated = true;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_TRUE(rotated);

    // The banner that plays once: no change follows its last wrap, so the timer replaces it once its
    // last frame has been up for its own delay.
    while (Shown(m) != 1) m->Banners().Cycle();
    media::TGIFImage* once = m->Banners().Banner(1);
    for (int step = 0; step < 100 && once->AnimationTimer(); ++step) menu.Backend().Advance(10);
    ASSERT_EQ(once->AnimationTimer(), nullptr);
    EXPECT_TRUE(m->Banners().Timer1()->Enabled());
    EXPECT_EQ(m->Banners().Timer1()->Interval(), int(once->FrameInterval(once->FrameCount())));
    EXPECT_EQ(Shown(m), 1);
    menu.Backend().Advance(once->FrameInterval(once->FrameCount()));
    // Rotated: another banner, or the same one started again.
    EXPECT_TRUE(Shown(m) == 0 || once->AnimationTimer() != nullptr);
    // A still banner still waits the full 20 seconds afterwards.
    m->Banners().Cycle();
    EXPECT_EQ(m->Banners().Timer1()->Interval(), 20000);

    // Ten minutes: the strip never stands still, and both banners keep coming to the end.
    std::set<int> lastMinute;
    int changes = 0, previous = Shown(m);
    for (int t = 0; t < 600000; t += 100) {
        menu.Backend().Advance(100);
        const int shown = Shown(m);
        ASSERT_TRUE(shown == 0 || shown == 1) << t;
        const media::TGIFImage* b = m->Banners().Banner(shown);
        ASSERT_TRUE(b->AnimationTimer() || m->Banners().Timer1()->Enabled())
            << "the strip stopped at " << t << " ms";
        if (shown != previous) ++changes;
        previous = shown;
        if (t >= 540000) lastMinute.insert(shown);
    }
    EXPECT_GT(changes, 100);
    EXPECT_EQ(lastMinute, (std::set<int>{0, 1}));

    // A click opens the banner's own redirect link.
    menu.Shell().Clear();
    menu.Click(m->Banners().Banner(1));
    ASSERT_EQ(menu.Shell().Calls().size(), 1u);
    EXPECT_EQ(menu.Shell().Calls()[0].target,
              "http://redirect.example.net/redirect.php4?project=TEST&url=www.zwei.de");
}

TEST(BannerStrip, ScriptsSeeWhichBannerIsShown) {
    MenuFixture menu(MenuFixture::kNoStart);
    StartWith(menu, "www.zwei.de", "www.drei.de");
    TMainForm* m = menu.Main();
    while (Shown(m) != 2) m->Banners().Cycle();
    auto run = [&](const std::string& script, std::string& err) {
        TScriptRunner runner(*menu.App());
        runner.SetScript(script);
        while (runner.Step()) {
        }
        err = runner.Error();
        return runner.Failed() ? 1 : 0;
    };
    std::string err;
    EXPECT_EQ(run("expect-banner 3\n", err), 0) << err;
    EXPECT_EQ(run("expect-banner 1\n", err), 1);
    EXPECT_NE(err.find("line 1: expect-banner 1: banner 3 is shown"), std::string::npos) << err;
    EXPECT_EQ(run("expect-banner 4\n", err), 1);
    EXPECT_NE(err.find("expected a banner 1 to 3"), std::string::npos) << err;
}

TEST(BannerStrip, ADamagedBannerIsLeftOutAndTheMenuStarts) {
    // The third blob is a PNG picture, as another tool might have written it.
    TMenuDatWriter w = MenuWith("www.zwei.de", "www.drei.de");
    w.Gifs[2] = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(60, '\0');
    {
        MenuFixture menu(MenuFixture::kNoStart);
        StartWith(menu, w);
        TMainForm* m = menu.Main();
        EXPECT_TRUE(menu.Backend().MessageBoxes().empty());
        EXPECT_TRUE(m->Banners().Banner(2)->Empty());
        std::set<int> seen;
        for (int i = 0; i < 100; ++i) {
            m->Banners().Cycle();
            seen.insert(Shown(m));
        }
        EXPECT_EQ(seen, (std::set<int>{0, 1}));
        // Ten minutes of rotation never bring the empty banner into the strip.
        for (int t = 0; t < 600000; t += 500) {
            menu.Backend().Advance(500);
            ASSERT_NE(m->Banners().Banner(2)->Left(), 15) << t;
        }
        // Nor does a click on it open its link.
        menu.Shell().Clear();
        m->Banners().Click(m->Banners().Banner(2));
        EXPECT_TRUE(menu.Shell().Calls().empty());
    }
    // menudat list and the preview say which banner is gone and why.
    const std::vector<std::string> problems = CheckMenuResourceFile(w.Build());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0],
              "GIF 3 is no GIF picture (it does not start with \"GIF\"): the menu leaves banner 3 out");

    // A GIF cut off inside its header, as the only banner: the strip stays empty.
    w = MenuWith("---", "---");
    w.Gifs[0] = w.Gifs[0].substr(0, 9);
    MenuFixture menu(MenuFixture::kNoStart);
    StartWith(menu, w);
    TMainForm* m = menu.Main();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m->Banners().Banner(i)->Left(), -200) << i;
    menu.Backend().Advance(60000);
    EXPECT_EQ(m->Banners().Banner(0)->Left(), -200);
    EXPECT_EQ(CheckMenuResourceFile(w.Build())[0],
              "GIF 1 does not decode: its header is cut off: the menu leaves banner 1 out");
}

TEST(BannerStrip, ThePreviewShowsEachBannerOnAStartPageOfItsOwn) {
    // Banner 1 a red still; banner 2 starts black, flashes white and rests on blue; banner 3 is
    // damaged.
    TMenuDatWriter w = MenuWith("www.zwei.de", "www.drei.de");
    w.Gifs[0] = GifOfColours({2}, {0});
    w.Gifs[1] = GifOfColours({0, 1, 3}, {10, 10, 200});
    w.Gifs[2] = w.Gifs[2].substr(0, 9);
    MenuFixture menu(MenuFixture::kNoStart);
    StartWith(menu, w);
    const std::string out = menu.Dir() + "vorschau/";
    EXPECT_EQ(RunPreview(*menu.App(), out), 1);

    // By path: a page named with an umlaut has no narrow name to open it by on every system.
    auto stripCentre = [&](const std::filesystem::path& page) -> std::optional<gfx::TColor> {
        std::ifstream in(std::filesystem::path(out) / page, std::ios::binary);
        const std::vector<uint8_t> png{std::istreambuf_iterator<char>(in), {}};
        if (png.empty()) return std::nullopt;
        gfx::TBitmap b;
        gfx::DecodePng(png.data(), png.size(), b);
        return b.Pixel(15 + 85, 395 + 35) & 0xFFFFFF;
    };
    EXPECT_EQ(stripCentre("00 Startseite.png"), gfx::RGB(200, 40, 40));
    EXPECT_EQ(stripCentre("00 Startseite - Banner 2.png"), gfx::RGB(40, 40, 200));
    EXPECT_EQ(stripCentre("00 Startseite - Banner 3.png"), std::nullopt);
    // The other pages show the first banner.
    int pages = 0;
    for (const auto& e : std::filesystem::directory_iterator(out)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("01 ", 0) != 0) continue;
        ++pages;
        EXPECT_EQ(stripCentre(e.path().filename()), gfx::RGB(200, 40, 40)) << name;
    }
    EXPECT_GT(pages, 1);
    std::ifstream report(out + "report.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(report), {}};
    EXPECT_NE(
        text.find("- Menue.dat: GIF 3 does not decode: its header is cut off: the menu leaves banner 3 out"),
        std::string::npos)
        << text;
}
