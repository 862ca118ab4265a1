// The preview's deeper checks, each on a small disc made for it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "app/Catalogue.h"
#include "app/DiscLint.h"
#include "base/NativeFile.h"
#include "platform/NativePath.h"
#include "tools/common/CatalogueWriter.h"
#include "tools/common/ZipWriter.h"

namespace {

namespace fs = std::filesystem;

struct Folder {
    fs::path path;
    Folder() {
        path = fs::path(base::MakePrivateFolder((fs::temp_directory_path() / "cdmenu-lint-").string()));
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
};

TCatalogueProgram Program(const std::string& name) {
    TCatalogueProgram p;
    p.Name = name;
    p.Os = "Linux";
    p.Description = {"Text."};
    return p;
}

}  // namespace

TEST(DiscLint, CategoryWhoseNameStartsAnotherHeaderSwallowsItsPrograms) {
    TCatalogueWriter w;
    w.Categories = {
        {"Spiele", {Program("Schach")}}, {"Spiele 2", {Program("Dame")}}, {"Werkzeuge", {Program("Uhr")}}};
    const std::vector<TLintFinding> findings = CheckCategoryHeaders(TCatalogue(w.ProgName()));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].Where, "Spiele");
    EXPECT_NE(findings[0].What.find("\"Spiele 2\""), std::string::npos) << findings[0].What;

    // Names apart from each other give nothing, a category named twice neither.
    TCatalogueWriter apart;
    apart.Categories = {
        {"Spiele", {Program("Schach")}}, {"Lernen", {Program("Dame")}}, {"Spiele", {Program("Go")}}};
    EXPECT_TRUE(CheckCategoryHeaders(TCatalogue(apart.ProgName())).empty());
}

TEST(DiscLint, ProgramNamedTwiceInDaten) {
    TCatalogueWriter w;
    w.Categories = {{"A", {Program("Eins"), Program("Zwei")}}, {"B", {Program("Eins"), Program("Drei")}}};
    const std::vector<TLintFinding> findings = CheckDuplicateRecords(TCatalogue(w.Daten()));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(findings[0].What.find("\"Eins\" has 2 records"), std::string::npos) << findings[0].What;

    TCatalogueWriter distinct;
    distinct.Categories = {{"A", {Program("Eins"), Program("Zwei")}}, {"B", {Program("Drei")}}};
    EXPECT_TRUE(CheckDuplicateRecords(TCatalogue(distinct.Daten())).empty());
}

TEST(DiscLint, ArchivesTheUnpackLibraryRefuses) {
    Folder dir;
    TZipWriter good;
    good.AddFile("prog/readme.txt", "hallo");
    const std::string ok = dir.Write("gut.zip", good.Build());
    EXPECT_TRUE(CheckInstallArchive(ok, ok).empty());

    TZipWriter unsafe;
    unsafe.AddFile("prog/readme.txt", "hallo");
    unsafe.AddFile("../../etc/profile", "x");
    const std::string bad = dir.Write("unsicher.zip", unsafe.Build());
    const std::vector<std::string> names = CheckInstallArchive(bad, bad);
    ASSERT_EQ(names.size(), 1u);
    // Named as the front-end lists it, with "\" between the parts.
    EXPECT_NE(names[0].find("\"..\\..\\etc\\profile\" would leave the target folder"), std::string::npos)
        << names[0];

    TZipWriter damaged;
    damaged.AddFile("a.txt", "a");
    damaged.BadEndSignature = true;
    const std::string broken = dir.Write("kaputt.zip", damaged.Build());
    const std::vector<std::string> dirFindings = CheckInstallArchive(broken, broken);
    ASSERT_EQ(dirFindings.size(), 1u);
    EXPECT_NE(dirFindings[0].find("directory cannot be read"), std::string::npos) << dirFindings[0];

    TZipWriter split;
    for (int i = 0; i < 6; ++i)
        split.AddFile("teil" + std::to_string(i) + ".bin", std::string(300, char('a' + i)),
                      TZipWriter::TMethod::Stored);
    const std::vector<std::string> volumes = split.SaveSplit((dir.path / "set001.zip").string(), 600);
    ASSERT_GE(volumes.size(), 3u);
    EXPECT_TRUE(CheckInstallArchive(volumes.back(), volumes.back()).empty());
    fs::remove(volumes[1]);
    const std::vector<std::string> missing = CheckInstallArchive(volumes.back(), volumes.back());
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].find("part 2 is missing"), std::string::npos) << missing[0];
}

TEST(DiscLint, ProgramsWithoutExecuteBit) {
    Folder dir;
    const std::string script = dir.Write("start.sh", "#!/bin/sh\necho hallo\n");
    fs::permissions(script, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    if (!platform::NativePath::ExecuteBitsMatter()) {
        // Windows runs files by their type: no bit to miss.
        EXPECT_EQ(CheckExecutable(script), "");
        return;
    }
    EXPECT_NE(CheckExecutable(script).find("execute bit"), std::string::npos);
    fs::permissions(script, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(CheckExecutable(script), "");
    // Documents and Windows programs are opened, not run: no bit needed.
    const std::string doc = dir.Write("liesmich.txt", "Hallo");
    EXPECT_EQ(CheckExecutable(doc), "");
    const std::string elf = dir.Write("prog", std::string("\x7f"
                                                          "ELF\x02\x01\x01",
                                                          7));
    EXPECT_NE(CheckExecutable(elf), "");
}
