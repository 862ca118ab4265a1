// libFuzzer target: the JPEG wrapper must turn every libjpeg failure into EInvalidGraphic and
// never let the library end the process.
#include <cstddef>
#include <cstdint>

#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"
#include "gfx/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        gfx::TSize s = gfx::JpegSize(data, size);
        if (int64_t(s.cx) * s.cy > int64_t(4096) * 4096) return 0;  // keep the fuzzer's memory sane
    } catch (const gfx::EInvalidGraphic&) {
        return 0;
    }
    for (int denom : {1, 8}) {
        gfx::TBitmap bitmap;
        try {
            gfx::DecodeJpeg(data, size, bitmap, denom);
        } catch (const gfx::EInvalidGraphic&) {
        }
    }
    return 0;
}
