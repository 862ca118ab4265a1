#include "app/SkinFiles.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gui/Image.h"
#include "gui/ImageList.h"
#include "platform/NativePath.h"

namespace {

constexpr gfx::TColor kButtonKey = 0x875F46;

// The file in folder, matched without regard to case as discs are often written in upper case.
std::string FindFile(const std::string& folder, const std::string& file) {
    std::error_code ec;
    if (std::filesystem::exists(folder + file, ec)) return folder + file;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (platform::NativePath::SameName(entry.path().filename().string(), file))
            return entry.path().string();
    return {};
}

bool LoadBitmap(gfx::TBitmap& bitmap, const std::string& folder, const std::string& file) {
    const std::string path = FindFile(folder, file);
    if (path.empty()) return false;
    try {
        bitmap.LoadFromFile(path);
        return !bitmap.Empty();
    } catch (const base::Exception&) {
        return false;
    }
}

}  // namespace

std::string SkinFolderOf(const std::string& nativeDataDir) {
    std::string skin = FindFile(nativeDataDir, "skin");
    return (skin.empty() ? nativeDataDir + "skin" : skin) + "/";
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
    if (!LoadBitmap(strip, folder, name + ".bmp")) return false;
    gfx::TBitmap mask;
    const int w = list.Width(), h = list.Height();
    if (!LoadBitmap(mask, folder, name + ".mask.bmp") || mask.Width() != strip.Width() ||
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
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bits[size_t(y) * size_t(w) + size_t(x)] =
                    mask.Monochrome() ? mask.PixelIndex(x0 + x, y) != white
                                      : (mask.Pixel(x0 + x, y) & 0xFFFFFF) != 0xFFFFFF;
        list.Add(image, bits);
    }
    return list.Count() > 0;
}
