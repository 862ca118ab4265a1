#pragma once
// The catalogue source of the sample disc (assets/src/catalogue.txt, UTF-8): categories and program
// entries with their facts, the kind of screenshot, what lies on the disc for the program and the
// description. ReadCatalogueSource checks everything the menu's line rules would trip over.
#include <string>
#include <string_view>
#include <vector>

struct ProgramSource {
    std::string Name;
    std::string Os, Licence, Price, Language, Vendor, Homepage;
    int ShotWidth = 0, ShotHeight = 0;  // 0: no screenshot
    std::string ShotKind;
    std::string Package;  // zip, setup, start, setup+start, zip+start, keins
    std::string Features;
    std::vector<std::string> Text;  // paragraphs and the empty lines between them
    std::string Folder;             // ASCII folder name on the disc
    int Line = 0;                   // where the entry starts in the source

    bool HasZip() const { return Package.starts_with("zip"); }
    bool HasSetup() const { return Package.starts_with("setup"); }
    bool HasStart() const { return Package.ends_with("start"); }
};

struct CategorySource {
    std::string Name;
    std::string Folder;
    std::vector<ProgramSource> Programs;
};

// std::runtime_error "catalogue.txt:LINE: reason" for anything malformed.
std::vector<CategorySource> ReadCatalogueSource(std::string_view utf8);
// "Büro & Organisation" -> "BueroOrganisation": umlauts spelled out, only letters and digits kept.
std::string FolderName(std::string_view utf8);
