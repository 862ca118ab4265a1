// discimage on the sample disc: the image holds the menu beside the data with its autostart, and the
// menu started from the unpacked image through autorun.sh with an empty environment shows every
// page cleanly. A disc with problems is refused unless forced.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "ProgramRun.h"

using e2e::fs::path;

namespace {

// A dist/ folder as scripts/package.sh makes it, reduced to what the tests need: the programs of
// this build (their libraries are this system's) and the autostart script.
path MakeDist(const path& dir) {
    path dist = dir / "dist";
    e2e::fs::create_directories(dist);
    e2e::fs::copy_file(e2e::Program(), dist / "cdmenu");
    e2e::fs::copy_file(e2e::BuildRoot() / "libunpack32.so", dist / "libunpack32.so");
    e2e::fs::copy_file(path(CDMENU_SOURCE_DIR) / "tools/discimage/autorun.sh", dist / "autorun.sh");
    return dist;
}

bool Executable(const path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && (st.st_mode & S_IXUSR);
}

size_t PngCount(const path& dir) {
    return size_t(std::count_if(e2e::fs::directory_iterator(dir), {},
                                [](const auto& e) { return e.path().extension() == ".png"; }));
}

// osirrox keeps the image's read-only modes; the scratch folder must be removable afterwards.
void MakeWritable(const path& dir) {
    for (const auto& e : e2e::fs::recursive_directory_iterator(dir))
        if (!e.is_symlink())
            e2e::fs::permissions(e.path(), e2e::fs::perms::owner_write, e2e::fs::perm_options::add);
    e2e::fs::permissions(dir, e2e::fs::perms::owner_write, e2e::fs::perm_options::add);
}

#define REQUIRE_TOOLS()                                                                       \
    do {                                                                                      \
        E2E_REQUIRE_PROGRAM();                                                                \
        if (!e2e::fs::exists(e2e::BuildRoot() / "discimage")) GTEST_SKIP() << "no discimage"; \
    } while (0)

}  // namespace

TEST(DiscImage, SampleDiscBecomesAnImageThatStartsByItself) {
    REQUIRE_TOOLS();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    const path dist = MakeDist(s.path);
    // A stale autostart script of an earlier image: the build's replaces it.
    e2e::WriteText(disc / "AUTORUN.SH", "#!/bin/sh\nexit 3\n");
    const path iso = s.path / "softbox.iso";
    const e2e::RunResult made = e2e::RunCommand(
        {(e2e::BuildRoot() / "discimage").string(), disc.string(), iso.string(), "--dist", dist.string()},
        s.path);
    ASSERT_EQ(made.code, 0) << made.output;
    EXPECT_NE(made.output.find("volume SOFTBOX26"), std::string::npos) << made.output;
    ASSERT_TRUE(e2e::fs::exists(iso));
    // The disc folder itself is left as it was.
    EXPECT_FALSE(e2e::fs::exists(disc / "cdmenu"));

    const path root = s.path / "extracted";
    const e2e::RunResult x =
        e2e::RunCommand({"osirrox", "-indev", iso.string(), "-extract", "/", root.string()}, s.path);
    ASSERT_EQ(x.code, 0) << x.output;
    // Letter case and execute bits kept by Rock Ridge.
    EXPECT_TRUE(e2e::fs::exists(root / "Menue.dat"));
    EXPECT_TRUE(e2e::fs::exists(root / "Programme"));
    EXPECT_TRUE(Executable(root / "cdmenu"));
    EXPECT_TRUE(Executable(root / "autorun.sh"));
    EXPECT_TRUE(e2e::fs::exists(root / "libunpack32.so"));
    EXPECT_FALSE(e2e::fs::exists(root / "AUTORUN.SH"));
    EXPECT_EQ(e2e::ReadText(root / "autorun.sh"), e2e::ReadText(dist / "autorun.sh"));
    EXPECT_NE(made.output.find("the disc's own AUTORUN.SH is replaced"), std::string::npos) << made.output;
    // The web edition at the root; its links to the disc's files hold in the image.
    ASSERT_TRUE(e2e::fs::exists(root / "index.html"));
    const std::string page = e2e::ReadText(root / "cdweb" / "k2-1.html");
    const size_t unpack = page.find("\">Entpacken</a>");
    ASSERT_NE(unpack, std::string::npos) << page;
    const size_t href = page.rfind("href=\"", unpack) + 6;
    const std::string link = page.substr(href, unpack - href);
    ASSERT_EQ(link.rfind("../", 0), 0u) << link;
    EXPECT_TRUE(e2e::fs::is_regular_file(root / "cdweb" / link)) << link;
    bool startScript = false;
    for (const auto& e : e2e::fs::recursive_directory_iterator(root / "Programme"))
        if (e.path().filename() == "start.sh") {
            startScript = true;
            EXPECT_TRUE(Executable(e.path())) << e.path();
        }
    EXPECT_TRUE(startScript);

    const path out = s.path / "preview";
    const e2e::RunResult shown = e2e::RunCommand(
        {"env", "-i", (root / "autorun.sh").string(), "--headless", "--preview", out.string()}, s.path);
    MakeWritable(root);
    ASSERT_EQ(shown.code, 0) << shown.output;
    const std::string report = e2e::ReadText(out / "report.txt");
    EXPECT_NE(report.find("No problems found."), std::string::npos) << report;
    EXPECT_NE(report.find("disc root: " + e2e::fs::canonical(root).string()), std::string::npos) << report;
    // Every page: a start page per banner (three), a list per category, a page per program, the
    // info page.
    const std::string names = e2e::ReadText(disc / "progname.txt");
    size_t categories = 0, lines = 0;
    for (size_t at = 0; (at = names.find("Kategorie:", at)) != std::string::npos; ++at) ++categories;
    for (char c : names) lines += c == '\n';
    // Each block: its header, its programs and an empty line.
    const size_t programs = lines - 2 * categories;
    EXPECT_EQ(PngCount(out), 3 + categories + programs + 1);
}

TEST(DiscImage, NoWebLeavesTheWebEditionOut) {
    REQUIRE_TOOLS();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    const path dist = MakeDist(s.path);
    const path iso = s.path / "plain.iso";
    const e2e::RunResult made = e2e::RunCommand({(e2e::BuildRoot() / "discimage").string(), disc.string(),
                                                 iso.string(), "--dist", dist.string(), "--no-web"},
                                                s.path);
    ASSERT_EQ(made.code, 0) << made.output;
    const e2e::RunResult listed =
        e2e::RunCommand({"osirrox", "-indev", iso.string(), "-find", "/", "-maxdepth", "1"}, s.path);
    EXPECT_NE(listed.output.find("'/Menue.dat'"), std::string::npos) << listed.output;
    EXPECT_EQ(listed.output.find("index.html"), std::string::npos) << listed.output;
    EXPECT_EQ(listed.output.find("cdweb"), std::string::npos) << listed.output;
}

TEST(DiscImage, RefusesADiscWithProblemsUnlessForced) {
    REQUIRE_TOOLS();
    e2e::Scratch s;
    const path disc = e2e::CopyDisc(s.path);
    const path dist = MakeDist(s.path);
    e2e::fs::remove(disc / "Bilder" / "textfuchs32.jpg");
    const path iso = s.path / "bad.iso";
    const std::vector<std::string> cmd = {(e2e::BuildRoot() / "discimage").string(),
                                          disc.string(),
                                          iso.string(),
                                          "--dist",
                                          dist.string(),
                                          "--label",
                                          "Test Disc"};
    const e2e::RunResult refused = e2e::RunCommand(cmd, s.path);
    EXPECT_EQ(refused.code, 1) << refused.output;
    EXPECT_NE(refused.output.find("screenshot missing"), std::string::npos) << refused.output;
    EXPECT_NE(refused.output.find("--force"), std::string::npos) << refused.output;
    EXPECT_FALSE(e2e::fs::exists(iso));

    std::vector<std::string> forced = cmd;
    forced.push_back("--force");
    const e2e::RunResult written = e2e::RunCommand(forced, s.path);
    EXPECT_EQ(written.code, 0) << written.output;
    EXPECT_NE(written.output.find("volume TEST_DISC"), std::string::npos) << written.output;
    EXPECT_TRUE(e2e::fs::exists(iso));
}
