// makedisc refuses catalogue sources that the menu would misread, and never clears a folder that is
// not a disc.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

extern char** environ;

namespace {

fs::path Makedisc() {
    const char* build = std::getenv("CDMENU_BUILD");
    const fs::path dir =
        build ? fs::path(build) : fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    return dir / "makedisc";
}

struct Outcome {
    int Status = -1;
    std::string Errors;
};

// Runs makedisc SOURCE OUTPUT and collects its exit code and error output.
Outcome Makedisc(const fs::path& source, const fs::path& output) {
    const fs::path log = fs::temp_directory_path() / ("makedisc-log-" + std::to_string(::getpid()));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string program = Makedisc().string(), src = source.string(), out = output.string();
    char* argv[] = {program.data(), src.data(), out.data(), nullptr};
    Outcome run;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    run.Errors = text.str();
    fs::remove(log);
    return run;
}

class MakediscSource : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("makedisc-test-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "src");
    }
    void TearDown() override { fs::remove_all(root_); }

    Outcome Build(const std::string& catalogue) {
        std::ofstream(root_ / "src" / "catalogue.txt") << catalogue;
        return Makedisc(root_ / "src", root_ / "disc");
    }

    static std::string Entry(const std::string& name, const std::string& text = "Ein Absatz.") {
        return "Programm: " + name +
               "\nSystem: Linux\nLizenz: Freeware\nPreis:\nSprache: Deutsch\nAnbieter: A\n"
               "Homepage:\nBild: 320x240 editor\nPaket: start\nExtras:\nText:\n" +
               text + "\n\n";
    }

    fs::path root_;
};

}  // namespace

TEST_F(MakediscSource, BuildsADiscFromAMinimalCatalogue) {
    const Outcome run =
        Build("Rubrik: Eins\n\n" + Entry("Alpha") + Entry("Beta", "Erster Absatz.\n\nZweiter Absatz."));
    ASSERT_EQ(run.Status, 0) << run.Errors;
    EXPECT_TRUE(fs::exists(root_ / "disc" / "Menue.dat"));
    EXPECT_TRUE(fs::exists(root_ / "disc" / "Programme" / "Eins" / "Beta" / "start.sh"));
    // A rebuild after a rename leaves nothing of the old program behind.
    ASSERT_EQ(Build("Rubrik: Eins\n\n" + Entry("Gamma")).Status, 0);
    EXPECT_FALSE(fs::exists(root_ / "disc" / "Programme" / "Eins" / "Alpha"));
    EXPECT_TRUE(fs::exists(root_ / "disc" / "Programme" / "Eins" / "Gamma"));
}

TEST_F(MakediscSource, RejectsWhatTheMenuWouldMisread) {
    struct Case {
        std::string Catalogue, Expected;
    };
    const Case cases[] = {
        // The description would end early, or lose its search value.
        {"Rubrik: Eins\n\n" + Entry("Alpha", "Siehe Programm: Beta."),
         "catalogue.txt:14: text contains the key \"Programm:\""},
        {"Rubrik: Eins\n\n" + Entry("Alpha", "Mehr im Text: unten."), "text contains the key \"Text:\""},
        // "Kategorie:Spiele" is found inside "Kategorie:Spiele 2".
        {"Rubrik: Spiele\n\n" + Entry("Alpha") + "Rubrik: Spiele 2\n\n" + Entry("Beta"),
         "must not begin one another"},
        {"Rubrik: Eins\n\n" + Entry("Alpha") + Entry("Alpha"), "appears twice"},
        {"Rubrik: Eins\n\n" + Entry("Kategorie Eins Helfer"), "bad program name"},
        {"Rubrik: Eins\nRubrik: Zwei\n\n" + Entry("Alpha"), "category \"Eins\" has no programs"},
        {"Programm: Alpha\n", "before the first \"Rubrik:\""},
        {"Rubrik: Eins\n\nProgramm: Alpha\nPaket: irgendwas\n", "unknown Paket"},
        {"Rubrik: Eins\n\nProgramm: Alpha\nPaket: zip\nBild: gross\nText:\nX\n", "Bild must read"},
        {"Rubrik: Eins\n\nProgramm: Alpha\nPaket: zip\nText:\n\n", "has no text"},
    };
    for (const Case& c : cases) {
        const Outcome run = Build(c.Catalogue);
        EXPECT_EQ(run.Status, 1) << c.Catalogue;
        EXPECT_NE(run.Errors.find(c.Expected), std::string::npos) << run.Errors;
    }
}

TEST_F(MakediscSource, LeavesAFolderAloneThatIsNoDisc) {
    std::ofstream(root_ / "src" / "catalogue.txt") << "Rubrik: Eins\n\n" << Entry("Alpha");
    fs::create_directories(root_ / "elsewhere");
    std::ofstream(root_ / "elsewhere" / "wichtig.txt") << "keep";
    const Outcome run = Makedisc(root_ / "src", root_ / "elsewhere");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Errors.find("holds no disc"), std::string::npos) << run.Errors;
    EXPECT_TRUE(fs::exists(root_ / "elsewhere" / "wichtig.txt"));
}
