#include "tools/makedisc/Typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <sstream>

namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

std::u32string Decode(std::string_view s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= extra && i + k < s.size(); ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

}  // namespace

struct Typeface::Face {
    FT_Face face = nullptr;
};

Typeface::Typeface(const std::vector<std::string>& candidates) {
    if (!Library()) return;
    for (const auto& path : candidates) {
        FT_Face face = nullptr;
        if (FT_New_Face(Library(), path.c_str(), 0, &face) == 0) {
            face_ = std::make_unique<Face>();
            face_->face = face;
            return;
        }
    }
}

Typeface::~Typeface() {
    if (face_) FT_Done_Face(face_->face);
}

std::vector<std::string> Typeface::Wrap(const std::string& paragraph, double px, double width) const {
    std::vector<std::string> lines;
    std::istringstream words(paragraph);
    std::string word, line;
    while (words >> word) {
        std::string candidate = line;
        if (!candidate.empty()) candidate += ' ';
        candidate += word;
        if (!line.empty() && Measure(candidate, px) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

double Typeface::Measure(std::string_view utf8, double px) const {
    if (!face_) return 0;
    FT_Set_Char_Size(face_->face, 0, static_cast<FT_F26Dot6>(std::lround(px * 64)), 72, 72);
    double width = 0;
    for (char32_t cp : Decode(utf8))
        if (FT_Load_Char(face_->face, cp, FT_LOAD_DEFAULT) == 0)
            width += face_->face->glyph->advance.x / 64.0;
    return width;
}

void Typeface::Draw(Raster& raster, double x, double baseline, std::string_view utf8, double px, Rgb c,
                    double alpha) const {
    if (!face_) return;
    FT_Face face = face_->face;
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(px * 64)), 72, 72);
    double pen = x;
    for (char32_t cp : Decode(utf8)) {
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        const int left = static_cast<int>(std::lround(pen)) + g->bitmap_left;
        const int top = static_cast<int>(std::lround(baseline)) - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const unsigned char cov = g->bitmap.buffer[row * g->bitmap.pitch + col];
                if (cov)
                    raster.Blend(left + static_cast<int>(col), top + static_cast<int>(row), c,
                                 alpha * cov / 255.0);
            }
        pen += g->advance.x / 64.0;
    }
}

void Typeface::DrawCentred(Raster& raster, double cx, double baseline, std::string_view utf8, double px,
                           Rgb c, double alpha) const {
    Draw(raster, cx - Measure(utf8, px) / 2, baseline, utf8, px, c, alpha);
}

const Typeface& Typeface::Sans() {
    static const Typeface face({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"});
    return face;
}

const Typeface& Typeface::SansBold() {
    static const Typeface face({"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                                "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"});
    return face;
}

const Typeface& Typeface::Mono() {
    static const Typeface face({"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"});
    return face;
}
