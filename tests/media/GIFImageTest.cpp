// The GIF control without a running loop: composing and disposing, the picture rectangle, the
// opaque state, intervals, loading failures, persistence and painting onto a bitmap.
#include "media/GIFImage.h"

#include <gtest/gtest.h>

#include <map>

#include "base/MemoryStream.h"
#include "gfx/Canvas.h"
#include "tools/common/GifWriter.h"

using media::TGIFImage;

namespace {

// Reaches the protected steps the animation uses.
class Probe : public TGIFImage {
public:
    using TGIFImage::ComposeFrame;
    using TGIFImage::DisposeFrame;
    using TGIFImage::TGIFImage;
    using TGIFImage::UpdateOpaqueState;
};

std::vector<uint8_t> Palette(int n) {
    std::vector<uint8_t> p;
    for (int i = 0; i < n; ++i)
        p.insert(p.end(), {uint8_t(10 * i + 5), uint8_t(20 * i), uint8_t(255 - 3 * i)});
    return p;
}

uint32_t Rgb(int i) {
    return (uint32_t(10 * i + 5) << 16) | (uint32_t(20 * i) << 8) | uint32_t(255 - 3 * i);
}

bool Load(TGIFImage& image, const TGifWriter& w) {
    base::TMemoryStream s(w.Bytes());
    s.Seek(3, base::TSeekOrigin::soBeginning);  // loading starts at the beginning whatever the position
    return image.LoadFromStream(s);
}

struct Spec {
    int left, top, w, h, disposal, transparent;  // transparent index or -1
    std::vector<uint8_t> pixels;
};

// The expected picture, one pixel at a time: what each disposal method and each frame leave.
struct Reference {
    int W, H;
    std::vector<uint32_t> rgb;
    std::vector<uint8_t> clear;  // 1 = transparent
    std::map<int, std::pair<std::vector<uint32_t>, std::vector<uint8_t>>> saved;
    Reference(int w, int h) : W(w), H(h), rgb(std::size_t(w) * h, 0), clear(std::size_t(w) * h, 1) {}
    void Compose(const Spec& f, int index) {
        if (f.disposal == 3) saved[index] = {rgb, clear};
        for (int y = 0; y < f.h; ++y)
            for (int x = 0; x < f.w; ++x) {
                const int v = f.pixels[std::size_t(y) * f.w + x];
                if (v == f.transparent) continue;
                rgb[std::size_t(f.top + y) * W + f.left + x] = Rgb(v);
                clear[std::size_t(f.top + y) * W + f.left + x] = 0;
            }
    }
    void Dispose(const Spec& f, int index) {
        if (f.disposal == 2 || f.disposal >= 4)
            for (int y = f.top; y < f.top + f.h; ++y)
                for (int x = f.left; x < f.left + f.w; ++x) {
                    rgb[std::size_t(y) * W + x] = 0;
                    clear[std::size_t(y) * W + x] = 1;
                }
        if (f.disposal == 3) {
            // Only the frame's own rectangle comes back.
            for (int y = f.top; y < f.top + f.h; ++y)
                for (int x = f.left; x < f.left + f.w; ++x) {
                    rgb[std::size_t(y) * W + x] = saved[index].first[std::size_t(y) * W + x];
                    clear[std::size_t(y) * W + x] = saved[index].second[std::size_t(y) * W + x];
                }
        }
    }
};

TGifWriter Write(int W, int H, const std::vector<Spec>& frames) {
    TGifWriter w;
    w.Header(W, H, Palette(16));
    for (const Spec& f : frames) {
        w.GraphicControl(10, f.disposal, f.transparent);
        TGifImageSpec s;
        s.Left = f.left, s.Top = f.top, s.Width = f.w, s.Height = f.h, s.Pixels = f.pixels;
        w.Image(s);
    }
    return w.Trailer();
}

std::vector<uint8_t> Pattern(int w, int h, int seed, int transparent) {
    std::vector<uint8_t> p(std::size_t(w) * h);
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = uint8_t((i * 7 + seed) % 13);
    if (transparent >= 0)
        for (std::size_t i = 0; i < p.size(); i += 3) p[i] = uint8_t(transparent);
    return p;
}

}  // namespace

TEST(GIFImage, ComposesAndDisposesEveryMethodPixelExact) {
    const int W = 12, H = 9;
    std::vector<Spec> frames = {
        {0, 0, 12, 9, 1, 14, Pattern(12, 9, 1, 14)},  // keep, partly transparent
        {2, 1, 5, 4, 2, 15, Pattern(5, 4, 2, 15)},    // restore to background
        {6, 3, 5, 5, 3, 14, Pattern(5, 5, 3, 14)},    // restore to previous
        {1, 5, 4, 3, 3, -1, Pattern(4, 3, 4, -1)},    // restore to previous, opaque
        {0, 0, 6, 6, 6, -1, Pattern(6, 6, 5, -1)},    // 6 counts as 2
        {3, 2, 7, 6, 0, 13, Pattern(7, 6, 6, 13)},
    };
    Probe image(nullptr);
    ASSERT_TRUE(Load(image, Write(W, H, frames)));
    ASSERT_EQ(image.FrameCount(), 6);
    ASSERT_NE(image.Mask(), nullptr);
    Reference ref(W, H);
    ref.Compose(frames[0], 1);
    auto check = [&](int k) {
        const gfx::TBitmap& c = *image.Composed();
        const gfx::TBitmap& m = *image.Mask();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                ASSERT_EQ(c.Row32(y)[x] & 0xFFFFFF, ref.rgb[std::size_t(y) * W + x])
                    << "frame " << k << " at " << x << "," << y;
                ASSERT_EQ(m.PixelIndex(x, y), ref.clear[std::size_t(y) * W + x])
                    << "frame " << k << " at " << x << "," << y;
            }
    };
    check(1);
    // Two passes; without a running animation CurrentFrame is the frame shown, so stepping it
    // disposes that frame and composes the next, as the animation does.
    for (int step = 1; step <= 12; ++step) {
        const int k = step % 6 + 1, previous = image.CurrentFrame();
        image.SetCurrentFrame(k);
        ASSERT_EQ(image.CurrentFrame(), k);
        ref.Dispose(frames[std::size_t(previous - 1)], previous);
        ref.Compose(frames[std::size_t(k - 1)], k);
        check(k);
    }
    // Indices outside the frames change nothing.
    const uint32_t before = image.Composed()->Row32(4)[4];
    image.SetCurrentFrame(0);
    image.SetCurrentFrame(7);
    image.DisposeFrame(9);
    EXPECT_EQ(image.CurrentFrame(), 1);
    EXPECT_EQ(image.Composed()->Row32(4)[4], before);
}

TEST(GIFImage, PictureRectangleForEveryMode) {
    TGifWriter w;
    TGifImageSpec s;
    s.Width = 100, s.Height = 50, s.Pixels.assign(5000, 1);
    w.Header(100, 50, Palette(4)).Image(s).Trailer();
    Probe image(nullptr);
    ASSERT_TRUE(Load(image, w));
    image.SetBounds(0, 0, 170, 70);
    image.UpdateOpaqueState();
    EXPECT_EQ(image.DestRect(), gfx::Rect(0, 0, 100, 50));  // natural size, top left

    image.SetCenter(true);
    EXPECT_EQ(image.DestRect(), gfx::Rect(35, 10, 135, 60));
    image.SetBounds(0, 0, 95, 45);  // smaller than the picture: it overhangs on both sides
    EXPECT_EQ(image.DestRect(), gfx::Rect(-2, -2, 98, 48));
    image.SetBounds(0, 0, 96, 41);
    EXPECT_EQ(image.DestRect(), gfx::Rect(-2, -4, 98, 46));

    image.SetBounds(0, 0, 170, 70);
    image.SetStretchRatio(true);
    image.UpdateOpaqueState();
    EXPECT_TRUE(image.Stretched());
    EXPECT_EQ(image.DestRect(), gfx::Rect(15, 0, 155, 70));
    image.SetBounds(0, 0, 120, 100);  // wider than high: bars above and below
    image.UpdateOpaqueState();
    EXPECT_EQ(image.DestRect(), gfx::Rect(0, 20, 120, 80));
    image.SetBounds(0, 0, 333, 100);  // margins of 66.5 px round half to even
    image.UpdateOpaqueState();
    EXPECT_EQ(image.DestRect(), gfx::Rect(66, 0, 266, 100));

    // StretchBigOnly with a larger control: unstretched, centred because Center is on.
    image.SetStretchBigOnly(true);
    image.SetBounds(0, 0, 170, 70);
    image.UpdateOpaqueState();
    EXPECT_FALSE(image.Stretched());
    EXPECT_EQ(image.DestRect(), gfx::Rect(35, 10, 135, 60));
    image.SetBounds(0, 0, 90, 70);  // narrower: stretched again
    image.UpdateOpaqueState();
    EXPECT_TRUE(image.Stretched());
    // 0.9 in single precision makes the margin 12.5000005
    EXPECT_EQ(image.DestRect(), gfx::Rect(0, 13, 90, 57));

    image.SetStretch(true);
    EXPECT_EQ(image.DestRect(), gfx::Rect(0, 0, 90, 70));
    image.SetStretch(false);
    image.SetStretchRatio(false);
    image.UpdateOpaqueState();
    image.SetTile(true);
    EXPECT_EQ(image.DestRect(), gfx::Rect(0, 0, 90, 70));
    // The same size as the picture is never stretched.
    image.SetStretch(true);
    image.SetBounds(0, 0, 100, 50);
    image.UpdateOpaqueState();
    EXPECT_FALSE(image.Stretched());

    image.Clear();
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.FrameCount(), 0);
}

TEST(GIFImage, OpaqueStateAndIntervals) {
    TGifWriter w;
    w.Header(20, 10, Palette(4));
    TGifImageSpec a;
    a.Width = 20, a.Height = 10, a.Pixels.assign(200, 1);
    TGifImageSpec b = a;
    w.GraphicControl(0).Image(a).GraphicControl(2, 2, 1).Image(b).GraphicControl(7).Image(a).Trailer();
    Probe image(nullptr);
    ASSERT_TRUE(Load(image, w));
    EXPECT_TRUE(image.Animated());
    EXPECT_TRUE(image.HasTransparency());
    image.SetBounds(0, 0, 20, 10);
    image.UpdateOpaqueState();
    EXPECT_TRUE(image.IsOpaque());
    EXPECT_TRUE(image.ControlStyle() & gui::csOpaque);
    image.SetBounds(0, 0, 30, 10);  // the picture no longer covers the client area
    image.UpdateOpaqueState();
    EXPECT_FALSE(image.IsOpaque());
    EXPECT_FALSE(image.ControlStyle() & gui::csOpaque);
    image.SetStretch(true);
    image.UpdateOpaqueState();
    EXPECT_TRUE(image.IsOpaque());
    image.SetVisible(false);
    image.UpdateOpaqueState();
    EXPECT_FALSE(image.IsOpaque());

    // Delays 0 and 20 ms animate at 50 ms; Speed scales; 0 becomes 1.
    EXPECT_EQ(image.FrameInterval(1), 50u);
    EXPECT_EQ(image.FrameInterval(2), 50u);
    EXPECT_EQ(image.FrameInterval(3), 70u);
    image.SetSpeed(200);
    EXPECT_EQ(image.FrameInterval(1), 25u);
    EXPECT_EQ(image.FrameInterval(3), 35u);
    image.SetSpeed(0);
    EXPECT_EQ(image.Speed(), 1);
    EXPECT_EQ(image.FrameInterval(1), 5000u);
    EXPECT_EQ(image.FrameInterval(3), 7000u);
    image.SetSpeed(-5);
    EXPECT_EQ(image.Speed(), 1);
    image.SetSpeed(10000);
    EXPECT_EQ(image.FrameInterval(1), 1u);  // never below 1 ms
}

TEST(GIFImage, LoadingFailuresAndPersistence) {
    TGifWriter good;
    TGifImageSpec s;
    s.Width = 3, s.Height = 2, s.Pixels = {1, 2, 3, 3, 2, 1};
    good.Header(3, 2, Palette(4)).Image(s).Trailer();
    TGIFImage image(nullptr);
    ASSERT_TRUE(Load(image, good));
    EXPECT_FALSE(image.Empty());
    EXPECT_FALSE(image.Animated());
    EXPECT_EQ(image.DataStream().Bytes(), good.Bytes());
    EXPECT_EQ(image.Composed()->Row32(1)[0] & 0xFFFFFF, Rgb(3));
    EXPECT_EQ(image.Mask(), nullptr);

    // The "Data" property round trip, decoded when the form has loaded.
    base::TMemoryStream stored;
    image.WriteData(stored);
    EXPECT_EQ(stored.Size(), int64_t(4 + good.Bytes().size()));
    TGIFImage copy(nullptr);
    copy.BeginLoading();
    stored.SetPosition(0);
    copy.ReadData(stored);
    EXPECT_TRUE(copy.Empty());
    copy.Loaded();
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.ImageWidth(), 3);

    // A zero-width image after a good one: everything goes, also the frames read before.
    TGifWriter bad;
    bad.Header(3, 2, Palette(4)).Image(s).Raw({0x2C, 0, 0, 0, 0, 0, 0, 2, 0, 0}).Trailer();
    EXPECT_FALSE(Load(image, bad));
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.FrameCount(), 0);
    EXPECT_EQ(image.Composed(), nullptr);
    EXPECT_FALSE(image.HasData());
    // A truncated header is an exception inside: the same cleared state.
    TGifWriter cut = good;
    cut.Truncate(9);
    EXPECT_FALSE(Load(image, cut));
    EXPECT_TRUE(image.Empty());
    // An empty stream.
    base::TMemoryStream none;
    EXPECT_FALSE(image.LoadFromStream(none));

    // Progress: percentages of the bytes read, a cancel in the block loop fails the load.
    std::vector<int> percent;
    image.OnProgress = [&](gui::TComponent* sender, int done, int total, int pct, bool& keep) {
        EXPECT_EQ(sender, &image);
        EXPECT_EQ(total, int(good.Bytes().size()));
        EXPECT_LE(done, total);
        percent.push_back(pct);
        EXPECT_TRUE(keep);
    };
    EXPECT_TRUE(Load(image, good));
    ASSERT_FALSE(percent.empty());
    EXPECT_EQ(percent.back(), 100);
    image.OnProgress = [&](gui::TComponent*, int, int, int, bool& keep) { keep = false; };
    EXPECT_FALSE(Load(image, good));
    EXPECT_TRUE(image.Empty());
}
