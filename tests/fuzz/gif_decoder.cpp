// Any byte sequence must decode to a picture or to False: no crash, no hang, no read outside the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/GIFDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input size, so that any read past it is caught.
    std::vector<uint8_t> bytes(data, data + size);
    media::TGIFDecoder decoder;
    decoder.FirstImageOnly = size > 0 && (data[size - 1] & 1);
    int calls = 0;
    decoder.OnProgress = [&](int64_t done, int64_t total) {
        if (done < 0 || done > total) __builtin_trap();
        return ++calls < 1000;
    };
    try {
        if (decoder.Decode(bytes.data(), bytes.size())) {
            for (const auto& f : decoder.Frames) {
                if (f->Pixels.size() != size_t(f->Width) * size_t(f->Height)) __builtin_trap();
                if (f->Left + f->Width > decoder.ImageWidth || f->Top + f->Height > decoder.ImageHeight)
                    __builtin_trap();
                // A kept frame read its data; pixels counted as decoded lie inside it.
                if (f->Status == media::TGIFFrameStatus::gsTooLarge ||
                    f->Status == media::TGIFFrameStatus::gsCancelled)
                    __builtin_trap();
                if (f->DecodedPixels > f->Pixels.size()) __builtin_trap();
                if ((f->Status == media::TGIFFrameStatus::gsOk) != (f->DecodedPixels == f->Pixels.size()))
                    __builtin_trap();
            }
            if (decoder.FrameCount() > media::TGIFDecoder::kMaxFrames) __builtin_trap();
        }
    } catch (const base::Exception&) {
    }
    return 0;
}
