#pragma once
// TPreview: `cdmenu --preview OUTDIR` for disc authors. Renders, without a display, the start page,
// every category's program list, every program's page and the info page to PNG files, and writes
// report.txt with what a reader of the disc would stumble over. Problems (they make the exit code
// 1): records not found, screenshot files missing or not JPEG, paths that do not exist on the disc,
// categories without programs, descriptions that run into the next record, errors the menu itself
// reports while showing a page, and what DiscLint.h, `menudat list` and the skin check find. Notes
// (listed, not counted): values shortened with "..." (the page offers the whole value as a hint),
// program names that end in "…" in the list or the page title, records that name no screenshot at
// all — ordinary on a disc and likely meant — and skin pictures that override the built-in ones.
// The report's head says how each data file was read (Windows-1252 or UTF-8); characters of a UTF-8
// file that Windows-1252 lacks are problems.
// File names: "00 Startseite.png" (and "00 Startseite - Banner N.png" for each further banner of
// the rotation), "NN <category>.png" (the list with its first page),
// "NN <category> - MM <program>.png", "Info.png" — numbered in menu order, so that equal names
// stay apart and a folder listing reads like the menu.
#include <filesystem>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace gui {
class TApplication;
}
namespace gfx {
class TBitmap;
}
class TMainForm;
class TMenuModel;
class TCatalogue;

class TPreview {
public:
    TPreview(gui::TApplication& app, TMainForm& main);

    // Renders into outDir (a native folder, created when missing) and writes report.txt. False
    // when outDir cannot be written.
    bool Render(const std::string& outDir);

    // The findings, one line each (UTF-8), in menu order.
    const std::vector<std::string>& Problems() const { return problems_; }
    const std::vector<std::string>& Notes() const { return notes_; }
    // The pictures written (file names in outDir).
    const std::vector<std::string>& Pictures() const { return pictures_; }
    const std::string& Error() const { return error_; }

private:
    void Save(const std::string& name);
    void Problem(const std::string& where, const std::string& what);
    void Note(const std::string& where, const std::string& what);
    // Reads a data file as the menu does and notes the encoding it took; false (a problem) when it
    // cannot be read.
    bool LoadDataFile(const std::string& name, TCatalogue& catalogue);
    void CheckCatalogue();
    // The checks of DiscLint.h, the menu resource file and the skin folder.
    void CheckDiscFiles(const TCatalogue& progname, const TCatalogue& daten);
    // An installer, archive or start file that exists: can it be run or unpacked?
    void CheckProgramFile(const std::string& at, const std::string& recordPath, bool install);
    void RenderPages();
    // "00 Startseite.png" with the first banner of the rotation in the strip, and one more start
    // page per further banner ("00 Startseite - Banner 2.png"); the other pages show the first.
    void RenderStartPages();
    void WriteReport();
    // A path from a record on this disc: "" when absent, else whether it exists.
    // shown: the file as a person finds it on the disc (native name, cp1252).
    bool PathExists(const std::string& recordPath, std::string& shown) const;

    gui::TApplication& app_;
    TMainForm& main_;
    const TMenuModel& model_;
    std::string outDir_;
    std::vector<std::string> problems_;
    std::vector<std::string> notes_;
    std::vector<std::string> pictures_;
    std::vector<std::string> encodings_;  // "daten.txt: UTF-8, converted to Windows-1252"
    std::set<std::string> checkedArchives_;
    std::string error_;
};

// Writes a PNG to a native (UTF-8) file name; false when it cannot.
bool WritePng(const gfx::TBitmap& bitmap, const std::filesystem::path& file);

// A file name made of free text: no separators, control or reserved characters; UTF-8; bounded.
std::string SanitiseFileName(const std::string& cp1252);

// main()'s call for --preview OUTDIR: 0 when the report is clean, 1 when it lists problems or the
// pictures could not be written. Says on stdout where the pictures are.
int RunPreview(gui::TApplication& app, const std::string& outDir);
