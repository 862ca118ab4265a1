#include "media/GIFDecoder.h"

#include <algorithm>
#include <cstring>

namespace media {

namespace {

constexpr int kTableSize = 4096;
// Chain steps the drain may spend on strings of damaged data (clean data drains at one step a code).
constexpr std::size_t kDrainBudget = std::size_t{1} << 24;

// Rows in the order the image data stores them: top to bottom, or the four interlace passes.
class RowOrder {
public:
    RowOrder(int height, bool interlaced) : height_(height), interlaced_(interlaced) {}
    int Row() const { return row_; }
    bool Done() const { return row_ >= height_; }
    void Next() {
        if (!interlaced_) {
            ++row_;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        row_ += kStep[pass_];
        while (row_ >= height_ && pass_ < 3) {
            ++pass_;
            row_ = kStart[pass_];  // a pass without rows in the image starts past the end and is skipped
        }
    }

private:
    int height_;
    bool interlaced_;
    int pass_ = 0;
    int row_ = 0;
};

// Strings are mostly a few bytes long; a call to memcpy costs more than the copy then.
inline void CopyRun(uint8_t* dst, const uint8_t* src, std::size_t n) {
    if (n <= 16) {
        for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
    } else {
        std::memcpy(dst, src, n);
    }
}

}  // namespace

TGIFDecoder::TGIFDecoder() {
    Reset();
}

void TGIFDecoder::Reset() {
    Frames.clear();
    Version = TGIFVersion::gvGIF87a;
    MaxColourBits = 0;
    LoopCount = 1;
    HasTransparency = false;
    KeepOnProcessing = true;
    bitmapBytes_ = 0;
    data_ = nullptr;
    size_ = pos_ = 0;
}

std::size_t TGIFDecoder::Read(void* buffer, std::size_t count) {
    std::size_t n = std::min(count, size_ - pos_);
    if (n > 0) std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

void TGIFDecoder::ReadExact(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) throw base::EReadError();
}

int TGIFDecoder::ReadByte() {
    return pos_ < size_ ? data_[pos_++] : -1;
}

void TGIFDecoder::SkipSubBlocks(int length) {
    // The lengths come from the file: a missing length byte ends the skipping like a zero one.
    while (length > 0) {
        pos_ = std::min(size_, pos_ + static_cast<std::size_t>(length));
        length = ReadByte();
    }
}

void TGIFDecoder::Progress() {
    if (!OnProgress) return;
    // Only a cancel given in this very call aborts; a decode that was cancelled inside a frame has
    // already dropped that frame and ends with the frames before it.
    const bool before = KeepOnProcessing;
    if (!OnProgress(static_cast<int64_t>(pos_), static_cast<int64_t>(size_))) KeepOnProcessing = false;
    if (before && !KeepOnProcessing) throw EGIFAbort();
}

std::size_t TGIFDecoder::FrameBytes(const TGIFFrame& f) {
    const std::size_t area = std::size_t(f.Width) * std::size_t(f.Height);
    std::size_t bytes = area;
    if (f.Transparent) bytes += area;
    if (f.Disposal == 3) bytes += area * 5;
    return bytes;
}

std::size_t TGIFDecoder::ComposedBytes(int width, int height) {
    return std::size_t(width) * std::size_t(height) * 5;
}

bool TGIFDecoder::Decode(const uint8_t* data, std::size_t size) {
    Reset();
    data_ = data;
    size_ = size;
    pos_ = 0;
    GraphicControl gce{};
    if (size == 0) return false;

    uint8_t sig[6];
    ReadExact(sig, 6);
    if (sig[0] != 'G' || sig[1] != 'I' || sig[2] != 'F') return false;
    Version = sig[4] == '9' ? TGIFVersion::gvGIF89a : TGIFVersion::gvGIF87a;

    uint8_t screen[7];
    ReadExact(screen, 7);
    ScreenWidth = screen[0] | (screen[1] << 8);
    ScreenHeight = screen[2] | (screen[3] << 8);
    GlobalPalette.fill(0);
    if (screen[4] & 0x80) {
        MaxColourBits = (screen[4] & 7) + 1;
        ReadExact(GlobalPalette.data(), std::size_t{3} << MaxColourBits);
    }
    ImageWidth = ScreenWidth;
    ImageHeight = ScreenHeight;

    while (pos_ < size_ && KeepOnProcessing) {
        Progress();
        uint8_t block[2] = {0, 0};
        Read(block, 2);
        if (block[0] == 0x21) {
            switch (block[1]) {
                case 0x01: {  // plain text: header block, then text sub-blocks
                    int n = ReadByte();
                    if (n > 0) pos_ = std::min(size_, pos_ + static_cast<std::size_t>(n));
                    SkipSubBlocks(n < 0 ? 0 : ReadByte());
                    break;
                }
                case 0xF9:
                    Read(gce.data(), gce.size());
                    break;
                case 0xFE:  // comment: not kept
                    SkipSubBlocks(ReadByte());
                    break;
                case 0xFF: {
                    int n = ReadByte();
                    uint8_t ident[256] = {};
                    std::size_t got = n > 0 ? Read(ident, static_cast<std::size_t>(n)) : 0;
                    int length = ReadByte();
                    if (got >= 11 && std::memcmp(ident, "NETSCAPE2.0", 11) == 0 && length > 0) {
                        uint8_t sub[256] = {};
                        // The sub-block id byte is not checked; a sub-block too short for the
                        // count leaves the loop count alone.
                        if (Read(sub, static_cast<std::size_t>(length)) >= 3)
                            LoopCount = sub[1] | (sub[2] << 8);
                        length = ReadByte();
                    }
                    SkipSubBlocks(length);
                    break;
                }
                default:  // unknown label: only the two bytes are dropped
                    break;
            }
        } else if (block[0] == 0x2C) {
            pos_ -= 2;
            if (FrameCount() >= kMaxFrames) break;
            Frames.push_back(std::make_unique<TGIFFrame>());
            TGIFFrame& frame = *Frames.back();
            bool ok;
            try {
                ok = ReadFrame(frame, gce);
            } catch (const std::exception&) {
                // The frame is dropped; the frames before it make the picture.
                Frames.pop_back();
                break;
            }
            if (!ok) {
                pos_ = size_;
                Progress();
                return false;
            }
            bitmapBytes_ += FrameBytes(frame);
            MaxColourBits = std::max(MaxColourBits, frame.ColourBits);
            HasTransparency = HasTransparency || frame.Transparent;
            if (FirstImageOnly) {
                pos_ = size_;
                break;
            }
            gce.fill(0);
        } else if (block[0] == 0x3B) {
            break;
        }
        // Any other byte: the pair is dropped and the loop goes on.
    }
    Progress();

    for (const auto& f : Frames) {
        ImageWidth = std::max(ImageWidth, f->Left + f->Width);
        ImageHeight = std::max(ImageHeight, f->Top + f->Height);
    }
    return true;
}

bool TGIFDecoder::ReadFrame(TGIFFrame& frame, const GraphicControl& gce) {
    uint8_t d[10];
    ReadExact(d, 10);
    frame.Left = d[1] | (d[2] << 8);
    frame.Top = d[3] | (d[4] << 8);
    frame.Width = d[5] | (d[6] << 8);
    frame.Height = d[7] | (d[8] << 8);
    const uint8_t flags = d[9];
    if (d[0] != 0x2C || frame.Width == 0 || frame.Height == 0) return false;
    if (frame.Width > kMaxDimension || frame.Height > kMaxDimension) throw EGIFAbort();

    if (flags & 0x80) {
        frame.HasLocalPalette = true;
        frame.ColourBits = (flags & 7) + 1;
        Read(frame.Palette.data(), std::size_t{3} << frame.ColourBits);  // a short table stays zero-filled
    } else {
        frame.HasLocalPalette = false;
        frame.Palette = GlobalPalette;
        frame.ColourBits = 0;
    }
    frame.Interlaced = (flags & 0x40) != 0;

    const uint8_t packed = gce[1];
    frame.Disposal = static_cast<uint8_t>((packed >> 2) & 7);
    if (frame.Disposal > 3) frame.Disposal = 2;
    frame.Delay = (gce[2] | (gce[3] << 8)) * 10;
    frame.Transparent = (packed & 1) != 0;
    frame.TransparentIndex = gce[4];

    // Refused like an over-large frame once the whole picture would need too much memory (this
    // frame is already in Frames, so the composed size below covers it).
    std::size_t composedW = static_cast<std::size_t>(ScreenWidth),
                composedH = static_cast<std::size_t>(ScreenHeight);
    for (const auto& f : Frames) {
        composedW = std::max(composedW, static_cast<std::size_t>(f->Left + f->Width));
        composedH = std::max(composedH, static_cast<std::size_t>(f->Top + f->Height));
    }
    if (bitmapBytes_ + FrameBytes(frame) + composedW * composedH * 5 > kMaxBitmapBytes) throw EGIFAbort();

    DecodeLZW(frame);

    frame.PaletteCount = 1 << (frame.HasLocalPalette ? frame.ColourBits : MaxColourBits);
    if (frame.Disposal == 3) {
        const std::size_t area = std::size_t(frame.Width) * std::size_t(frame.Height);
        frame.SavedImage.assign(area, 0);
        frame.SavedMask.assign(area, 0);
    }
    return true;
}

void TGIFDecoder::DecodeLZW(TGIFFrame& frame) {
    const int W = frame.Width, H = frame.Height;
    const std::size_t area = std::size_t(W) * std::size_t(H);
    frame.Pixels.assign(area, 0);
    const bool transparent = frame.Transparent;
    // Pixels that are never stored stay transparent.
    if (transparent) frame.Mask.assign(area, 1);
    const int ti = frame.TransparentIndex;

    const int R = ReadByte();
    if (R < 0 || R > 15) return;

    // --- bit reader over the data sub-blocks -------------------------------------------------
    // Codes are taken least significant bit first from the bytes of the sub-blocks, read in place.
    uint64_t acc = 0;
    int accBits = 0;
    const uint8_t* bp = nullptr;
    const uint8_t* be = nullptr;
    bool failed = false;  // a sub-block read hit the terminator, the end of the data, or was short
    auto readSubBlock = [&]() {
        const int length = ReadByte();
        if (length <= 0) {
            failed = true;
            return;
        }
        const std::size_t got = std::min(static_cast<std::size_t>(length), size_ - pos_);
        bp = data_ + pos_;
        be = bp + got;
        pos_ += got;
        if (got < static_cast<std::size_t>(length)) failed = true;
    };
    readSubBlock();

    int codeSize = R + 1;
    auto readCode = [&]() -> int {
        while (accBits < codeSize) {
            if (bp < be) {
                acc |= uint64_t(*bp++) << accBits;
                accBits += 8;
            } else if (failed) {
                return -1;  // also a code cut off by the end of the data
            } else {
                readSubBlock();
            }
        }
        const int code = static_cast<int>(acc & ((1u << codeSize) - 1));
        acc >>= codeSize;
        accBits -= codeSize;
        return code;
    };

    // --- code tables -------------------------------------------------------------------------
    // Root code sizes above 11 put the clear code at 4096 or beyond: such codes below the clear code
    // are plain values that never touch the tables, and no table entry is ever added.
    const int clear = 1 << R, endCode = clear + 1;
    std::vector<uint16_t> tables(kTableSize * 4, 0);
    uint16_t* prefix = tables.data();
    uint16_t* suffix = prefix + kTableSize;
    uint16_t* length = suffix + kTableSize;  // string length, valid while the data is clean
    uint16_t* root = length + kTableSize;    // first value of the string, likewise
    // Where the string of an entry was first written (rows stored in order only): decoding a code
    // is then a copy of earlier output instead of a walk down its prefix chain.
    std::vector<uint32_t> start(kTableSize, 0);
    std::size_t prevStart = 0;
    for (int i = 0; i < std::min(clear, kTableSize); ++i) {
        suffix[i] = static_cast<uint16_t>(i);
        length[i] = 1;
        root[i] = static_cast<uint16_t>(i);
    }
    int next = clear + 2, limit = 2 * clear;
    int first = 0, old = 0;
    // Clean data keeps every prefix below its own code, so strings can be written straight into the
    // row. Anything else ("tainted") takes the exact path with its chain checks.
    bool tainted = R > 8;
    std::vector<uint16_t> stack(kTableSize + 1);
    int sp = 0;

    auto resetTables = [&]() {
        codeSize = R + 1;
        limit = 2 * clear;
        next = clear + 2;
        sp = 0;
    };
    auto addEntry = [&](int firstValue) {
        if (next >= kTableSize) return;
        suffix[next] = static_cast<uint16_t>(firstValue);
        prefix[next] = static_cast<uint16_t>(old);
        if (!tainted) {
            length[next] = static_cast<uint16_t>(length[old] + 1);
            root[next] = root[old];
        }
        ++next;
        if (next >= limit && limit < kTableSize) {
            limit *= 2;
            ++codeSize;
        }
    };
    // Exact expansion of one code (neither clear nor end) onto the stack, top = first value.
    // False for damaged data: a chain longer than the stack, a code that is its own prefix, or a
    // code outside the tables.
    auto expand = [&](int code) -> bool {
        const int incoming = code;
        sp = 0;
        if (code >= next) {
            if (code > next) tainted = true;
            stack[sp++] = static_cast<uint16_t>(first);
            code = old;
        }
        while (code >= clear) {
            if (code >= kTableSize) return false;
            stack[sp++] = suffix[code];
            if (sp > kTableSize - 1) return false;
            if (prefix[code] == code) return false;
            code = prefix[code];
        }
        first = code;
        stack[sp++] = static_cast<uint16_t>(code);
        addEntry(first);
        old = incoming;
        return true;
    };
    auto takeFirst = [&](int code) {
        first = old = code;
        if (code >= clear) tainted = true;
    };

    // --- pixel output --------------------------------------------------------------------------
    uint8_t* const pixels = frame.Pixels.data();
    uint8_t* const mask = transparent ? frame.Mask.data() : nullptr;
    RowOrder rows(H, frame.Interlaced);
    int x = 0;
    uint8_t* rowPtr = pixels;
    const bool rowProgress = OnProgress && area > 100000;
    const int progressEvery = W <= 320 ? 64 : 32;
    auto endRow = [&]() {
        const int finished = rows.Row();
        if (rowProgress && finished % progressEvery == 0 && finished < H) Progress();
        rows.Next();
        x = 0;
        if (!rows.Done()) rowPtr = pixels + std::size_t(rows.Row()) * std::size_t(W);
    };
    auto markSpan = [&](int from, int to) {
        if (!mask) return;
        uint8_t* m = mask + (rowPtr - pixels);
        for (int i = from; i < to; ++i) m[i] = rowPtr[i] == ti;
    };
    auto put = [&](int value) {
        rowPtr[x] = static_cast<uint8_t>(value);
        if (mask) mask[(rowPtr - pixels) + x] = value == ti;
        if (++x == W) endRow();
    };
    auto advance = [&](int n) {
        while (n > 0) {
            const int step = std::min(n, W - x);
            x += step;
            n -= step;
            if (x == W) endRow();
        }
    };
    const bool linear = !frame.Interlaced;
    auto here = [&]() { return std::size_t(rowPtr - pixels) + std::size_t(x); };
    auto putStack = [&]() {
        while (sp > 0 && !rows.Done()) put(stack[--sp]);
    };

    bool ended = false;  // end code seen or the data ran out / was damaged
    int code;
    do code = readCode();
    while (code == clear);
    if (code < 0) {
        ended = true;
    } else {
        takeFirst(code);
        prevStart = here();
        put(code);
    }

    while (!ended && !rows.Done()) {
        code = readCode();
        if (code < 0) {
            ended = true;
            break;
        }
        if (code == clear) {
            resetTables();
            code = readCode();
            if (code < 0) {
                ended = true;
                break;
            }
            takeFirst(code);
            prevStart = here();
            put(code);
            continue;
        }
        if (code == endCode) {
            if (!failed) SkipSubBlocks(ReadByte());
            ended = true;
            break;
        }
        if (!tainted && linear && code <= next) {
            const std::size_t at = here();
            const std::size_t room = area - at;
            uint8_t* out = pixels + at;
            int n, newFirst;
            if (code < clear) {
                n = 1;
                *out = static_cast<uint8_t>(code);
                newFirst = code;
            } else if (code < next) {
                n = length[code];
                CopyRun(out, pixels + start[code], std::min(std::size_t(n), room));
                newFirst = root[code];
            } else {  // the code being defined: the previous string and its own first value
                const int previous = length[old];
                n = previous + 1;
                CopyRun(out, pixels + prevStart, std::min(std::size_t(previous), room));
                if (room > std::size_t(previous)) out[previous] = static_cast<uint8_t>(first);
                newFirst = first;
            }
            if (next < kTableSize) start[next] = static_cast<uint32_t>(prevStart);
            addEntry(newFirst);
            first = newFirst;
            old = code;
            prevStart = at;
            const int stored = static_cast<int>(std::min(std::size_t(n), room));
            if (mask)
                for (int i = 0; i < stored; ++i) mask[at + i] = out[i] == ti;
            advance(stored);
            continue;
        }
        if (!tainted && code < next && length[code] <= W - x) {
            const int n = length[code];
            uint8_t* p = rowPtr + x + n - 1;
            int c = code;
            while (c >= clear) {
                *p-- = static_cast<uint8_t>(suffix[c]);
                c = prefix[c];
            }
            *p = static_cast<uint8_t>(c);
            first = root[code];
            addEntry(first);
            old = code;
            markSpan(x, x + n);
            x += n;
            if (x == W) endRow();
            continue;
        }
        // Damage ends the pixels; the drain below still reads on to the next end.
        if (!expand(code)) break;
        putStack();
    }

    // Drain the rest of the data up to the end code, the end of the data, or damage. Values drained
    // are thrown away, so damaged data must not make their strings cost without bound: past a budget
    // far beyond what any real file needs, the drain stops as it would at damage.
    std::size_t drainWork = 0;
    while (!ended) {
        code = readCode();
        if (code < 0) break;
        if (code == clear) {
            resetTables();
            code = readCode();
            if (code < 0) break;
            takeFirst(code);
            continue;
        }
        if (code == endCode) {
            if (!failed) SkipSubBlocks(ReadByte());
            break;
        }
        if (!tainted && code < next) {
            first = root[code];
            addEntry(first);
            old = code;
            continue;
        }
        if (!expand(code)) break;
        drainWork += std::size_t(sp);
        if (drainWork > kDrainBudget) break;
    }
}

}  // namespace media
