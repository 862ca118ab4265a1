#include "gfx/FontEngine.h"

#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include FT_SYSTEM_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "gfx/BuiltinFonts.h"
#include "gfx/FreeTypeFace.h"
#include "gfx/SymbolFace.h"

#ifdef __ELF__
// FreeType's own tables of its TrueType driver and its two rasterisers. The references are weak: they
// resolve where FreeType is linked statically (the program), and are null against the shared library.
extern "C" {
extern const FT_Module_Class tt_driver_class __attribute__((weak));
extern const FT_Module_Class sfnt_module_class __attribute__((weak));
extern const FT_Module_Class ft_smooth_renderer_class __attribute__((weak));
extern const FT_Module_Class ft_raster1_renderer_class __attribute__((weak));
}
#endif

namespace gfx {

namespace {

// A library of just what TrueType faces need, or null where those tables are out of reach. Every
// further driver would run its set-up at the start and so bring its code in from the disc before
// the first frame; the built-in faces are TrueType, and a face in another format opens in a full
// library made when first needed.
FT_Library NewTrueTypeLibrary() {
#ifdef __ELF__
    const FT_Module_Class* modules[] = {&tt_driver_class, &sfnt_module_class, &ft_smooth_renderer_class,
                                        &ft_raster1_renderer_class};
    if (std::ranges::find(modules, nullptr) != std::end(modules)) return nullptr;
    static FT_MemoryRec_ memory{nullptr,
                                [](FT_Memory, long size) { return std::malloc(static_cast<size_t>(size)); },
                                [](FT_Memory, void* block) { std::free(block); },
                                [](FT_Memory, long, long size, void* block) {
                                    return std::realloc(block, static_cast<size_t>(size));
                                }};
    FT_Library library = nullptr;
    if (FT_New_Library(&memory, &library) != 0) return nullptr;
    for (const FT_Module_Class* module : modules) {
        if (FT_Add_Module(library, module) != 0) {
            FT_Done_Library(library);
            return nullptr;
        }
    }
    FT_Set_Default_Properties(library);
    return library;
#else
    return nullptr;
#endif
}

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

// Stands in the search order for the faces compiled into the program; their files are named below it.
const std::string kBuiltinFolder = "<built-in>";

struct FolderFont {
    size_t folder;  // index in the search order
    std::string file;
    std::string family;  // lower case
    bool bold;
    bool italic;
    int weight;  // OS/2 weight class: 400 regular, 700 bold
    int width;   // OS/2 width class: 5 normal, below condensed
};

// How far a face is from the wanted style: a slant mismatch outweighs any weight, and a family's
// light and condensed members (DejaVu Sans ExtraLight, DejaVu Sans Condensed) lose to its plain one.
int StyleDistance(const FolderFont& f, bool bold, bool italic) {
    return (f.italic != italic ? 100000 : 0) + (f.bold != bold ? 10000 : 0) +
           std::abs(f.weight - (bold ? 700 : 400)) + 100 * std::abs(f.width - 5);
}

}  // namespace

struct TFontEngine::Impl {
    std::mutex mutex;
    FT_Library trueType = nullptr;  // TrueType only; may be null
    FT_Library library = nullptr;   // every driver; made when first needed
    std::vector<std::string> folders;
    size_t scannedFolders = 0;  // folders[0, scannedFolders) are in folderFonts
    std::vector<FolderFont> folderFonts;
    std::map<std::string, FT_Face> files;                     // nullptr: the file is no font
    std::map<std::string, std::unique_ptr<TFontFace>> faces;  // drawn from files, released first
    std::map<std::string, std::string> resolved;
    bool systemFonts = true;  // false: the folders only (--fonts)
    bool fontconfigStarted = false;
    int fontconfigQueries = 0;
    std::set<std::string> missingReported;

    // One face per file, shared by all its sizes: a file is opened once (each open costs a slow
    // drive a seek), the scan's open included.
    FT_Face Open(const std::string& path) {
        auto it = files.find(path);
        if (it != files.end()) return it->second;
        FT_Face face = nullptr;
        if (path.starts_with(kBuiltinFolder + "/")) {
            const std::string name = path.substr(kBuiltinFolder.size() + 1);
            for (const TBuiltinFontFile& f : BuiltinFonts()) {
                if (name != f.Name) continue;
                const std::span<const unsigned char> bytes = BuiltinFontBytes(f);
                if (!bytes.empty())
                    face = OpenWith([&](FT_Library lib, FT_Face* out) {
                        return FT_New_Memory_Face(lib, bytes.data(), static_cast<FT_Long>(bytes.size()), 0,
                                                  out);
                    });
            }
        } else {
            face = OpenWith(
                [&](FT_Library lib, FT_Face* out) { return FT_New_Face(lib, path.c_str(), 0, out); });
        }
        files.emplace(path, face);
        return face;
    }

    // The TrueType library first, the full one for what it cannot read.
    template <typename OpenFace>
    FT_Face OpenWith(const OpenFace& open) {
        FT_Face face = nullptr;
        if (trueType) {
            const FT_Error error = open(trueType, &face);
            if (error == 0) return face;
            if (error != FT_Err_Unknown_File_Format) return nullptr;
        }
        if (!library && FT_Init_FreeType(&library) != 0) library = nullptr;
        if (!library || open(library, &face) != 0) return nullptr;
        return face;
    }

    // A new search order: every face is looked up and opened again. The files are closed, so
    // that a folder taken out of the search can be deleted (Windows refuses while one is open).
    void Forget() {
        faces.clear();
        for (auto& [path, face] : files)
            if (face) FT_Done_Face(face);
        files.clear();
        folderFonts.clear();
        scannedFolders = 0;
    }

    void AddFolderFont(size_t index, const std::string& path) {
        FT_Face face = Open(path);
        if (!face || !face->family_name) return;
        const bool isBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        int weight = isBold ? 700 : 400, width = 5;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
            os2 && os2->version != 0xFFFF) {
            if (os2->usWeightClass) weight = os2->usWeightClass;
            if (os2->usWidthClass) width = os2->usWidthClass;
        }
        folderFonts.push_back({index, path, Lower(face->family_name), isBold,
                               (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0, weight, width});
    }

    // Folders are read only when the search reaches them: a face found in an earlier one (or built
    // in) leaves the later folders unopened, which on a slow disc saves a seek per file.
    void ScanFolder(size_t index) {
        while (scannedFolders <= index && scannedFolders < folders.size()) {
            const size_t i = scannedFolders++;
            const std::string& dir = folders[i];
            if (dir == kBuiltinFolder) {
                for (const TBuiltinFontFile& f : BuiltinFonts())
                    AddFolderFont(i, kBuiltinFolder + "/" + f.Name);
                continue;
            }
            std::error_code ec;
            for (auto it = std::filesystem::directory_iterator(dir, ec);
                 !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
                std::string ext = Lower(it->path().extension().string());
                if (ext == ".ttf" || ext == ".otf" || ext == ".ttc") AddFolderFont(i, it->path().string());
            }
        }
    }

    // A file from the folders whose family is exactly one of `families` (searched folder by folder,
    // each in the given order); empty if none.
    std::string InFolders(const std::vector<std::string>& families, bool bold, bool italic,
                          bool& styleMatched) {
        for (size_t index = 0; index < folders.size(); ++index) {
            ScanFolder(index);
            for (const std::string& family : families) {
                const std::string want = Lower(family);
                const FolderFont* best = nullptr;
                // Within a folder, the file nearest the wanted style (the smaller name on a tie, so
                // that directory order does not matter).
                for (const FolderFont& f : folderFonts) {
                    if (f.folder != index || f.family != want) continue;
                    const int d = StyleDistance(f, bold, italic);
                    if (!best || d < StyleDistance(*best, bold, italic) ||
                        (d == StyleDistance(*best, bold, italic) && f.file < best->file))
                        best = &f;
                }
                if (best) {
                    styleMatched = best->bold == bold && best->italic == italic;
                    return best->file;
                }
            }
        }
        return "";
    }

    // A file from fontconfig whose family is exactly `family`; empty if none. Fontconfig reads its
    // whole configuration when first asked, so it starts only for a face the folders lack.
    std::string FromSystem(const std::string& family, bool bold, bool italic, bool& styleMatched) {
        if (!systemFonts) return "";
#ifdef _WIN32
        (void)family, (void)bold, (void)italic, (void)styleMatched;
        return {};
#else
        if (!fontconfigStarted) {
            FcInit();
            fontconfigStarted = true;
        }
        ++fontconfigQueries;
        std::string want = Lower(family);
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
#endif
    }

    // The family itself, then its metric-compatible stand-in (both in each folder in turn, then
    // both in the system), then the general fallbacks.
    std::string Resolve(const std::string& family, bool bold, bool italic, bool& styleMatched) {
        styleMatched = true;
        const std::string alias = AliasFor(family);
        std::vector<std::string> wanted{family};
        if (!alias.empty() && Lower(alias) != Lower(family)) wanted.push_back(alias);
        if (std::string file = InFolders(wanted, bold, italic, styleMatched); !file.empty()) return file;
        for (const std::string& name : wanted)
            if (std::string file = FromSystem(name, bold, italic, styleMatched); !file.empty()) return file;
        for (const char* name : {"DejaVu Sans", "Liberation Sans"}) {
            if (std::string file = InFolders({name}, bold, italic, styleMatched); !file.empty()) return file;
            if (std::string file = FromSystem(name, bold, italic, styleMatched); !file.empty()) return file;
        }
        return "";
    }

    // Said once per family: its texts stay blank.
    void ReportMissing(const std::string& family) {
        if (!missingReported.insert(Lower(family)).second) return;
        std::string where;
        if (!systemFonts && !folders.empty()) where = " in " + folders.front();
        std::fprintf(stderr, "cdmenu: Keine Schrift f\xC3\xBCr \"%s\" gefunden%s; ihre Texte bleiben leer.\n",
                     base::Cp1252ToUtf8(family).c_str(), where.c_str());
    }
};

TFontEngine& TFontEngine::Instance() {
    static TFontEngine engine;
    return engine;
}

TFontEngine::TFontEngine() : impl_(std::make_unique<Impl>()) {
    impl_->trueType = NewTrueTypeLibrary();
    impl_->folders = DefaultFolders();
}

// The folders searched before the system's fonts: "fonts" beside the program, and on Windows (which
// has no fontconfig) the system's fonts folder after it.
std::vector<std::string> TFontEngine::DefaultFolders() {
    std::vector<std::string> folders{kBuiltinFolder};
    std::error_code ec;
#ifdef _WIN32
    // The C runtime knows the program's path without a call into the system.
    std::filesystem::path exe;
    if (_wpgmptr && *_wpgmptr)
        exe = _wpgmptr;
    else if (_pgmptr && *_pgmptr)
        exe = _pgmptr;
    if (!exe.empty()) folders.push_back((exe.parent_path() / "fonts").string());
    const char* windir = std::getenv("WINDIR");
    if (!windir || !*windir) windir = std::getenv("SystemRoot");
    if (windir && *windir) folders.push_back((std::filesystem::path(windir) / "Fonts").string());
#else
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) folders.push_back((exe.parent_path() / "fonts").string());
#endif
    return folders;
}

TFontEngine::~TFontEngine() {
    impl_->Forget();
    if (impl_->library) FT_Done_FreeType(impl_->library);
    if (impl_->trueType) FT_Done_Library(impl_->trueType);
#ifndef _WIN32
    // Fontconfig's caches would otherwise count as leaks in the sanitizer build.
    if (impl_->fontconfigStarted) FcFini();
#endif
}

void TFontEngine::AddFontFolder(const std::string& folder) {
    std::lock_guard lock(impl_->mutex);
    // Later folders are searched before the default one beside the program.
    impl_->folders.insert(impl_->folders.begin(), folder);
    impl_->Forget();
}

void TFontEngine::UseOnlyFontFolder(const std::string& folder) {
    std::lock_guard lock(impl_->mutex);
    impl_->folders = {folder};
    impl_->systemFonts = false;
    impl_->Forget();
}

void TFontEngine::ResetFontFolders() {
    std::lock_guard lock(impl_->mutex);
    impl_->folders = DefaultFolders();
    impl_->systemFonts = true;
    impl_->Forget();
}

int TFontEngine::FontconfigQueries() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->fontconfigQueries;
}

std::string TFontEngine::ResolveFile(const std::string& family, bool bold, bool italic) {
    std::lock_guard lock(impl_->mutex);
    if (Lower(family) == "webdings" || Lower(family) == "marlett") return "";
    bool matched;
    return impl_->Resolve(family, bold, italic, matched);
}

TFontFace& TFontEngine::Face(const TFont& font, double scale) {
    std::lock_guard lock(impl_->mutex);
    bool bold = font.Style() & fsBold, italic = font.Style() & fsItalic;
    bool aa = font.Antialiased();
    std::string key = Lower(font.Name()) + "|" + std::to_string(font.Height()) + "|" + (bold ? "b" : "") +
                      (italic ? "i" : "") + (aa ? "a" : "");
    if (scale != 1.0) key += "|" + std::to_string(std::lround(scale * 1000));  // factors in thousandths
    auto it = impl_->faces.find(key);
    if (it != impl_->faces.end()) return *it->second;

    std::unique_ptr<TFontFace> face;
    if (IsOwnSymbolFont(font)) {
        face = std::make_unique<TSymbolFace>(EmForHeight(font.Height(), 1.0) * scale, aa, bold);
    } else {
        bool styleMatched = true;
        std::string file = impl_->Resolve(font.Name(), bold, italic, styleMatched);
        FT_Face ft = file.empty() ? nullptr : impl_->Open(file);
        if (ft) {
            double upem = ft->units_per_EM ? ft->units_per_EM : 2048;
            double asc = ft->ascender, desc = -ft->descender;
            if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
                os2 && os2->usWinAscent) {
                asc = os2->usWinAscent;
                desc = os2->usWinDescent;
            }
            double em = EmForHeight(font.Height(), (asc + desc) / upem) * scale;
            bool synthBold = bold && !(ft->style_flags & FT_STYLE_FLAG_BOLD);
            bool synthItalic = italic && !(ft->style_flags & FT_STYLE_FLAG_ITALIC);
            const int cell = font.Height() > 0 ? int(std::lround(font.Height() * scale)) : 0;
            face = std::make_unique<TFreeTypeFace>(ft, em, cell, aa, synthBold, synthItalic);
        } else {
            // No font at all on this system: blank glyphs with sane metrics keep layout working.
            impl_->ReportMissing(font.Name());
            face = std::make_unique<TSymbolFace>(EmForHeight(font.Height(), 1.0) * scale, aa, bold);
        }
        (void)styleMatched;
    }
    TFontFace& ref = *face;
    impl_->faces.emplace(key, std::move(face));
    return ref;
}

}  // namespace gfx
