// The preview's deeper checks as the report shows them, on a copy of the sample disc damaged for
// each of them: categories that collect each other's programs, a program named twice, an archive
// that unpacking would refuse, a start file without its execute bit, a Menue.dat field that
// `menudat list` finds wrong, a damaged skin picture, and catalogue files that are no Windows-1252
// text (a UTF-8 file is read as such).
#include <gtest/gtest.h>

#include <fstream>

#include "ProgramRun.h"
#include "base/Cp1252.h"
#include "tools/common/ZipWriter.h"

using e2e::fs::path;
using PreviewLint = e2e::DiscCopyTest;

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST_F(PreviewLint, EachDeeperFindingIsReported) {
    // "Multimedia & Video" becomes "Grafik & Foto 2": "Grafik & Foto" takes its programs too.
    for (const char* file : {"progname.txt", "daten.txt"})
        e2e::WriteText(disc / file, Replace(e2e::ReadText(disc / file), "Kategorie:Multimedia & Video",
                                            "Kategorie:Grafik & Foto 2"));
    // A second record named like the first program.
    std::string daten = e2e::ReadText(disc / "daten.txt");
    const size_t second = daten.find("Programm:  ", daten.find("Programm:  ") + 1);
    const size_t end = daten.find("\r\n", second);
    daten.replace(second, end - second, "Programm:  TextFuchs 3.2");
    e2e::WriteText(disc / "daten.txt", daten);
    // An archive with a name that climbs out of the target folder.
    TZipWriter unsafe;
    unsafe.AddFile("../ausserhalb.txt", "x");
    unsafe.Save((disc / "Programme/ReiseNavigation/RoutenplanerEuropa/routenplanereuropa.zip").string());
    // A start script that lost its execute bit.
    e2e::fs::permissions(
        disc / "Programme/ReiseNavigation/Reisekasse/start.sh",
        e2e::fs::perms::owner_exec | e2e::fs::perms::group_exec | e2e::fs::perms::others_exec,
        e2e::fs::perm_options::remove);
    // Banner 1 marked absent in Menue.dat (its target field lies at offset 550).
    {
        std::fstream menu(disc / "Menue.dat", std::ios::in | std::ios::out | std::ios::binary);
        menu.seekp(550);
        menu.write("---\0", 4);
    }
    // A damaged skin picture, and one that works.
    e2e::fs::create_directories(disc / "skin");
    e2e::WriteText(disc / "skin" / "iStart.bmp", "kein Bild");

    const path out = s.path / "out";
    const e2e::RunResult r = e2e::Run(
        {"--headless", "--data", disc.string(), "--root", disc.string(), "--preview", out.string()}, s.path);
    EXPECT_EQ(r.code, 1) << r.output;
    const std::string report = e2e::ReadText(out / "report.txt");
    const std::vector<std::string> expected = {
        "Grafik & Foto: the header line \"Kategorie:Grafik & Foto 2\" contains \"Kategorie:Grafik & Foto\"",
        "daten.txt: \"TextFuchs 3.2\" has 2 records",
        "routenplanereuropa.zip\": entry \"..\\ausserhalb.txt\" would leave the target folder",
        "Reisekasse/start.sh\" is a program without an execute bit",
        "Menue.dat: banner 1 is marked absent",
        "skin/iStart.bmp: cannot be read as a BMP, JPEG or PNG picture; the built-in picture is shown",
    };
    for (const std::string& e : expected) EXPECT_NE(report.find(e), std::string::npos) << e << "\n" << report;
}

TEST_F(PreviewLint, CatalogueFilesThatAreNotWindows1252) {
    // progname.txt saved by an editor as UTF-8; daten.txt with a byte the code page leaves unassigned.
    e2e::WriteText(disc / "progname.txt", base::Cp1252ToUtf8(e2e::ReadText(disc / "progname.txt")));
    std::string daten = e2e::ReadText(disc / "daten.txt");
    daten.insert(daten.find("Besonder: ") + 10, "\x81");
    e2e::WriteText(disc / "daten.txt", daten);

    const path out = s.path / "out";
    const e2e::RunResult r = e2e::Run(
        {"--headless", "--data", disc.string(), "--root", disc.string(), "--preview", out.string()}, s.path);
    EXPECT_EQ(r.code, 1) << r.output;
    const std::string report = e2e::ReadText(out / "report.txt");
    // The UTF-8 file is read as such, and said so.
    EXPECT_NE(report.find("progname.txt: UTF-8, converted to Windows-1252\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("progname.txt: reads as UTF-8"), std::string::npos) << report;
    EXPECT_NE(report.find("daten.txt: line 12 holds the byte 0x81, which Windows-1252 does not assign"),
              std::string::npos)
        << report;
}
