#include "tools/makedisc/ImageFiles.h"

#include "tools/common/BmpWriter.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unordered_map>

std::string EncodeBmp24(const Raster& raster) {
    return TBmpWriter::Fill24(raster.Width(), raster.Height(), [&](int x, int y) {
        const Rgb c = raster.At(x, y);
        return (uint32_t(c.R) << 16) | (uint32_t(c.G) << 8) | c.B;
    });
}

std::string EncodeBmp8(const IndexedImage& image) {
    TBmpSpec bmp;
    bmp.Width = image.Width;
    bmp.Height = image.Height;
    bmp.BitCount = 8;
    // Always a full 256-entry table, as the 8-bit palette pictures of the window layout have.
    bmp.Palette.assign(256, 0);
    for (size_t i = 0; i < image.Palette.size() && i < 256; ++i)
        bmp.Palette[i] =
            (uint32_t(image.Palette[i].R) << 16) | (uint32_t(image.Palette[i].G) << 8) | image.Palette[i].B;
    bmp.Pixels.assign(image.Pixels.begin(), image.Pixels.end());
    return TBmpWriter::Write(bmp);
}

std::string EncodeBmpMask(int width, int height, const std::vector<bool>& transparent) {
    TBmpSpec bmp;
    bmp.Width = width;
    bmp.Height = height;
    bmp.BitCount = 1;
    bmp.Palette = {0x000000, 0xFFFFFF};
    bmp.Pixels.assign(transparent.begin(), transparent.end());
    return TBmpWriter::Write(bmp);
}

std::string EncodeJpeg(const Raster& raster, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(raster.Width());
    cinfo.image_height = static_cast<JDIMENSION>(raster.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(raster.Width()) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < raster.Width(); ++x) {
            const Rgb c = raster.At(x, y);
            row[3 * x] = c.R, row[3 * x + 1] = c.G, row[3 * x + 2] = c.B;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

std::string EncodePng(const Raster& raster, bool fastDecode) {
    // The colours in order of first appearance, when they fit a palette.
    std::vector<Rgb> palette;
    std::vector<uint8_t> indices;
    if (fastDecode) {
        std::unordered_map<uint32_t, uint8_t> index;
        indices.reserve(static_cast<size_t>(raster.Width()) * static_cast<size_t>(raster.Height()));
        for (int y = 0; y < raster.Height() && palette.size() <= 256; ++y)
            for (int x = 0; x < raster.Width() && palette.size() <= 256; ++x) {
                const Rgb c = raster.At(x, y);
                const uint32_t key = uint32_t(c.R) << 16 | uint32_t(c.G) << 8 | c.B;
                auto [it, added] = index.emplace(key, static_cast<uint8_t>(palette.size()));
                if (added) palette.push_back(c);
                indices.push_back(it->second);
            }
        if (palette.size() > 256) palette.clear();
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::string out;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), n);
        },
        nullptr);
    const bool indexed = !palette.empty();
    png_set_IHDR(png, info, static_cast<png_uint_32>(raster.Width()),
                 static_cast<png_uint_32>(raster.Height()), 8,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> entries;
    entries.reserve(palette.size());
    for (const Rgb& c : palette) entries.push_back({c.R, c.G, c.B});
    if (indexed) png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
    // The decoder's cheapest filters: Paeth costs it several times more per byte than Sub or Up.
    if (fastDecode)
        png_set_filter(png, 0, indexed ? PNG_FILTER_NONE : PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_UP);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(raster.Width()) * 3);
    for (int y = 0; y < raster.Height(); ++y) {
        if (indexed) {
            png_write_row(png, indices.data() + static_cast<size_t>(y) * static_cast<size_t>(raster.Width()));
            continue;
        }
        for (int x = 0; x < raster.Width(); ++x) {
            const Rgb c = raster.At(x, y);
            row[3 * x] = c.R, row[3 * x + 1] = c.G, row[3 * x + 2] = c.B;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
