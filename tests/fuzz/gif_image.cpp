// Any byte sequence loaded into the GIF control, then every frame composed and disposed in turn and
// the picture painted in each mode: no crash and no access outside a bitmap.
#include <cstddef>
#include <cstdint>

#include "base/MemoryStream.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "media/GIFImage.h"

namespace {
constexpr std::size_t kPixelBudget = std::size_t{1} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    media::TGIFImage image(nullptr);
    base::TMemoryStream stream(data, size);
    if (!image.LoadFromStream(stream)) return 0;
    const int frames = image.FrameCount();
    // A 200-byte file can ask for tens of millions of pixels, and composing them frame after frame
    // under the sanitizers takes seconds per input. Such pictures run through the same code as small
    // ones, so past a budget the input ends with its loading, and the fuzzer does hundreds of inputs
    // a second instead of twenty.
    std::size_t pixels = std::size_t(image.ImageWidth()) * std::size_t(image.ImageHeight());
    for (int k = 1; k <= frames; ++k)
        pixels += std::size_t(image.Frame(k)->Width) * std::size_t(image.Frame(k)->Height);
    if (pixels > kPixelBudget) return 0;
    gfx::TBitmap surface(64, 48);
    for (int pass = 0; pass < 2; ++pass)
        for (int k = 1; k <= frames; ++k) image.SetCurrentFrame(k % frames + 1);
    image.SetBounds(3, 2, 40, 30);
    for (int mode = 0; mode < 5; ++mode) {
        image.SetStretch(mode == 1);
        image.SetStretchRatio(mode == 2);
        image.SetTile(mode == 3);
        image.SetCenter(mode == 4);
        image.SetOpaque(mode % 2 == 0);
        image.PaintImage(surface.Canvas());
    }
    return 0;
}
