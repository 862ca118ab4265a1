#include "tools/common/CatalogueWriter.h"

std::vector<std::string> TCatalogueWriter::RecordLines(const TCatalogueProgram& p) {
    std::vector<std::string> lines = {
        "Programm:  " + p.Name,     "Prog_OS:  " + p.Os,          "Lizenz:   " + p.Licence,
        "Preis:    " + p.Price,     "Sprache:  " + p.Language,    "Anbieter: " + p.Vendor,
        "Homepage:  " + p.Homepage, "Screenshot:" + p.Screenshot, "Install:   " + p.Install,
        "Starten:  " + p.Start,     "Besonder: " + p.Features,    "Text:",
    };
    if (p.Description.empty())
        lines.emplace_back();
    else
        lines.insert(lines.end(), p.Description.begin(), p.Description.end());
    return lines;
}

std::string TCatalogueWriter::ProgName() const {
    std::string out;
    for (const TCatalogueCategory& c : Categories) {
        out += "Kategorie:" + c.Name + LineEnd;
        for (const TCatalogueProgram& p : c.Programs) out += p.Name + LineEnd;
        out += LineEnd;
    }
    return out;
}

std::string TCatalogueWriter::Daten() const {
    std::string out;
    for (const TCatalogueCategory& c : Categories) {
        out += "Kategorie:" + c.Name + LineEnd;
        for (const TCatalogueProgram& p : c.Programs) {
            for (const std::string& line : RecordLines(p)) out += line + LineEnd;
            out += LineEnd;
        }
    }
    return out;
}
