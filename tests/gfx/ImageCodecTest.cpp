#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"
#include "gfx/Hsl.h"
#include "gfx/JpegCodec.h"
#include "gfx/PngCodec.h"
#include "tools/common/BmpWriter.h"

using namespace gfx;

namespace {
TBitmap Gradient(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(x * 255 / (w - 1), y * 255 / (h - 1), 128));
    return b;
}
int MaxDiff(TColor a, TColor b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}
}  // namespace

TEST(JpegCodec, FullAndScaledDecodeOfLibjpegFiles) {
    TBitmap src = Gradient(100, 60);
    std::vector<uint8_t> jpg = EncodeJpeg(src, 95);
    EXPECT_TRUE(IsJpeg(jpg.data(), jpg.size()));
    EXPECT_EQ(JpegSize(jpg.data(), jpg.size()), (TSize{100, 60}));
    TBitmap full;
    DecodeJpeg(jpg.data(), jpg.size(), full);
    ASSERT_EQ(full.Width(), 100);
    ASSERT_EQ(full.Height(), 60);
    for (auto [x, y] : {std::pair{0, 0}, {50, 30}, {99, 59}, {10, 50}})
        EXPECT_LE(MaxDiff(full.Pixel(x, y), src.Pixel(x, y)), 10);
    for (int denom : {2, 4, 8}) {
        TBitmap small;
        DecodeJpeg(jpg.data(), jpg.size(), small, denom);
        EXPECT_EQ(small.Width(), (100 + denom - 1) / denom) << denom;
        EXPECT_EQ(small.Height(), (60 + denom - 1) / denom) << denom;
        // A scaled pixel shows the middle of the block of the original it stands for.
        int sx = small.Width() / 2, sy = small.Height() / 2;
        TColor block = src.Pixel(sx * denom + denom / 2, sy * denom + denom / 2);
        EXPECT_LE(MaxDiff(small.Pixel(sx, sy), block), 10) << denom;
    }
    EXPECT_THROW(DecodeJpeg(jpg.data(), jpg.size(), full, 3), EInvalidGraphic);
}

TEST(JpegCodec, CorruptFilesRaiseInsteadOfEndingTheProcess) {
    std::vector<uint8_t> jpg = EncodeJpeg(Gradient(64, 64), 80);
    TBitmap keep(2, 2);
    std::vector<uint8_t> truncated(jpg.begin(), jpg.begin() + long(jpg.size() / 2));
    EXPECT_THROW(DecodeJpeg(truncated.data(), truncated.size(), keep), EInvalidGraphic);
    std::vector<uint8_t> headerOnly(jpg.begin(), jpg.begin() + 20);
    EXPECT_THROW(JpegSize(headerOnly.data(), headerOnly.size()), EInvalidGraphic);
    std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0x12, 0x34, 0x56};
    try {
        DecodeJpeg(garbage.data(), garbage.size(), keep);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message().rfind("JPEG-Fehler: ", 0), 0u);
        EXPECT_GT(e.Message().size(), 14u);  // carries the library's reason
    }
    std::vector<uint8_t> badSof = jpg;
    for (size_t i = 2; i + 1 < badSof.size(); ++i)
        if (badSof[i] == 0xFF && badSof[i + 1] == 0xC0) {
            badSof[i + 5] = 0, badSof[i + 6] = 0;  // height 0
            break;
        }
    EXPECT_THROW(DecodeJpeg(badSof.data(), badSof.size(), keep), EInvalidGraphic);
    EXPECT_EQ(keep.Width(), 2);  // the target stays as it was
}

TEST(PngCodec, RoundTripAndDamage) {
    TBitmap src = Gradient(33, 17);
    std::vector<uint8_t> png = EncodePng(src);
    TBitmap back;
    DecodePng(png.data(), png.size(), back);
    ASSERT_EQ(back.Width(), 33);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) ASSERT_EQ(back.Pixel(x, y), src.Pixel(x, y));
    std::vector<uint8_t> cut(png.begin(), png.begin() + long(png.size() - 20));
    EXPECT_THROW(DecodePng(cut.data(), cut.size(), back), EInvalidGraphic);
    std::vector<uint8_t> crc = png;
    crc[20] ^= 0xFF;  // inside IHDR: checksum mismatch
    EXPECT_THROW(DecodePng(crc.data(), crc.size(), back), EInvalidGraphic);
}

// The compressed data's own checksum (the last four bytes of the IDAT data): a damaged one fails
// the file, unless the caller vouches for the data (pictures compiled into the program).
TEST(PngCodec, DataChecksumIsCheckedUnlessTheCallerVouches) {
    TBitmap src = Gradient(33, 17);
    std::vector<uint8_t> png = EncodePng(src);
    size_t pos = 8, idatEnd = 0;
    while (pos + 12 <= png.size()) {
        const uint32_t length = uint32_t(png[pos]) << 24 | uint32_t(png[pos + 1]) << 16 |
                                uint32_t(png[pos + 2]) << 8 | uint32_t(png[pos + 3]);
        if (std::memcmp(&png[pos + 4], "IDAT", 4) == 0) idatEnd = pos + 8 + length;
        pos += 12 + length;
    }
    ASSERT_GT(idatEnd, 0u);
    png[idatEnd - 1] ^= 0x5A;  // the adler-32 sum of the single IDAT chunk
    // The chunk's CRC is made right again, so that only the data's checksum is wrong.
    size_t start = 8;
    while (std::memcmp(&png[start + 4], "IDAT", 4) != 0)
        start += 12 + (size_t(png[start]) << 24 | size_t(png[start + 1]) << 16 | size_t(png[start + 2]) << 8 |
                       size_t(png[start + 3]));
    const uint32_t crc = uint32_t(crc32(0, &png[start + 4], uInt(idatEnd - start - 4)));
    for (int i = 0; i < 4; ++i) png[idatEnd + size_t(i)] = uint8_t(crc >> (24 - 8 * i));

    TBitmap back;
    EXPECT_THROW(DecodePng(png.data(), png.size(), back), EInvalidGraphic);
    DecodePng(png.data(), png.size(), back, false);
    ASSERT_EQ(back.Width(), 33);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) ASSERT_EQ(back.Pixel(x, y), src.Pixel(x, y));
}

TEST(BitmapFiles, LoadFromFileChoosesTheCodecBySignature) {
    auto dir = std::filesystem::temp_directory_path() / ("bmpfiles_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TBitmap src = Gradient(20, 10);
    std::vector<uint8_t> jpg = EncodeJpeg(src, 95);
    {
        std::ofstream f(dir / "shot.bmp", std::ios::binary);  // a JPEG with the wrong extension
        f.write(reinterpret_cast<const char*>(jpg.data()), std::streamsize(jpg.size()));
    }
    TBitmap b;
    b.LoadFromFile((dir / "shot.bmp").string());
    EXPECT_EQ(b.Width(), 20);
    src.SaveToFile((dir / "out.bmp").string());
    b.LoadFromFile((dir / "out.bmp").string());
    EXPECT_EQ(b.Pixel(19, 9), src.Pixel(19, 9));
    src.SaveToPng((dir / "out.png").string());
    b.LoadFromFile((dir / "out.png").string());
    EXPECT_EQ(b.Pixel(7, 3), src.Pixel(7, 3));
    {
        std::ofstream f(dir / "text.bmp", std::ios::binary);
        f << "kein Bild";
    }
    EXPECT_THROW(b.LoadFromFile((dir / "text.bmp").string()), EInvalidGraphic);
    std::filesystem::remove_all(dir);
}

TEST(Hsl, ConversionOnThe240Scale) {
    EXPECT_EQ(ColorToHsl(clRed).h, 0);
    EXPECT_EQ(ColorToHsl(clRed).s, 240);
    EXPECT_EQ(ColorToHsl(clRed).l, 120);
    EXPECT_EQ(ColorToHsl(clLime).h, 80);
    EXPECT_EQ(ColorToHsl(clBlue).h, 160);
    EXPECT_EQ(ColorToHsl(clWhite).l, 240);
    EXPECT_EQ(ColorToHsl(clWhite).s, 0);
    EXPECT_EQ(ColorToHsl(clBlack).l, 0);
    EXPECT_EQ(ColorToHsl(clGray).l, 120);
    EXPECT_EQ(ColorToHsl(clBtnFace).l, ColorToHsl(clSilver).l);  // system colours resolve
    EXPECT_EQ(HslToColor(0, 240, 120), clRed);
    EXPECT_EQ(HslToColor(160, 0, 240), clWhite);
    EXPECT_EQ(HslToColor(240, 240, 120), clRed);  // hue wraps
    int maxHue = 0;
    for (int c = 0; c < 0x1000000; c += 0x010305) {
        THsl v = ColorToHsl(TColor(c));
        maxHue = std::max(maxHue, v.h);
        EXPECT_LE(MaxDiff(HslToColor(v), TColor(c)), 3) << std::hex << c;
    }
    EXPECT_LE(maxHue, 239);
}
