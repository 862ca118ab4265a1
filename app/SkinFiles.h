#pragma once
// The window pictures and image lists of a disc build, read from the disc's "skin" folder: what a
// form file would have carried inside the program. A missing or unreadable file leaves the picture
// or list empty; the window then shows its plain colours.
#include <string>

namespace gui {
class TImage;
class TImageList;
}  // namespace gui

// The skin folder of a data folder (both native, with a trailing '/').
std::string SkinFolderOf(const std::string& nativeDataDir);
// Loads folder + file into the picture control; false when it cannot be read.
bool LoadSkinPicture(gui::TImage& image, const std::string& folder, const std::string& file);
// Fills the list from folder + name + ".bmp" (images side by side) with the mask from
// name + ".mask.bmp" (white = transparent), or by the buttons' key colour when there is no mask.
bool LoadSkinImageList(gui::TImageList& list, const std::string& folder, const std::string& name);
