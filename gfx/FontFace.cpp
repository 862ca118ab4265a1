#include "gfx/FontFace.h"

namespace gfx {

int TFontFace::TextWidth(std::string_view text) {
    int w = 0;
    for (char c : text) w += Glyph(static_cast<unsigned char>(c)).advance;
    return w;
}

}  // namespace gfx
