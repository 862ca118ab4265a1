// The GIF control on a form of the headless backend: tick and event order, loops, speed, the
// animation switch and painting, all on the virtual clock.
#include <gtest/gtest.h>

#include <thread>

#include "base/MemoryStream.h"
#include "media/GIFImage.h"
#include "tests/media/MediaFixture.h"
#include "tests/support/Place.h"
#include "tools/common/GifWriter.h"

using media::TGIFImage;
using media::testing::MediaFixture;

namespace {

// Colour i of the test palette as the window shows it (0x00BBGGRR).
gfx::TColor Col(int i) {
    return gfx::RGB(40 * i + 20, 255 - 30 * i, 7 * i);
}

std::vector<uint8_t> Palette() {
    std::vector<uint8_t> p;
    for (int i = 0; i < 8; ++i)
        p.insert(p.end(), {uint8_t(40 * i + 20), uint8_t(255 - 30 * i), uint8_t(7 * i)});
    return p;
}

TGifImageSpec Solid(int w, int h, uint8_t index) {
    TGifImageSpec s;
    s.Width = w, s.Height = h, s.Pixels.assign(std::size_t(w) * h, index);
    return s;
}

// Frames of one colour each (colour = frame number), with the given delays in hundredths.
TGifWriter Animation(const std::vector<int>& delays, int loops = -1, int transparentFirst = -1) {
    TGifWriter w;
    w.Header(10, 6, Palette());
    if (loops >= 0) w.LoopCount(loops);
    for (std::size_t i = 0; i < delays.size(); ++i) {
        TGifImageSpec s = Solid(10, 6, uint8_t(i + 1));
        if (i == 0 && transparentFirst >= 0)
            for (std::size_t p = 0; p < s.Pixels.size(); p += 2) s.Pixels[p] = uint8_t(transparentFirst);
        w.GraphicControl(delays[i], 1, i == 0 ? transparentFirst : -1).Image(s);
    }
    return w.Trailer();
}

class GIFAnimation : public MediaFixture {
protected:
    TGIFImage* Banner(const TGifWriter& gif, int left = 20, int top = 30, int width = 10, int height = 6) {
        auto* image = Place<TGIFImage>(form, left, top, width, height);
        base::TMemoryStream s(gif.Bytes());
        EXPECT_TRUE(image->LoadFromStream(s));
        image->OnChanging = [this](gui::TComponent*) { log.push_back("changing"); };
        image->OnChange = [this, image](gui::TComponent*) {
            log.push_back("change " + std::to_string(image->CurrentFrame()));
        };
        image->OnWrapAnimation = [this](gui::TComponent*) { log.push_back("wrap"); };
        return image;
    }
    std::vector<std::string> Take() { return std::exchange(log, {}); }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(GIFAnimation, PlaysOncePassWithEventOrderAndStays) {
    TGIFImage* image = Banner(Animation({10, 20, 0}));  // no loop block: one pass
    image->SetAnimate(true);
    hb->Pump();
    ASSERT_NE(image->AnimationTimer(), nullptr);
    EXPECT_EQ(Pixel(25, 33), Col(1));

    hb->Advance(99);
    EXPECT_EQ(Take(), Log{});
    hb->Advance(1);  // the first tick only schedules: frame 1 stays for a second interval
    EXPECT_EQ(Take(), (Log{"changing", "change 2"}));
    EXPECT_EQ(Pixel(25, 33), Col(1));
    hb->Advance(50);
    image->Invalidate();  // a paint between ticks leaves the next one where it was
    hb->Pump();
    hb->Advance(49);
    EXPECT_EQ(Take(), Log{});
    hb->Advance(1);
    EXPECT_EQ(Take(), (Log{"changing", "change 3"}));
    EXPECT_EQ(Pixel(25, 33), Col(2));
    hb->Advance(199);
    EXPECT_EQ(Take(), Log{});
    hb->Advance(1);  // frame 3, then the wrap after the change, once
    EXPECT_EQ(Take(), (Log{"changing", "change 4", "wrap"}));
    EXPECT_EQ(Pixel(25, 33), Col(3));
    EXPECT_EQ(image->AnimationTimer(), nullptr);
    EXPECT_EQ(image->LoopsDone(), 2);

    // Finished: no timer, no events, the last frame stays, even after a repaint.
    image->Invalidate();
    hb->Advance(5000);
    EXPECT_EQ(Take(), Log{});
    EXPECT_EQ(Pixel(25, 33), Col(3));
    EXPECT_EQ(image->CurrentFrame(), 4);

    // Loop restarts the finished animation from the last frame's disposal.
    image->SetLoop(true);
    ASSERT_NE(image->AnimationTimer(), nullptr);
    hb->Advance(99);
    EXPECT_EQ(Take(), Log{});
    hb->Advance(1);  // frame 3 disposed (kept), frame 1 composed
    EXPECT_EQ(Take(), (Log{"changing", "change 2"}));
    EXPECT_EQ(Pixel(25, 33), Col(1));
    hb->Advance(100 + 200 + 50);
    EXPECT_EQ(Take(), (Log{"changing", "change 3", "changing", "change 1", "wrap", "changing", "change 2"}));
    // Switching the animation off shows frame 1 again.
    image->SetAnimate(false);
    EXPECT_EQ(image->AnimationTimer(), nullptr);
    EXPECT_EQ(image->CurrentFrame(), 1);
    EXPECT_EQ(Pixel(25, 33), Col(1));
    hb->Advance(1000);
    EXPECT_EQ(Take(), Log{});
}

TEST_F(GIFAnimation, LoopCountsSpeedAndStills) {
    // Two passes, then it stops on the last frame. A finite animation stays one past the last
    // frame at each wrap; the next tick starts again at 1.
    TGIFImage* twice = Banner(Animation({10, 10}, 2));
    twice->SetAnimate(true);
    hb->Pump();
    hb->Advance(100 * 5);
    EXPECT_EQ(Take(), (Log{"changing", "change 2", "changing", "change 3", "wrap", "changing", "change 2",
                           "changing", "change 3", "wrap"}));
    hb->Advance(1000);
    EXPECT_EQ(Take(), Log{});

    // Loop count 0 runs for ever; Speed 200 halves every interval, Speed 0 is one hundredth.
    TGIFImage* forever = Banner(Animation({10, 4}, 0), 100, 30);
    forever->SetAnimate(true);
    hb->Pump();
    forever->SetSpeed(200);  // the next tick comes at once
    hb->Advance(1);
    EXPECT_EQ(Take(), (Log{"changing", "change 2"}));
    hb->Advance(49);
    EXPECT_EQ(Take(), Log{});
    hb->Advance(1);  // frame 2 shown; its 40 ms delay counts as 50, halved
    EXPECT_EQ(Take(), (Log{"changing", "change 1", "wrap"}));
    hb->Advance(25);
    EXPECT_EQ(Take(), (Log{"changing", "change 2"}));
    forever->SetSpeed(0);
    EXPECT_EQ(forever->Speed(), 1);
    hb->Advance(1);
    EXPECT_EQ(Take(), (Log{"changing", "change 1", "wrap"}));
    hb->Advance(4999);
    EXPECT_EQ(Take(), Log{});
    hb->Advance(1);
    EXPECT_EQ(Take(), (Log{"changing", "change 2"}));
    forever->SetAnimate(false);

    // A still picture never arms the timer and raises nothing after loading.
    TGifWriter still;
    still.Header(10, 6, Palette()).Image(Solid(10, 6, 3)).Trailer();
    TGIFImage* one = Banner(still, 200, 30);
    one->SetAnimate(true);
    hb->Advance(10000);
    EXPECT_EQ(one->AnimationTimer(), nullptr);
    EXPECT_EQ(Take(), Log{});
    EXPECT_EQ(Pixel(205, 33), Col(3));
}

TEST_F(GIFAnimation, PaintsOverTheParentStretchedTiledAndOpaque) {
    const gfx::TColor back = gfx::RGB(10, 20, 30);
    // First frame transparent at every other pixel: the form shows through.
    TGIFImage* image = Banner(Animation({10, 10}, 0, 0), 20, 30);
    EXPECT_EQ(Pixel(20, 30), back);
    EXPECT_EQ(Pixel(21, 30), Col(1));
    EXPECT_EQ(Pixel(29, 35), Col(1));
    EXPECT_EQ(Pixel(30, 35), back);  // outside the control

    // Stretched to twice the size: each picture pixel covers 2 x 2.
    image->SetBounds(20, 30, 20, 12);
    image->SetStretch(true);
    EXPECT_EQ(Pixel(20, 30), back);
    EXPECT_EQ(Pixel(21, 31), back);
    EXPECT_EQ(Pixel(22, 31), Col(1));
    EXPECT_EQ(Pixel(39, 41), Col(1));

    // Tiled 10 x 6 over 25 x 13, clipped at the control's edge.
    image->SetStretch(false);
    image->SetTile(true);
    image->SetBounds(20, 30, 25, 13);
    EXPECT_EQ(Pixel(20 + 10, 30), back);
    EXPECT_EQ(Pixel(20 + 21, 30 + 12), Col(1));
    EXPECT_EQ(Pixel(45, 30), back);

    // Opaque fills what the picture leaves with Color; the picture's own holes stay see-through
    // to that fill.
    image->SetTile(false);
    image->SetColor(gfx::clYellow);
    image->SetOpaque(true);
    EXPECT_EQ(Pixel(40, 40), gfx::clYellow);
    EXPECT_EQ(Pixel(20, 30), gfx::clYellow);
    EXPECT_EQ(Pixel(21, 30), Col(1));

    // Own visibility off: nothing painted, the place stays.
    image->SetVisible(false);
    EXPECT_EQ(Pixel(21, 30), back);
    EXPECT_EQ(image->Left(), 20);

    // A first frame without transparency: painted without the mask even where a later one is.
    TGifWriter later;
    later.Header(4, 2, Palette());
    later.GraphicControl(10, 2).Image(Solid(4, 2, 5));
    TGifImageSpec holes = Solid(4, 2, 6);
    holes.Pixels[0] = 0;
    later.GraphicControl(10, 1, 0).Image(holes).Trailer();
    TGIFImage* noMask = Banner(later, 100, 100, 4, 2);
    ASSERT_NE(noMask->Mask(), nullptr);
    noMask->SetCurrentFrame(2);  // disposal 2 of frame 1 leaves black, frame 2 keeps a hole there
    EXPECT_EQ(Pixel(100, 100), gfx::clBlack);
    EXPECT_EQ(Pixel(101, 100), Col(6));
}

TEST_F(GIFAnimation, ReloadWhileRunningAndThreadedTicks) {
    TGIFImage* image = Banner(Animation({10, 10, 10}, 0));
    image->SetAnimate(true);
    hb->Pump();
    hb->Advance(200);
    EXPECT_EQ(Take(), (Log{"changing", "change 2", "changing", "change 3"}));
    ASSERT_NE(image->AnimationTimer(), nullptr);

    // Loading stops the old animation first; the new picture starts at frame 1 and its timer at
    // once, painted or not.
    base::TMemoryStream next(Animation({5, 5}, 0).Bytes());
    ASSERT_TRUE(image->LoadFromStream(next));
    EXPECT_EQ(image->CurrentFrame(), 1);
    EXPECT_EQ(image->FrameCount(), 2);
    EXPECT_EQ(Take(), (Log{"changing", "change 1"}));  // the decoder composes frame 1
    ASSERT_NE(image->AnimationTimer(), nullptr);
    EXPECT_EQ(image->AnimationTimer()->Interval(), 50u);
    hb->Pump();
    hb->Advance(50);
    EXPECT_EQ(Take(), (Log{"changing", "change 2"}));

    // With Threaded on, the ticks come from the timer thread and run on the GUI thread.
    clock = media::testing::ThreadClock::Install();
    const auto gui = std::this_thread::get_id();
    std::thread::id where;
    image->OnChange = [&](gui::TComponent*) {
        where = std::this_thread::get_id();
        log.push_back("change " + std::to_string(image->CurrentFrame()));
    };
    image->SetThreaded(true);
    EXPECT_EQ(clock->WaitForSleeper(), 50u);
    hb->Advance(1000);  // the window timer no longer runs
    EXPECT_EQ(Take(), Log{});
    clock->Elapse();
    while (log.size() < 3) app->ProcessMessages();
    EXPECT_EQ(Take(), (Log{"changing", "change 1", "wrap"}));
    EXPECT_EQ(where, gui);
    EXPECT_EQ(Pixel(25, 33), Col(2));

    // AutoSize takes the picture's size; switching the animation off frees the timer and its thread.
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
    image->SetAnimate(false);
    EXPECT_EQ(image->AnimationTimer(), nullptr);
    clock->Close();
    media::TTimerThread::WaitUntilNoneAlive();
}
