#include "gfx/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include <jerror.h>
#include <jpeglib.h>

#include "base/StrUtils.h"
#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"
#include "gfx/Raster.h"

namespace gfx {

namespace {

constexpr int64_t kMaxPixels = int64_t(1) << 26;

// libjpeg ends the process in its default error exit; ours jumps back to the caller, which turns
// the library's message into an exception.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are not printed; a picture that ends before its data is complete counts as damaged.
void EmitMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0) {
        ++cinfo->err->num_warnings;
        if (cinfo->err->msg_code == JWRN_JPEG_EOF) {
            err->truncated = true;
            (*cinfo->err->format_message)(cinfo, err->message);
        }
    }
}

void InitErrors(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = [](j_common_ptr) {};
    err.message[0] = 0;
    err.truncated = false;
}

[[noreturn]] void Fail(const char* message) {
    throw EInvalidGraphic(std::string("JPEG-Fehler: ") + message);
}

}  // namespace

bool IsJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

TSize JpegSize(const uint8_t* data, size_t size) {
    if (!IsJpeg(data, size)) Fail("keine JPEG-Signatur");
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        Fail(err.message);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    TSize s{int(cinfo.image_width), int(cinfo.image_height)};
    jpeg_destroy_decompress(&cinfo);
    return s;
}

void DecodeJpeg(const uint8_t* data, size_t size, TBitmap& bitmap, int scaleDenom) {
    if (scaleDenom != 1 && scaleDenom != 2 && scaleDenom != 4 && scaleDenom != 8)
        throw EInvalidGraphic(base::Format("JPEG-Skalierung 1/%d wird nicht unterst\xFCtzt", scaleDenom));
    if (!IsJpeg(data, size)) Fail("keine JPEG-Signatur");
    // Everything with a destructor lives outside the jump's reach.
    TBitmap out;
    std::vector<uint8_t> row;
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        Fail(err.message);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (int64_t(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
        std::snprintf(err.message, sizeof err.message, "Bild zu gro\xDF (%ux%u)", cinfo.image_width,
                      cinfo.image_height);
        std::longjmp(err.jump, 1);
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = unsigned(scaleDenom);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int w = int(cinfo.output_width), h = int(cinfo.output_height), comps = cinfo.output_components;
    out.SetSize(w, h);
    row.resize(size_t(w) * size_t(comps));
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = int(cinfo.output_scanline);
        JSAMPROW rp = row.data();
        if (jpeg_read_scanlines(&cinfo, &rp, 1) != 1) break;
        uint32_t* d = out.Row32(y);
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = row.data() + size_t(x) * size_t(comps);
            if (cmyk) {
                // Adobe writes CMYK inverted: the stored values are already 255 - ink.
                unsigned k = p[3];
                d[x] =
                    uint32_t(p[0] * k / 255) << 16 | uint32_t(p[1] * k / 255) << 8 | uint32_t(p[2] * k / 255);
            } else if (comps == 1) {
                d[x] = uint32_t(p[0]) * 0x010101u;
            } else {
                d[x] = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            }
        }
        if (err.truncated) break;
    }
    if (err.truncated) {
        jpeg_destroy_decompress(&cinfo);
        Fail(err.message);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    bitmap.Assign(std::move(out));
}

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality) {
    if (bitmap.Empty()) throw EInvalidGraphic("Leere Bitmap kann nicht als JPEG gespeichert werden");
    std::vector<uint8_t> row(size_t(bitmap.Width()) * 3);
    unsigned char* buffer = nullptr;
    unsigned long bufferSize = 0;
    jpeg_compress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        Fail(err.message);
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &bufferSize);
    cinfo.image_width = JDIMENSION(bitmap.Width());
    cinfo.image_height = JDIMENSION(bitmap.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < bitmap.Height(); ++y) {
        raster::RgbBytesOfRow(bitmap, y, row.data());
        JSAMPROW rp = row.data();
        jpeg_write_scanlines(&cinfo, &rp, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> result(buffer, buffer + bufferSize);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return result;
}

}  // namespace gfx
