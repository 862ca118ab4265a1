#include "gfx/FreeTypeFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "base/Cp1252.h"

namespace gfx {

TFreeTypeFace::TFreeTypeFace(FT_Face face, double em, int cellHeight, bool antialias, bool synthBold,
                             bool synthItalic)
    : face_(face), antialias_(antialias), synthBold_(synthBold), synthItalic_(synthItalic) {
    FT_New_Size(face_, &size_);
    FT_Activate_Size(size_);
    FT_Set_Char_Size(face_, 0, FT_F26Dot6(std::lround(em * 64)), 72, 72);
    double upem = face_->units_per_EM ? face_->units_per_EM : 2048;
    double asc = face_->ascender, desc = -face_->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2)); os2 && os2->usWinAscent) {
        asc = os2->usWinAscent;
        desc = os2->usWinDescent;
    }
    double scale = em / upem;
    // Both parts of the cell rounded to whole pixels, as the window system does (an 8-point
    // dialog font: ascent 11, descent 2, cell 13).
    metrics_.ascent = int(std::lround(asc * scale));
    metrics_.descent = int(std::lround(desc * scale));
    if (cellHeight > 0) {
        metrics_.ascent = int(std::lround(cellHeight * asc / (asc + desc)));
        metrics_.descent = cellHeight - metrics_.ascent;
    }
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.internalLeading = std::max(0, metrics_.height - int(std::lround(em)));
    metrics_.underlinePos = std::max(1, int(std::lround(-face_->underline_position * scale)));
    metrics_.lineThickness = std::max(1, int(std::lround(face_->underline_thickness * scale)));
    emPixels_ = em;
}

TFreeTypeFace::~TFreeTypeFace() {
    FT_Done_Size(size_);
}

TGlyph TFreeTypeFace::Render(unsigned char c) {
    TGlyph g;
    if (c < 0x20) return g;  // control characters take no room and show nothing
    char32_t cp = base::Cp1252ToUnicode(c);
    FT_Activate_Size(size_);
    FT_UInt index = FT_Get_Char_Index(face_, cp);
    FT_Int32 flags = FT_LOAD_DEFAULT | (antialias_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(face_, index, flags) != 0) return g;
    FT_GlyphSlot slot = face_->glyph;
    int extra = 0;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (synthBold_) {
            FT_Pos strength = FT_Pos(std::max(1.0, emPixels_ / 14.0) * 64);
            FT_Outline_Embolden(&slot->outline, strength);
            extra = int(strength / 64);
        }
        if (synthItalic_) {
            FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    if (FT_Render_Glyph(slot, antialias_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.width = int(bm.width);
    g.height = int(bm.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = int((slot->advance.x + 32) >> 6) + extra;
    g.coverage.assign(size_t(g.width) * size_t(g.height), 0);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
        for (int x = 0; x < g.width; ++x) {
            uint8_t v;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                v = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
            else if (bm.num_grays > 1 && bm.num_grays != 256)
                v = uint8_t(row[x] * 255 / (bm.num_grays - 1));
            else
                v = row[x];
            g.coverage[size_t(y) * size_t(g.width) + size_t(x)] = v;
        }
    }
    return g;
}

}  // namespace gfx
