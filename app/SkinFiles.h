#pragma once
// The window pictures and image lists: built into the program (BuiltinSkin.h) and overridden picture
// by picture by the disc's "skin" folder, as a form file would have carried them inside the program.
// An override that cannot be read, or whose size differs from the built-in picture's, is passed over
// for the built-in one; CheckSkinFolder() tells the author so. Without either the picture or list
// stays empty and the window shows its plain colours.
#include <string>
#include <vector>

namespace gui {
class TImage;
class TImageList;
}  // namespace gui

// The skin folder of a data folder (both native, with a trailing '/').
std::string SkinFolderOf(const std::string& nativeDataDir);
// Loads the picture named file (e.g. "SkinForm1.bmp") into the control; false when there is none.
bool LoadSkinPicture(gui::TImage& image, const std::string& folder, const std::string& file);
// Fills the list from name + ".bmp" (images side by side) with the mask from name + ".mask.bmp"
// (white = transparent), or by the buttons' key colour when an override comes without a mask.
bool LoadSkinImageList(gui::TImageList& list, const std::string& folder, const std::string& name);

// Every file name of the skin, in the order of the window layout.
const std::vector<std::string>& SkinFileNames();

struct TSkinFinding {
    std::string File;  // name in the skin folder, as found there (UTF-8)
    std::string What;
    bool Problem = false;  // false: a note (an override that works, a file the menu does not use)
};
// What the disc's skin folder does to the built-in skin: overrides (notes), damaged or wrongly sized
// overrides and pictures that exist nowhere (problems), files the menu does not know (notes).
std::vector<TSkinFinding> CheckSkinFolder(const std::string& folder);
