#include "media/GIFDecoder.h"

#include <gtest/gtest.h>

#include <random>

#include "tools/common/GifWriter.h"

using media::TGIFDecoder;
using media::TGIFFrame;
using media::TGIFFrameStatus;

namespace {

std::vector<uint8_t> Palette(int entries) {
    std::vector<uint8_t> p;
    for (int i = 0; i < entries; ++i) {
        p.push_back(uint8_t(i * 3));
        p.push_back(uint8_t(i * 5));
        p.push_back(uint8_t(255 - i));
    }
    return p;
}

TGifImageSpec Solid(int w, int h, uint8_t index, int left = 0, int top = 0) {
    TGifImageSpec s = TGifImageSpec::Blank(w, h, left, top);
    s.Pixels.assign(s.Pixels.size(), index);
    return s;
}

TGifImageSpec Random(int w, int h, int colours, std::mt19937& rng) {
    TGifImageSpec s = Solid(w, h, 0);
    // Runs of repeated values make long LZW strings; single noise pixels make short ones.
    uint8_t v = 0;
    for (auto& p : s.Pixels) {
        if (rng() % 7 == 0) v = uint8_t(rng() % colours);
        p = rng() % 11 == 0 ? uint8_t(rng() % colours) : v;
    }
    return s;
}

bool Decode(TGIFDecoder& d, const TGifWriter& w) {
    return d.Decode(w.Bytes().data(), w.Bytes().size());
}

}  // namespace

TEST(GIFDecoder, DecodesWhatTheEncoderWrote) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        const int colours = 1 + int(rng() % 256);
        const int w = 1 + int(rng() % 97), h = 1 + int(rng() % 61);
        TGifImageSpec s = Random(w, h, colours, rng);
        s.Interlaced = round % 3 == 0;
        s.SubBlockSize = round % 4 == 0 ? 1 + int(rng() % 254) : 255;
        TGifWriter wr;
        wr.Header(w, h, Palette(colours)).Image(s).Trailer();
        TGIFDecoder d;
        ASSERT_TRUE(Decode(d, wr)) << round;
        ASSERT_EQ(d.FrameCount(), 1);
        EXPECT_EQ(d.Frames[0]->Pixels, s.Pixels) << "round " << round << " " << w << "x" << h;
        EXPECT_EQ(d.Position(), int64_t(wr.Bytes().size()));
    }
    // A large picture crosses many clears of the full code table.
    TGifImageSpec big = Random(700, 400, 200, rng);
    TGifWriter wr;
    wr.Header(700, 400, Palette(200)).Image(big).Trailer();
    TGIFDecoder d;
    ASSERT_TRUE(Decode(d, wr));
    EXPECT_EQ(d.Frames[0]->Pixels, big.Pixels);
}

TEST(GIFDecoder, GraphicControlAppliesToTheNextImageOnly) {
    TGifWriter wr;
    wr.Header(4, 4, Palette(4)).Image(Solid(4, 4, 1));
    wr.GraphicControl(7, 1, 2).Image(Solid(4, 4, 2));
    wr.GraphicControl(2, 4).Image(Solid(4, 4, 3));  // disposal 4..7 count as 2
    wr.GraphicControl(0, 7).Image(Solid(4, 4, 3));
    wr.GraphicControl(0, 3).Image(Solid(4, 4, 3));
    wr.Image(Solid(4, 4, 0)).Trailer();
    TGIFDecoder d;
    ASSERT_TRUE(Decode(d, wr));
    ASSERT_EQ(d.FrameCount(), 6);
    const TGIFFrame& a = *d.Frames[0];
    EXPECT_EQ(a.Delay, 0);
    EXPECT_EQ(a.Disposal, 0);
    EXPECT_FALSE(a.Transparent);
    EXPECT_TRUE(a.Mask.empty());
    const TGIFFrame& b = *d.Frames[1];
    EXPECT_EQ(b.Delay, 70);
    EXPECT_EQ(b.Disposal, 1);
    EXPECT_TRUE(b.Transparent);
    EXPECT_EQ(b.TransparentIndex, 2);
    EXPECT_EQ(b.Mask, std::vector<uint8_t>(16, 1));  // every pixel has the transparent index
    EXPECT_EQ(d.Frames[2]->Disposal, 2);
    EXPECT_EQ(d.Frames[2]->Delay, 20);
    EXPECT_EQ(d.Frames[3]->Disposal, 2);
    EXPECT_EQ(d.Frames[4]->Disposal, 3);
    EXPECT_EQ(d.Frames[4]->SavedImage.size(), 16u);
    EXPECT_EQ(d.Frames[5]->Disposal, 0);
    EXPECT_EQ(d.Frames[5]->Delay, 0);
    EXPECT_TRUE(d.HasTransparency);
    EXPECT_EQ(d.Version, media::TGIFVersion::gvGIF89a);
}

TEST(GIFDecoder, LoopCountVersionAndLogicalSize) {
    TGIFDecoder d;
    TGifWriter none;
    none.Header(10, 10, Palette(2), false).Image(Solid(10, 10, 1)).Trailer();
    ASSERT_TRUE(Decode(d, none));
    EXPECT_EQ(d.LoopCount, 1);
    EXPECT_EQ(d.Version, media::TGIFVersion::gvGIF87a);

    TGifWriter forever;
    forever.Header(10, 10, Palette(2)).LoopCount(0).Image(Solid(10, 10, 1)).Trailer();
    ASSERT_TRUE(Decode(d, forever));
    EXPECT_EQ(d.LoopCount, 0);

    // A frame reaching beyond the screen grows the picture; another application block is skipped whole.
    TGifWriter beyond;
    beyond.Header(10, 10, Palette(2)).Application("XMPDataX", "MP ", std::vector<uint8_t>(600, 0x2C));
    beyond.LoopCount(513).Image(Solid(10, 10, 1)).Image(Solid(6, 3, 1, 8, 12)).Trailer();
    ASSERT_TRUE(Decode(d, beyond));
    EXPECT_EQ(d.LoopCount, 513);
    EXPECT_EQ(d.FrameCount(), 2);
    EXPECT_EQ(d.ImageWidth, 14);
    EXPECT_EQ(d.ImageHeight, 15);
    EXPECT_EQ(d.ScreenWidth, 10);
}

TEST(GIFDecoder, FirstImageOnlyAndFrameLimit) {
    TGifWriter wr;
    wr.Header(3, 3, Palette(2));
    for (int i = 0; i < 257; ++i) wr.GraphicControl(i).Image(Solid(3, 3, uint8_t(i & 1)));
    wr.Trailer();
    TGIFDecoder d;
    ASSERT_TRUE(Decode(d, wr));
    EXPECT_EQ(d.FrameCount(), 256);
    EXPECT_EQ(d.Frames[255]->Delay, 2550);

    d.FirstImageOnly = true;
    ASSERT_TRUE(Decode(d, wr));
    EXPECT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.Position(), int64_t(wr.Bytes().size()));
}

TEST(GIFDecoder, InterlacedRowsAndPalettes) {
    // Three rows: stored as rows 0, 2, 1.
    TGifImageSpec s = Solid(2, 3, 0);
    s.Pixels = {1, 1, 2, 2, 3, 3};
    s.Interlaced = true;
    TGifImageSpec local = Solid(2, 1, 5);
    local.LocalPalette = Palette(6);  // 8-entry table
    TGifWriter wr;
    wr.Header(2, 3, Palette(4)).Image(s).Image(local).Image(Solid(2, 1, 7)).Trailer();
    TGIFDecoder d;
    ASSERT_TRUE(Decode(d, wr));
    ASSERT_EQ(d.FrameCount(), 3);
    EXPECT_EQ(d.Frames[0]->Pixels, s.Pixels);
    EXPECT_TRUE(d.Frames[0]->Interlaced);
    EXPECT_EQ(d.Frames[0]->PaletteCount, 4);
    EXPECT_EQ(d.Frames[0]->Rgb(3), 0x09'0F'FCu);
    EXPECT_EQ(d.Frames[0]->Rgb(4), 0u);  // beyond the table's entries
    EXPECT_EQ(d.Frames[1]->PaletteCount, 8);
    EXPECT_EQ(d.Frames[1]->ColourBits, 3);
    // The global table's frame after a larger local table gets 2^MaxColourBits entries.
    EXPECT_EQ(d.Frames[2]->PaletteCount, 8);
    EXPECT_EQ(d.Frames[2]->Rgb(7), 0u);
    EXPECT_EQ(d.MaxColourBits, 3);

    // No colour table anywhere: a one-entry black palette.
    TGifWriter bare;
    bare.Header(2, 2).Image(Solid(2, 2, 1)).Trailer();
    ASSERT_TRUE(Decode(d, bare));
    EXPECT_EQ(d.Frames[0]->PaletteCount, 1);
    EXPECT_EQ(d.Frames[0]->Rgb(0), 0u);
    EXPECT_EQ(d.Frames[0]->Rgb(1), 0u);
}

TEST(GIFDecoder, TruncatedAndDamagedData) {
    std::mt19937 rng(3);
    TGifImageSpec second = Random(40, 30, 16, rng);
    second.SubBlockSize = 16;
    TGifWriter wr;
    wr.Header(40, 30, Palette(16)).Image(Solid(40, 30, 4)).GraphicControl(0, 0, 9).Image(second).Trailer();
    const std::size_t full = wr.Bytes().size();
    wr.Truncate(full - 60);  // inside the pixel data of frame 2
    TGIFDecoder d;
    ASSERT_TRUE(Decode(d, wr));
    ASSERT_EQ(d.FrameCount(), 2);
    EXPECT_EQ(d.Frames[0]->Pixels, std::vector<uint8_t>(1200, 4));
    EXPECT_EQ(d.Frames[0]->Status, TGIFFrameStatus::gsOk);
    const TGIFFrame& f = *d.Frames[1];
    EXPECT_EQ(f.Status, TGIFFrameStatus::gsTruncated);
    EXPECT_EQ(d.DroppedFrame, TGIFFrameStatus::gsOk);
    std::size_t same = 0;
    while (same < f.Pixels.size() && f.Pixels[same] == second.Pixels[same]) ++same;
    EXPECT_GT(same, 100u);
    EXPECT_LT(same, 1200u);
    for (std::size_t i = same + 1; i < f.Pixels.size(); ++i) ASSERT_EQ(f.Pixels[i], 0) << i;
    for (std::size_t i = same + 1; i < f.Mask.size(); ++i) ASSERT_EQ(f.Mask[i], 1) << i;
    for (std::size_t i = 0; i < same; ++i) ASSERT_EQ(f.Mask[i], second.Pixels[i] == 9) << i;

    // A code whose prefix is itself ends the frame: literal 1, then 7 (> next free 6) makes old code 7,
    // so entry 7 gets prefix 7; using it is damage. The next frame is still read.
    TGifImageSpec bad = Solid(4, 4, 0);
    bad.RawCodes = {4, 1, 7, 2, 7, 1, 1, 1, 5};
    TGifWriter dmg;
    dmg.Header(4, 4, Palette(4)).GraphicControl(0, 0, 3).Image(bad).Image(Solid(4, 4, 2)).Trailer();
    ASSERT_TRUE(Decode(d, dmg));
    ASSERT_EQ(d.FrameCount(), 2);
    // 1, then 7 >= next: first char 1 and old code 1 -> "1 1", then 2, then 7 is its own prefix.
    std::vector<uint8_t> want(16, 0);
    want[0] = want[1] = want[2] = 1;
    want[3] = 2;
    EXPECT_EQ(d.Frames[0]->Pixels, want);
    EXPECT_EQ(d.Frames[0]->Mask[3], 0);
    EXPECT_EQ(d.Frames[0]->Mask[4], 1);
    EXPECT_EQ(d.Frames[0]->Status, TGIFFrameStatus::gsDamaged);
    EXPECT_EQ(d.Frames[1]->Pixels, std::vector<uint8_t>(16, 2));
    EXPECT_EQ(d.Frames[1]->Status, TGIFFrameStatus::gsOk);

    // Data without an end code and without a terminator, followed directly by the trailer.
    TGifImageSpec open = Solid(5, 1, 3);
    open.EndCode = false;
    TGifWriter noEnd;
    noEnd.Header(5, 1, Palette(4)).Image(open).Trailer();
    ASSERT_TRUE(Decode(d, noEnd));
    EXPECT_EQ(d.Frames[0]->Pixels, std::vector<uint8_t>(5, 3));
    EXPECT_EQ(d.Frames[0]->Status, TGIFFrameStatus::gsOk);

    // The file ends inside the next frame's descriptor: that frame is dropped as truncated.
    TGifWriter cutDescriptor;
    cutDescriptor.Header(2, 2, Palette(4)).Image(Solid(2, 2, 1)).Raw({0x2C, 0, 0, 0});
    ASSERT_TRUE(Decode(d, cutDescriptor));
    EXPECT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.DroppedFrame, TGIFFrameStatus::gsTruncated);
}

TEST(GIFDecoder, RootCodeSizesBeyondTheTables) {
    for (int root = 12; root <= 15; ++root) {
        TGifImageSpec s = Solid(3, 1, 0);
        s.RootCodeSize = root;
        const int clear = 1 << root;
        // Literals (low byte stored), a code past the tables, a clear, and garbage after it.
        s.RawCodes = {clear, 0x105, 0x0FF, clear + 2, clear, clear + 40, 7, clear + 1};
        TGifWriter wr;
        wr.Header(3, 1, Palette(4)).Image(s).Image(Solid(3, 1, 2)).Trailer();
        TGIFDecoder d;
        ASSERT_TRUE(Decode(d, wr)) << root;
        ASSERT_EQ(d.FrameCount(), 2) << root;
        EXPECT_EQ(d.Frames[0]->Pixels, (std::vector<uint8_t>{0x05, 0xFF, 0xFF})) << root;
        EXPECT_EQ(d.Frames[0]->Status, TGIFFrameStatus::gsDamaged) << root;
        EXPECT_EQ(d.Frames[1]->Status, TGIFFrameStatus::gsOk) << root;
    }
    // Above 15 nothing is decoded and the data bytes are skipped as unknown blocks.
    TGifImageSpec s = Solid(3, 1, 1);
    s.RootCodeSize = 16;
    s.RawCodes = {1};
    TGifWriter wr;
    wr.Header(3, 1, Palette(4)).Image(s).Image(Solid(3, 1, 2)).Trailer();
    TGIFDecoder d;
    ASSERT_TRUE(Decode(d, wr));
    ASSERT_GE(d.FrameCount(), 1);
    EXPECT_EQ(d.Frames[0]->Pixels, std::vector<uint8_t>(3, 0));
    EXPECT_EQ(d.Frames[0]->Status, TGIFFrameStatus::gsDamaged);
}

TEST(GIFDecoder, BlockLoopToleranceAndFailures) {
    TGIFDecoder d;
    EXPECT_FALSE(d.Decode(nullptr, 0));
    const std::string png = "\x89PNG\r\n\x1a\n-------";
    EXPECT_FALSE(d.Decode(reinterpret_cast<const uint8_t*>(png.data()), png.size()));
    TGifWriter shortHeader;
    shortHeader.Header(4, 4, Palette(4)).Truncate(15);
    EXPECT_THROW(Decode(d, shortHeader), base::EReadError);

    // Junk pairs, an unknown extension label (only its two bytes are dropped, its body is then read as
    // further pairs), a comment and a plain text block, then a valid frame.
    TGifWriter junk;
    junk.Header(2, 2, Palette(4)).Raw({0x00, 0x00, 0x99, 0x42, 0x21, 0x77, 0x00, 0x00});
    junk.Comment("hallo").PlainText("Text").Image(Solid(2, 2, 3)).Trailer();
    ASSERT_TRUE(Decode(d, junk));
    ASSERT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.Frames[0]->Pixels, std::vector<uint8_t>(4, 3));

    // A zero width after a good frame: the whole decode fails.
    TGifWriter zero;
    zero.Header(2, 2, Palette(4)).Image(Solid(2, 2, 1)).Raw({0x2C, 0, 0, 0, 0, 0, 0, 2, 0, 0}).Trailer();
    EXPECT_FALSE(Decode(d, zero));
    EXPECT_EQ(d.DroppedFrame, TGIFFrameStatus::gsDamaged);

    // Over-large frames are dropped; the frames before them stay.
    TGifWriter huge;
    huge.Header(2, 2, Palette(4)).Image(Solid(2, 2, 1));
    huge.Raw({0x2C, 0, 0, 0, 0, 0x01, 0x40, 1, 0, 0, 2, 2, 0x4C, 0x01, 0});  // 16385 x 1
    huge.Image(Solid(2, 2, 1)).Trailer();
    ASSERT_TRUE(Decode(d, huge));
    EXPECT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.DroppedFrame, TGIFFrameStatus::gsTooLarge);

    // Memory: 3000 x 3000 frames that keep what lies under them (disposal 3) cost about 54 MB each
    // besides the 45 MB composed picture; the fifth would pass 256 MiB and is refused.
    TGifImageSpec tiny;
    tiny.Width = tiny.Height = 3000;
    tiny.RawCodes = {4, 1, 5};
    TGifWriter many;
    many.Header(3000, 3000, Palette(4));
    for (int i = 0; i < 5; ++i) many.GraphicControl(1, 3).Image(tiny);
    many.Trailer();
    ASSERT_TRUE(Decode(d, many));
    EXPECT_EQ(d.FrameCount(), 4);
    EXPECT_LE(d.BitmapBytes(), TGIFDecoder::kMaxBitmapBytes);
    EXPECT_EQ(d.Frames[3]->Pixels[0], 1);
    EXPECT_EQ(d.Frames[3]->Status, TGIFFrameStatus::gsTruncated);  // one pixel, then the end code
    EXPECT_EQ(d.DroppedFrame, TGIFFrameStatus::gsTooLarge);
}

TEST(GIFDecoder, ProgressAndCancel) {
    std::mt19937 rng(5);
    TGifWriter wr;
    wr.Header(400, 300, Palette(8)).Image(Random(400, 300, 8, rng)).Image(Random(400, 300, 8, rng)).Trailer();
    TGIFDecoder d;
    std::vector<int64_t> seen;
    d.OnProgress = [&](int64_t done, int64_t total) {
        EXPECT_EQ(total, int64_t(wr.Bytes().size()));
        seen.push_back(done);
        return true;
    };
    ASSERT_TRUE(Decode(d, wr));
    // Block loop (2 frames + trailer), rows 0, 32, ... 288 of each wide frame, and the final call.
    EXPECT_EQ(seen.size(), 3u + 2u * 10u + 1u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), int64_t(wr.Bytes().size()));

    // A cancel inside the second frame's rows drops that frame only.
    int calls = 0;
    d.OnProgress = [&](int64_t, int64_t) { return ++calls < 16; };
    ASSERT_TRUE(Decode(d, wr));
    EXPECT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.DroppedFrame, TGIFFrameStatus::gsCancelled);
    EXPECT_EQ(d.Frames[0]->Status, TGIFFrameStatus::gsOk);
    // A cancel in the block loop aborts the decode.
    d.OnProgress = [&](int64_t, int64_t) { return false; };
    EXPECT_THROW(Decode(d, wr), media::EGIFAbort);
}
