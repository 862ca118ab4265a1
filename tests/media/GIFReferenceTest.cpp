// Our GIF decoder against giflib (DGifSlurp) on a corpus of generated files and damaged variants.
//
// For every file both readers decode, and every frame giflib read is compared: rectangle, interlace,
// local colour table, disposal, delay, transparent index, pixel indices, and the file's loop count.
// Where the two differ by design, the rule is stated at the check that allows it:
//  - giflib refuses the whole file at its first error; we keep the frames before it (and often go on).
//    Every frame giflib read whole must equal ours; the frames after its error are ours alone.
//  - In a frame whose data giflib gives up on, it has stored some pixels (found by reading that frame
//    again pixel by pixel with DGifGetLine); ours must agree with them as far as both decoded. Where we
//    call the frame truncated we must have decoded at least as far, since we also take the bytes of a
//    sub-block that the end of the file cut short, which giflib drops whole.
//  - A code beyond the next table entry is read differently by the two (giflib takes the string of
//    the previous code plus a value from an invalid chain, we take the previous string plus its first
//    value); we call the frame damaged, and the pixels agree up to that code (DecodedPixels).
//  - Disposal methods 4..7 are undefined; we treat them as 2. Delays are ours in milliseconds.
//  - Without a NETSCAPE2.0 block the picture plays once: our LoopCount is then 1.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <sstream>

#include "media/GIFDecoder.h"
#include "tests/support/GifMemory.h"
#include "tools/common/GifWriter.h"

using media::TGIFDecoder;
using media::TGIFFrame;
using media::TGIFFrameStatus;

namespace {

// ------------------------------------------------------------------------------------------------
// giflib's side

struct RefFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<uint8_t> localMap;  // RGB triples, empty without a local table
    int disposal = 0, delayCs = 0, transparent = -1;
    std::vector<uint8_t> pixels;  // display order, whole frames only
};

enum class Where { None, Header, Record, Extension, Descriptor, Data };

struct Reference {
    bool ok = false;  // DGifSlurp succeeded
    int error = 0;
    std::vector<RefFrame> frames;  // every frame giflib read whole
    int loop = -1;                 // -1: no NETSCAPE2.0 block
    std::vector<uint8_t> globalMap;
    // Where reading stopped when it failed, and for a failure inside a frame's data (that frame is
    // frames.size(), read as far as partial) the pixels stored, in data order.
    Where where = Where::None;
    int whole = 0;                      // frames read whole before the failure
    int failWidth = 0, failHeight = 0;  // the descriptor of the frame it failed in
    std::vector<uint8_t> partial;
};

void TakeLoop(int count, const ExtensionBlock* blocks, int& loop) {
    for (int i = 0; i + 1 < count; ++i)
        if (blocks[i].Function == APPLICATION_EXT_FUNC_CODE && blocks[i].ByteCount >= 11 &&
            std::memcmp(blocks[i].Bytes, "NETSCAPE2.0", 11) == 0 &&
            blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE && blocks[i + 1].ByteCount >= 3)
            loop = blocks[i + 1].Bytes[1] | (blocks[i + 1].Bytes[2] << 8);
}

// Reads like DGifSlurp, record by record, to find where giflib stops and what it stored before.
void ReadStepwise(const std::vector<uint8_t>& bytes, Reference& ref) {
    GifMemory src{&bytes};
    int error = 0;
    GifFileType* gif = src.Open(&error);
    if (!gif) {
        ref.where = Where::Header;
        return;
    }
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            ref.where = Where::Record;
            break;
        }
        if (type == TERMINATE_RECORD_TYPE) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            bool failed = DGifGetExtension(gif, &code, &ext) == GIF_ERROR;
            while (!failed && ext) failed = DGifGetExtensionNext(gif, &ext) == GIF_ERROR;
            if (failed) {
                ref.where = Where::Extension;
                break;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        const bool descriptor = DGifGetImageDesc(gif) != GIF_ERROR;
        ref.failWidth = gif->Image.Width;
        ref.failHeight = gif->Image.Height;
        if (!descriptor || gif->Image.Width <= 0 || gif->Image.Height <= 0) {
            ref.where = Where::Descriptor;

            break;
        }
        const std::size_t n = std::size_t(gif->Image.Width) * std::size_t(gif->Image.Height);
        std::vector<uint8_t> got;
        for (std::size_t i = 0; i < n; ++i) {
            GifPixelType px = 0;
            if (DGifGetLine(gif, &px, 1) == GIF_ERROR) {
                ref.where = Where::Data;
                break;
            }
            got.push_back(px);
        }
        if (ref.where == Where::Data) {
            ref.partial = std::move(got);
            break;
        }
        ++ref.whole;
    }
    DGifCloseFile(gif, &error);
}

Reference RunGiflib(const std::vector<uint8_t>& bytes) {
    Reference ref;
    GifMemory src{&bytes};
    int error = 0;
    GifFileType* gif = src.Open(&error);
    if (!gif) {
        ref.error = error;
        ref.where = Where::Header;
        return ref;
    }
    ref.ok = DGifSlurp(gif) == GIF_OK;
    ref.error = gif->Error;
    if (gif->SColorMap)
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i)
            ref.globalMap.insert(ref.globalMap.end(),
                                 {gif->SColorMap->Colors[i].Red, gif->SColorMap->Colors[i].Green,
                                  gif->SColorMap->Colors[i].Blue});
    if (!ref.ok) ReadStepwise(bytes, ref);
    // After a failure the last image giflib counted may be partial or without pixels.
    const int whole = ref.ok ? gif->ImageCount : std::min(ref.whole, gif->ImageCount);
    for (int i = 0; i < whole; ++i) {
        const SavedImage& si = gif->SavedImages[i];
        RefFrame f;
        f.left = si.ImageDesc.Left;
        f.top = si.ImageDesc.Top;
        f.width = si.ImageDesc.Width;
        f.height = si.ImageDesc.Height;
        f.interlaced = si.ImageDesc.Interlace;
        if (si.ImageDesc.ColorMap)
            for (int c = 0; c < si.ImageDesc.ColorMap->ColorCount; ++c)
                f.localMap.insert(f.localMap.end(), {si.ImageDesc.ColorMap->Colors[c].Red,
                                                     si.ImageDesc.ColorMap->Colors[c].Green,
                                                     si.ImageDesc.ColorMap->Colors[c].Blue});
        GraphicsControlBlock gcb{};
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
            f.disposal = gcb.DisposalMode;
            f.delayCs = gcb.DelayTime;
            f.transparent = gcb.TransparentColor;
        }
        f.pixels.assign(si.RasterBits, si.RasterBits + std::size_t(f.width) * std::size_t(f.height));
        ref.frames.push_back(std::move(f));
    }
    for (int i = 0; i < gif->ImageCount; ++i)
        TakeLoop(gif->SavedImages[i].ExtensionBlockCount, gif->SavedImages[i].ExtensionBlocks, ref.loop);
    TakeLoop(gif->ExtensionBlockCount, gif->ExtensionBlocks, ref.loop);
    DGifCloseFile(gif, &error);
    return ref;
}

// ------------------------------------------------------------------------------------------------
// the comparison

// Row of the image for each row of the data.
std::vector<int> DataRows(int height, bool interlaced) {
    std::vector<int> rows;
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    return rows;
}

// The first count pixels in data order.
std::vector<uint8_t> DataOrder(const TGIFFrame& f, std::size_t count) {
    std::vector<uint8_t> out;
    for (int row : DataRows(f.Height, f.Interlaced))
        for (int x = 0; x < f.Width && out.size() < count; ++x)
            out.push_back(f.Pixels[std::size_t(row) * f.Width + x]);
    return out;
}

struct Tally {
    int cases = 0, frames = 0, differ = 0;
    std::map<std::string, int> rules;  // how often each by-design difference applied
};

// The header fields of a frame that both read whole or in part.
void CompareHeader(const TGIFFrame& ours, const RefFrame& ref, std::ostream& why) {
    if (ours.Left != ref.left || ours.Top != ref.top || ours.Width != ref.width || ours.Height != ref.height)
        why << " rectangle " << ours.Left << "," << ours.Top << " " << ours.Width << "x" << ours.Height
            << " vs " << ref.left << "," << ref.top << " " << ref.width << "x" << ref.height << ";";
    if (ours.Interlaced != ref.interlaced) why << " interlace;";
    if (ours.HasLocalPalette != !ref.localMap.empty() ||
        (ours.HasLocalPalette && !std::equal(ref.localMap.begin(), ref.localMap.end(), ours.Palette.begin())))
        why << " local colour table;";
    const int disposal = ref.disposal > 3 ? 2 : ref.disposal;  // 4..7 are undefined: shown as 2
    if (ours.Disposal != disposal) why << " disposal " << int(ours.Disposal) << " vs " << ref.disposal << ";";
    if (ours.Delay != ref.delayCs * 10) why << " delay " << ours.Delay << " vs " << ref.delayCs << ";";
    const int transparent = ours.Transparent ? ours.TransparentIndex : -1;
    if (transparent != ref.transparent)
        why << " transparent " << transparent << " vs " << ref.transparent << ";";
}

// Compares one file; returns the reasons for differences no rule explains (empty when none).
std::string Compare(const std::vector<uint8_t>& bytes, Tally& tally) {
    ++tally.cases;
    const Reference ref = RunGiflib(bytes);
    TGIFDecoder d;
    bool decoded = false;
    try {
        decoded = d.Decode(bytes.data(), bytes.size());
    } catch (const std::exception&) {
        decoded = false;
    }
    std::ostringstream why;

    if (!decoded) {
        // We refuse only what giflib refuses as well: a bad header, a frame without pixels.
        if (ref.ok)
            why << " we refuse, giflib reads " << ref.frames.size() << " frame(s);";
        else
            ++tally.rules["both refuse"];
        return why.str();
    }
    // Our own account: a frame is whole exactly when every pixel came from the data.
    for (const auto& f : d.Frames)
        if ((f->Status == TGIFFrameStatus::gsOk) != (f->DecodedPixels == f->Pixels.size()))
            why << " status " << f->Status << " with " << f->DecodedPixels << " of " << f->Pixels.size()
                << " pixels;";
    if (ref.where == Where::Header) {
        why << " giflib refuses the header, we read it;";
        return why.str();
    }
    if (ref.ok || ref.frames.size() > 0) {
        if (!std::equal(ref.globalMap.begin(), ref.globalMap.end(), d.GlobalPalette.begin()))
            why << " global colour table;";
    }
    if (ref.loop != (ref.loop < 0 ? -1 : d.LoopCount) || (ref.loop < 0 && d.LoopCount != 1))
        why << " loop count " << d.LoopCount << " vs " << ref.loop << ";";

    // Every frame giflib read whole.
    for (std::size_t i = 0; i < ref.frames.size(); ++i) {
        ++tally.frames;
        if (i >= d.Frames.size()) {
            why << " frame " << i << " missing (dropped: " << d.DroppedFrame << ");";
            continue;
        }
        const TGIFFrame& ours = *d.Frames[i];
        const RefFrame& r = ref.frames[i];
        std::ostringstream f;
        CompareHeader(ours, r, f);
        if (ours.Status == TGIFFrameStatus::gsOk) {
            if (ours.RootCodeSize == 1) {
                // Below the format's minimum of 2: giflib widens the codes to 3 bits after the first
                // code, we after the second, so only the first code's pixel is read alike.
                if (ours.Pixels[0] != r.pixels[0]) f << " first pixel;";
                ++tally.rules["root code size 1 is widened one code later"];
            } else if (ours.Pixels != r.pixels) {
                f << " pixels;";
            }
        } else if (ours.Status == TGIFFrameStatus::gsDamaged) {
            // A code beyond the table: both go on, each its own way; equal up to that code.
            const std::vector<uint8_t> mine = DataOrder(ours, ours.DecodedPixels);
            TGIFFrame theirs = ours;
            theirs.Pixels = r.pixels;
            if (mine != DataOrder(theirs, ours.DecodedPixels)) f << " pixels before the damage;";
            ++tally.rules["damaged code read differently"];
        } else {
            f << " status " << ours.Status << " where giflib reads the frame whole;";
        }
        if (!f.str().empty()) why << " frame " << i << ":" << f.str();
    }
    if (ref.ok) {
        if (d.FrameCount() != int(ref.frames.size()))
            why << " " << d.FrameCount() << " frames vs " << ref.frames.size() << ";";
        return why.str();
    }

    // giflib refused the file after the frames above.
    const std::size_t k = ref.frames.size();
    switch (ref.where) {
        case Where::Data: {
            // Inside frame k's data: both stored some pixels; they agree as far as both decoded.
            ++tally.frames;
            if (k >= d.Frames.size()) {
                if (d.DroppedFrame == TGIFFrameStatus::gsTooLarge &&
                    std::max(ref.failWidth, ref.failHeight) > TGIFDecoder::kMaxDimension)
                    ++tally.rules["a frame beyond our size limit is dropped"];
                else
                    why << " frame " << k << " (where giflib fails) missing, dropped: " << d.DroppedFrame
                        << ";";
                break;
            }
            const TGIFFrame& ours = *d.Frames[k];
            const std::size_t n = std::min(ours.DecodedPixels, ref.partial.size());
            if (DataOrder(ours, n) !=
                std::vector<uint8_t>(ref.partial.begin(), ref.partial.begin() + long(n)))
                why << " frame " << k << ": pixels before giflib's failure;";
            if (ours.Status == TGIFFrameStatus::gsDamaged) {
                ++tally.rules["giflib refuses a damaged frame we show in part"];
            } else if (ref.error == D_GIF_ERR_READ_FAILED) {
                // The file ends in the data: giflib drops the sub-block cut short, we read its bytes
                // (and may so get every pixel).
                if (ours.DecodedPixels < ref.partial.size())
                    why << " frame " << k << ": " << ours.DecodedPixels << " pixels, giflib "
                        << ref.partial.size() << ";";
                ++tally.rules["the file ends in a frame's data: we also read the last sub-block's bytes"];
            } else if (ours.Status == TGIFFrameStatus::gsTruncated) {
                // An early end code or terminator: both stop at the same pixel.
                if (ours.DecodedPixels != ref.partial.size())
                    why << " frame " << k << ": " << ours.DecodedPixels << " pixels, giflib "
                        << ref.partial.size() << ";";
                ++tally.rules["both stop at an early end code or terminator; we show the part"];
            } else {
                why << " frame " << k << ": whole for us, giflib fails (" << ref.error << ") at pixel "
                    << ref.partial.size() << ";";
            }
            break;
        }
        case Where::Descriptor:
            // Frame k's descriptor (a cut colour table, no pixels, a root code size above 8).
            if (d.FrameCount() > int(k) && d.Frames[k]->Status == TGIFFrameStatus::gsOk) {
                // giflib's limit of 8 bits for the root code size; we decode such data.
                if (d.Frames[k]->RootCodeSize > 8)
                    ++tally.rules["root code sizes above 8: giflib refuses, we decode"];
                else
                    why << " frame " << k << ": giflib refuses its descriptor, ours is whole;";
            } else {
                ++tally.rules["giflib refuses a descriptor; we refuse or keep the frame without pixels"];
            }
            break;
        case Where::Record:
        case Where::Extension:
            // Between frames: an unknown byte, a cut extension, or no trailer. We skip on.
            if (d.FrameCount() < int(k)) why << " fewer frames than giflib read;";
            ++tally.rules["giflib refuses between frames"];
            break;
        default:
            why << " giflib failed (" << ref.error << ") at no known place;";
    }
    return why.str();
}

// ------------------------------------------------------------------------------------------------
// the corpus

std::vector<uint8_t> Palette(int entries, int seed = 0) {
    std::vector<uint8_t> p;
    for (int i = 0; i < entries; ++i)
        p.insert(p.end(), {uint8_t(i * 3 + seed), uint8_t(i * 5), uint8_t(255 - i)});
    return p;
}

TGifImageSpec Picture(int w, int h, int colours, std::mt19937& rng, int left = 0, int top = 0) {
    TGifImageSpec s = TGifImageSpec::Blank(w, h, left, top);
    uint8_t v = 0;
    for (auto& p : s.Pixels) {
        if (rng() % 5 == 0) v = uint8_t(rng() % colours);
        p = rng() % 13 == 0 ? uint8_t(rng() % colours) : v;
    }
    return s;
}

void CheckCorpus(const std::vector<std::vector<uint8_t>>& corpus, Tally& tally) {
    for (std::size_t i = 0; i < corpus.size(); ++i) {
        const std::string why = Compare(corpus[i], tally);
        if (!why.empty()) {
            ++tally.differ;
            ADD_FAILURE() << "case " << i << " (" << corpus[i].size() << " bytes):" << why;
        }
    }
}

void Report(const char* name, const Tally& t) {
    std::ostringstream rules;
    for (const auto& [rule, n] : t.rules) rules << "\n  " << n << " x " << rule;
    std::cout << name << ": " << t.cases << " files, " << t.frames << " frames compared, " << t.differ
              << " unexplained differences" << rules.str() << "\n";
    EXPECT_EQ(t.differ, 0);
}

// Animated files with every header feature: local tables, interlace, disposal modes, delays,
// transparency, loop extension, frames off the origin and beyond the screen, extra blocks.
std::vector<std::vector<uint8_t>> CleanFiles() {
    std::vector<std::vector<uint8_t>> files;
    std::mt19937 rng(2024);
    for (int round = 0; round < 60; ++round) {
        const int colours = 2 + int(rng() % 255);
        const int sw = 1 + int(rng() % 90), sh = 1 + int(rng() % 70);
        TGifWriter w;
        w.Header(sw, sh, round % 7 == 3 ? std::vector<uint8_t>{} : Palette(colours), round % 5 != 4);
        if (round % 3 == 0) w.LoopCount(int(rng() % 3 == 0 ? 0 : rng() % 65536));
        if (round % 4 == 1) w.Comment("made for the comparison");
        if (round % 6 == 2) w.Application("XMPDataX", "MP ", std::vector<uint8_t>(300, 7));
        const int frames = 1 + int(rng() % 4);
        for (int f = 0; f < frames; ++f) {
            const int fw = 1 + int(rng() % (sw + 8)), fh = 1 + int(rng() % (sh + 8));
            TGifImageSpec s = Picture(fw, fh, colours, rng, int(rng() % (sw + 1)), int(rng() % (sh + 1)));
            s.Interlaced = rng() % 3 == 0;
            s.SubBlockSize = rng() % 4 == 0 ? 1 + int(rng() % 254) : 255;
            if (rng() % 4 == 0) s.LocalPalette = Palette(1 + int(rng() % 256), f + 1);
            if (!s.LocalPalette.empty())
                for (auto& p : s.Pixels) p = uint8_t(p % (s.LocalPalette.size() / 3));
            // Odd root code sizes: larger than the pixels need.
            if (rng() % 5 == 0)
                s.RootCodeSize = std::min(8, GifTableBits(std::size_t(colours)) + 1 + int(rng() % 3));
            if (rng() % 4 != 0)
                w.GraphicControl(int(rng() % 500), int(rng() % 8), rng() % 2 ? int(rng() % colours) : -1);
            w.Image(s);
        }
        if (round % 9 == 5) w.Comment("after the frames");
        w.Trailer();
        files.push_back(w.Bytes());
    }
    // Root code sizes 1 and 8 at their limits, a picture large enough for many full code tables
    // (the writer defers the clear at 4096 entries), one-pixel frames.
    for (int root : {2, 3, 8}) {
        TGifImageSpec s = Picture(300, 200, 1 << std::min(root, 8), rng);
        s.RootCodeSize = root;
        TGifWriter w;
        w.Header(300, 200, Palette(256)).Image(s).Trailer();
        files.push_back(w.Bytes());
    }
    TGifWriter dots;
    dots.Header(1, 1, Palette(2)).LoopCount(3);
    for (int i = 0; i < 5; ++i) dots.GraphicControl(i, i, i % 2).Image(Picture(1, 1, 2, rng));
    files.push_back(dots.Trailer().Bytes());
    return files;
}

TEST(Reference, GifCleanFilesDecodeAlike) {
    Tally tally;
    CheckCorpus(CleanFiles(), tally);
    Report("Reference.GifCleanFilesDecodeAlike", tally);
    EXPECT_GT(tally.cases, 60);
    EXPECT_EQ(tally.rules.size(), 0u);  // clean files need no rule
}

TEST(Reference, GifDamagedFilesDifferOnlyByRule) {
    std::vector<std::vector<uint8_t>> corpus;
    std::mt19937 rng(99);
    // Truncated everywhere: a two-frame file cut at every few bytes (header, extension, descriptor,
    // inside and between sub-blocks, before the trailer).
    TGifWriter two;
    TGifImageSpec a = Picture(30, 20, 16, rng);
    a.SubBlockSize = 40;
    TGifImageSpec b = Picture(25, 17, 16, rng, 3, 2);
    b.Interlaced = true;
    b.LocalPalette = Palette(16, 9);
    b.SubBlockSize = 33;
    two.Header(30, 20, Palette(16))
        .LoopCount(2)
        .GraphicControl(5, 1, 3)
        .Image(a)
        .GraphicControl(7, 2)
        .Image(b);
    two.Trailer();
    for (std::size_t cut = 0; cut < two.Bytes().size(); cut += (cut < 60 ? 1 : 3))
        corpus.push_back(std::vector<uint8_t>(two.Bytes().begin(), two.Bytes().begin() + long(cut)));

    // Missing trailer.
    corpus.push_back(std::vector<uint8_t>(two.Bytes().begin(), two.Bytes().end() - 1));

    auto raw = [&](std::vector<int> codes, int root = 2, bool endCode = true, bool terminator = true,
                   bool interlaced = false) {
        TGifImageSpec s;
        s.Width = 4;
        s.Height = 4;
        s.Interlaced = interlaced;
        s.RootCodeSize = root;
        s.RawCodes = std::move(codes);
        s.EndCode = endCode;
        s.Terminator = terminator;
        TGifWriter w;
        w.Header(4, 4, Palette(4)).Image(Picture(4, 4, 4, rng)).GraphicControl(3, 0, 2).Image(s);
        w.Image(Picture(4, 4, 4, rng)).Trailer();
        corpus.push_back(w.Bytes());
    };
    // Bad codes: beyond the next entry early and late, a non-value after a clear, a broken chain.
    raw({4, 1, 7, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 5});
    raw({4, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 15, 1, 1, 1, 5});
    raw({4, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 15, 5});  // after the last pixel
    raw({4, 1, 4, 6, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 5});
    raw({4, 1, 7, 2, 7, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5});
    raw({4, 1, 7, 2, 7, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5}, 2, true, true, true);
    // An early end code, the end code right after a clear, codes only after the pixels are full.
    raw({4, 1, 2, 5});
    raw({4, 5});
    raw({4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4, 1, 5});
    // No end code (the terminator follows), and neither end code nor terminator.
    raw({4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, 2, false);
    raw({4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, 2, false, false);
    // Too few codes before the terminator.
    raw({4, 3, 3, 3}, 2, false);
    // Odd root code sizes on hand-made codes: 1, 7, and beyond 8.
    raw({2, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 3}, 1);
    raw({128, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 129}, 7);
    raw({512, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 513}, 9);

    // Zero-size frames.
    for (const auto& zero : {std::vector<uint8_t>{0x2C, 0, 0, 0, 0, 0, 0, 2, 0, 0, 2, 2, 0x4C, 0x01, 0},
                             std::vector<uint8_t>{0x2C, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 2, 0x4C, 0x01, 0}}) {
        TGifWriter w;
        w.Header(2, 2, Palette(4))
            .Image(Picture(2, 2, 4, rng))
            .Raw(zero)
            .Image(Picture(2, 2, 4, rng))
            .Trailer();
        corpus.push_back(w.Bytes());
    }
    // A junk byte between frames, and a frame wider than our limit.
    TGifWriter junk;
    junk.Header(3, 3, Palette(4))
        .Image(Picture(3, 3, 4, rng))
        .Raw({0x99, 0x42})
        .Image(Picture(3, 3, 4, rng))
        .Trailer();
    corpus.push_back(junk.Bytes());
    TGifWriter huge;
    huge.Header(2, 2, Palette(4)).Image(Picture(2, 2, 4, rng));
    huge.Raw({0x2C, 0, 0, 0, 0, 0x01, 0x40, 1, 0, 0, 2, 2, 0x4C, 0x01, 0}).Trailer();
    corpus.push_back(huge.Bytes());

    // Random single-byte damage in the pixel data of a clean file.
    TGifWriter base;
    TGifImageSpec p = Picture(40, 30, 64, rng);
    base.Header(40, 30, Palette(64)).Image(p).Image(Picture(10, 10, 64, rng, 5, 5)).Trailer();
    const std::size_t firstBlock = 13 + 64 * 3 + 10 + 1 + 1;  // header, table, descriptor, root size, length
    for (int i = 0; i < 40; ++i) {
        std::vector<uint8_t> bytes = base.Bytes();
        bytes[firstBlock + rng() % 200] ^= uint8_t(1 + rng() % 255);
        corpus.push_back(bytes);
    }

    Tally tally;
    CheckCorpus(corpus, tally);
    Report("Reference.GifDamagedFilesDifferOnlyByRule", tally);
    EXPECT_GT(tally.cases, 150);
}

}  // namespace
