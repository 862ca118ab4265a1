// The pieces of the LZW image data decoder one by one, and the status each way of ending a frame gets.
#include "media/GIFImageData.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "media/GIFBitReader.h"
#include "media/GIFCodeTable.h"
#include "media/GIFRowWriter.h"
#include "tools/common/GifWriter.h"

using media::DecodeGIFImageData;
using media::GIFBitReader;
using media::GIFCodeTable;
using media::GIFRowWriter;
using media::TGIFFrame;
using media::TGIFFrameStatus;

namespace {

// data split into sub-blocks of the given lengths (cycled), with a terminator.
std::vector<uint8_t> SubBlocks(const std::vector<uint8_t>& data, const std::vector<int>& lengths) {
    std::vector<uint8_t> out;
    std::size_t at = 0;
    for (std::size_t i = 0; at < data.size(); ++i) {
        const std::size_t n =
            std::min<std::size_t>(std::size_t(lengths[i % lengths.size()]), data.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + at, data.begin() + at + n);
        at += n;
    }
    out.push_back(0);
    return out;
}

// Image data as the decoder sees it: root code size byte, then the packed codes in sub-blocks.
std::vector<uint8_t> ImageData(int root, const std::vector<int>& codes, int blockSize = 255,
                               bool terminator = true) {
    std::vector<uint8_t> out{uint8_t(root)};
    std::vector<uint8_t> blocks = SubBlocks(TGifWriter::PackCodes(codes, root), {blockSize});
    if (!terminator) blocks.pop_back();
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}

TGIFFrame Frame(int w, int h, bool interlaced = false, int transparentIndex = -1) {
    TGIFFrame f;
    f.Width = w;
    f.Height = h;
    f.Interlaced = interlaced;
    f.Transparent = transparentIndex >= 0;
    f.TransparentIndex = uint8_t(transparentIndex < 0 ? 0 : transparentIndex);
    return f;
}

TGIFFrameStatus Decode(TGIFFrame& f, const std::vector<uint8_t>& data, std::size_t* end = nullptr) {
    std::size_t pos = 0;
    const TGIFFrameStatus s = DecodeGIFImageData(f, data.data(), data.size(), pos);
    if (end) *end = pos;
    return s;
}

}  // namespace

TEST(GIFBitReader, CodesCrossBytesAndSubBlocks) {
    // 0xAB 0xCD | 0xEF as two 12-bit codes: the second takes a nibble of the first block and a whole
    // byte of the next.
    std::vector<uint8_t> two{2, 0xAB, 0xCD, 1, 0xEF, 0, 0x3B};
    std::size_t pos = 0;
    GIFBitReader r(two.data(), two.size(), pos);
    EXPECT_EQ(pos, 3u);  // the first sub-block is taken whole
    EXPECT_EQ(r.Read(12), 0xDAB);
    EXPECT_EQ(r.Read(12), 0xEFC);
    EXPECT_FALSE(r.Ended());
    EXPECT_EQ(r.Read(1), -1);  // the terminator
    EXPECT_TRUE(r.Ended());
    EXPECT_FALSE(r.InputEnded());
    EXPECT_EQ(pos, 6u);

    // Random widths over random sub-block lengths read back the bits in order.
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        std::vector<uint8_t> bytes(300 + rng() % 300);
        for (auto& b : bytes) b = uint8_t(rng());
        std::vector<int> lengths;
        lengths.reserve(8);
        for (int i = 0; i < 8; ++i) lengths.push_back(1 + int(rng() % 255));
        std::vector<uint8_t> data = SubBlocks(bytes, lengths);
        pos = 0;
        GIFBitReader in(data.data(), data.size(), pos);
        std::size_t bit = 0;
        for (;;) {
            const int width = 1 + int(rng() % 16);
            const int code = in.Read(width);
            if (bit + std::size_t(width) > bytes.size() * 8) {
                ASSERT_EQ(code, -1) << round;
                break;
            }
            int want = 0;
            for (int i = 0; i < width; ++i, ++bit) want |= ((bytes[bit / 8] >> (bit % 8)) & 1) << i;
            ASSERT_EQ(code, want) << round << " bit " << bit;
        }
        EXPECT_EQ(pos, data.size()) << round;
        EXPECT_FALSE(in.InputEnded());
    }

    // A sub-block cut off by the end of the input: its bytes are read, then the input has ended.
    std::vector<uint8_t> cut{5, 0x12, 0x34};
    pos = 0;
    GIFBitReader c(cut.data(), cut.size(), pos);
    EXPECT_EQ(c.Read(16), 0x3412);
    EXPECT_EQ(c.Read(1), -1);
    EXPECT_TRUE(c.InputEnded());
    EXPECT_EQ(pos, 3u);
    // No length byte at all.
    pos = 0;
    GIFBitReader none(cut.data(), 0, pos);
    EXPECT_EQ(none.Read(3), -1);
    EXPECT_TRUE(none.InputEnded());

    // After the end code the rest of the sub-blocks is skipped up to and including the terminator.
    std::vector<uint8_t> rest{1, 0x05, 3, 1, 2, 3, 2, 4, 5, 0, 0x2C};
    pos = 0;
    GIFBitReader s(rest.data(), rest.size(), pos);
    EXPECT_EQ(s.Read(8), 5);
    s.SkipRest();
    EXPECT_EQ(pos, 10u);
}

TEST(GIFCodeTable, WidthGrowsToTwelveBitsAndTheFullTableWaitsForAClear) {
    GIFCodeTable t(2);
    EXPECT_EQ(t.ClearCode(), 4);
    EXPECT_EQ(t.EndCode(), 5);
    EXPECT_EQ(t.Next(), 6);
    EXPECT_EQ(t.CodeSize(), 3);
    // Each code defined as it is used ("KwKwK") makes entry k the string of k - 4 ones.
    t.Begin(1);
    while (t.Next() < GIFCodeTable::kSize) {
        const int code = t.Next();
        ASSERT_TRUE(t.Expand(code));
        ASSERT_EQ(t.StackSize(), code - 4);
        ASSERT_EQ(t.Length(code), code - 4);
        const int next = t.Next();
        ASSERT_EQ(t.CodeSize(), next < GIFCodeTable::kSize ? int(std::bit_width(unsigned(next))) : 12)
            << next;
    }
    EXPECT_EQ(t.Next(), 4096);
    EXPECT_EQ(t.CodeSize(), 12);
    // Full: codes still expand (the longest string is 4091 values) but add nothing and keep 12 bits.
    ASSERT_TRUE(t.Expand(4095));
    ASSERT_EQ(t.StackSize(), 4091);
    for (int i = 0; i < t.StackSize(); ++i) ASSERT_EQ(t.Stack()[i], 1);
    ASSERT_TRUE(t.Expand(2));
    EXPECT_EQ(t.Next(), 4096);
    EXPECT_EQ(t.CodeSize(), 12);
    EXPECT_FALSE(t.Damaged());
    // The deferred clear.
    t.Reset();
    EXPECT_EQ(t.Next(), 6);
    EXPECT_EQ(t.CodeSize(), 3);
    t.Begin(3);
    ASSERT_TRUE(t.Expand(2));
    ASSERT_TRUE(t.Expand(6));  // "3 2"
    ASSERT_EQ(t.StackSize(), 2);
    EXPECT_EQ(t.PopStack(), 3);
    EXPECT_EQ(t.PopStack(), 2);
    EXPECT_FALSE(t.Tainted());

    // A code beyond the next entry is damage, though it is still read (as the previous string).
    GIFCodeTable d(2);
    d.Begin(1);
    ASSERT_TRUE(d.Expand(7));
    EXPECT_TRUE(d.Damaged());
    EXPECT_TRUE(d.Tainted());
    // Entry 6 got prefix 7, entry 7 prefix 7 itself: using it is a broken chain.
    ASSERT_TRUE(d.Expand(2));
    EXPECT_FALSE(d.Expand(7));

    // Root sizes above 8 start on the exact path; above 11 the clear code lies beyond the table.
    EXPECT_TRUE(GIFCodeTable(9).Tainted());
    GIFCodeTable wide(12);
    EXPECT_EQ(wide.ClearCode(), 4096);
    EXPECT_EQ(wide.CodeSize(), 13);
    wide.Begin(0x105);
    ASSERT_TRUE(wide.Expand(0xFF));
    EXPECT_EQ(wide.Next(), 4098);  // nothing is added
}

TEST(GIFRowWriter, InterlacedOrderMaskAndCancel) {
    // Ten rows are stored as 0, 8 | 4 | 2, 6 | 1, 3, 5, 7, 9.
    std::vector<uint8_t> pixels(2 * 10, 0xEE), mask(20, 7);
    GIFRowWriter w(pixels.data(), mask.data(), 2, 10, true, 3);
    std::vector<int> order;
    for (int i = 0; !w.Done(); ++i) {
        if (i % 2 == 0) order.push_back(w.Row());
        w.Put(i / 2 == 4 ? 3 : i / 2);
    }
    EXPECT_EQ(order, (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_EQ(pixels[8 * 2], 1);
    EXPECT_EQ(pixels[9 * 2 + 1], 9);
    EXPECT_EQ(pixels[6 * 2], 3);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(mask[i], pixels[i] == 3) << i;

    // Rows in order: strings stored by the caller are accepted across rows, their mask set.
    std::vector<uint8_t> lin(3 * 2, 0), linMask(6, 9);
    GIFRowWriter l(lin.data(), linMask.data(), 3, 2, false, 4);
    l.Put(4);
    lin[1] = 4;
    lin[2] = 1;
    lin[3] = 4;
    l.Advance(3);
    EXPECT_EQ(l.Row(), 1);
    EXPECT_EQ(l.Here(), 4u);
    EXPECT_EQ(linMask, (std::vector<uint8_t>{1, 1, 0, 1, 9, 9}));

    // A large frame asks after each 32nd row; a False answer ends the rows at once.
    const int W = 400, H = 300;
    std::vector<uint8_t> big(std::size_t(W) * H);
    std::vector<int> asked;
    GIFRowWriter* self = nullptr;
    GIFRowWriter b(big.data(), nullptr, W, H, false, 0, [&] {
        asked.push_back(self->Row());
        return asked.size() < 3;
    });
    self = &b;
    int stored = 0;
    while (!b.Done()) {
        b.Put(1);
        ++stored;
    }
    EXPECT_TRUE(b.Cancelled());
    EXPECT_EQ(asked, (std::vector<int>{0, 32, 64}));
    EXPECT_EQ(stored, 65 * W);
    // A small frame never asks.
    std::vector<uint8_t> small(100 * 100);
    GIFRowWriter s(small.data(), nullptr, 100, 100, false, 0, [] { return false; });
    while (!s.Done()) s.Put(0);
    EXPECT_FALSE(s.Cancelled());
}

TEST(GIFImageData, EachWayOfEndingHasItsStatus) {
    // Clean: every pixel, the end code, the rest skipped.
    std::vector<uint8_t> px{1, 1, 2, 2, 1, 1, 2, 2, 3};
    std::vector<uint8_t> clean{2};
    std::vector<uint8_t> packed = TGifWriter::EncodeLzw(px.data(), px.size(), 2);
    std::vector<uint8_t> blocks = SubBlocks(packed, {1});
    clean.insert(clean.end(), blocks.begin(), blocks.end());
    TGIFFrame f = Frame(3, 3);
    std::size_t end = 0;
    EXPECT_EQ(Decode(f, clean, &end), TGIFFrameStatus::gsOk);
    EXPECT_EQ(f.Pixels, px);
    EXPECT_EQ(f.DecodedPixels, 9u);
    EXPECT_EQ(end, clean.size());

    // Cut off inside the data: the pixels read so far stay, the rest is 0 and transparent.
    for (std::size_t cut = 2; cut < clean.size() - 2; ++cut) {
        TGIFFrame t = Frame(3, 3, false, 3);
        std::vector<uint8_t> part(clean.begin(), clean.begin() + long(cut));
        EXPECT_EQ(Decode(t, part), TGIFFrameStatus::gsTruncated) << cut;
        std::size_t same = 0;
        while (same < 9 && t.Pixels[same] == px[same]) ++same;
        EXPECT_LE(t.DecodedPixels, same) << cut;
        EXPECT_LT(t.DecodedPixels, 9u) << cut;
        for (std::size_t i = same; i < 9; ++i) EXPECT_EQ(t.Mask[i], 1) << cut << " " << i;
    }
    // An early end code, an early terminator, no root size byte.
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 1, 5})), TGIFFrameStatus::gsTruncated);
    EXPECT_EQ(f.Pixels, (std::vector<uint8_t>{1, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(f.DecodedPixels, 2u);
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 1}, 255, true)), TGIFFrameStatus::gsTruncated);
    EXPECT_EQ(Decode(f, {}), TGIFFrameStatus::gsTruncated);
    // Every pixel but no end code and no terminator is complete.
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 255, false)), TGIFFrameStatus::gsOk);

    // A code beyond the table before the last pixel: damaged, though decoding goes on through it.
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 7, 2, 2, 2, 2, 2, 2, 5})), TGIFFrameStatus::gsDamaged);
    EXPECT_EQ(f.Pixels, (std::vector<uint8_t>{1, 1, 1, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(f.DecodedPixels, 1u);  // the pixels before the code beyond the table
    // The same code after the last pixel leaves the frame whole.
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 15, 5})), TGIFFrameStatus::gsOk);
    EXPECT_EQ(f.DecodedPixels, 9u);
    // A non-value first code, a broken chain, root sizes without room for the clear code.
    EXPECT_EQ(Decode(f, ImageData(2, {4, 6, 1, 5})), TGIFFrameStatus::gsDamaged);
    EXPECT_EQ(f.DecodedPixels, 0u);
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 4, 6, 1, 5})), TGIFFrameStatus::gsDamaged);
    EXPECT_EQ(f.DecodedPixels, 1u);
    EXPECT_EQ(Decode(f, ImageData(2, {4, 1, 7, 2, 7, 1, 1, 5})), TGIFFrameStatus::gsDamaged);
    EXPECT_EQ(Decode(f, ImageData(12, {4096, 1, 2, 3, 4, 5, 6, 7, 8, 9, 4097})), TGIFFrameStatus::gsDamaged);
    EXPECT_EQ(f.Pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(f.DecodedPixels, 0u);
    EXPECT_EQ(Decode(f, {16, 1, 1, 0}), TGIFFrameStatus::gsDamaged);

    // A cancel between rows of a large frame.
    TGIFFrame large = Frame(500, 400);
    std::vector<uint8_t> zeros(std::size_t(500) * 400, 0);
    std::vector<uint8_t> data{2};
    std::vector<uint8_t> lzw = TGifWriter::EncodeLzw(zeros.data(), zeros.size(), 2);
    std::vector<uint8_t> lb = SubBlocks(lzw, {255});
    data.insert(data.end(), lb.begin(), lb.end());
    std::size_t pos = 0;
    int calls = 0;
    EXPECT_EQ(DecodeGIFImageData(large, data.data(), data.size(), pos, [&] { return ++calls < 4; }),
              TGIFFrameStatus::gsCancelled);
    EXPECT_EQ(calls, 4);
    EXPECT_LT(pos, data.size());
    pos = 0;
    EXPECT_EQ(DecodeGIFImageData(large, data.data(), data.size(), pos, [] { return true; }),
              TGIFFrameStatus::gsOk);
    EXPECT_EQ(pos, data.size());
}
