// The platform dialogs built from the framework: the folder browser and the copy with progress.
#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "HeadlessApp.h"
#include "base/NativeFile.h"
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
    // The folder as the browser names it: the program's native form, '/' separated on every system.
    std::string Str() const { return base::FsPathToNative(path); }
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

    // The framework's dialog opens down to the start folder, selects it and shows its subfolders
    // (folders only, sorted); keys move the selection, Enter confirms it.
    t.hb->SetShowMessageForms(true);
    std::vector<std::string> children;
    t.hb->Post([&] {
        auto* dlg = dynamic_cast<TFolderBrowser*>(t.app->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        int at = dlg->Selected();
        ASSERT_GE(at, 0);
        EXPECT_EQ(dlg->Rows()[size_t(at)].path, tmp.Str());
        EXPECT_EQ(dlg->Rows()[0].depth, 0);  // a drive
        for (size_t i = size_t(at) + 1;
             i < dlg->Rows().size() && dlg->Rows()[i].depth > dlg->Rows()[size_t(at)].depth; ++i)
            children.push_back(dlg->Rows()[i].name);
        t.hb->Key(VK_DOWN);  // "A"
        t.hb->Key(VK_DOWN);  // "b"
        t.hb->Key(VK_DOWN);  // "C"
        t.hb->Key(VK_RETURN);
    });
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str()), tmp.Str() + "/C");
    EXPECT_EQ(children, (std::vector<std::string>{"A", "b", "C"}));

    // Right opens a folder and then steps into it; Left steps out and then closes it; the box before
    // a folder opens it to the mouse.
    t.hb->Post([&] {
        auto* dlg = dynamic_cast<TFolderBrowser*>(t.app->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        int c = dlg->RowOf(tmp.Str() + "/C");
        dlg->Select(c);
        size_t before = dlg->Rows().size();
        t.hb->Key(VK_RIGHT);
        EXPECT_TRUE(dlg->Rows()[size_t(c)].expanded);
        EXPECT_EQ(dlg->Rows().size(), before + 1);
        t.hb->Key(VK_RIGHT);
        EXPECT_EQ(dlg->Rows()[size_t(dlg->Selected())].path, tmp.Str() + "/C/sub");
        t.hb->Key(VK_RIGHT);  // no subfolders: marked so, nothing opens
        EXPECT_TRUE(dlg->Rows()[size_t(dlg->Selected())].leaf);
        t.hb->Key(VK_LEFT);
        EXPECT_EQ(dlg->Selected(), c);
        t.hb->Key(VK_LEFT);
        EXPECT_FALSE(dlg->Rows()[size_t(c)].expanded);
        EXPECT_EQ(dlg->Rows().size(), before);
        EXPECT_EQ(dlg->RowOf(tmp.Str() + "/C/sub"), -1);
        t.hb->Key(VK_RETURN);
    });
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str()), tmp.Str() + "/C");

    // A start that is not a folder shows the drives closed, where OK needs a selection; Escape cancels.
    bool okEnabled = true;
    bool closed = false;
    t.hb->Post([&] {
        auto* dlg = dynamic_cast<TFolderBrowser*>(t.app->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->Selected(), -1);
        closed = std::all_of(dlg->Rows().begin(), dlg->Rows().end(),
                             [](const TFolderBrowser::TRow& r) { return r.depth == 0 && !r.expanded; });
        okEnabled = dlg->OkButton()->Enabled();
        // The tree starts at 12,62 inside a 2-pixel frame, rows 18 high: a click on the first
        // drive's name selects it, one on its box opens it.
        ASSERT_FALSE(dlg->Rows().empty());
        t.hb->Click(12 + 40, 62 + 2 + 9);
        EXPECT_EQ(dlg->Selected(), 0);
        EXPECT_TRUE(dlg->OkButton()->Enabled());
        t.hb->Advance(1000);
        t.hb->Click(12 + 4 + 4, 62 + 2 + 9);
        EXPECT_TRUE(dlg->Rows()[0].expanded || dlg->Rows()[0].leaf);
        t.hb->Key(VK_ESCAPE);
    });
    EXPECT_EQ(BrowseForFolder("Ziel", tmp.Str() + "/file.txt"), std::nullopt);
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(closed);
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
