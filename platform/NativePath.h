#pragma once
// Turning the program's paths into paths of the file system.
//
// An "app path" is cp1252 text in either form:
//   Windows form  "D:\PROGS\A\SETUP.EXE", "\x\y", "..\x"   (what the data files and the menu's state hold)
//   native form   "/home/user/target"                        (what a POSIX user types or picks)
// POSIX has one tree, so only the disc's own drive letter is special:
//   "D:\rest"      -> <disc root>/rest   (D is kDiscDrive, compared without regard to case)
//   "C:\rest"      -> /rest              (any other letter names the root of the tree)
//   "\rest"        -> /rest
//   "\\srv\share\x"-> //srv/share/x      (kept as it is, no network mapping)
//   "rest\x"       -> rest/x             (relative to the current directory)
// The native result is UTF-8. A trailing separator is kept.
#include <string>
#include <string_view>

namespace platform {

class NativePath {
public:
    static constexpr char kDiscDrive = 'D';

    // The disc root is a native folder; "/" when nothing better is known.
    explicit NativePath(std::string discRoot = "/");

    // Native, absolute, with a trailing '/'.
    const std::string& DiscRoot() const { return discRoot_; }
    // "D:\" — the Windows form of the disc root.
    static std::string WinDiscRoot() { return std::string(1, kDiscDrive) + ":\\"; }

    // Lexical conversion only (separators, drive, cp1252 -> UTF-8); no file-system access.
    std::string Convert(std::string_view appPath) const;
    // Convert, then match each component case-insensitively where the exact name does not exist
    // (discs are often written in upper case). Components that match nothing are kept as given,
    // so the result also names files that are about to be created.
    std::string Resolve(std::string_view appPath) const;
    // Native (UTF-8) -> Windows form (cp1252): under the disc root "D:\rel", elsewhere "\abs\path".
    std::string ToWindows(std::string_view nativePath) const;

    // Case-insensitive equality of two native names as the menu sees them: cp1252 letters incl.
    // umlauts fold; names with characters outside cp1252 must match exactly.
    static bool SameName(std::string_view a, std::string_view b);

    // Whether a file runs as a program only with an execute bit (POSIX); Windows has no such bit.
    static bool ExecuteBitsMatter();

private:
    // A '/'-separated path in Windows form: under the disc root (underRoot) "D:\" and the rest
    // after the root, elsewhere as it is; backslashes, cp1252.
    std::string WindowsForm(const std::string& path, bool underRoot) const;

    std::string discRoot_;
};

}  // namespace platform
