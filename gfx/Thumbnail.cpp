#include "gfx/Thumbnail.h"

#include <algorithm>
#include <fstream>

#include "gfx/JpegCodec.h"

namespace gfx {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t n = int64_t(a) * b;
    const bool negative = (n < 0) != (c < 0);
    n = n < 0 ? -n : n;
    const int64_t d = c < 0 ? -int64_t(c) : c;
    const int64_t r = (n + d / 2) / d;
    return int(negative ? -r : r);
}

bool FitRect(const TRect& source, const TRect& target, TRect& result) {
    const int sw = source.Right - source.Left, sh = source.Bottom - source.Top;
    const int tw = target.Right - target.Left, th = target.Bottom - target.Top;
    if (sw == 0 || sh == 0) return false;
    int w, h;
    if (double(th) / sh > double(tw) / sw) {
        w = MulDiv(sw, tw, sw);
        h = MulDiv(sh, tw, sw);
    } else {
        w = MulDiv(sw, th, sh);
        h = MulDiv(sh, th, sh);
    }
    const int dx = target.Left + (tw - w) / 2, dy = target.Top + (th - h) / 2;
    result = {dx, dy, dx + w, dy + h};
    return true;
}

TBitmap BoxReduce(const TBitmap& src, int w, int h) {
    const int sw = src.Width(), sh = src.Height();
    if (sw == w && sh == h) return src;
    TBitmap out(w, h);
    for (int y = 0; y < h; ++y) {
        const int y0 = int(int64_t(y) * sh / h), y1 = std::max(y0 + 1, int(int64_t(y + 1) * sh / h));
        uint32_t* row = out.Row32(y);
        for (int x = 0; x < w; ++x) {
            const int x0 = int(int64_t(x) * sw / w), x1 = std::max(x0 + 1, int(int64_t(x + 1) * sw / w));
            uint32_t r = 0, g = 0, b = 0, n = 0;
            for (int yy = y0; yy < y1 && yy < sh; ++yy) {
                const uint32_t* s = src.Row32(yy);
                for (int xx = x0; xx < x1 && xx < sw; ++xx) {
                    r += (s[xx] >> 16) & 0xFF;
                    g += (s[xx] >> 8) & 0xFF;
                    b += s[xx] & 0xFF;
                    ++n;
                }
            }
            n = std::max<uint32_t>(n, 1);
            row[x] = 0xFF000000u | ((r / n) << 16) | ((g / n) << 8) | (b / n);
        }
    }
    return out;
}

// In one read: taken a byte at a time, a camera-sized picture cost a fifth of its decode again.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || !in.seekg(0)) return false;
    bytes.resize(size_t(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    bytes.resize(size_t(in.gcount()));
    return true;
}

TThumbnail JpegThumbnail(const uint8_t* data, size_t size, int frameWidth, int frameHeight, double scale) {
    TThumbnail t;
    t.place = {0, 0, frameWidth, frameHeight};
    const TSize full = JpegSize(data, size);
    if (full.cx < frameWidth || full.cy < frameHeight) {
        DecodeJpeg(data, size, t.picture);
        return t;
    }
    FitRect({0, 0, full.cx, full.cy}, {0, 0, frameWidth, frameHeight}, t.place);
    const int logicalWidth = t.place.Right - t.place.Left, logicalHeight = t.place.Bottom - t.place.Top;
    // At a scale the picture's own pixels, as far as it has them.
    if (ToPixels(logicalWidth, scale) > full.cx || ToPixels(logicalHeight, scale) > full.cy) scale = 1.0;
    const int w = ToPixels(logicalWidth, scale), h = ToPixels(logicalHeight, scale);
    // The largest 1/n that still leaves at least the frame's pixels.
    int denom = 1;
    for (int d : {8, 4, 2})
        if ((full.cx + d - 1) / d >= w && (full.cy + d - 1) / d >= h) {
            denom = d;
            break;
        }
    TBitmap decoded;
    DecodeJpeg(data, size, decoded, denom);
    t.picture = BoxReduce(decoded, w, h);
    if (scale != 1.0) t.picture.SetScaledSize(logicalWidth, logicalHeight, scale);  // keeps the pixels
    t.fitted = true;
    return t;
}

}  // namespace gfx
