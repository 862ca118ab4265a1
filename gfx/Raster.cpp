#include "gfx/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "gfx/Canvas.h"

namespace gfx::raster {

uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & kRgbMask;
}

bool RopUsesSource(uint8_t code) {
    return ((code >> 2) & 0x33) != (code & 0x33);
}

void BlitCore(TBitmap& dst, int dx, int dy, int w, int h, const TBitmap* src, int sx, int sy, uint8_t rop,
              const BlitColors& col) {
    if (w <= 0 || h <= 0) return;
    if (!RopUsesSource(rop)) src = nullptr;
    const bool srcMono = src && src->PixelFormat() == pf1bit;
    if (dst.Is32()) {
        const uint32_t p = col.pattern;
        if (!src || src->Is32()) {
            for (int y = 0; y < h; ++y) {
                uint32_t* d = dst.Row32(dy + y) + dx;
                const uint32_t* s = src ? src->Row32(sy + y) + sx : nullptr;
                switch (rop) {
                    case 0xCC:
                        for (int i = 0; i < w; ++i) d[i] = s[i] & kRgbMask;
                        break;
                    case 0x88:
                        for (int i = 0; i < w; ++i) d[i] = d[i] & s[i] & kRgbMask;
                        break;
                    case 0x66:
                        for (int i = 0; i < w; ++i) d[i] = (d[i] ^ s[i]) & kRgbMask;
                        break;
                    case 0xEE:
                        for (int i = 0; i < w; ++i) d[i] = (d[i] | s[i]) & kRgbMask;
                        break;
                    case 0x33:
                        for (int i = 0; i < w; ++i) d[i] = ~s[i] & kRgbMask;
                        break;
                    case 0x00:
                        std::fill(d, d + w, 0u);
                        break;
                    case 0xFF:
                        std::fill(d, d + w, kRgbMask);
                        break;
                    case 0xF0:
                        std::fill(d, d + w, p);
                        break;
                    case 0x55:
                        for (int i = 0; i < w; ++i) d[i] = ~d[i] & kRgbMask;
                        break;
                    case 0xAA:
                        break;
                    default:
                        for (int i = 0; i < w; ++i) d[i] = Rop3(rop, p, s ? s[i] : 0, d[i]);
                        break;
                }
            }
            return;
        }
        for (int y = 0; y < h; ++y) {
            uint32_t* d = dst.Row32(dy + y) + dx;
            for (int i = 0; i < w; ++i) {
                uint32_t s;
                if (srcMono)
                    s = src->PixelIndex(sx + i, sy + y) ? col.back : col.text;
                else
                    s = src->PixelRgb(sx + i, sy + y);
                d[i] = rop == 0xCC ? s : Rop3(rop, p, s, d[i]);
            }
        }
        return;
    }
    const bool dstMono = dst.PixelFormat() == pf1bit;
    // Same palette, plain copy: indices carry over exactly.
    if (src && rop == 0xCC && src->PixelFormat() == dst.PixelFormat() &&
        (dstMono || src->Palette() == dst.Palette())) {
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w; ++i) dst.SetPixelIndex(dx + i, dy + y, src->PixelIndex(sx + i, sy + y));
        return;
    }
    uint32_t p = col.pattern;
    if (dstMono) p = PixelToColor(p) == clWhite ? kRgbMask : ColorToPixel(dst.Palette()[0]);
    for (int y = 0; y < h; ++y) {
        for (int i = 0; i < w; ++i) {
            uint32_t s = 0;
            if (src) {
                if (dstMono) {
                    bool one = srcMono ? src->PixelIndex(sx + i, sy + y) != 0
                                       : src->PixelRgb(sx + i, sy + y) == col.reference;
                    s = one ? kRgbMask : 0;
                } else if (srcMono) {
                    s = src->PixelIndex(sx + i, sy + y) ? col.back : col.text;
                } else {
                    s = src->PixelRgb(sx + i, sy + y);
                }
            }
            uint32_t d = dst.PixelRgb(dx + i, dy + y);
            uint32_t r = Rop3(rop, p, s, d);
            dst.SetPixel(dx + i, dy + y, PixelToColor(r));
        }
    }
}

bool ClipBlit(const TRect& clip, int& dx, int& dy, int& w, int& h, const TBitmap* src, int& sx, int& sy) {
    TRect d = Intersect({dx, dy, dx + w, dy + h}, clip);
    if (d.IsEmpty()) return false;
    sx += d.Left - dx, sy += d.Top - dy;
    dx = d.Left, dy = d.Top, w = d.Width(), h = d.Height();
    if (src) {
        TRect s = Intersect({sx, sy, sx + w, sy + h}, {0, 0, src->Width(), src->Height()});
        if (s.IsEmpty()) return false;
        dx += s.Left - sx, dy += s.Top - sy;
        sx = s.Left, sy = s.Top, w = s.Width(), h = s.Height();
    }
    return true;
}

TBitmap StretchSource(const TBitmap& src, int sx, int sy, int sw, int sh, int w, int h, int mode) {
    bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
    if (sw < 0) sx += sw + 1, sw = -sw;
    if (sh < 0) sy += sh + 1, sh = -sh;
    w = std::abs(w), h = std::abs(h);
    bool mono = src.PixelFormat() == pf1bit;
    TBitmap out(w, h, mono ? pf1bit : pf32bit);
    auto clampX = [&](int x) { return std::clamp(x, 0, src.Width() - 1); };
    auto clampY = [&](int y) { return std::clamp(y, 0, src.Height() - 1); };
    for (int j = 0; j < h; ++j) {
        int jj = mirrorY ? h - 1 - j : j;
        int a0 = int(int64_t(jj) * sh / h), a1 = std::max(a0 + 1, int(int64_t(jj + 1) * sh / h));
        int ys = int((int64_t(2 * jj + 1) * sh) / (2 * int64_t(h)));
        for (int i = 0; i < w; ++i) {
            int ii = mirrorX ? w - 1 - i : i;
            int b0 = int(int64_t(ii) * sw / w), b1 = std::max(b0 + 1, int(int64_t(ii + 1) * sw / w));
            int xs = int((int64_t(2 * ii + 1) * sw) / (2 * int64_t(w)));
            if (mode == COLORONCOLOR ||
                ((mode == BLACKONWHITE || mode == WHITEONBLACK) && a1 - a0 == 1 && b1 - b0 == 1)) {
                int px = clampX(sx + xs), py = clampY(sy + ys);
                if (mono)
                    out.SetPixelIndex(i, j, src.PixelIndex(px, py));
                else
                    out.Row32(j)[i] = SourceRgb(src, px, py);
                continue;
            }
            if (mode == HALFTONE) {
                uint64_t r = 0, g = 0, b = 0, n = 0;
                for (int y = a0; y < a1; ++y)
                    for (int x = b0; x < b1; ++x) {
                        uint32_t c = SourceRgb(src, clampX(sx + x), clampY(sy + y));
                        r += c >> 16 & 0xFF, g += c >> 8 & 0xFF, b += c & 0xFF, ++n;
                    }
                uint32_t avg = uint32_t((r + n / 2) / n) << 16 | uint32_t((g + n / 2) / n) << 8 |
                               uint32_t((b + n / 2) / n);
                if (mono)
                    out.SetPixelIndex(i, j, (avg & 0xFF) >= 128 ? 1 : 0);
                else
                    out.Row32(j)[i] = avg;
                continue;
            }
            // BLACKONWHITE keeps dark pixels (AND), WHITEONBLACK light ones (OR).
            bool andMode = mode != WHITEONBLACK;
            uint32_t acc = andMode ? kRgbMask : 0;
            for (int y = a0; y < a1; ++y)
                for (int x = b0; x < b1; ++x) {
                    uint32_t c = mono ? (src.PixelIndex(clampX(sx + x), clampY(sy + y)) ? kRgbMask : 0)
                                      : SourceRgb(src, clampX(sx + x), clampY(sy + y));
                    acc = andMode ? (acc & c) : (acc | c);
                }
            if (mono)
                out.SetPixelIndex(i, j, acc ? 1 : 0);
            else
                out.Row32(j)[i] = acc;
        }
    }
    return out;
}

namespace {

// Source pixels and weights (summing to kOne) of each destination pixel along one axis. Eight bits
// of weight per axis keep a pixel's sums within 32 bits.
constexpr int kOne = 1 << 8;

struct AxisTaps {
    std::vector<int> start;  // taps of destination pixel i: [start[i], start[i + 1])
    std::vector<int> index;
    std::vector<uint32_t> weight;
};

AxisTaps MakeTaps(int from0, int fromLength, int to0, int toLength, int part0, int part1, int limit) {
    AxisTaps t;
    const double ratio = double(fromLength) / toLength;  // source pixels per destination pixel
    std::vector<double> w;
    auto add = [&](int k, double weight) {
        t.index.push_back(std::clamp(from0 + std::clamp(k, 0, fromLength - 1), 0, limit - 1));
        w.push_back(weight);
    };
    for (int i = part0; i < part1; ++i) {
        t.start.push_back(int(t.index.size()));
        w.clear();
        const size_t first = t.index.size();
        if (ratio <= 1.0) {
            const double u = (i - to0 + 0.5) * ratio - 0.5;
            const int k = int(std::floor(u));
            const double f = u - k;
            add(k, 1.0 - f);
            add(k + 1, f);
        } else {
            const double a = (i - to0) * ratio, b = a + ratio;
            for (int k = int(std::floor(a)); k < int(std::ceil(b)); ++k)
                add(k, (std::min(b, k + 1.0) - std::max(a, double(k))) / ratio);
        }
        int sum = 0;
        for (double x : w) {
            t.weight.push_back(uint32_t(std::lround(x * kOne)));
            sum += int(t.weight.back());
        }
        t.weight[first] = uint32_t(int(t.weight[first]) + kOne - sum);  // exact sums keep flat areas flat
    }
    t.start.push_back(int(t.index.size()));
    return t;
}

}  // namespace

void DrawResampled(TBitmap& dst, const TRect& to, const TRect& part, const TBitmap& src, const TRect& from,
                   const uint32_t* key) {
    if (to.IsEmpty() || from.IsEmpty() || part.IsEmpty() || src.Empty()) return;
    const AxisTaps xs =
        MakeTaps(from.Left, from.Width(), to.Left, to.Width(), part.Left, part.Right, src.Width());
    const AxisTaps ys =
        MakeTaps(from.Top, from.Height(), to.Top, to.Height(), part.Top, part.Bottom, src.Height());
    // Edges over a work picture's key colour keep how much of the key shows, as text does.
    const bool keyAware = dst.Transparent() && dst.Is32();
    const uint32_t dstKey = keyAware ? ResolvePixel(dst.TransparentColor()) : 0;
    const uint32_t srcKey = key ? *key : 0;
    const bool keyed = key != nullptr;
    constexpr uint32_t kFull = uint32_t(kOne) * kOne;
    // Source rows as 32-bit pixels: a palette or monochrome picture is converted once.
    TBitmap converted;
    const TBitmap* s32 = &src;
    if (!src.Is32()) {
        converted = TBitmap(src.Width(), src.Height());
        for (int y = 0; y < src.Height(); ++y)
            for (int x = 0; x < src.Width(); ++x) converted.Row32(y)[x] = SourceRgb(src, x, y);
        s32 = &converted;
    }
    std::vector<const uint32_t*> rows(size_t(s32->Height()));
    for (int y = 0; y < s32->Height(); ++y) rows[size_t(y)] = s32->Row32(y);
    for (int j = 0; j < part.Height(); ++j) {
        const int y = part.Top + j;
        uint32_t* row = dst.Is32() ? dst.Row32(y) : nullptr;
        const int ty0 = ys.start[size_t(j)], ty1 = ys.start[size_t(j) + 1];
        for (int i = 0; i < part.Width(); ++i) {
            const int x = part.Left + i;
            const int tx0 = xs.start[size_t(i)], tx1 = xs.start[size_t(i) + 1];
            uint32_t r = 0, g = 0, b = 0, seen = 0;
            for (int ty = ty0; ty < ty1; ++ty) {
                const uint32_t* srow = rows[size_t(ys.index[size_t(ty)])];
                const uint32_t wy = ys.weight[size_t(ty)];
                for (int tx = tx0; tx < tx1; ++tx) {
                    const uint32_t c = srow[xs.index[size_t(tx)]] & kRgbMask;
                    if (keyed && c == srcKey) continue;
                    const uint32_t wt = wy * xs.weight[size_t(tx)];
                    r += (c >> 16) * wt, g += (c >> 8 & 0xFF) * wt, b += (c & 0xFF) * wt;
                    seen += wt;
                }
            }
            if (seen == 0) continue;
            const uint32_t c =
                ((r + seen / 2) / seen) << 16 | ((g + seen / 2) / seen) << 8 | ((b + seen / 2) / seen);
            const unsigned cover = keyed ? unsigned((seen * 255 + kFull / 2) / kFull) : 255;
            if (row) {
                uint32_t& d = row[x];
                if (cover >= 255) {
                    d = c;
                } else if (keyAware && d == dstKey) {
                    d = c | (uint32_t(255 - cover) << 24);  // drawn over the key later (Canvas.h)
                } else if (keyAware && (d >> 24) != 0) {
                    const unsigned share = (d >> 24) * (255 - cover) / 255;
                    d = Blend(d & kRgbMask, c, cover) | (uint32_t(share) << 24);
                } else {
                    d = Blend(d & kRgbMask, c, cover);
                }
            } else if (cover >= 128) {
                dst.SetPixel(x, y, PixelToColor(c));
            }
        }
    }
}

}  // namespace gfx::raster
