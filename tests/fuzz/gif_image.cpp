// Any byte sequence loaded into the GIF control, then every frame composed and disposed in turn and
// the picture painted in each mode: no crash and no access outside a bitmap.
#include <cstddef>
#include <cstdint>

#include "base/MemoryStream.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "media/GIFDecoder.h"
#include "media/GIFImage.h"

namespace {

// A 200-byte file can ask for a 200 MB picture; clearing it and composing it frame after frame under
// the sanitizers takes seconds, and the fuzzer did twenty inputs a second. Large pictures go through
// the same code as small ones, so past 1 MB of bitmaps they are only decoded (cheap: no composed
// picture), not loaded; the fuzzer then does some hundreds a second.
constexpr std::size_t kBitmapBudget = std::size_t{1} << 20;

bool Affordable(const uint8_t* data, size_t size) {
    media::TGIFDecoder decoder;
    try {
        decoder.Decode(data, size);
    } catch (const base::Exception&) {
        return true;
    }
    return decoder.BitmapBytes() <= kBitmapBudget;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Affordable(data, size)) return 0;
    media::TGIFImage image(nullptr);
    base::TMemoryStream stream(data, size);
    if (!image.LoadFromStream(stream)) return 0;
    gfx::TBitmap surface(64, 48);
    const int frames = image.FrameCount();
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
