// The program page's actions on a disc the test writes: the target-folder dialog, unpacking,
// installing and starting through the recording shell, copying a program folder, and the search
// flow through its dialog. Dialogs are driven from inside their modal loops; message boxes and
// folder prompts are answered from the headless backend's queues.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "app/SelFolderForm.h"
#include "app/SuchenForm.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/NativeFile.h"
#include "base/Paths.h"
#include "flat/FlatCheckBox.h"
#include "flat/FlatEdit.h"
#include "flat/FlatGroupBox.h"
#include "flat/FlatListBox.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "gui/ImageList.h"
#include "gui/Keys.h"
#include "gui/Label.h"
#include "skin/SkinButton.h"
#include "skin/SkinForm.h"
#include "tests/support/MenuFixture.h"
#include "tests/support/Records.h"
#include "tools/common/CatalogueWriter.h"
#include "tools/common/ZipWriter.h"
#include "zip/ZipFront.h"

namespace fs = std::filesystem;

namespace {

// What the system's shell hands a target to: the desktop's handler on POSIX, ShellExecuteW's verb
// on Windows, which opens a program like any other file (there is no execute bit to run it by).
#ifdef _WIN32
const std::vector<std::string> kOpenWith{"open"}, kExploreWith{"explore"}, kRunWith{"open"};
#else
const std::vector<std::string> kOpenWith{"xdg-open"}, kExploreWith{"xdg-open"}, kRunWith{};
#endif
std::vector<std::string> Command(std::vector<std::string> with, const std::string& target) {
    with.push_back(target);
    return with;
}

TCatalogueProgram Program(const std::string& name, const std::string& folder, std::vector<std::string> text) {
    TCatalogueProgram p = ExampleProgram(name, std::move(text));
    p.Screenshot = "D:\\Programme\\" + folder + "\\shot.jpg";
    p.Install = "D:\\Programme\\" + folder + "\\paket.Zip";
    p.Start = "D:\\Programme\\" + folder + "\\start.sh";
    p.Features = "Mehrsprachig";
    return p;
}

class ActionsTest : public ::testing::Test {
protected:
    ActionsTest() : menu(MenuFixture::kNoStart) {
        TCatalogueWriter w;
        w.Categories = {{"Werkzeuge",
                         {Program("Zeta Werkzeug", "Zeta", {"Ein Word-Prozessor."}),
                          Program("alpha Editor", "Alpha", {base::Cp("Schreibt Ärzte-Briefe.")}),
                          Program("Mitte", "Mitte", {"Nichts Besonderes, word."})}},
                        {"Spiele", {Program("Zeta Werkzeug", "Zeta", {"Auch hier: Word."})}}};
        menu.WriteFile("progname.txt", w.ProgName());
        menu.WriteFile("daten.txt", w.Daten());
        TZipWriter zip;
        zip.AddFile("liesmich.txt", "Hallo");
        zip.AddFolder("daten");
        zip.AddFile("daten/werte.txt", "1 2 3");
        menu.WriteFile("Programme/Alpha/paket.Zip", zip.Build());
        // As self-extractors are built: a program before the archive; and data after one.
        menu.WriteFile("Programme/Alpha/selbst.zip", std::string(4096, 'M') + zip.Build());
        menu.WriteFile("Programme/Alpha/anhang.zip", zip.Build() + "angehängt");
        menu.WriteFile("Programme/Kaputt/paket.zip", "PK\x03\x04 this is no archive");
        menu.WriteFile("Programme/Alpha/start.sh", "#!/bin/sh\n");
        fs::permissions(menu.Dir() + "Programme/Alpha/start.sh", fs::perms::owner_all, fs::perm_options::add);
        menu.WriteFile("Programme/Alpha/setup.exe", "MZ");
        menu.WriteFile("Programme/Alpha/shot.jpg", "disc picture");
        menu.WriteFile("Programme/Alpha/unter/b.txt", "unten");
        target = menu.Dir() + "ziel";
        EXPECT_TRUE(menu.Start());
        const char* build = getenv("CDMENU_BUILD");
        libraryDir = build ? build : fs::read_symlink("/proc/self/exe").parent_path().parent_path().string();
        Main().ZipFront1().SetDLLDirectory(libraryDir);
    }

    TMainForm& Main() { return *menu.Main(); }
    gui::Automation& Hb() { return menu.Backend(); }

    void ClickOn(gui::TForm* form, gui::TControl* c) {
        const gfx::TPoint p = MenuFixture::Centre(c);
        Hb().SetTarget(form->Handle());
        Hb().Click(p.X, p.Y);
    }
    // Answers the next target-folder dialog: the folder typed into the edit (unless empty) and
    // "OK" or "Abbrechen".
    void AnswerFolderDialog(const std::string& folder, bool ok = true) {
        Hb().Post([this, folder, ok] {
            ASSERT_TRUE(SelFolderForm && SelFolderForm->Visible());
            labelSeen = SelFolderForm->Label1->Caption();
            if (!folder.empty()) SelFolderForm->Edit1->SetCaption(folder);
            ClickOn(SelFolderForm, ok ? SelFolderForm->Button1 : SelFolderForm->Button2);
        });
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& b : Hb().MessageBoxes()) texts.push_back(b.request.text);
        return texts;
    }
    void SetProgram(const std::string& folder, const std::string& install) {
        Main().Model().Page().InstallPath = "D:\\Programme\\" + folder + "\\" + install;
        Main().Model().Page().StartPath = "D:\\Programme\\" + folder + "\\start.sh";
        Main().Model().Page().ScreenshotPath = "D:\\Programme\\" + folder + "\\shot.jpg";
        Main().Model().Page().CopySourcePath = Main().Model().Page().InstallPath;
    }

    MenuFixture menu;
    std::string target;
    std::string libraryDir;
    std::string labelSeen;
};

}  // namespace

TEST(TargetFolder, SeparatorAndCreation) {
    EXPECT_EQ(TargetFolderOf("C:\\Test"), "C:\\Test\\");
    EXPECT_EQ(TargetFolderOf("C:\\Test\\"), "C:\\Test\\");
    EXPECT_EQ(TargetFolderOf("C:\\"), "C:\\");
    EXPECT_EQ(TargetFolderOf("C:\\x"), "C:\\x\\");
    EXPECT_EQ(TargetFolderOf("/home/anna/Test"), "/home/anna/Test/");
    EXPECT_EQ(TargetFolderOf("/home/anna/Test/"), "/home/anna/Test/");
    EXPECT_EQ(TargetFolderOf(""), "");

    const std::string dir =
        base::MakePrivateFolder((fs::temp_directory_path() / "cdmenu-target-").string()) + "/";
    int error = -1;
    EXPECT_EQ(PrepareTargetFolder(dir, &error), TFolderPrepared::kExisted);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(PrepareTargetFolder(dir + "x/", &error), TFolderPrepared::kCreated);
    EXPECT_TRUE(fs::is_directory(dir + "x"));
    EXPECT_EQ(PrepareTargetFolder(dir + "x/", &error), TFolderPrepared::kExisted);
    // One level only: a missing parent is a failure with the system's code.
    EXPECT_EQ(PrepareTargetFolder(dir + "a/b/", &error), TFolderPrepared::kFailed);
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(fs::exists(dir + "a"));
    EXPECT_EQ(PrepareTargetFolder("", &error), TFolderPrepared::kFailed);
#ifndef _WIN32
    // Folder modes are POSIX; a read-only target on Windows is tested with the Win32 services.
    if (geteuid() != 0) {
        fs::create_directory(dir + "ro");
        chmod((dir + "ro").c_str(), 0555);
        EXPECT_EQ(PrepareTargetFolder(dir + "ro/neu/", &error), TFolderPrepared::kFailed);
        EXPECT_EQ(error, EACCES);
        chmod((dir + "ro").c_str(), 0755);
    }
#endif
    fs::remove_all(dir);
}

TEST_F(ActionsTest, FolderDialogRemembersAndBrowses) {
    ASSERT_TRUE(SelFolderForm);
    TSelFolderForm& d = *SelFolderForm;
    EXPECT_EQ(d.Caption(), base::Cp("Verzeichnis wählen"));
    EXPECT_EQ(d.Width(), 415);
    EXPECT_EQ(d.Height(), 84);
#ifdef _WIN32
    EXPECT_EQ(d.Edit1->Caption(), "C:\\Test");  // whatever $HOME an MSYS shell left
#else
    if (const char* home = getenv("HOME"); home && *home == '/') {
        EXPECT_EQ(d.Edit1->Caption(), base::Utf8ToCp1252(base::FsPathToNative(fs::path(home) / "Test")));
    }
#endif

    // "Durchsuchen...": a chosen folder replaces the text, a cancelled browser leaves it.
    Hb().AnswerFolder(std::string("/srv/ablage"));
    Hb().Post([&] {
        ClickOn(&d, d.Button3);
        EXPECT_EQ(d.Edit1->Caption(), "/srv/ablage");
        Hb().AnswerFolder(std::nullopt);
        ClickOn(&d, d.Button3);
        EXPECT_EQ(d.Edit1->Caption(), "/srv/ablage");
        ClickOn(&d, d.Button1);
    });
    d.ShowModal();
    EXPECT_TRUE(SelFolderForm->Confirmed());
    ASSERT_EQ(Hb().FolderPrompts().size(), 2u);
    EXPECT_EQ(Hb().FolderPrompts()[0].title, base::Cp("Verzeichnis wählen:"));
    EXPECT_EQ(Hb().FolderPrompts()[0].start, "");  // the computer's drives

    // The next showing offers the same folder; "Abbrechen" clears the confirmation.
    Hb().Post([&] {
        EXPECT_EQ(d.Edit1->Caption(), "/srv/ablage");
        ClickOn(&d, d.Button2);
    });
    d.ShowModal();
    EXPECT_FALSE(SelFolderForm->Confirmed());
}

TEST_F(ActionsTest, UnpackSuccessFailureAndSuccessAgain) {
    SetProgram("Kaputt", "paket.zip");
    AnswerFolderDialog(target);
    Main().bInstallierenClick(nullptr);
    // The label names the archive as it lies on the disc.
    EXPECT_EQ(labelSeen, "Dateien entpacken (" + menu.Shown("Programme/Kaputt/paket.zip") + ")");
    ASSERT_EQ(Hb().MessageBoxes().size(), 1u);
    EXPECT_EQ(Hb().MessageBoxes()[0].request.caption, "Warnung");
    EXPECT_FALSE(Hb().MessageBoxes()[0].request.text.empty());
    EXPECT_EQ(Hb().MessageBoxes()[0].request.text, Main().ZipFront1().Message());
    EXPECT_TRUE(fs::is_directory(target));  // the folder was prepared before unpacking

    // After a failure a good archive still reports its success.
    SetProgram("Alpha", "paket.Zip");
    AnswerFolderDialog("");  // the edit still holds the last folder
    Main().bInstallierenClick(nullptr);
    ASSERT_EQ(Hb().MessageBoxes().size(), 2u);
    EXPECT_EQ(Hb().MessageBoxes()[1].request.caption, "Information");
    EXPECT_EQ(Hb().MessageBoxes()[1].request.text,
              "Die Archivdatei wurde erfolgreich nach " + target + "/ entpackt.");
    EXPECT_EQ(menu.ReadFile("ziel/liesmich.txt"), "Hallo");
    EXPECT_EQ(menu.ReadFile("ziel/daten/werte.txt"), "1 2 3");
    EXPECT_TRUE(menu.Shell().Calls().empty());  // an archive never goes to the shell
    EXPECT_EQ(menu.PlayedSlots().back(), 2);

    // A dialog that ends without "OK" (here: the loop gives up on it) unpacks nothing, even after
    // an earlier "OK".
    fs::remove_all(target);
    Main().bInstallierenClick(nullptr);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(Hb().MessageBoxes().size(), 2u);

    // "Abbrechen" does nothing either; a folder that cannot be made is reported.
    AnswerFolderDialog(target, false);
    Main().bInstallierenClick(nullptr);
    EXPECT_FALSE(fs::exists(target));
    AnswerFolderDialog(menu.Dir() + "fehlt/ziel");
    Main().bInstallierenClick(nullptr);
    ASSERT_EQ(Hb().MessageBoxes().size(), 3u);
    EXPECT_EQ(Hb().MessageBoxes()[2].request.text, "Verzeichnis konnte nicht angelegt werden.");
    EXPECT_FALSE(fs::exists(menu.Dir() + "fehlt"));
}

TEST_F(ActionsTest, InstallerStartAndExplorerGoThroughTheShell) {
    const std::string alpha = menu.Dir() + "Programme/Alpha/";
    SetProgram("Alpha", "setup.exe");
    Main().bInstallierenClick(nullptr);  // no dialog: an installer runs
    ASSERT_EQ(menu.Shell().Calls().size(), 1u);
    EXPECT_EQ(menu.Shell().Calls()[0].argv, Command(kOpenWith, alpha + "setup.exe"));
    // An installer runs in its own folder, where it finds the files it brings along.
    EXPECT_EQ(base::IncludeTrailingPathDelimiter(menu.Shell().Calls()[0].folder), alpha);
    EXPECT_TRUE(Hb().FolderPrompts().empty());

    // An executable script runs directly (Windows opens it by its type), and stored upper case finds
    // the file.
    Main().Model().Page().StartPath = "D:\\PROGRAMME\\ALPHA\\START.SH";
    Main().bStartenClick(nullptr);
    ASSERT_EQ(menu.Shell().Calls().size(), 2u);
    EXPECT_EQ(menu.Shell().Calls()[1].argv, Command(kRunWith, alpha + "start.sh"));
    EXPECT_EQ(base::IncludeTrailingPathDelimiter(menu.Shell().Calls()[1].folder), alpha);
    EXPECT_EQ(menu.LastSoundSlot(), 4);

    // A start file that is not on the disc is reported and nothing runs.
    Main().Model().Page().StartPath = "D:\\Programme\\Alpha\\fehlt.exe";
    Main().bStartenClick(nullptr);
    EXPECT_EQ(menu.Shell().Calls().size(), 2u);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0],
              "Die Datei " + menu.Shown("Programme/Alpha/fehlt.exe") + " wurde nicht gefunden.");

    Main().bScreenshotClick(nullptr);
    ASSERT_EQ(menu.Shell().Calls().size(), 3u);
    EXPECT_EQ(menu.Shell().Calls()[2].operation, "explore");
    // The menu's current folder is the disc root, as an autostarted disc program has it.
    const std::string current = base::FsPathToNative(fs::current_path());
    EXPECT_EQ(current + "/", menu.Dir());
    EXPECT_EQ(menu.Shell().Calls()[2].argv, Command(kExploreWith, current));

    // The homepage opens with the desktop's handler, the scheme put in front.
    Main().Model().Page().HomepageUrl = "www.example.org/a b";
    Main().lFactsValueClick(nullptr);
    ASSERT_EQ(menu.Shell().Calls().size(), 4u);
    EXPECT_EQ(menu.Shell().Calls()[3].argv, Command(kOpenWith, "http://www.example.org/a b"));

    // A desktop with nothing to open a link or a folder with: a click says so.
    menu.Shell().SetFailing(true);
    Hb().ClearRecords();
    Main().lFactsValueClick(nullptr);
    Main().bScreenshotClick(nullptr);
    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_NE(BoxTexts()[0].find("http://www.example.org/a b"), std::string::npos) << BoxTexts()[0];
    EXPECT_NE(BoxTexts()[1].find(menu.Shown("")), std::string::npos) << BoxTexts()[1];
    menu.Shell().SetFailing(false);

    // An archive that is not on the disc is named, before any folder is asked for.
    SetProgram("Alpha", "fehlt.zip");
    Hb().ClearRecords();
    Main().bInstallierenClick(nullptr);
    EXPECT_TRUE(Hb().FolderPrompts().empty());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Die Datei " + menu.Shown("Programme/Alpha/fehlt.zip") +
                                                   " wurde nicht gefunden."});
}

TEST_F(ActionsTest, UnpackSucceedsWhenTheListingOnlyWarned) {
    for (const char* archive : {"selbst.zip", "anhang.zip"}) {
        const std::string into = target + "-" + archive;
        SetProgram("Alpha", archive);
        AnswerFolderDialog(into);
        Hb().ClearRecords();
        Main().bInstallierenClick(nullptr);
        EXPECT_EQ(BoxTexts(),
                  std::vector<std::string>{"Die Archivdatei wurde erfolgreich nach " + into + "/ entpackt."})
            << archive;
        EXPECT_EQ(menu.ReadFile(into.substr(menu.Dir().size()) + "/daten/werte.txt"), "1 2 3") << archive;
    }
}

TEST_F(ActionsTest, CopyKeepsTheUsersScreenshotNamesake) {
    SetProgram("Alpha", "paket.Zip");
    AnswerFolderDialog(target);
    Main().bKopierenClick(nullptr);
    EXPECT_EQ(labelSeen, "Dateien kopieren (" + menu.Shown("Programme/Alpha/") + ")");
    EXPECT_EQ(menu.ReadFile("ziel/start.sh"), "#!/bin/sh\n");
    EXPECT_EQ(menu.ReadFile("ziel/unter/b.txt"), "unten");
    EXPECT_TRUE(fs::exists(target + "/paket.Zip"));
    EXPECT_FALSE(fs::exists(target + "/shot.jpg"));  // the copied screenshot is taken away again
    EXPECT_TRUE(BoxTexts().empty());

    // Into a folder where the user has a shot.jpg of their own: declining the replacement keeps
    // it, and it is not deleted afterwards.
    fs::remove_all(target);
    menu.WriteFile("ziel/shot.jpg", "mine");
    Hb().AnswerMessageBox(gui::IDNO);
    AnswerFolderDialog("");
    Main().bKopierenClick(nullptr);
    EXPECT_EQ(menu.ReadFile("ziel/shot.jpg"), "mine");
    EXPECT_EQ(menu.ReadFile("ziel/unter/b.txt"), "unten");
    ASSERT_EQ(Hb().MessageBoxes().size(), 1u);  // the overwrite question
    EXPECT_EQ(Hb().MessageBoxes()[0].request.caption, "Datei ersetzen");

    // A copy that fails half-way (a file stands where a subfolder must go) says so in an error
    // box; the files copied before stay, and the screenshot rule still holds.
    fs::remove_all(target);
    menu.WriteFile("ziel/unter", "a file, not a folder");
    Hb().ClearRecords();
    AnswerFolderDialog("");
    Main().bKopierenClick(nullptr);
    ASSERT_EQ(Hb().MessageBoxes().size(), 1u);
    EXPECT_EQ(Hb().MessageBoxes()[0].request.caption, "Fehler");
    EXPECT_NE(Hb().MessageBoxes()[0].request.text.find("unter"), std::string::npos)
        << Hb().MessageBoxes()[0].request.text;
    EXPECT_EQ(menu.ReadFile("ziel/unter"), "a file, not a folder");
    EXPECT_FALSE(fs::exists(target + "/shot.jpg"));

    // A folder that cannot be made ends the action with the input/output error, which names it.
    AnswerFolderDialog(menu.Dir() + "fehlt/ziel");
    try {
        Main().bKopierenClick(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const base::EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find(menu.Shown("fehlt/ziel")), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(menu.Dir() + "fehlt"));
}

TEST_F(ActionsTest, CopyOfALongPathIsComplete) {
    // Well beyond the 253 characters a fixed buffer would have held.
    const std::string longName(120, 'l');
    const std::string rel = "Programme/" + longName + "/" + longName + "/";
    menu.WriteFile(rel + "prog.sh", "lang");
    menu.WriteFile(rel + longName + "/tief.txt", "tief");
    Main().Model().Page().CopySourcePath = "D:\\Programme\\" + longName + "\\" + longName + "\\prog.sh";
    Main().Model().Page().ScreenshotPath.clear();
    const std::string longTarget = target + "-" + longName;
    ASSERT_GT(Main().Model().Page().CopySourcePath.size() + longName.size(), 253u);
    AnswerFolderDialog(longTarget);
    Main().bKopierenClick(nullptr);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(menu.ReadFile("ziel-" + longName + "/prog.sh"), "lang");
    EXPECT_EQ(menu.ReadFile("ziel-" + longName + "/" + longName + "/tief.txt"), "tief");
}

TEST_F(ActionsTest, SearchDialogAndResults) {
    ASSERT_TRUE(SuchenForm);
    TSuchenForm& s = *SuchenForm;
    EXPECT_EQ(s.Width(), 380);
    EXPECT_EQ(s.Height(), 120);
    EXPECT_EQ(s.FormStyle(), gui::fsStayOnTop);
    EXPECT_EQ(s.lSuchbegriff->Caption(), "Suchbegriff:");
    // Its skin and buttons come from the disc's skin folder.
    EXPECT_EQ(s.SkinForm1->Picture().Width(), 380);
    EXPECT_EQ(s.ilButtons1->Count(), 2);
    EXPECT_EQ(s.ilButtons4->Count(), 1);
    EXPECT_EQ(s.bBeenden->Height(), 20);
    for (skin::TSkinButton* b : {s.bBeenden, s.bAbbrechen, s.bBeenden2}) EXPECT_EQ(b->ImageIndex(), 0);
    Main().List().lbProgramme()->Items().Add("a");
    Main().List().lbProgramme()->Items().Add("b");

    // Cancel: nothing happens, the list stays.
    menu.ClearSounds();
    Hb().Post([&] {
        Hb().SetTarget(s.Handle());
        Hb().Type("word");
        ClickOn(&s, s.bAbbrechen);
    });
    Main().bSucheClick(nullptr);
    EXPECT_EQ(menu.PlayedSlots(), (std::vector<int>{5, 0}));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(Main().List().lbProgramme()->Items().Count(), 2);
    EXPECT_EQ(s.eSuchbegriff->Caption(), "");

    // An empty term is asked for again, with the dialog kept open; the close glyph cancels.
    bool openAfterEmpty = false;
    Hb().Post([&] { ClickOn(&s, s.bBeenden); });
    Hb().Post([&] {
        openAfterEmpty = s.Visible();
        ClickOn(&s, s.bBeenden2);
    });
    Main().bSucheClick(nullptr);
    EXPECT_TRUE(openAfterEmpty);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Bitte geben Sie einen Suchbegriff ein."});
    EXPECT_EQ(Main().List().lbProgramme()->Items().Count(), 2);

    // Enter searches and never reaches the edit; without regard to case, "word" finds "Word"
    // and "word", each program once, sorted whatever the file order.
    Hb().ClearRecords();
    std::string textAtEnter;
    Hb().Post([&] {
        Hb().SetTarget(s.Handle());
        Hb().Type(" word ");
        Hb().Key(gui::VK_RETURN);
        textAtEnter = s.eSuchbegriff->Caption();
    });
    Main().bSucheClick(nullptr);
    EXPECT_EQ(textAtEnter, " word ");
    EXPECT_TRUE(BoxTexts().empty());
    ASSERT_EQ(Main().List().lbProgramme()->Items().Count(), 2);
    EXPECT_EQ(Main().List().lbProgramme()->Items().Strings(0), "Mitte");
    EXPECT_EQ(Main().List().lbProgramme()->Items().Strings(1), "Zeta Werkzeug");
    EXPECT_EQ(Main().List().lRubrik()->Caption(), "Suchergebnisse");
    EXPECT_EQ(Main().Model().Heading(), "Suchergebnisse");
    EXPECT_EQ(Main().Model().CurrentProgram(), "Mitte");
    EXPECT_EQ(Main().List().lbProgramme()->ItemIndex(), 0);
    EXPECT_TRUE(Main().List().pProgramme()->Visible());
    EXPECT_TRUE(Main().Page().gbProgramm()->Visible());
    EXPECT_FALSE(Main().List().Filling());

    // With the case box checked (it stays checked for the next search) "word" finds only "Mitte";
    // "ä" never finds "Ä", so nothing is found and the list stays as it was.
    Hb().Post([&] {
        ClickOn(&s, s.FlatCheckBox1);
        ClickOn(&s, s.eSuchbegriff);  // the check box took the focus
        Hb().Type("word");
        ClickOn(&s, s.bBeenden);
    });
    const int builds = Main().Model().PageBuilds();
    Main().bSucheClick(nullptr);
    EXPECT_TRUE(s.MatchCase());
    ASSERT_EQ(Main().List().lbProgramme()->Items().Count(), 1);
    EXPECT_EQ(Main().List().lbProgramme()->Items().Strings(0), "Mitte");
    // The same first program as before: its page, hidden for the search, is built and shown again.
    EXPECT_TRUE(Main().Page().gbProgramm()->Visible());
    EXPECT_TRUE(Main().Page().PicturePanel1()->Visible());
    EXPECT_EQ(Main().Model().PageBuilds(), builds + 1);
    EXPECT_EQ(Main().List().lAnzahlProgramme()->Caption(), "1/1");
    bool stillChecked = false;
    Hb().Post([&] {
        stillChecked = s.FlatCheckBox1->Checked();
        EXPECT_EQ(s.eSuchbegriff->Caption(), "");  // emptied before each showing
        Hb().SetTarget(s.Handle());
        Hb().Type(base::Cp1252ToUtf8(base::Cp("ärzte")));
        Hb().Key(gui::VK_RETURN);
    });
    Main().bSucheClick(nullptr);
    EXPECT_TRUE(stillChecked);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                              "Es konnten keine Programme gefunden werden, die Ihrer Suche entsprechen."});
    ASSERT_EQ(Main().List().lbProgramme()->Items().Count(), 1);

    // Unchecked, "ärzte" finds "Ärzte" only where a-z differ: ä and Ä stay different.
    Hb().Post([&] {
        ClickOn(&s, s.FlatCheckBox1);
        ClickOn(&s, s.eSuchbegriff);  // the check box took the focus
        Hb().Type(base::Cp1252ToUtf8(base::Cp("ÄRZTE")));
        Hb().Key(gui::VK_RETURN);
    });
    Main().bSucheClick(nullptr);
    EXPECT_FALSE(s.MatchCase());
    ASSERT_EQ(Main().List().lbProgramme()->Items().Count(), 1);
    EXPECT_EQ(Main().List().lbProgramme()->Items().Strings(0), "alpha Editor");
}
