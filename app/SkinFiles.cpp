#include "app/SkinFiles.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "app/BuiltinSkin.h"
#include "base/Exceptions.h"
#include "base/MemoryStream.h"
#include "base/NativeFile.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gui/Image.h"
#include "gui/ImageList.h"
#include "platform/NativePath.h"

namespace {

constexpr gfx::TColor kButtonKey = 0x875F46;

const char* const kPictures[] = {"SkinForm1.bmp",    "SuchenForm.bmp", "iStart.bmp",
                                 "iHintergrund.jpg", "iRubrik.bmp",    "iFacts.bmp"};
const char* const kLists[] = {"ilButtons1", "ilButtons2", "ilButtons3", "ilButtons4", "ilGlyphs1"};

// The file in folder, matched without regard to case as discs are often written in upper case; an
// exact name wins. The name is the one in the folder (a file system that ignores case would accept
// the asked one too), so that the findings name the file as the author wrote it.
std::string FindFile(const std::string& folder, const std::string& file) {
    std::error_code ec;
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator(base::NativeFsPath(folder), ec)) {
        const std::string name = base::FsPathToNative(entry.path().filename());
        if (name == file) return folder + name;
        if (found.empty() && platform::NativePath::SameName(name, file)) found = folder + name;
    }
    return found;
}

enum class Outcome { Loaded, Absent, Damaged, WrongSize };

Outcome LoadOverride(gfx::TBitmap& bitmap, const std::string& path, const TBuiltinSkinFile* builtin) {
    if (path.empty()) return Outcome::Absent;
    try {
        bitmap.LoadFromFile(path);
    } catch (const base::Exception&) {
        bitmap.FreeImage();
        return Outcome::Damaged;
    }
    if (bitmap.Empty()) return Outcome::Damaged;
    if (builtin && (bitmap.Width() != builtin->Width || bitmap.Height() != builtin->Height))
        return Outcome::WrongSize;
    return Outcome::Loaded;
}

bool LoadBuiltin(gfx::TBitmap& bitmap, const TBuiltinSkinFile* builtin) {
    if (!builtin) return false;
    try {
        base::TMemoryStream stream(BuiltinSkinFileBytes(*builtin));
        bitmap.LoadFromStream(stream);
        return !bitmap.Empty();
    } catch (const base::Exception&) {
        return false;
    }
}

// The override when it is usable, else the built-in picture. overridden: the override was taken.
bool LoadBitmap(gfx::TBitmap& bitmap, const std::string& folder, const std::string& file,
                bool* overridden = nullptr) {
    const TBuiltinSkinFile* builtin = FindBuiltinSkinFile(file);
    const bool fromDisc = LoadOverride(bitmap, FindFile(folder, file), builtin) == Outcome::Loaded;
    if (overridden) *overridden = fromDisc;
    if (fromDisc) return true;
    bitmap.FreeImage();
    return LoadBuiltin(bitmap, builtin);
}

std::string Describe(const gfx::TBitmap& b) {
    return std::to_string(b.Width()) + "x" + std::to_string(b.Height());
}

}  // namespace

std::string SkinFolderOf(const std::string& nativeDataDir) {
    // The usual spellings only: listing the disc's root for a folder that is mostly absent would
    // cost a slow drive a directory read at every start.
    std::error_code ec;
    for (const char* name : {"skin", "SKIN", "Skin"})
        if (std::filesystem::is_directory(base::NativeFsPath(nativeDataDir + name), ec))
            return nativeDataDir + name + "/";
    return nativeDataDir + "skin/";
}

bool LoadSkinPicture(gui::TImage& image, const std::string& folder, const std::string& file) {
    gfx::TBitmap bitmap;
    if (!LoadBitmap(bitmap, folder, file)) return false;
    // Palette pictures (the skin is 8-bit) are drawn on every repaint behind the controls: stored
    // as 32-bit they take the fast copy instead of a palette lookup per pixel.
    if (!bitmap.Is32()) bitmap.SetPixelFormat(gfx::pf32bit);
    image.SetPicture(std::move(bitmap));
    return true;
}

bool LoadSkinImageList(gui::TImageList& list, const std::string& folder, const std::string& name) {
    gfx::TBitmap strip;
    bool stripOverridden = false;
    if (!LoadBitmap(strip, folder, name + ".bmp", &stripOverridden)) return false;
    gfx::TBitmap mask;
    bool maskOverridden = false;
    const bool haveMask = LoadBitmap(mask, folder, name + ".mask.bmp", &maskOverridden);
    const int w = list.Width(), h = list.Height();
    // An override strip takes only its own mask: the built-in one belongs to other pictures.
    if (!haveMask || (stripOverridden && !maskOverridden) || mask.Width() != strip.Width() ||
        mask.Height() != strip.Height()) {
        return list.AddMasked(strip, kButtonKey) >= 0;
    }
    // Palette index of white in the mask (the file says which entry that is).
    int white = 1;
    for (int i = 0; i < int(mask.Palette().size()); ++i)
        if ((mask.Palette()[size_t(i)] & 0xFFFFFF) == 0xFFFFFF) white = i;
    for (int x0 = 0; x0 + w <= strip.Width() && h <= strip.Height(); x0 += w) {
        gfx::TBitmap image(w, h);
        image.Canvas().BitBlt(0, 0, w, h, strip, x0, 0, gfx::SRCCOPY);
        std::vector<bool> bits(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y) {
            // A 32-bit mask (the built-in one) is read straight from its rows.
            const uint32_t* row = mask.Is32() ? mask.Row32(y) + x0 : nullptr;
            for (int x = 0; x < w; ++x)
                bits[size_t(y) * size_t(w) + size_t(x)] =
                    row                 ? (row[x] & 0xFFFFFF) != 0xFFFFFF
                    : mask.Monochrome() ? mask.PixelIndex(x0 + x, y) != white
                                        : (mask.Pixel(x0 + x, y) & 0xFFFFFF) != 0xFFFFFF;
        }
        list.Add(image, bits);
    }
    return list.Count() > 0;
}

const std::vector<std::string>& SkinFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n(std::begin(kPictures), std::end(kPictures));
        for (const char* list : kLists) {
            n.push_back(std::string(list) + ".bmp");
            n.push_back(std::string(list) + ".mask.bmp");
        }
        return n;
    }();
    return names;
}

std::vector<TSkinFinding> CheckSkinFolder(const std::string& folder) {
    std::vector<TSkinFinding> findings;
    for (const std::string& file : SkinFileNames()) {
        const TBuiltinSkinFile* builtin = FindBuiltinSkinFile(file);
        const std::string path = FindFile(folder, file);
        const std::string shown = path.empty() ? file : path.substr(folder.size());
        gfx::TBitmap bitmap;
        const std::string fallback = builtin ? "; the built-in picture is shown" : "";
        switch (LoadOverride(bitmap, path, builtin)) {
            case Outcome::Loaded:
                if (builtin)
                    findings.push_back({shown, "overrides the built-in picture (" + Describe(bitmap) + ")"});
                break;
            case Outcome::Absent:
                if (!builtin)
                    findings.push_back(
                        {shown, "missing: neither in the skin folder nor built into the program", true});
                break;
            case Outcome::Damaged:
                findings.push_back({shown, "cannot be read as a BMP, JPEG or PNG picture" + fallback, true});
                break;
            case Outcome::WrongSize:
                findings.push_back({shown,
                                    "has the wrong size (" + std::to_string(bitmap.Width()) + "x" +
                                        std::to_string(bitmap.Height()) + "; " +
                                        std::to_string(builtin->Width) + "x" +
                                        std::to_string(builtin->Height) + " expected)" + fallback,
                                    true});
                break;
        }
    }
    // A file the menu does not know is often a misspelt override.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(base::NativeFsPath(folder), ec)) {
        const std::string name = base::FsPathToNative(entry.path().filename());
        bool known = false;
        for (const std::string& file : SkinFileNames())
            known = known || platform::NativePath::SameName(name, file);
        if (!known) findings.push_back({name, "is not a picture of the menu's skin and is not used"});
    }
    return findings;
}
