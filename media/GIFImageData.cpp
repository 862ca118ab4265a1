#include "media/GIFImageData.h"

#include <cstring>

#include "media/GIFBitReader.h"
#include "media/GIFCodeTable.h"
#include "media/GIFRowWriter.h"

namespace media {

namespace {

// Chain steps the drain may spend on strings of damaged data (clean data drains at one step a code).
constexpr std::size_t kDrainBudget = std::size_t{1} << 24;

// Strings are mostly a few bytes long; a call to memcpy costs more than the copy then.
inline void CopyRun(uint8_t* dst, const uint8_t* src, std::size_t n) {
    if (n <= 16) {
        for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
    } else {
        std::memcpy(dst, src, n);
    }
}

// After the last pixel: reads on to the end code, the end of the data, or damage, so that the block
// loop goes on behind the image data. Values are thrown away, so damaged data must not make their
// strings cost without bound: past a budget far beyond what any real file needs, it stops as it would
// at damage.
void Drain(GIFBitReader& in, GIFCodeTable& table) {
    std::size_t work = 0;
    const int clear = table.ClearCode(), end = table.EndCode();
    for (;;) {
        int code = in.Read(table.CodeSize());
        if (code < 0) return;
        if (code == clear) {
            table.Reset();
            code = in.Read(table.CodeSize());
            if (code < 0) return;
            table.Begin(code);
            continue;
        }
        if (code == end) {
            in.SkipRest();
            return;
        }
        if (!table.Tainted() && code < table.Next()) {
            table.Take(code, table.RootValue(code));
            continue;
        }
        if (!table.Expand(code)) return;
        work += std::size_t(table.StackSize());
        if (work > kDrainBudget) return;
    }
}

}  // namespace

TGIFFrameStatus DecodeGIFImageData(TGIFFrame& frame, const uint8_t* data, std::size_t size, std::size_t& pos,
                                   std::function<bool()> onRows) {
    const int W = frame.Width, H = frame.Height;
    const std::size_t area = std::size_t(W) * std::size_t(H);
    frame.Pixels.assign(area, 0);
    // Pixels that are never stored stay transparent.
    if (frame.Transparent) frame.Mask.assign(area, 1);

    const int rootSize = pos < size ? data[pos++] : -1;
    frame.DecodedPixels = 0;
    frame.RootCodeSize = rootSize < 0 ? 0 : rootSize;
    if (rootSize < 0) return TGIFFrameStatus::gsTruncated;
    if (rootSize > 15) return TGIFFrameStatus::gsDamaged;

    GIFBitReader in(data, size, pos);
    GIFCodeTable table(rootSize);
    // Codes of 12 bits cannot hold a clear code at 4096 or beyond.
    if (rootSize > 11) table.MarkDamaged();
    GIFRowWriter out(frame.Pixels.data(), frame.Transparent ? frame.Mask.data() : nullptr, W, H,
                     frame.Interlaced, frame.TransparentIndex, std::move(onRows));
    uint8_t* const pixels = out.Pixels();
    const int clear = table.ClearCode(), end = table.EndCode();
    const bool linear = !frame.Interlaced;
    std::size_t prevStart = 0;  // where the previous code's string was written
    // Pixels stored before the first damaged code; only the paths that can meet damage look.
    std::size_t sound = table.Damaged() ? 0 : area;
    auto noteDamage = [&] {
        if (sound == area && table.Damaged()) sound = out.Stored();
    };

    bool ended = false;  // end code seen, or the data ran out or was damaged
    int code;
    do code = in.Read(table.CodeSize());
    while (code == clear);
    if (code < 0) {
        ended = true;
    } else {
        table.Begin(code);
        noteDamage();
        prevStart = out.Here();
        out.Put(code);
    }

    while (!ended && !out.Done()) {
        code = in.Read(table.CodeSize());
        if (code < 0) {
            ended = true;
            break;
        }
        if (code == clear) {
            table.Reset();
            code = in.Read(table.CodeSize());
            if (code < 0) {
                ended = true;
                break;
            }
            table.Begin(code);
            noteDamage();
            prevStart = out.Here();
            out.Put(code);
            continue;
        }
        if (code == end) {
            in.SkipRest();
            ended = true;
            break;
        }
        const int next = table.Next();
        if (!table.Tainted() && linear && code <= next) {
            // Rows in order: the string is a copy of earlier output.
            const std::size_t at = out.Here();
            const std::size_t room = out.Room();
            uint8_t* dst = pixels + at;
            int n, newFirst;
            if (code < clear) {
                n = 1;
                *dst = static_cast<uint8_t>(code);
                newFirst = code;
            } else if (code < next) {
                n = table.Length(code);
                CopyRun(dst, pixels + table.Start(code), std::min(std::size_t(n), room));
                newFirst = table.RootValue(code);
            } else {  // the code being defined: the previous string and its own first value
                const int previous = table.Length(table.Old());
                n = previous + 1;
                CopyRun(dst, pixels + prevStart, std::min(std::size_t(previous), room));
                if (room > std::size_t(previous)) dst[previous] = static_cast<uint8_t>(table.First());
                newFirst = table.First();
            }
            table.SetNextStart(prevStart);
            table.Take(code, newFirst);
            prevStart = at;
            out.Advance(static_cast<int>(std::min(std::size_t(n), room)));
            continue;
        }
        if (!table.Tainted() && code < next && table.Length(code) <= out.RowRoom()) {
            // Interlaced, the string fits the row: written back to front along its prefix chain.
            const int n = table.Length(code);
            uint8_t* p = out.RowAt() + n - 1;
            int c = code;
            while (c >= clear) {
                *p-- = static_cast<uint8_t>(table.Suffix(c));
                c = table.Prefix(c);
            }
            *p = static_cast<uint8_t>(c);
            table.Take(code, table.RootValue(code));
            out.AdvanceInRow(n);
            continue;
        }
        // Damage ends the pixels; the drain still reads on to the next end.
        const bool expanded = table.Expand(code);
        noteDamage();
        if (!expanded) break;
        while (table.StackSize() > 0 && !out.Done()) out.Put(table.PopStack());
    }

    if (out.Cancelled()) return TGIFFrameStatus::gsCancelled;
    const bool complete = out.Done();
    const bool damaged = table.Damaged();
    frame.DecodedPixels = std::min(sound, complete ? area : out.Stored());
    if (!ended) Drain(in, table);
    if (damaged) return TGIFFrameStatus::gsDamaged;
    return complete ? TGIFFrameStatus::gsOk : TGIFFrameStatus::gsTruncated;
}

}  // namespace media
