#include "gfx/PngCodec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <utility>

#include "base/FileStream.h"
#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"
#include "gfx/Raster.h"

namespace gfx {

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos;
    char message[256];
};

void ReadData(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (n > r->size - r->pos) png_error(png, "PNG-Daten abgeschnitten");
    std::memcpy(out, r->data + r->pos, n);
    r->pos += n;
}

// libpng's default error handler would print; ours keeps the message and jumps back.
void OnError(png_structp png, png_const_charp message) {
    auto* msg = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(msg, 256, "%s", message);
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Every chunk up to IEND lies inside the data. libpng allocates a text chunk as long as its length
// field says before it reads it (2 GB for a 300-byte file); such a file is cut short anyway.
bool ChunksFit(const uint8_t* data, size_t size) {
    for (size_t pos = 8; size - pos >= 8;) {
        const uint32_t length = uint32_t(data[pos]) << 24 | uint32_t(data[pos + 1]) << 16 |
                                uint32_t(data[pos + 2]) << 8 | uint32_t(data[pos + 3]);
        if (size - pos < 12 || length > size - pos - 12) return false;
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0) break;
        pos += 12 + size_t(length);
    }
    return true;
}

// 8-bit palette and RGB pictures without interlacing (the built-in skin's) are read row by row and
// turned into pixels here: one table look-up or byte shuffle a pixel, where libpng's expansion, byte
// swap and filler would each pass over every row. The pixels are the same. False for other kinds.
bool ReadPlain(png_structp png, png_infop info, TBitmap& out, std::vector<uint8_t>& row) {
    const int type = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) != 8 || png_get_interlace_type(png, info) != PNG_INTERLACE_NONE ||
        (type != PNG_COLOR_TYPE_PALETTE && type != PNG_COLOR_TYPE_RGB))
        return false;
    // Entries past the palette are black, as libpng's expansion makes them.
    uint32_t colours[256] = {};
    png_colorp palette = nullptr;
    int count = 0;
    if (type == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &palette, &count) == PNG_INFO_PLTE)
        for (int i = 0; i < count && i < 256; ++i)
            colours[i] = uint32_t(palette[i].red) << 16 | uint32_t(palette[i].green) << 8 | palette[i].blue;
    png_read_update_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    const size_t bytes = type == PNG_COLOR_TYPE_PALETTE ? 1 : 3;
    if (png_get_rowbytes(png, info) != size_t(w) * bytes) png_error(png, "unerwartetes Zeilenformat");
    out.SetSize(int(w), int(h));
    row.resize(size_t(w) * bytes);
    for (png_uint_32 y = 0; y < h; ++y) {
        png_read_row(png, row.data(), nullptr);
        uint32_t* to = out.Row32(int(y));
        const uint8_t* from = row.data();
        if (bytes == 1) {
            for (png_uint_32 x = 0; x < w; ++x) to[x] = colours[from[x]];
        } else {
            for (png_uint_32 x = 0; x < w; ++x, from += 3)
                to[x] = uint32_t(from[0]) << 16 | uint32_t(from[1]) << 8 | from[2];
        }
    }
    png_read_end(png, nullptr);
    return true;
}

void WriteData(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void Flush(png_structp) {}

}  // namespace

bool IsPng(const uint8_t* data, size_t size) {
    return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

void DecodePng(const uint8_t* data, size_t size, TBitmap& bitmap, bool checkSums) {
    if (!IsPng(data, size)) throw EInvalidGraphic("PNG-Fehler: keine PNG-Signatur");
    if (!ChunksFit(data, size)) throw EInvalidGraphic("PNG-Fehler: PNG-Daten abgeschnitten");
    TBitmap out;
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    Reader reader{data, size, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, reader.message, OnError, OnWarning);
    if (!png) throw EInvalidGraphic("PNG-Fehler: kein Speicher");
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        throw EInvalidGraphic(std::string("PNG-Fehler: ") +
                              (reader.message[0] ? reader.message : "kein Speicher"));
    }
    png_set_user_limits(png, 16384, 16384);
#ifdef PNG_IGNORE_ADLER32
    if (!checkSums) png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_set_read_fn(png, &reader, ReadData);
    png_read_info(png, info);
    if (ReadPlain(png, info, out, pixels)) {
        png_destroy_read_struct(&png, &info, nullptr);
        bitmap.Assign(std::move(out));
        return;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4) png_error(png, "unerwartetes Zeilenformat");
    out.SetSize(int(w), int(h));
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(out.Row32(int(y)));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    bitmap.Assign(std::move(out));
}

std::vector<uint8_t> EncodePng(const TBitmap& bitmap) {
    if (bitmap.Empty()) throw EInvalidGraphic("Leere Bitmap kann nicht als PNG gespeichert werden");
    std::vector<uint8_t> out;
    std::vector<uint8_t> row(size_t(bitmap.Width()) * 3);
    char message[256] = {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, message, OnError, OnWarning);
    if (!png) throw EInvalidGraphic("PNG-Fehler: kein Speicher");
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        throw EInvalidGraphic(std::string("PNG-Fehler: ") + message);
    }
    png_set_write_fn(png, &out, WriteData, Flush);
    png_set_IHDR(png, info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        raster::RgbBytesOfRow(bitmap, y, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void SavePngFile(const TBitmap& bitmap, const std::string& fileName) {
    std::vector<uint8_t> bytes = EncodePng(bitmap);
    base::TFileStream f(fileName, base::TFileStream::fmCreate);
    f.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

}  // namespace gfx
