#include "gfx/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "base/Cp1252.h"
#include "base/StrUtils.h"

namespace gfx {

int TFontFace::TextWidth(std::string_view text) {
    int w = 0;
    for (char c : text) w += Glyph(static_cast<unsigned char>(c)).advance;
    return w;
}

namespace {

std::string Lower(std::string_view s) {
    return base::LowerCase(s);
}

// Faces the layouts name, mapped to metric-compatible free faces.
std::string AliasFor(const std::string& family) {
    std::string f = Lower(family);
    if (f == "arial" || f == "ms sans serif" || f == "microsoft sans serif" || f == "helvetica" ||
        f == "tahoma" || f == "ms shell dlg" || f == "ms shell dlg 2" || f.empty())
        return "Liberation Sans";
    if (f == "verdana") return "DejaVu Sans";
    if (f == "times new roman" || f == "times" || f == "ms serif") return "Liberation Serif";
    if (f == "courier new" || f == "courier") return "Liberation Mono";
    return "";
}

// Marlett shares the four title-button characters with Webdings.
bool IsOwnSymbolFont(const TFont& font) {
    std::string n = Lower(font.Name());
    return n == "webdings" || n == "marlett";
}

// Pixel em size for a font height: negative = character height; positive = cell height, which
// the face's ascent + descent must fill.
double EmForHeight(int height, double cellPerEm) {
    if (height < 0) return -height;
    if (height == 0) return 12;
    return height / cellPerEm;
}

// ---- FreeType faces ----

class TFreeTypeFace : public TFontFace {
public:
    // cellHeight > 0 fixes ascent + descent to exactly that many pixels (positive font heights).
    TFreeTypeFace(FT_Face face, double em, int cellHeight, bool antialias, bool synthBold, bool synthItalic)
        : face_(face), antialias_(antialias), synthBold_(synthBold), synthItalic_(synthItalic) {
        FT_Set_Char_Size(face_, 0, FT_F26Dot6(std::lround(em * 64)), 72, 72);
        double upem = face_->units_per_EM ? face_->units_per_EM : 2048;
        double asc = face_->ascender, desc = -face_->descender;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
            os2 && os2->usWinAscent) {
            asc = os2->usWinAscent;
            desc = os2->usWinDescent;
        }
        double scale = em / upem;
        // The window system rounds both parts of the cell up.
        metrics_.ascent = int(std::ceil(asc * scale - 0.01));
        metrics_.descent = int(std::ceil(desc * scale - 0.01));
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
    ~TFreeTypeFace() override { FT_Done_Face(face_); }

    const TFontMetrics& Metrics() const override { return metrics_; }

    const TGlyph& Glyph(unsigned char c) override {
        std::optional<TGlyph>& slot = cache_[c];
        if (!slot) slot = Render(c);
        return *slot;
    }

private:
    TGlyph Render(unsigned char c) {
        TGlyph g;
        if (c < 0x20) return g;  // control characters take no room and show nothing
        char32_t cp = base::Cp1252ToUnicode(c);
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

    FT_Face face_;
    bool antialias_;
    bool synthBold_;
    bool synthItalic_;
    double emPixels_ = 0;
    TFontMetrics metrics_;
    std::array<std::optional<TGlyph>, 256> cache_;
};

// ---- our own title-button symbols ----

// The four symbols of the title buttons, drawn from rectangles and strokes in em units and
// rendered with 4x4 supersampling. Other characters are blank.
class TSymbolFace : public TFontFace {
public:
    TSymbolFace(double em, bool antialias, bool bold) : em_(em), antialias_(antialias), bold_(bold) {
        metrics_.ascent = int(std::ceil(em * 0.8));
        metrics_.descent = int(std::ceil(em * 0.2));
        metrics_.height = metrics_.ascent + metrics_.descent;
        metrics_.underlinePos = 1;
        metrics_.lineThickness = 1;
    }
    const TFontMetrics& Metrics() const override { return metrics_; }
    const TGlyph& Glyph(unsigned char c) override {
        std::optional<TGlyph>& slot = cache_[c];
        if (!slot) slot = Render(c);
        return *slot;
    }

private:
    struct Box {
        double x0, y0, x1, y1;
    };

    TGlyph Render(unsigned char c) {
        TGlyph g;
        int size = std::max(4, int(std::lround(em_)));
        g.advance = size;
        std::vector<Box> boxes;
        double t = std::max(1.0, std::round(size / 12.0 * (bold_ ? 1.5 : 1.0))) / size;  // stroke in em
        bool cross = false;
        switch (c) {
            case '0':  // minimise: a bar at the bottom
                boxes.push_back({0.2, 0.72, 0.7, 0.72 + 2 * t});
                break;
            case '1':  // maximise: a window with a thick title bar
                boxes = {{0.15, 0.15, 0.85, 0.15 + 2 * t},
                         {0.15, 0.15, 0.15 + t, 0.85},
                         {0.85 - t, 0.15, 0.85, 0.85},
                         {0.15, 0.85 - t, 0.85, 0.85}};
                break;
            case '2':  // restore: two overlapping windows
                boxes = {{0.35, 0.1, 0.9, 0.1 + 2 * t},   {0.9 - t, 0.1, 0.9, 0.6},
                         {0.7, 0.6 - t, 0.9, 0.6},        {0.35, 0.1, 0.35 + t, 0.3},
                         {0.1, 0.35, 0.65, 0.35 + 2 * t}, {0.1, 0.35, 0.1 + t, 0.88},
                         {0.65 - t, 0.35, 0.65, 0.88},    {0.1, 0.88 - t, 0.65, 0.88}};
                break;
            case 'r':  // close: a cross
                cross = true;
                break;
            default:
                return g;
        }
        const int ss = 4;
        g.width = size;
        g.height = size;
        g.left = 0;
        g.top = metrics_.ascent;
        g.coverage.assign(size_t(size) * size_t(size), 0);
        double half =
            (bold_ ? 1.6 : 1.1) * std::max(1.0, size / 12.0) / 2.0 / size;  // stroke half-width in em
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                int hits = 0;
                for (int sy = 0; sy < ss; ++sy)
                    for (int sx = 0; sx < ss; ++sx) {
                        double u = (x + (sx + 0.5) / ss) / size, v = (y + (sy + 0.5) / ss) / size;
                        bool in = false;
                        for (const Box& b : boxes)
                            in = in || (u >= b.x0 && u < b.x1 && v >= b.y0 && v < b.y1);
                        if (cross && u >= 0.2 && u <= 0.8 && v >= 0.2 && v <= 0.8) {
                            double d1 = std::abs(u - v) / std::sqrt(2.0),
                                   d2 = std::abs(u + v - 1) / std::sqrt(2.0);
                            in = in || d1 <= half || d2 <= half;
                        }
                        hits += in;
                    }
                uint8_t cov = uint8_t(hits * 255 / (ss * ss));
                if (!antialias_) cov = hits * 2 >= ss * ss ? 255 : 0;
                g.coverage[size_t(y) * size_t(size) + size_t(x)] = cov;
            }
        return g;
    }

    double em_;
    bool antialias_;
    bool bold_;
    TFontMetrics metrics_;
    std::array<std::optional<TGlyph>, 256> cache_;
};

struct FolderFont {
    std::string file;
    std::string family;  // lower case
    bool bold;
    bool italic;
};

}  // namespace

struct TFontEngine::Impl {
    std::mutex mutex;
    FT_Library library = nullptr;
    std::vector<std::string> folders;
    bool scanned = false;
    std::vector<FolderFont> folderFonts;
    std::map<std::string, std::unique_ptr<TFontFace>> faces;
    std::map<std::string, std::string> resolved;

    void Scan() {
        if (scanned) return;
        scanned = true;
        for (const std::string& dir : folders) {
            std::error_code ec;
            for (auto it = std::filesystem::directory_iterator(dir, ec);
                 !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
                std::string path = it->path().string();
                std::string ext = Lower(it->path().extension().string());
                if (ext != ".ttf" && ext != ".otf" && ext != ".ttc") continue;
                FT_Face face;
                if (FT_New_Face(library, path.c_str(), 0, &face) != 0) continue;
                if (face->family_name)
                    folderFonts.push_back({path, Lower(face->family_name),
                                           (face->style_flags & FT_STYLE_FLAG_BOLD) != 0,
                                           (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0});
                FT_Done_Face(face);
            }
        }
    }

    // A file whose family is exactly `family` (folders first, then fontconfig); empty if none.
    std::string Exact(const std::string& family, bool bold, bool italic, bool& styleMatched) {
        std::string want = Lower(family);
        const FolderFont* best = nullptr;
        for (const FolderFont& f : folderFonts) {
            if (f.family != want) continue;
            if (!best || (f.bold == bold && f.italic == italic)) best = &f;
        }
        if (best) {
            styleMatched = best->bold == bold && best->italic == italic;
            return best->file;
        }
        FcPattern* pat = FcPatternCreate();
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pat, &result);
        std::string file;
        if (match) {
            FcChar8* fam = nullptr;
            FcChar8* path = nullptr;
            int weight = 0, slant = 0;
            if (FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch &&
                Lower(reinterpret_cast<const char*>(fam)) == want &&
                FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
                file = reinterpret_cast<const char*>(path);
                FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
                FcPatternGetInteger(match, FC_SLANT, 0, &slant);
                styleMatched =
                    ((weight >= FC_WEIGHT_DEMIBOLD) == bold) && ((slant != FC_SLANT_ROMAN) == italic);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pat);
        return file;
    }

    std::string Resolve(const std::string& family, bool bold, bool italic, bool& styleMatched) {
        Scan();
        styleMatched = true;
        std::string file = Exact(family, bold, italic, styleMatched);
        if (file.empty()) {
            std::string alias = AliasFor(family);
            if (!alias.empty()) file = Exact(alias, bold, italic, styleMatched);
        }
        if (file.empty()) file = Exact("DejaVu Sans", bold, italic, styleMatched);
        if (file.empty()) file = Exact("Liberation Sans", bold, italic, styleMatched);
        return file;
    }
};

TFontEngine& TFontEngine::Instance() {
    static TFontEngine engine;
    return engine;
}

TFontEngine::TFontEngine() : impl_(std::make_unique<Impl>()) {
    FT_Init_FreeType(&impl_->library);
    FcInit();
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) impl_->folders.push_back((exe.parent_path() / "fonts").string());
}

TFontEngine::~TFontEngine() {
    impl_->faces.clear();
    if (impl_->library) FT_Done_FreeType(impl_->library);
    FcFini();  // fontconfig's caches would otherwise count as leaks in the sanitizer build
}

void TFontEngine::AddFontFolder(const std::string& folder) {
    std::lock_guard lock(impl_->mutex);
    // Later folders are searched before the default one beside the program.
    impl_->folders.insert(impl_->folders.begin(), folder);
    impl_->scanned = false;
    impl_->folderFonts.clear();
    impl_->faces.clear();
}

std::string TFontEngine::ResolveFile(const std::string& family, bool bold, bool italic) {
    std::lock_guard lock(impl_->mutex);
    if (Lower(family) == "webdings" || Lower(family) == "marlett") return "";
    bool matched;
    return impl_->Resolve(family, bold, italic, matched);
}

TFontFace& TFontEngine::Face(const TFont& font) {
    std::lock_guard lock(impl_->mutex);
    bool bold = font.Style() & fsBold, italic = font.Style() & fsItalic;
    bool aa = font.Antialiased();
    std::string key = Lower(font.Name()) + "|" + std::to_string(font.Height()) + "|" + (bold ? "b" : "") +
                      (italic ? "i" : "") + (aa ? "a" : "");
    auto it = impl_->faces.find(key);
    if (it != impl_->faces.end()) return *it->second;

    std::unique_ptr<TFontFace> face;
    if (IsOwnSymbolFont(font)) {
        face = std::make_unique<TSymbolFace>(EmForHeight(font.Height(), 1.0), aa, bold);
    } else {
        bool styleMatched = true;
        std::string file = impl_->Resolve(font.Name(), bold, italic, styleMatched);
        FT_Face ft = nullptr;
        if (!file.empty() && FT_New_Face(impl_->library, file.c_str(), 0, &ft) == 0) {
            double upem = ft->units_per_EM ? ft->units_per_EM : 2048;
            double asc = ft->ascender, desc = -ft->descender;
            if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
                os2 && os2->usWinAscent) {
                asc = os2->usWinAscent;
                desc = os2->usWinDescent;
            }
            double em = EmForHeight(font.Height(), (asc + desc) / upem);
            bool synthBold = bold && !(ft->style_flags & FT_STYLE_FLAG_BOLD);
            bool synthItalic = italic && !(ft->style_flags & FT_STYLE_FLAG_ITALIC);
            face = std::make_unique<TFreeTypeFace>(ft, em, std::max(font.Height(), 0), aa, synthBold,
                                                   synthItalic);
        } else {
            // No font at all on this system: blank glyphs with sane metrics keep layout working.
            face = std::make_unique<TSymbolFace>(EmForHeight(font.Height(), 1.0), aa, bold);
        }
        (void)styleMatched;
    }
    TFontFace& ref = *face;
    impl_->faces.emplace(key, std::move(face));
    return ref;
}

}  // namespace gfx
