// libFuzzer target: the BMP reader must refuse damaged input with EInvalidGraphic and never read
// outside the data, whatever the headers claim.
#include <cstddef>
#include <cstdint>

#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"
#include "gfx/GraphicError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gfx::TBmpReadOptions options;
    options.maxPixels = int64_t(4096) * 4096;  // keep the fuzzer's memory use sane
    for (bool honourOffset : {false, true}) {
        options.honourPixelOffset = honourOffset;
        gfx::TBitmap bitmap;
        try {
            size_t used = gfx::ReadBmp(data, size, bitmap, options);
            if (used > size) __builtin_trap();
            // Touch every pixel so that a wrong stride or palette shows up under the sanitizers.
            uint32_t sum = 0;
            for (int y = 0; y < bitmap.Height(); ++y)
                for (int x = 0; x < bitmap.Width(); ++x) sum += bitmap.Pixel(x, y);
            (void)sum;
        } catch (const gfx::EInvalidGraphic&) {
        }
    }
    return 0;
}
