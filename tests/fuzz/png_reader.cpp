// libFuzzer target: damaged PNG data ends in EInvalidGraphic, never in a read outside the data.
#include <cstddef>
#include <cstdint>

#include "gfx/Bitmap.h"
#include "gfx/GraphicError.h"
#include "gfx/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gfx::TBitmap bitmap;
    try {
        gfx::DecodePng(data, size, bitmap);
    } catch (const gfx::EInvalidGraphic&) {
    }
    return 0;
}
