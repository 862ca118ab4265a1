#include "tools/makedisc/CatalogueFiles.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "tools/common/CatalogueWriter.h"
#include "tools/common/ZipWriter.h"
#include "tools/makedisc/ImageFiles.h"
#include "tools/makedisc/ScreenshotArt.h"

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "Programme/X/y.zip" -> "D:\Programme\X\y.zip".
std::string WindowsPath(const std::string& relative) {
    std::string path = std::string(kAuthoringDrive) + "\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Text files of a Windows disc: cp1252 with CR LF.
std::string WindowsText(const std::string& utf8) {
    std::string out;
    for (char c : base::Utf8ToCp1252(utf8)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string Readme(const ProgramSource& p) {
    std::string text = p.Name + "\n" + std::string(p.Name.size(), '=') + "\n\n";
    for (const auto& line : p.Text) text += line + "\n";
    text += "\nAnbieter: " + (p.Vendor.empty() ? std::string("unbekannt") : p.Vendor) + "\n";
    if (!p.Homepage.empty()) text += "Homepage: http://" + p.Homepage + "\n";
    text += "Lizenz: " + p.Licence + "\n";
    return text;
}

std::string Script(const ProgramSource& p, const std::string& what) {
    return "#!/bin/sh\n# " + what + " von " + p.Name +
           " (Beispiel-CD SoftBox 2026)\n"
           "echo \"" +
           what + " von " + p.Name +
           "\"\n"
           "echo \"Dies ist ein Beispielprogramm der SoftBox-CD; es verändert nichts.\"\n"
           "exit 0\n";
}

// Paragraph that tells the reader how to get the program, by what lies on the disc.
std::string HowTo(const ProgramSource& p) {
    if (p.Package == "zip")
        return "So kommt das Programm auf Ihren Rechner: Klicken Sie auf „Entpacken“ und wählen Sie einen "
               "Zielordner. "
               "Das Archiv legt dort den Ordner „" +
               p.Folder + "“ mit dem Programm, der Hilfe und Beispieldateien an.";
    if (p.Package == "setup")
        return "Ein Klick auf „Installieren“ startet die Einrichtung. Mit „Kopieren“ übernehmen Sie den "
               "Ordner des "
               "Installationsprogramms auf die Festplatte, um später auch ohne CD installieren zu können.";
    if (p.Package == "start")
        return "Das Programm braucht keine Installation: „Starten“ führt es direkt von der CD aus. Mit "
               "„Kopieren“ "
               "holen Sie es samt Zubehör in einen Ordner Ihrer Wahl.";
    if (p.Package == "setup+start")
        return "Zum Ausprobieren starten Sie das Programm mit „Starten“ direkt von der CD; für den "
               "dauerhaften Einsatz "
               "richten Sie es mit „Installieren“ ein.";
    if (p.Package == "zip+start")
        return "Zum Ausprobieren starten Sie das Programm mit „Starten“ direkt von der CD; „Entpacken“ legt "
               "es in einen "
               "Ordner Ihrer Wahl.";
    return {};
}

std::string ZipArchive(const ProgramSource& p) {
    TZipWriter zip;
    const std::string root = p.Folder + "/";
    auto unixEntry = [](TZipWriter::TEntry& e, uint32_t mode) {
        e.VersionMadeBy = static_cast<uint16_t>((TZipWriter::kHostUnix << 8) | 20);
        e.ExternalAttributes = mode << 16;
    };
    for (const char* folder : {"", "bin/", "daten/", "hilfe/", "hilfe/bilder/"})
        unixEntry(zip.AddFolder(root + folder), 040755);
    unixEntry(zip.AddFile(root + "liesmich.txt", WindowsText(Readme(p))), 0100644);
    unixEntry(zip.AddFile(root + "lizenz.txt", WindowsText(p.Name + "\nLizenz: " + p.Licence +
                                                           "\n\nDie Weitergabe ist nur "
                                                           "zusammen mit dieser Datei erlaubt.\n")),
              0100644);
    unixEntry(zip.AddFile(root + "bin/" + Lower(p.Folder) + ".sh", Script(p, "Start")), 0100755);
    unixEntry(zip.AddFile(root + "daten/beispiel.txt", WindowsText("Beispieldaten für " + p.Name + "\n")),
              0100644);
    unixEntry(zip.AddFile(root + "hilfe/index.html",
                          "<!DOCTYPE html>\n<html lang=\"de\"><meta charset=\"utf-8\"><title>" + p.Name +
                              "</title>\n<h1>" + p.Name + "</h1>\n<p>" + p.Text.front() + "</p>\n</html>\n"),
              0100644);
    zip.Comment = p.Name + " - SoftBox 2026";
    return zip.Build();
}

}  // namespace

CatalogueSummary WriteCatalogue(DiscFiles& disc, const std::vector<CategorySource>& categories,
                                const std::function<void(const std::string&, const Raster&)>& preview) {
    CatalogueSummary summary;
    TCatalogueWriter writer;
    for (const CategorySource& category : categories) {
        ++summary.Categories;
        TCatalogueCategory out{base::Utf8ToCp1252(category.Name), {}};
        for (const ProgramSource& p : category.Programs) {
            ++summary.Programs;
            const std::string folder = "Programme/" + category.Folder + "/" + p.Folder + "/";
            TCatalogueProgram record;
            record.Name = base::Utf8ToCp1252(p.Name);
            record.Os = base::Utf8ToCp1252(p.Os);
            record.Licence = base::Utf8ToCp1252(p.Licence);
            record.Price = base::Utf8ToCp1252(p.Price);
            record.Language = base::Utf8ToCp1252(p.Language);
            record.Vendor = base::Utf8ToCp1252(p.Vendor);
            record.Homepage = base::Utf8ToCp1252(p.Homepage);
            record.Features = base::Utf8ToCp1252(p.Features);

            std::vector<std::string> text = p.Text;
            if (const std::string howTo = HowTo(p); !howTo.empty()) text.insert(text.end(), {"", howTo});
            for (const auto& line : text) record.Description.push_back(base::Utf8ToCp1252(line));

            if (p.ShotWidth > 0) {
                const std::string shot = "Bilder/" + Lower(p.Folder) + ".jpg";
                const Raster picture =
                    PaintScreenshot({p.Name, p.ShotKind, p.Homepage, p.Text, p.ShotWidth, p.ShotHeight});
                disc.Write(shot, EncodeJpeg(picture, 85));
                if (preview) preview(Lower(p.Folder), picture);
                record.Screenshot = WindowsPath(shot);
                ++summary.Screenshots;
            }
            if (p.HasZip()) {
                const std::string archive = folder + Lower(p.Folder) + ".zip";
                disc.Write(archive, ZipArchive(p));
                record.Install = WindowsPath(archive);
                ++summary.Archives;
            }
            if (p.HasSetup()) {
                disc.Write(folder + "setup.sh", Script(p, "Installation"), true);
                disc.Write(folder + "daten/programm.dat", WindowsText("Programmdaten von " + p.Name + "\n"));
                record.Install = WindowsPath(folder + "setup.sh");
                ++summary.Installers;
            }
            if (p.HasStart()) {
                disc.Write(folder + "start.sh", Script(p, "Start"), true);
                disc.Write(folder + "liesmich.txt", WindowsText(Readme(p)));
                disc.Write(folder + "daten/einstellungen.ini",
                           WindowsText("[" + p.Folder + "]\nSprache=Deutsch\n"));
                record.Start = WindowsPath(folder + "start.sh");
                ++summary.StartFiles;
            }
            out.Programs.push_back(std::move(record));
        }
        writer.Categories.push_back(std::move(out));
    }
    disc.Write("progname.txt", writer.ProgName());
    disc.Write("daten.txt", writer.Daten());
    return summary;
}
