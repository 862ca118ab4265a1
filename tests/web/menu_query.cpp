// menu_query — what the menu itself lists, shows and finds on a disc, for the web edition's browser
// test to compare the pages with. It calls the functions the main window calls: the category
// index, a category's program lines, the program page's record lookup and the search dialog's search.
// Texts in and out are UTF-8, one item per line.
//
//   menu_query DISC categories
//   menu_query DISC programs CATEGORY
//   menu_query DISC page CATEGORY PROGRAM    the page's facts ("key<TAB>value"), then "--", the
//                                            description's non-empty lines
//   menu_query DISC search TERM [case]
#include <iostream>
#include <optional>
#include <string>

#include "app/Catalogue.h"
#include "app/MenuModel.h"
#include "base/Cp1252.h"

namespace {

std::string Cp(const std::string& utf8) {
    return base::Utf8ToCp1252(utf8);
}

void Print(const std::string& cp1252) {
    std::cout << base::Cp1252ToUtf8(cp1252) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: menu_query DISC categories|programs|page|search ...\n";
        return 2;
    }
    const std::string disc = std::string(argv[1]) + "/";
    const std::string what = argv[2];
    try {
        if (what == "categories") {
            for (const std::string& c : ReadCategoryList(TCatalogue::LoadFromFile(disc + "progname.txt")))
                Print(c);
        } else if (what == "programs" && argc == 4) {
            for (const std::string& p :
                 ReadCategoryPrograms(TCatalogue::LoadFromFile(disc + "progname.txt"), Cp(argv[3])))
                Print(p);
        } else if (what == "page" && argc == 5) {
            const std::string category = Cp(argv[3]);
            const std::optional<TProgramRecord> record = FindProgramRecordFile(
                disc + "daten.txt", Cp(argv[4]), category, category == MenuModel::kSearchResults);
            if (!record) return 1;
            const MenuModel::TProgramPage page = MenuModel::ProgramPageOf(*record, "D:\\");
            for (const MenuModel::TPageFact& f : page.Facts) Print(f.Key + "\t" + f.Value);
            std::cout << "--\n";
            for (const std::string& line : page.Description)
                if (line.find_first_not_of(" \t") != std::string::npos) Print(line);
        } else if (what == "search" && (argc == 4 || argc == 5)) {
            const std::string term = MenuModel::SearchTerm(Cp(argv[3]));
            if (term.empty()) return 0;
            const bool matchCase = argc == 5 && std::string(argv[4]) == "case";
            for (const std::string& name : SearchCatalogueFile(disc + "daten.txt", term, matchCase))
                Print(name);
        } else {
            std::cerr << "menu_query: unknown request\n";
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "menu_query: " << base::Cp1252ToUtf8(e.what()) << "\n";
        return 1;
    }
    return 0;
}
