#include "gfx/BmpCodec.h"

#include <gtest/gtest.h>

#include "base/MemoryStream.h"
#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"
#include "tools/common/BmpWriter.h"

using namespace gfx;

namespace {
TBmpSpec Spec(int w, int h, int bits) {
    TBmpSpec s;
    s.Width = w;
    s.Height = h;
    s.BitCount = bits;
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i) s.Palette.push_back(uint32_t(i * 0x010203) ^ 0x00804020);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.Pixels.push_back(bits <= 8 ? uint32_t((x * 7 + y * 3) % (1 << bits))
                                         : 0x00102030u * uint32_t(x + 1) + uint32_t(y));
    return s;
}

// Expected colour of a spec pixel.
TColor Expected(const TBmpSpec& s, int x, int y) {
    uint32_t v = s.Pixels[size_t(y) * size_t(s.Width) + size_t(x)];
    if (s.BitCount <= 8) v = s.Palette[v];
    return PixelToColor(v & 0xFFFFFF);
}

TBitmap Read(const std::string& file, size_t* consumed = nullptr) {
    TBitmap b;
    size_t n = ReadBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), b);
    if (consumed) *consumed = n;
    return b;
}
}  // namespace

TEST(BmpCodec, ReadsEveryDepthBothRowOrdersAndHeaderKinds) {
    for (int bits : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true})
            for (int header : {40, 124, 12}) {
                TBmpSpec s = Spec(13, 5, bits);  // odd width: rows need padding at every depth
                s.TopDown = topDown;
                s.InfoHeaderSize = header;
                if (header == 12 && topDown) continue;  // core headers have no negative height
                std::string file = TBmpWriter::Write(s);
                size_t consumed = 0;
                TBitmap b = Read(file, &consumed);
                SCOPED_TRACE(testing::Message()
                             << bits << " bits, top-down " << topDown << ", header " << header);
                EXPECT_EQ(consumed, file.size());
                ASSERT_EQ(b.Width(), 13);
                ASSERT_EQ(b.Height(), 5);
                EXPECT_EQ(b.PixelFormat(), bits == 1    ? pf1bit
                                           : bits <= 8  ? pf8bit
                                           : bits == 24 ? pf24bit
                                                        : pf32bit);
                for (int y = 0; y < 5; ++y)
                    for (int x = 0; x < 13; ++x) ASSERT_EQ(b.Pixel(x, y), Expected(s, x, y)) << x << "," << y;
            }
}

TEST(BmpCodec, WriteThenReadRoundTripsAtEveryDepth) {
    TBitmap src(11, 4, pf8bit);
    std::vector<TColor> pal(256);
    for (int i = 0; i < 256; ++i) pal[size_t(i)] = RGB(i, 255 - i, (i * 3) & 0xFF);
    src.SetPalette(pal);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 11; ++x) src.SetPixelIndex(x, y, (x * 5 + y) & 0x0F);  // 16 colours, fits 4 bits
    for (int bits : {4, 8, 24, 32})
        for (bool topDown : {false, true}) {
            std::vector<uint8_t> bytes = EncodeBmp(src, bits, topDown);
            TBitmap back;
            EXPECT_EQ(ReadBmp(bytes.data(), bytes.size(), back), bytes.size());
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 11; ++x)
                    ASSERT_EQ(back.Pixel(x, y), src.Pixel(x, y)) << bits << " " << x << "," << y;
        }
    TBitmap mono(17, 3, pf1bit);
    mono.SetPixelIndex(16, 2, 0);
    mono.SetPixelIndex(0, 0, 0);
    base::TMemoryStream m;
    mono.SaveToStream(m);
    m.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(m);
    EXPECT_EQ(back.PixelFormat(), pf1bit);
    EXPECT_EQ(back.PixelIndex(16, 2), 0);
    EXPECT_EQ(back.PixelIndex(15, 2), 1);
    EXPECT_EQ(back.PixelIndex(0, 0), 0);
}

TEST(BmpCodec, ConsumesExactlyThePictureAndLeavesWhatFollows) {
    TBmpSpec s = Spec(5, 3, 8);
    s.ColoursUsed = 0;  // the table holds 2^8 entries
    std::string logo = TBmpWriter::Write(s);
    base::TMemoryStream m;
    m.WriteString("HEAD");
    m.WriteString(logo);
    m.WriteString("RIFF....WAVE");
    m.SetPosition(4);
    TBitmap b;
    b.LoadFromStream(m);
    EXPECT_EQ(m.Position(), int64_t(4 + logo.size()));
    EXPECT_EQ(m.ReadString(4), "RIFF");
    EXPECT_EQ(b.Pixel(4, 2), Expected(s, 4, 2));

    // "Colours used" decides the table length: 3 entries at 8 bits, 2 skipped ones at 24 bits.
    TBmpSpec few = Spec(4, 2, 8);
    few.Palette.resize(3);
    for (uint32_t& p : few.Pixels) p %= 3;
    std::string fewFile = TBmpWriter::Write(few);
    size_t consumed = 0;
    TBitmap fb = Read(fewFile, &consumed);
    EXPECT_EQ(consumed, fewFile.size());
    EXPECT_EQ(fb.Pixel(1, 0), Expected(few, 1, 0));
    // A 24-bit file whose header announces 2 table entries: insert them after the info header and
    // set "colours used" (offset 46); the pixels must still come out right.
    TBmpSpec deep = Spec(4, 2, 24);
    std::string deepFile = TBmpWriter::Write(deep);
    deepFile.insert(54, std::string("\x33\x22\x11\0\x66\x55\x44\0", 8));
    deepFile[46] = 2;
    TBitmap db = Read(deepFile, &consumed);
    EXPECT_EQ(consumed, deepFile.size());
    EXPECT_EQ(db.Pixel(3, 1), Expected(deep, 3, 1));

    // 32-bit bit fields after a 40-byte header: the plain masks are read and consumed, others refused.
    TBmpSpec fields = Spec(3, 2, 32);
    std::string fieldsFile = TBmpWriter::Write(fields);
    fieldsFile[30] = 3;  // compression: bit fields
    fieldsFile.insert(54, std::string("\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0", 12));
    TBitmap fbits = Read(fieldsFile, &consumed);
    EXPECT_EQ(consumed, fieldsFile.size());
    EXPECT_EQ(fbits.Pixel(2, 1), Expected(fields, 2, 1));
    fieldsFile[54] = 0x1F;  // a 5-bit red mask
    EXPECT_THROW(Read(fieldsFile), EInvalidGraphic);
}

TEST(BmpCodec, RefusesDamagedPicturesWithAReason) {
    std::string good = TBmpWriter::Write(Spec(8, 8, 24));
    auto message = [](const std::string& bytes) -> std::string {
        try {
            Read(bytes);
        } catch (const EInvalidGraphic& e) {
            return e.Message();
        }
        return "accepted";
    };
    EXPECT_NE(message(good.substr(0, good.size() - 1)).find("Pixeldaten"), std::string::npos);
    EXPECT_NE(message(good.substr(0, 20)).find("Infokopf"), std::string::npos);
    EXPECT_NE(message(good.substr(0, 10)).find("Dateikopf"), std::string::npos);
    EXPECT_NE(message("XM" + good.substr(2)).find("Signatur"), std::string::npos);
    std::string huge = good;
    huge[18] = '\xFF', huge[19] = '\xFF', huge[20] = '\xFF', huge[21] = '\x7F';  // width 2^31-1
    EXPECT_NE(message(huge).find("zu gro"), std::string::npos);
    std::string zero = good;
    zero[18] = zero[19] = zero[20] = zero[21] = 0;
    EXPECT_NE(message(zero), "accepted");
    std::string rle = good;
    rle[30] = 1;  // compression
    EXPECT_NE(message(rle).find("Kompression"), std::string::npos);
    std::string deep = good;
    deep[28] = 16;
    EXPECT_NE(message(deep).find("16 Bit"), std::string::npos);
    std::string table = TBmpWriter::Write(Spec(2, 2, 8));
    table[46] = '\xFF', table[47] = '\xFF', table[48] = '\xFF', table[49] = '\x0F';  // colours used
    EXPECT_NE(message(table).find("Farbtabelle"), std::string::npos);
    // A stream that throws never leaves a half-read bitmap behind.
    TBitmap keep(3, 3);
    EXPECT_THROW(ReadBmp(reinterpret_cast<const uint8_t*>(good.data()), 40, keep), EInvalidGraphic);
    EXPECT_EQ(keep.Width(), 3);
}
