#include "tools/makedisc/ImageFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER; rows are stored bottom-up, each padded to 4 bytes.
std::string Headers(int width, int height, int bits, int colours, uint32_t imageSize) {
    std::string out;
    const uint32_t offset = 14 + 40 + 4 * colours;
    out += "BM";
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, static_cast<uint32_t>(colours));
    Put32(out, 0);
    return out;
}

int Stride(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

}  // namespace

std::string EncodeBmp24(const Raster& raster) {
    const int w = raster.Width(), h = raster.Height(), stride = Stride(w, 24);
    std::string out = Headers(w, h, 24, 0, static_cast<uint32_t>(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const Rgb c = raster.At(x, y);
            row[3 * x] = static_cast<char>(c.B), row[3 * x + 1] = static_cast<char>(c.G),
                    row[3 * x + 2] = static_cast<char>(c.R);
        }
        out += row;
    }
    return out;
}

std::string EncodeBmp8(const IndexedImage& image) {
    const int w = image.Width, h = image.Height, stride = Stride(w, 8);
    // Always a full 256-entry table, as 8-bit palette pictures of the window layout have.
    std::string out = Headers(w, h, 8, 256, static_cast<uint32_t>(stride * h));
    for (int i = 0; i < 256; ++i) {
        const Rgb c = i < static_cast<int>(image.Palette.size()) ? image.Palette[i] : Rgb{};
        out.push_back(static_cast<char>(c.B)), out.push_back(static_cast<char>(c.G)),
            out.push_back(static_cast<char>(c.R));
        out.push_back('\0');
    }
    for (int y = h - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < w; ++x) row[x] = static_cast<char>(image.Pixels[static_cast<size_t>(y) * w + x]);
        out += row;
    }
    return out;
}

std::string EncodeBmpMask(int width, int height, const std::vector<bool>& transparent) {
    const int stride = Stride(width, 1);
    std::string out = Headers(width, height, 1, 2, static_cast<uint32_t>(stride * height));
    Put32(out, 0x000000);
    Put32(out, 0xFFFFFF);
    for (int y = height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x)
            if (transparent[static_cast<size_t>(y) * width + x])
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
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

std::string EncodePng(const Raster& raster) {
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(raster.Width()),
                 static_cast<png_uint_32>(raster.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(raster.Width()) * 3);
    for (int y = 0; y < raster.Height(); ++y) {
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
