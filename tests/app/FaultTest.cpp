// Faults while the menu runs: the disc taken out, read errors between pages, a target disk that
// fills up during a copy, a write-protected target, a sound device that is missing or fails.
// Each must end in a German message (or, for sound, in silence) with nothing of the user's lost.
// File faults come through the file-call table (tests/support/FaultyFiles.h); the unpack library,
// which writes by itself, meets a really full and a really read-only disk in tests/e2e/FullDiskTest.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "app/SelFolderForm.h"
#include "app/SuchenForm.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "flat/FlatEdit.h"
#include "gui/Button.h"
#include "gui/Consts.h"
#include "gui/Edit.h"
#include "gui/Keys.h"
#include "platform/Sound.h"
#include "skin/SkinButton.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/MenuFixture.h"

namespace fs = std::filesystem;

namespace {

class FaultTest : public ::testing::Test {
protected:
    FaultTest() { EXPECT_TRUE(menu.Acquired()); }

    TMainForm& Main() { return *menu.Main(); }
    gui::Automation& Hb() { return menu.Backend(); }

    // The second program of the open list (the list's second line), as a person clicks it.
    void ClickSecondProgram() {
        Hb().Advance(1000);  // not a double click with the click before
        Hb().SetTarget(Main().Handle());
        Hb().Click(60, 185);
    }
    std::array<std::string, 6> Facts() {
        std::array<std::string, 6> facts;
        for (size_t i = 0; i < facts.size(); ++i)
            if (Main().Page().FactRows()[i].Value && Main().Page().FactRows()[i].Value->Visible())
                facts[i] = Main().Page().FactRows()[i].Value->Caption();
        return facts;
    }
    std::string LastBox() {
        return Hb().MessageBoxes().empty() ? std::string() : Hb().MessageBoxes().back().request.text;
    }
    size_t Boxes() { return Hb().MessageBoxes().size(); }
    void Search(const std::string& term) {
        Hb().Post([this, term] {
            ASSERT_TRUE(SuchenForm && SuchenForm->Visible());
            SuchenForm->eSuchbegriff->SetCaption(term);
            const gfx::TPoint p = MenuFixture::Centre(SuchenForm->bBeenden);
            Hb().SetTarget(SuchenForm->Handle());
            Hb().Click(p.X, p.Y);
        });
        menu.Click("bSuche");
    }
    void AnswerFolderDialog(const std::string& folder) {
        Hb().Post([this, folder] {
            ASSERT_TRUE(SelFolderForm && SelFolderForm->Visible());
            SelFolderForm->Edit1->SetCaption(folder);
            const gfx::TPoint p = MenuFixture::Centre(SelFolderForm->Button1);
            Hb().SetTarget(SelFolderForm->Handle());
            Hb().Click(p.X, p.Y);
        });
    }
    // Names of the files in a folder tree, relative, with '/'.
    static std::vector<std::string> Tree(const std::string& dir) {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            names.push_back(fs::relative(e.path(), dir).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    MenuFixture menu;
};

const std::string kCannotOpen = base::Cp(" kann nicht geöffnet werden.");

TEST_F(FaultTest, DiscTakenOutAndPutBack) {
    const std::string data = menu.Dir();
    menu.Click("bRubrik2");
    ClickSecondProgram();
    const std::string second = Main().Page().gbProgramm()->Caption();
    const auto secondFacts = Facts();
    Hb().Key(gui::VK_UP);
    ASSERT_NE(Main().Page().gbProgramm()->Caption(), second);
    ASSERT_NE(Facts(), secondFacts);
    ASSERT_EQ(Boxes(), 0u);

    // The disc is gone: every action that reads a data file says which file it misses.
    fs::rename(data + "daten.txt", data + "daten.weg");
    fs::rename(data + "progname.txt", data + "progname.weg");
    ClickSecondProgram();
    ASSERT_EQ(Boxes(), 1u);
    EXPECT_EQ(LastBox(), "Datei " + data + "daten.txt" + kCannotOpen);
    Search("Foto");
    ASSERT_EQ(Boxes(), 2u);
    EXPECT_EQ(LastBox(), "Datei " + data + "daten.txt" + kCannotOpen);

    // The disc is back: the same program, chosen again, shows its own page (not the facts of the
    // one shown before the failure).
    fs::rename(data + "daten.weg", data + "daten.txt");
    ClickSecondProgram();
    EXPECT_EQ(Main().Page().gbProgramm()->Caption(), second);
    EXPECT_EQ(Facts(), secondFacts);
    EXPECT_EQ(Boxes(), 2u);

    // A category needs progname.txt; with it back the category opens as before.
    menu.Click("bRubrikauswahl");
    menu.Click("bRubrik3");
    ASSERT_EQ(Boxes(), 3u);
    EXPECT_EQ(LastBox(), "Datei " + data + "progname.txt" + kCannotOpen);
    fs::rename(data + "progname.weg", data + "progname.txt");
    menu.Click("bRubrikauswahl");
    menu.Click("bRubrik3");
    EXPECT_EQ(Boxes(), 3u);
    EXPECT_GT(Main().List().lbProgramme()->Items().Count(), 1);
    EXPECT_TRUE(Main().Page().gbProgramm()->Visible());
}

TEST_F(FaultTest, ReadErrorsBetweenPagesAreReportedNotTakenForAShortFile) {
    const std::string data = menu.Dir();
    menu.Click("bRubrik2");
    ClickSecondProgram();
    const auto secondFacts = Facts();
    Hb().Key(gui::VK_UP);
    const int listed = Main().List().lbProgramme()->Items().Count();

    FaultyFiles faults;
    faults.FailReads("daten.txt", EIO);
    const std::string readError = "Datei " + data + "daten.txt kann nicht gelesen werden (E/A-Fehler 5).";
    ClickSecondProgram();
    ASSERT_EQ(Boxes(), 1u);
    EXPECT_EQ(LastBox(), readError);
    // A search over a file that cannot be read must not answer "nothing found".
    Search("Foto");
    ASSERT_EQ(Boxes(), 2u);
    EXPECT_EQ(LastBox(), readError);
    EXPECT_GE(faults.Injected(), 2);

    faults.Heal();
    ClickSecondProgram();
    EXPECT_EQ(Facts(), secondFacts);
    EXPECT_EQ(Boxes(), 2u);

    // progname.txt failing at a category choice: the message, and the category opens once it reads.
    faults.FailReads("progname.txt", EIO);
    menu.Click("bRubrikauswahl");
    menu.Click("bRubrik2");
    ASSERT_EQ(Boxes(), 3u);
    EXPECT_EQ(LastBox(), "Datei " + data + "progname.txt kann nicht gelesen werden (E/A-Fehler 5).");
    faults.Heal();
    menu.Click("bRubrikauswahl");
    menu.Click("bRubrik2");
    EXPECT_EQ(Main().List().lbProgramme()->Items().Count(), listed);
    EXPECT_EQ(Boxes(), 3u);
}

TEST_F(FaultTest, CopyOntoADiskThatFillsUp) {
    const std::string big(300 * 1024, 'D');
    menu.WriteFile("Programme/Gross/a-liesmich.txt", "Lies mich");
    menu.WriteFile("Programme/Gross/b-daten.bin", big);
    menu.WriteFile("Programme/Gross/c-rest.txt", "Rest");
    menu.WriteFile("ziel/b-daten.bin", "meine Daten");
    const std::string target = menu.Dir() + "ziel";
    Main().Model().Page().CopySourcePath = "D:\\Programme\\Gross\\b-daten.bin";
    Main().Model().Page().ScreenshotPath = "D:\\Bilder\\keins.jpg";

    {
        FaultyFiles faults;
        faults.LimitWrites(target + "/", 100000);
        Hb().AnswerMessageBox(gui::IDYES);  // replace b-daten.bin
        AnswerFolderDialog(target);
        Main().bKopierenClick(nullptr);
        EXPECT_GE(faults.Injected(), 1);
    }
    ASSERT_EQ(Boxes(), 2u);  // the overwrite question, then the failure
    EXPECT_EQ(Hb().MessageBoxes().back().request.caption, "Fehler");
    EXPECT_NE(LastBox().find("b-daten.bin"), std::string::npos) << LastBox();
    EXPECT_NE(LastBox().find(base::Cp("nicht genügend Speicherplatz")), std::string::npos) << LastBox();
    // The user's file is untouched, the file before is complete, no half-written file is left.
    EXPECT_EQ(menu.ReadFile("ziel/b-daten.bin"), "meine Daten");
    EXPECT_EQ(menu.ReadFile("ziel/a-liesmich.txt"), "Lies mich");
    EXPECT_EQ(Tree(target), (std::vector<std::string>{"a-liesmich.txt", "b-daten.bin"}));

    // With room again the same copy completes.
    Hb().AnswerMessageBox(gui::IDYES);
    Hb().AnswerMessageBox(gui::IDYES);
    AnswerFolderDialog(target);
    Main().bKopierenClick(nullptr);
    EXPECT_EQ(Hb().MessageBoxes().back().request.caption, "Datei ersetzen");
    EXPECT_EQ(menu.ReadFile("ziel/b-daten.bin"), big);
    EXPECT_EQ(Tree(target), (std::vector<std::string>{"a-liesmich.txt", "b-daten.bin", "c-rest.txt"}));
}

TEST_F(FaultTest, WriteProtectedTarget) {
    menu.WriteFile("Programme/Klein/prog.sh", "neu");
    menu.WriteFile("ziel/prog.sh", "alt");
    const std::string target = menu.Dir() + "ziel";
    Main().Model().Page().CopySourcePath = "D:\\Programme\\Klein\\prog.sh";
    Main().Model().Page().ScreenshotPath = "D:\\Bilder\\keins.jpg";

    FaultyFiles faults;
    faults.ReadOnly(target + "/");
    Hb().AnswerMessageBox(gui::IDYES);
    AnswerFolderDialog(target);
    Main().bKopierenClick(nullptr);
    ASSERT_EQ(Boxes(), 2u);
    EXPECT_EQ(Hb().MessageBoxes().back().request.caption, "Fehler");
    EXPECT_NE(LastBox().find(base::Cp("Der Datenträger ist schreibgeschützt.")), std::string::npos)
        << LastBox();
    EXPECT_EQ(menu.ReadFile("ziel/prog.sh"), "alt");
    EXPECT_EQ(Tree(target), std::vector<std::string>{"prog.sh"});

    // A new folder inside the protected one cannot be made: the input/output error, nothing made.
    AnswerFolderDialog(target + "/neu");
    try {
        Main().bKopierenClick(nullptr);
        ADD_FAILURE() << "the copy went on without a folder";
    } catch (const base::EInOutError& e) {
        EXPECT_EQ(e.Message(), "Der Ordner " + menu.Shown("ziel/neu/") + " konnte nicht angelegt werden: " +
                                   base::Cp("Der Datenträger ist schreibgeschützt."));
        EXPECT_EQ(e.ErrorCode(), EROFS);
    }
    EXPECT_EQ(Tree(target), std::vector<std::string>{"prog.sh"});
}

// A sound output that fails: from the start (no device), or after some sounds (the device lost
// while one plays: it stops, and every later call fails).
class FailingSound : public platform::Sound {
public:
    explicit FailingSound(int goodPlays) : goodPlays_(goodPlays) {}
    bool Play(const uint8_t*, size_t, platform::SoundFlags) override { return Next(); }
    bool PlayFile(const std::string&, platform::SoundFlags) override { return Next(); }
    bool Stop() override {
        ++calls;
        return goodPlays_ > 0;
    }
    int calls = 0, failed = 0;

private:
    bool Next() {
        ++calls;
        if (goodPlays_-- > 0) return true;
        ++failed;
        return false;
    }
    int goodPlays_;
};

TEST_F(FaultTest, MissingOrFailingSoundDeviceLeavesTheMenuSilentAndWorking) {
    platform::Sound* const recording = platform::Services().sound;
    for (int goodPlays : {0, 3}) {
        FailingSound sound(goodPlays);
        platform::Services().sound = &sound;
        menu.Click("bRubrik2");
        ClickSecondProgram();
        const std::string second = Main().Page().gbProgramm()->Caption();
        menu.Click("bRubrikauswahl");
        menu.Click("bRubrik3");
        Hb().Key(gui::VK_DOWN);
        menu.Click("bRubrikauswahl");
        menu.Click("bRubrik2");
        ClickSecondProgram();
        EXPECT_EQ(Main().Page().gbProgramm()->Caption(), second);
        menu.Click("bRubrikauswahl");
        EXPECT_TRUE(Main().iStart()->Visible());
        Hb().Advance(5000);  // the banners rotate on their timer meanwhile
        platform::Services().sound = recording;
        EXPECT_GT(sound.failed, 3) << goodPlays;
        EXPECT_EQ(Boxes(), 0u) << LastBox();
        EXPECT_TRUE(Main().Visible());
    }
}

}  // namespace
