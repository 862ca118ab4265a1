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
        // A few hundred bytes can declare 16 million pixels that libjpeg then decodes from nothing
        // for a second under the sanitizers; large pictures take the same paths as small ones.
        if (int64_t(s.cx) * s.cy > int64_t(1024) * 1024) return 0;
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
