#pragma once
// TCatalogueWriter — writes the catalogue files progname.txt and daten.txt from categories and
// program records, for the sample disc, the tests and the benchmarks. Keys are padded so that each
// value starts where the menu reads it. Texts are cp1252.
#include <string>
#include <vector>

struct TCatalogueProgram {
    std::string Name;
    std::string Os, Licence, Price, Language, Vendor, Homepage;
    std::string Screenshot, Install, Start;
    std::string Features;
    std::vector<std::string> Description;  // written as they are; at least one line (an empty one if none)
};

struct TCatalogueCategory {
    std::string Name;
    std::vector<TCatalogueProgram> Programs;
};

class TCatalogueWriter {
public:
    std::vector<TCatalogueCategory> Categories;
    std::string LineEnd = "\r\n";

    // One block per category: "Kategorie:" + name, the program names, an empty line.
    std::string ProgName() const;
    // Per category its header line, then each record followed by one empty line.
    std::string Daten() const;
    // The lines of one record, without line ends and without the empty line after it.
    static std::vector<std::string> RecordLines(const TCatalogueProgram& program);
};
