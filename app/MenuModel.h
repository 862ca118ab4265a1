#pragma once
// The menu model: what the menu shows of its data, without any window. The main window, the preview
// and the web edition (tools/discweb) all ask it, so that they cannot disagree on which facts a
// record shows, where its files lie, which actions it offers or which banners take part.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Catalogue.h"

class TMenuResource;

namespace MenuModel {

// The heading of the program list after a search; under it a page looks in every category.
inline constexpr std::string_view kSearchResults = "Suchergebnisse";

// A stored path on the running disc: the drive (or leading "\") replaced by discRoot ("D:\"). A
// trimmed path of 3 characters or fewer is no path: "". Applying it twice changes nothing.
std::string MapToDiscRoot(std::string_view discRoot, const std::string& path);

// A fact value of 25 characters or more is cut to 22 and "..."; second: it was cut.
std::pair<std::string, bool> ShortenFactValue(const std::string& text);

struct TPageFact {
    std::string Key;    // "Betriebssystem", ..., "Homepage"
    std::string Value;  // trimmed, never empty
    bool IsHomepage = false;
};

// The program page of a record, as the menu fills it.
struct TProgramPage {
    std::vector<TPageFact> Facts;  // the facts with a value, in the record's order
    std::string HomepageUrl;       // the homepage value without scheme; "" when there is none
    std::string ScreenshotPath;    // on the disc; "" when the record names none
    std::string Features;          // record line 10 as written
    bool FeaturesShown = false;    // "Besonderheiten:" appears
    std::string InstallPath;       // "" when absent; a ".zip" is unpacked, anything else run
    bool Unpacks = false;          // the install button reads "Entpacken" instead of "Installieren"
    std::string StartPath;         // "" when absent
    std::string CopySourcePath;    // the installer, else the start file; its folder is copied
    bool CanCopy = false;
    std::vector<std::string> Description;  // one entry per line of the file, unchanged
};

TProgramPage ProgramPageOf(const TProgramRecord& record, std::string_view discRoot);

// The install button's caption: "Entpacken" or "Installieren".
std::string InstallCaption(bool unpacks);

// How many of the three banners take part in the rotation: 1 when the second link contains "---",
// else 2 when the third does, else 3.
int BannerCount(const std::array<std::string, 3>& bannerLinks);

// The search term as the menu takes it from the dialog: trimmed. Empty: nothing to search for.
std::string SearchTerm(std::string_view typed);

}  // namespace MenuModel

// The menu's state and data, without any window: where the disc lies, Menue.dat, the categories,
// the list that is open (a category's programs or a search's results) and the page that shows.
// Paths are kept in Windows form ("D:\MENU\"), as the data files write them; NativeFile() turns
// one into the file system's name when a file is touched. Failures to read a data file name the
// file as a person finds it on the disc.
class TMenuModel {
public:
    TMenuModel();
    ~TMenuModel();
    TMenuModel(const TMenuModel&) = delete;
    TMenuModel& operator=(const TMenuModel&) = delete;

    // The folder of the data files (a trailing "\" is added) and the disc's root ("D:\").
    void SetPaths(std::string dataDir, std::string discRoot);
    const std::string& DataDir() const { return dataDir_; }
    const std::string& DiscRoot() const { return discRoot_; }
    // The native name of a file in DataDir, and of any Windows-form path.
    std::string DataFile(const std::string& name) const;
    static std::string NativeFile(const std::string& appPath);
    // A file as a person finds it on the disc (the native name, in cp1252): what messages show.
    static std::string ShownFile(const std::string& appPath);
    std::string MapToDiscRoot(const std::string& path) const;

    // Menue.dat; null until it has been read completely.
    void LoadResource();
    const TMenuResource* Resource() const { return resource_.get(); }
    const std::array<std::string, 3>& BannerLinks() const { return bannerLinks_; }
    // Sound slot n (0..6) of Menue.dat; null when there is none.
    const std::vector<uint8_t>* Sound(int n) const;
    // The farewell sound moved out (it plays on after the window has gone); the others dropped.
    std::vector<uint8_t> ReleaseSounds();

    void LoadCategories();
    const std::vector<std::string>& Categories() const { return categories_; }
    void ForgetCategories() { categories_.clear(); }

    // The list that is open: its heading (a category, or kSearchResults) and its programs.
    void OpenCategoryList(int index, const std::string& category);
    // Searches daten.txt; a search that finds something becomes the open list. False: found nothing.
    bool OpenSearch(const std::string& term, bool matchCase);
    const std::string& Heading() const { return heading_; }
    const std::vector<std::string>& Listed() const { return listed_; }
    bool Searching() const { return heading_ == MenuModel::kSearchResults; }
    // The category whose list was opened last (index into Categories()); -1 before the first.
    int OpenCategory() const { return openCategory_; }

    // The record of program under heading (any category after a search). A daten.txt that cannot
    // be read fails with the file's shown name; a record cut short fails with EStringListError.
    std::optional<TProgramRecord> FindRecord(const std::string& program, const std::string& heading) const;
    // A page is built for program: it is the current one from here on, even when its record fails.
    void BeginPage(const std::string& program);
    // The page that shows now: the record's (or an empty one for a program without a record).
    void SetPage(const TProgramRecord* record);
    const std::string& CurrentProgram() const { return currentProgram_; }
    const MenuModel::TProgramPage& Page() const { return page_; }
    MenuModel::TProgramPage& Page() { return page_; }
    bool PageHasRecord() const { return pageHasRecord_; }
    // How many times a page was built from daten.txt (tests and benchmarks).
    int PageBuilds() const { return pageBuilds_; }

private:
    std::string dataDir_, discRoot_;
    std::unique_ptr<TMenuResource> resource_;
    std::array<std::string, 3> bannerLinks_;
    std::vector<std::string> categories_;
    std::string heading_;
    std::vector<std::string> listed_;
    int openCategory_ = -1;
    std::string currentProgram_;
    MenuModel::TProgramPage page_;
    bool pageHasRecord_ = false;
    int pageBuilds_ = 0;
};
