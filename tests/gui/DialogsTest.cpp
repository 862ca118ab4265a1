// The platform dialogs built from the framework: the folder browser and the copy with progress.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "HeadlessApp.h"
#include "gui/Button.h"
#include "gui/CopyProgressForm.h"
#include "gui/FolderBrowser.h"

using namespace gui;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() / ("gui-dialogs-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string Str() const { return path.string(); }
};

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(Dialogs, FolderBrowserNavigatesAndConfirmsOnlyRealFolders) {
    HeadlessApp t;
    TempDir tmp;
    fs::create_directories(tmp.path / "C" / "sub");
    fs::create_directories(tmp.path / "A");
    fs::create_directories(tmp.path / "b");
    Write(tmp.path / "file.txt", "x");
    auto* main = t.Form(300, 200);
    main->Show();

    // Headless by default: answered from the queue and recorded.
    t.hb->AnswerFolder(tmp.Str() + "/A");
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str()), tmp.Str() + "/A");
    EXPECT_EQ(BrowseForFolder("Ziel"), std::nullopt);  // nothing queued: cancelled
    ASSERT_EQ(t.hb->FolderPrompts().size(), 2u);
    EXPECT_EQ(t.hb->FolderPrompts()[0].title, "Ziel");
    EXPECT_TRUE(t.hb->FolderPrompts()[1].answeredByDefault);

    // The framework's dialog: keys move the selection, Enter confirms it.
    t.hb->SetShowMessageForms(true);
    std::vector<std::string> entries;
    t.hb->Post([&] {
        auto* dlg = dynamic_cast<TFolderBrowser*>(t.app->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        entries = dlg->Entries();
        t.hb->Key(VK_DOWN);  // ".."
        t.hb->Key(VK_DOWN);  // "A"
        t.hb->Key(VK_DOWN);  // "b"
        t.hb->Key(VK_DOWN);  // "C"
        t.hb->Key(VK_RETURN);
    });
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str()), tmp.Str() + "/C");
    EXPECT_EQ(entries, (std::vector<std::string>{"..", "A", "b", "C"}));  // folders only, sorted

    // Opening a folder and going up again; with nothing selected OK takes the open folder.
    std::string shown;
    t.hb->Post([&] {
        auto* dlg = dynamic_cast<TFolderBrowser*>(t.app->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        dlg->Select(3);
        dlg->OpenSelected();
        shown = dlg->Folder();
        EXPECT_EQ(dlg->Entries(), (std::vector<std::string>{"..", "sub"}));
        dlg->Select(0);
        dlg->OpenSelected();
        EXPECT_EQ(dlg->Folder(), tmp.Str());
        t.hb->Click(172 + 10, 322 + 10);  // OK
    });
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str()), tmp.Str());
    EXPECT_EQ(shown, tmp.Str() + "/C");

    // A start that is not a folder shows the drives, where OK needs a selection; Escape cancels.
    bool okEnabled = true;
    t.hb->Post([&] {
        auto* dlg = dynamic_cast<TFolderBrowser*>(t.app->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Folder(), "");
        okEnabled = dlg->OkButton()->Enabled();
        t.hb->Key(VK_ESCAPE);
    });
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str() + "/file.txt"), std::nullopt);
    EXPECT_FALSE(okEnabled);
}

TEST(Dialogs, CopyShowsProgressAndAsksBeforeOverwriting) {
    HeadlessApp t;
    TempDir tmp;
    Write(tmp.path / "src" / "a.txt", "new a");
    Write(tmp.path / "src" / "sub" / "b.txt", "new b");
    Write(tmp.path / "dst" / "a.txt", "old a");
    auto* main = t.Form(300, 200);
    main->Show();

    t.hb->AnswerMessageBox(IDNO);  // keep the old a.txt
    platform::CopyResult r =
        CopyFolderWithProgress((tmp.path / "src").string(), (tmp.path / "dst").string(), "Kopieren...");
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.filesCopied, 1);
    EXPECT_EQ(r.filesSkipped, 1);
    EXPECT_EQ(Read(tmp.path / "dst" / "a.txt"), "old a");
    EXPECT_EQ(Read(tmp.path / "dst" / "sub" / "b.txt"), "new b");
    ASSERT_EQ(t.hb->MessageBoxes().size(), 1u);
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.caption, "Datei ersetzen");
    EXPECT_NE(t.hb->MessageBoxes()[0].request.text.find("a.txt"), std::string::npos);
    EXPECT_EQ(t.hb->MessageBoxes()[0].request.flags, MB_YESALLNOCANCEL | MB_ICONQUESTION);
    // The window is gone and the main form takes input again.
    EXPECT_EQ(t.app->Forms().size(), 1u);
    EXPECT_TRUE(t.hb->Window(main->Handle())->enabled);
    EXPECT_EQ(t.app->ModalLevel(), 0);

    // "Abbrechen" in the question cancels the copy.
    t.hb->AnswerMessageBox(IDCANCEL);
    r = CopyFolderWithProgress((tmp.path / "src").string(), (tmp.path / "dst").string());
    EXPECT_EQ(r.status, platform::CopyStatus::kCancelled);
    EXPECT_EQ(Read(tmp.path / "dst" / "a.txt"), "old a");

    // "Ja, alle" replaces this file and every later one without asking again.
    Write(tmp.path / "dst" / "sub" / "b.txt", "old b");
    t.hb->ClearRecords();
    t.hb->AnswerMessageBox(IDYESTOALL);
    r = CopyFolderWithProgress((tmp.path / "src").string(), (tmp.path / "dst").string());
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.filesCopied, 2);
    EXPECT_EQ(Read(tmp.path / "dst" / "a.txt"), "new a");
    EXPECT_EQ(Read(tmp.path / "dst" / "sub" / "b.txt"), "new b");
    EXPECT_EQ(t.hb->MessageBoxes().size(), 1u);

    // The progress window: percent over the bytes, the file's name.
    TCopyProgressForm form(t.app.get(), "Kopieren...");
    platform::CopyProgress p;
    p.file = "sub\\b.txt";
    p.bytesDone = 30;
    p.bytesTotal = 120;
    form.SetProgress(p);
    EXPECT_EQ(form.Percent(), 25);
    EXPECT_EQ(form.FileText(), "Kopiere sub\\b.txt");
    EXPECT_FALSE(form.Cancelled());
    form.CancelButton()->Click();
    EXPECT_TRUE(form.Cancelled());
}
