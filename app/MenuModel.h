#pragma once
// The menu model: what the menu shows of its data, without any window. The main window, the preview
// and the web edition (tools/discweb) all ask it, so that they cannot disagree on which facts a
// record shows, where its files lie, which actions it offers or which banners take part.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TProgramRecord;

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
