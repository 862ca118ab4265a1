#pragma once
// giflib reading from memory, for the test and the benchmark that hold the GIF decoder against it.
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

struct GifMemory {
    const std::vector<uint8_t>* bytes;
    std::size_t pos = 0;

    // DGifOpen on the bytes from the start; nullptr (with error set) when giflib refuses them.
    GifFileType* Open(int* error) {
        pos = 0;
        return DGifOpen(this, Read, error);
    }

private:
    static int Read(GifFileType* gif, GifByteType* dest, int count) {
        auto* s = static_cast<GifMemory*>(gif->UserData);
        const std::size_t n = std::min<std::size_t>(std::size_t(count), s->bytes->size() - s->pos);
        if (n > 0) std::memcpy(dest, s->bytes->data() + s->pos, n);  // dest may be null for n == 0
        s->pos += n;
        return int(n);
    }
};
