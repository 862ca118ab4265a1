#include "gfx/BmpCodec.h"

#include <cstring>
#include <utility>

#include "base/Exceptions.h"
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"

namespace gfx {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw EInvalidGraphic("Bitmap ist ung\xFCltig: " + what);
}

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// Reads exactly n bytes or fails naming the part that was cut off.
void Take(base::TStream& s, void* buf, int64_t n, const char* part) {
    if (n <= 0) return;
    if (s.Read(buf, n) != n) Fail(std::string(part) + " abgeschnitten");
}

void Skip(base::TStream& s, int64_t n, const char* part) {
    if (n <= 0) return;
    if (s.Size() - s.Position() < n) Fail(std::string(part) + " abgeschnitten");
    s.Seek(n, base::TSeekOrigin::soCurrent);
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

}  // namespace

void ReadBmp(base::TStream& stream, TBitmap& bitmap, const TBmpReadOptions& options) {
    const int64_t start = stream.Position();
    uint8_t fh[14];
    Take(stream, fh, 14, "Dateikopf");
    if (fh[0] != 'B' || fh[1] != 'M') Fail("keine BMP-Signatur");
    const uint32_t offBits = U32(fh + 10);

    uint8_t sizeBytes[4];
    Take(stream, sizeBytes, 4, "Infokopf");
    const uint32_t headerSize = U32(sizeBytes);
    if (headerSize != 12 && (headerSize < 40 || headerSize > 1024))
        Fail(base::Format("Infokopf mit L\xE4nge %u", headerSize));
    std::vector<uint8_t> h(headerSize, 0);
    std::memcpy(h.data(), sizeBytes, 4);
    Take(stream, h.data() + 4, headerSize - 4, "Infokopf");

    int64_t width, height;
    int bits;
    uint32_t compression = 0, clrUsed = 0;
    bool core = headerSize == 12;
    if (core) {
        width = U16(h.data() + 4);
        height = int16_t(U16(h.data() + 6));
        bits = U16(h.data() + 10);
    } else {
        width = int32_t(U32(h.data() + 4));
        height = int32_t(U32(h.data() + 8));
        bits = U16(h.data() + 14);
        compression = U32(h.data() + 16);
        clrUsed = U32(h.data() + 32);
    }
    if (compression == 3 && bits == 32) {
        // Bit fields: the masks end a version 2+ header or follow a 40-byte one. Those of the plain
        // layout (blue, green, red bytes, the fourth byte unused) are read as such; others are not.
        uint8_t fields[12];
        if (headerSize >= 52)
            std::memcpy(fields, h.data() + 40, 12);
        else
            Take(stream, fields, 12, "Bitmasken");
        if (U32(fields) != 0x00FF0000 || U32(fields + 4) != 0x0000FF00 || U32(fields + 8) != 0x000000FF)
            Fail("Bitmasken werden nur im Standardformat unterst\xFCtzt");
        compression = 0;
    }
    if (compression != 0) Fail(base::Format("Kompression %u wird nicht unterst\xFCtzt", compression));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        Fail(base::Format("%d Bit pro Pixel werden nicht unterst\xFCtzt", bits));
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0)
        Fail(
            base::Format("Gr\xF6\xDF"
                         "e %lldx%lld",
                         (long long)width, (long long)height));
    if (width * height > options.maxPixels)
        Fail(base::Format("Bild zu gro\xDF (%lldx%lld)", (long long)width, (long long)height));

    // Colour table: biClrUsed entries, or 2^bits for palette pictures that say 0.
    int64_t entries = clrUsed;
    if (entries == 0 && bits <= 8) entries = int64_t(1) << bits;
    if (entries > 65536) Fail(base::Format("Farbtabelle mit %lld Eintr\xE4gen", (long long)entries));
    const int entrySize = core ? 3 : 4;
    std::vector<uint8_t> table(size_t(entries) * size_t(entrySize));
    Take(stream, table.data(), int64_t(table.size()), "Farbtabelle");

    if (options.honourPixelOffset) {
        int64_t consumed = stream.Position() - start;
        if (int64_t(offBits) > consumed) Skip(stream, int64_t(offBits) - consumed, "Pixeldaten");
    }

    const int64_t rowBytes = ((width * bits + 31) / 32) * 4;
    const int64_t total = rowBytes * height;
    if (stream.Size() - stream.Position() < total) Fail("Pixeldaten abgeschnitten");
    std::vector<uint8_t> data(static_cast<size_t>(total));
    Take(stream, data.data(), total, "Pixeldaten");

    const int w = int(width), hgt = int(height);
    std::vector<TColor> palette;
    if (bits <= 8) {
        size_t usable = std::min<size_t>(size_t(entries), size_t(1) << bits);
        for (size_t i = 0; i < usable; ++i) {
            const uint8_t* e = table.data() + i * size_t(entrySize);
            palette.push_back(RGB(e[2], e[1], e[0]));
        }
    }
    TBitmap out(w, hgt, bits == 1 ? pf1bit : bits <= 8 ? pf8bit : bits == 24 ? pf24bit : pf32bit);
    if (bits == 1) {
        palette.resize(2, clBlack);
        out.SetPalette(palette);
        for (int y = 0; y < hgt; ++y) {
            const uint8_t* src = data.data() + size_t(topDown ? y : hgt - 1 - y) * size_t(rowBytes);
            std::memcpy(out.Row8(y), src, size_t(std::min<int64_t>(rowBytes, out.Stride())));
        }
    } else if (bits <= 8) {
        palette.resize(256, clBlack);  // indices beyond the table show black
        out.SetPalette(palette);
        for (int y = 0; y < hgt; ++y) {
            const uint8_t* src = data.data() + size_t(topDown ? y : hgt - 1 - y) * size_t(rowBytes);
            uint8_t* dst = out.Row8(y);
            if (bits == 8) {
                std::memcpy(dst, src, size_t(w));
            } else {
                for (int x = 0; x < w; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
            }
        }
    } else {
        const int step = bits / 8;
        for (int y = 0; y < hgt; ++y) {
            const uint8_t* src = data.data() + size_t(topDown ? y : hgt - 1 - y) * size_t(rowBytes);
            uint32_t* dst = out.Row32(y);
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = src + size_t(x) * size_t(step);
                dst[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            }
        }
    }
    out.SetTransparent(bitmap.Transparent());
    if (bitmap.TransparentMode() == tmFixed) out.SetTransparentColor(bitmap.TransparentColor());
    bitmap.Assign(std::move(out));
}

size_t ReadBmp(const uint8_t* data, size_t size, TBitmap& bitmap, const TBmpReadOptions& options) {
    base::TMemoryStream m(data, size);
    ReadBmp(m, bitmap, options);
    return size_t(m.Position());
}

std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap, int bits, bool topDown) {
    if (bitmap.Empty()) throw EInvalidGraphic("Leere Bitmap kann nicht gespeichert werden");
    if (bits == 0) bits = bitmap.PixelFormat() == pf1bit ? 1 : bitmap.PixelFormat() == pf8bit ? 8 : 24;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw EInvalidGraphic(base::Format("%d Bit pro Pixel k\xF6nnen nicht gespeichert werden", bits));
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<TColor> palette;
    if (bits <= 8) {
        size_t n = size_t(1) << bits;
        palette = bitmap.PixelFormat() == pf1bit || bitmap.PixelFormat() == pf8bit
                      ? bitmap.Palette()
                      : (bits == 1 ? MonoPalette() : DefaultPalette256());
        palette.resize(n, clBlack);
    }
    // Index of a pixel: the bitmap's own when it has a palette of that size, else the nearest.
    auto indexAt = [&](int x, int y) -> int {
        if ((bitmap.PixelFormat() == pf1bit || bitmap.PixelFormat() == pf8bit) &&
            bitmap.PixelIndex(x, y) < int(palette.size()))
            return bitmap.PixelIndex(x, y);
        TColor c = bitmap.Pixel(x, y);
        int best = 0, bestD = 1 << 30;
        for (size_t i = 0; i < palette.size(); ++i) {
            int dr = GetRValue(palette[i]) - GetRValue(c), dg = GetGValue(palette[i]) - GetGValue(c),
                db = GetBValue(palette[i]) - GetBValue(c);
            int d = dr * dr + dg * dg + db * db;
            if (d < bestD) bestD = d, best = int(i);
        }
        return best;
    };
    const int rowBytes = ((w * bits + 31) / 32) * 4;
    const uint32_t imageSize = uint32_t(rowBytes) * uint32_t(h);
    const uint32_t offBits = 14 + 40 + uint32_t(palette.size()) * 4;
    std::vector<uint8_t> out;
    out.reserve(offBits + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offBits + imageSize);
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(topDown ? -h : h));
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, bits <= 8 ? uint32_t(palette.size()) : 0);
    Put32(out, 0);
    for (TColor c : palette) {
        out.push_back(uint8_t(GetBValue(c)));
        out.push_back(uint8_t(GetGValue(c)));
        out.push_back(uint8_t(GetRValue(c)));
        out.push_back(0);
    }
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    for (int i = 0; i < h; ++i) {
        int y = topDown ? i : h - 1 - i;
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < w; ++x) {
            switch (bits) {
                case 1:
                    if (indexAt(x, y) & 1) row[size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
                    break;
                case 4:
                    row[size_t(x >> 1)] |= uint8_t((indexAt(x, y) & 0xF) << ((x & 1) ? 0 : 4));
                    break;
                case 8:
                    row[size_t(x)] = uint8_t(indexAt(x, y));
                    break;
                default: {
                    uint32_t p = bitmap.PixelRgb(x, y);
                    uint8_t* d = row.data() + size_t(x) * size_t(bits / 8);
                    d[0] = uint8_t(p), d[1] = uint8_t(p >> 8), d[2] = uint8_t(p >> 16);
                    if (bits == 32) d[3] = 0;
                }
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void WriteBmp(base::TStream& stream, const TBitmap& bitmap) {
    std::vector<uint8_t> bytes = EncodeBmp(bitmap);
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

}  // namespace gfx
