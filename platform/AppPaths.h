#pragma once
// Where the program is, where its data lies and which folder plays the disc.
//
// Rules (native paths, UTF-8, folders with a trailing '/'):
//  - ProgramFile: the running executable (/proc/self/exe) unless given.
//  - DataDir: --data DIR when given; otherwise the program's folder when it holds Menue.dat (any
//    letter case); otherwise the installed sample disc: <program folder>/disc/, then
//    <program folder>/../share/cdmenu/disc/, the first that holds Menue.dat. When none does, the
//    program's folder stays DataDir (reading the data files then reports the missing file).
//  - DiscRoot: --root DIR when given; for the sample disc its own folder (it stands for a whole
//    disc, and its stored paths are relative to it); otherwise the nearest folder from DataDir up to
//    its mount point under which the catalogue's stored paths exist (FindDiscRoot), else the mount
//    point. An author's staging folder or an unpacked image is thus a disc of its own.
// In Windows form the disc root is "D:\" (see NativePath), so the program started as
// <disc root>/MENU/cdmenu has the DataDir "D:\MENU\" and the DiscRoot "D:\".
#include <string>
#include <vector>

#include "platform/NativePath.h"

namespace platform {

struct AppPathOptions {
    std::string programFile;  // empty: the running executable
    std::string dataDir;      // --data
    std::string rootDir;      // --root
};

class AppPaths {
public:
    static AppPaths Resolve(const AppPathOptions& options = {});
    // The running executable, absolute; empty if it cannot be determined.
    static std::string RunningProgram();
    // The mount point (with trailing '/') of the file system that holds a native path; "/" when unknown.
    static std::string MountPointOf(const std::string& nativePath);

    const std::string& ProgramFile() const { return programFile_; }
    const std::string& ProgramDir() const { return programDir_; }
    const std::string& DataDir() const { return dataDir_; }
    const std::string& DiscRoot() const { return discRoot_; }
    bool UsingSampleDisc() const { return sampleDisc_; }

    // Looks for the disc root among DataDir and its parents up to the mount point: the folder under
    // which most of the given paths (relative to a disc root, Windows or native separators) exist,
    // the nearest one on a tie. Changes nothing when the root was given or no path is found.
    void FindDiscRoot(const std::vector<std::string>& storedPaths);
    // Makes the disc root the current folder, as the system's autostart starts a disc program.
    bool EnterDiscRoot() const;

    // The mapping between Windows-form and native paths for this disc.
    NativePath Mapping() const { return NativePath(discRoot_); }
    // cp1252 Windows forms, as the menu's state holds them.
    std::string WinProgramFile() const { return Mapping().ToWindows(programFile_); }
    std::string WinDataDir() const { return Mapping().ToWindows(dataDir_); }
    std::string WinDiscRoot() const { return NativePath::WinDiscRoot(); }

private:
    // The system's part (posix/, win32/AppPaths.cpp).
    static std::string Absolute(const std::string& path);  // lexically absolute at least
    static bool HoldsMenuFile(const std::string& dir);     // Menue.dat in any letter case
    static bool Exists(const std::string& nativePath);

    std::string programFile_;
    std::string programDir_;
    std::string dataDir_;
    std::string discRoot_;
    bool sampleDisc_ = false;
    bool rootGiven_ = false;
};

}  // namespace platform
