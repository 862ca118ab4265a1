// The thumbnail pieces: rounding, fitting, the box filter, the whole-file read and the pipeline.
#include "gfx/Thumbnail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gfx/GraphicError.h"
#include "gfx/JpegCodec.h"

using namespace gfx;

TEST(Thumbnail, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(10, 3, 4), 8);  // 7.5
    EXPECT_EQ(MulDiv(10, 3, 7), 4);  // 4.29
    EXPECT_EQ(MulDiv(750, 261, 1000), 196);
    EXPECT_EQ(MulDiv(7, 3, 0), -1);
    // The product is taken in 64 bits.
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
}

TEST(Thumbnail, FitRectKeepsTheProportionsAndCentres) {
    TRect r{};
    ASSERT_TRUE(FitRect({0, 0, 400, 800}, {10, 20, 271, 216}, r));
    EXPECT_EQ(r, (TRect{91, 20, 189, 216}));  // 98 x 196, centred across
    ASSERT_TRUE(FitRect({0, 0, 1000, 300}, {0, 0, 261, 196}, r));
    EXPECT_EQ(r, (TRect{0, 59, 261, 137}));  // 261 x 78, centred down
    EXPECT_FALSE(FitRect({0, 0, 0, 10}, {0, 0, 261, 196}, r));
}

TEST(Thumbnail, BoxReduceAveragesEverySourcePixelOnce) {
    TBitmap src(4, 2);
    // Left block: red 0 and 200 mixed; right block: all the same blue.
    src.Row32(0)[0] = 0x000000;
    src.Row32(0)[1] = 0xC80000;
    src.Row32(1)[0] = 0xC80000;
    src.Row32(1)[1] = 0x000000;
    for (int y = 0; y < 2; ++y) src.Row32(y)[2] = src.Row32(y)[3] = 0x000040;
    const TBitmap out = BoxReduce(src, 2, 1);
    ASSERT_EQ(out.Width(), 2);
    ASSERT_EQ(out.Height(), 1);
    EXPECT_EQ(out.Row32(0)[0] & 0xFFFFFF, 0x640000u);
    EXPECT_EQ(out.Row32(0)[1] & 0xFFFFFF, 0x000040u);
    // The same size comes back as it is.
    EXPECT_EQ(BoxReduce(src, 4, 2).Row32(0)[1], src.Row32(0)[1]);
}

TEST(Thumbnail, ReadWholeFileReadsEveryByteOrSaysItCannot) {
    const auto path = std::filesystem::temp_directory_path() / "cdmenu-thumbnail-read.bin";
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 70000; ++i) out.put(char(i * 7));
    }
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path.string(), bytes));
    ASSERT_EQ(bytes.size(), 70000u);
    EXPECT_EQ(bytes[69999], uint8_t(69999 * 7));
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadWholeFile(path.string(), bytes));
}

TEST(Thumbnail, JpegThumbnailFitsLargePicturesAndLeavesSmallOnesAlone) {
    TBitmap big(1000, 750);
    for (int y = 0; y < 750; ++y)
        for (int x = 0; x < 1000; ++x) big.Row32(y)[x] = x < 500 ? 0x00FF0000 : 0x000000FF;
    const std::vector<uint8_t> jpg = EncodeJpeg(big, 95);
    TThumbnail t = JpegThumbnail(jpg.data(), jpg.size(), 261, 196);
    EXPECT_TRUE(t.fitted);
    EXPECT_EQ(t.place, (TRect{0, 0, 261, 196}));
    ASSERT_EQ(t.picture.Width(), 261);
    ASSERT_EQ(t.picture.Height(), 196);
    // Both halves keep their colour through the scaled decode and the filter.
    EXPECT_GT(GetRValue(t.picture.Pixel(30, 100)), 200);
    EXPECT_LT(GetBValue(t.picture.Pixel(30, 100)), 50);
    EXPECT_GT(GetBValue(t.picture.Pixel(230, 100)), 200);
    EXPECT_LT(GetRValue(t.picture.Pixel(230, 100)), 50);

    const std::vector<uint8_t> small = EncodeJpeg(TBitmap(100, 300), 90);
    t = JpegThumbnail(small.data(), small.size(), 261, 196);
    EXPECT_FALSE(t.fitted);
    EXPECT_EQ(t.picture.Width(), 100);
    EXPECT_EQ(t.picture.Height(), 300);

    std::vector<uint8_t> damaged(jpg.begin(), jpg.begin() + 40);
    EXPECT_THROW(JpegThumbnail(damaged.data(), damaged.size(), 261, 196), EInvalidGraphic);
}
