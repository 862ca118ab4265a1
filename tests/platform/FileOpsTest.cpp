#include "platform/FileOps.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/Cp1252.h"
#include "platform/Services.h"
#include "tests/platform/TempDir.h"

using platform::CopyCallbacks;
using platform::CopyProgress;
using platform::CopyStatus;
using platform::FileOps;
using platform::OverwriteAnswer;

namespace {

namespace fs = std::filesystem;

// The source tree of a program folder: files at two levels, an empty folder, a big file that
// needs several chunks, an executable.
void MakeSource(const TempDir& t) {
    t.Write("src/readme.txt", "hello");
    t.Write("src/bin/tool.sh", "#!/bin/sh\n", 0755);
    t.Write("src/data/big.bin", std::string(200000, 'b'), 0444);
    t.MakeDir("src/empty");
}

void AddSpecialFiles(const TempDir& t) {
    mkfifo((t / "src/pipe").c_str(), 0644);  // reading it would block the copy for ever
    symlink("readme.txt", (t / "src/link").c_str());
}

std::vector<std::string> TempLeftovers(const std::string& dir) {
    std::vector<std::string> out;
    for (auto& e : fs::recursive_directory_iterator(dir))
        if (e.path().filename().string().find(".part") != std::string::npos) out.push_back(e.path());
    return out;
}

}  // namespace

TEST(FileOps, CopiesAFolderTreeWithProgress) {
    TempDir t;
    MakeSource(t);
    AddSpecialFiles(t);
    std::vector<CopyProgress> seen;
    CopyCallbacks cb;
    cb.progress = [&](const CopyProgress& p) {
        seen.push_back(p);
        return true;
    };
    const auto r = FileOps::CopyFolderContents(t / "src/", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.filesCopied, 4);
    EXPECT_EQ(r.filesSkipped, 1);    // the pipe
    EXPECT_EQ(r.foldersCreated, 4);  // dst itself, bin, data, empty
    EXPECT_EQ(r.bytesCopied, 5u + 10u + 200000u);

    EXPECT_EQ(TempDir::Read(t / "dst/readme.txt"), "hello");
    EXPECT_EQ(TempDir::Read(t / "dst/data/big.bin"), std::string(200000, 'b'));
    EXPECT_TRUE(fs::is_directory(t / "dst/empty"));
    EXPECT_FALSE(fs::exists(t / "dst/pipe"));
    EXPECT_EQ(fs::read_symlink(t / "dst/link"), "readme.txt");  // a link stays a link
    struct stat st;
    ASSERT_EQ(stat((t / "dst/bin/tool.sh").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);
    // A read-only file from the disc stays replaceable by its owner.
    ASSERT_EQ(stat((t / "dst/data/big.bin").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);

    // Progress: totals known from the first call, never going back, complete at the end, and
    // the big file reported in several steps.
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(seen.front().bytesTotal, r.bytesCopied);
    EXPECT_EQ(seen.front().filesTotal, 4);
    EXPECT_EQ(seen.front().bytesDone, 0u);
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i].bytesDone, seen[i - 1].bytesDone);
    EXPECT_EQ(seen.back().bytesDone, seen.back().bytesTotal);
    EXPECT_EQ(seen.back().filesDone, 4);
    int bigSteps = 0;
    for (const auto& p : seen)
        if (p.file == "data\\big.bin" && p.fileBytesDone > 0) ++bigSteps;
    EXPECT_GE(bigSteps, 3);
}

TEST(FileOps, AsksBeforeReplacingAndHonoursEveryAnswer) {
    TempDir t;
    MakeSource(t);
    t.Write("dst/readme.txt", "old readme");
    t.Write("dst/bin/tool.sh", "old tool");

    std::vector<std::string> asked;
    CopyCallbacks cb;
    cb.confirmOverwrite = [&](const std::string& target) {
        asked.push_back(target);
        return OverwriteAnswer::kNo;
    };
    auto r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(asked, (std::vector<std::string>{t / "dst/bin/tool.sh", t / "dst/readme.txt"}));
    EXPECT_EQ(r.filesCopied, 1);
    EXPECT_EQ(r.filesSkipped, 2);
    EXPECT_EQ(TempDir::Read(t / "dst/readme.txt"), "old readme");  // declined: untouched
    EXPECT_EQ(TempDir::Read(t / "dst/bin/tool.sh"), "old tool");

    // Yes to all: asked once, both replaced.
    asked.clear();
    cb.confirmOverwrite = [&](const std::string& target) {
        asked.push_back(target);
        return OverwriteAnswer::kYesToAll;
    };
    r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(TempDir::Read(t / "dst/readme.txt"), "hello");
    EXPECT_EQ(TempDir::Read(t / "dst/bin/tool.sh"), "#!/bin/sh\n");

    // Cancel: stops at once and says so.
    t.Write("dst2/bin/tool.sh", "keep");
    cb.confirmOverwrite = [](const std::string&) { return OverwriteAnswer::kCancel; };
    r = FileOps::CopyFolderContents(t / "src", t / "dst2", cb);
    EXPECT_EQ(r.status, CopyStatus::kCancelled);
    EXPECT_EQ(TempDir::Read(t / "dst2/bin/tool.sh"), "keep");
    EXPECT_FALSE(fs::exists(t / "dst2/readme.txt"));  // after bin/ in order: never reached

    // Cancelling from the progress window in the middle of the big file leaves no part file.
    cb.confirmOverwrite = nullptr;
    cb.progress = [](const CopyProgress& p) { return !(p.file == "data\\big.bin" && p.fileBytesDone > 0); };
    r = FileOps::CopyFolderContents(t / "src", t / "dst3", cb);
    EXPECT_EQ(r.status, CopyStatus::kCancelled);
    EXPECT_FALSE(fs::exists(t / "dst3/data/big.bin"));
    EXPECT_TRUE(TempLeftovers(t / "dst3").empty());
}

TEST(FileOps, ReportsFailuresPreciselyAndNeverAsSuccess) {
    TempDir t;
    MakeSource(t);

    // The source is gone.
    auto r = FileOps::CopyFolderContents(t / "nothing", t / "dst");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, ENOENT);
    EXPECT_EQ(r.failedPath, t / "nothing");
    EXPECT_NE(r.message.find("nicht gefunden"), std::string::npos) << r.message;

    // A file vanishes between listing and copying.
    CopyCallbacks cb;
    cb.progress = [&](const CopyProgress& p) {
        if (p.file == "data\\big.bin" && p.fileBytesDone == 0) fs::remove(t / "src/data/big.bin");
        return true;
    };
    r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, ENOENT);
    EXPECT_EQ(r.failedPath, t / "src/data/big.bin");
    EXPECT_EQ(r.filesCopied, 1);  // bin/tool.sh came before it and stays
    EXPECT_FALSE(fs::exists(t / "dst/data/big.bin"));
    EXPECT_TRUE(TempLeftovers(t / "dst").empty());
    t.Write("src/data/big.bin", "back");

    // The target cannot be created: its parent is a file.
    t.Write("afile", "x");
    r = FileOps::CopyFolderContents(t / "src", t / "afile/dst");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, ENOTDIR);
    EXPECT_EQ(r.failedPath, t / "afile/dst");

    // A folder in the target where the source has a file.
    t.MakeDir("dst4/readme.txt");
    r = FileOps::CopyFolderContents(t / "src", t / "dst4");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, EISDIR);

    // Copying a folder into itself would never end.
    r = FileOps::CopyFolderContents(t / "src", t / "src/data");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_NE(r.message.find("liegt im Quellordner"), std::string::npos);

    // A write-protected target folder (permissions do not bind root, which the check then skips).
    if (geteuid() != 0) {
        t.MakeDir("ro");
        chmod((t / "ro").c_str(), 0555);
        r = FileOps::CopyFolderContents(t / "src", t / "ro");
        EXPECT_EQ(r.status, CopyStatus::kFailed);
        EXPECT_EQ(r.errorCode, EACCES);
        EXPECT_NE(r.message.find("Zugriff verweigert"), std::string::npos);
    }
}

TEST(FileOps, FoldersFilesAndTheTrash) {
    TempDir t;
    int err = 0;
    EXPECT_TRUE(FileOps::CreateFolder(t / "a"));
    EXPECT_FALSE(FileOps::CreateFolder(t / "a", &err));
    EXPECT_EQ(err, EEXIST);
    EXPECT_FALSE(FileOps::CreateFolder(t / "x/y", &err));  // one level only
    EXPECT_EQ(err, ENOENT);
    EXPECT_TRUE(FileOps::CreateFolder(t / "a/b/"));  // the menu's trailing separator
    EXPECT_TRUE(FileOps::FolderExists(t / "a/b"));
    EXPECT_FALSE(FileOps::FileExists(t / "a/b"));

    t.Write("a/f.txt", "x");
    EXPECT_TRUE(FileOps::FileExists(t / "a/f.txt"));
    EXPECT_FALSE(FileOps::FolderExists(t / "a/f.txt"));
    EXPECT_FALSE(FileOps::DeleteFile(t / "a/b", &err));
    EXPECT_EQ(err, EISDIR);
    EXPECT_TRUE(FileOps::DeleteFile(t / "a/f.txt"));
    EXPECT_FALSE(FileOps::DeleteFile(t / "a/f.txt", &err));
    EXPECT_EQ(err, ENOENT);

    // App paths in Windows form, matched without regard to case, through the active mapping.
    platform::Services().paths = platform::NativePath(t.Path());
    t.Write("PROG/SHOT.JPG", "jpg");
    EXPECT_TRUE(FileOps::FileExists("D:\\prog\\shot.jpg"));
    EXPECT_TRUE(FileOps::DeleteFile("D:\\prog\\shot.jpg"));
    EXPECT_FALSE(fs::exists(t / "PROG/SHOT.JPG"));
    platform::Services().paths = platform::NativePath();

    // The trash keeps the file with a note where it came from; a second one of the same name
    // does not overwrite the first.
    setenv("XDG_DATA_HOME", (t / "share").c_str(), 1);
    t.MakeDir("share");
    t.Write("a/old file.txt", "one");
    std::string why;
    ASSERT_TRUE(FileOps::MoveToTrash(t / "a/old file.txt", &why)) << why;
    EXPECT_FALSE(fs::exists(t / "a/old file.txt"));
    EXPECT_EQ(TempDir::Read(t / "share/Trash/files/old file.txt"), "one");
    const std::string info = TempDir::Read(t / "share/Trash/info/old file.txt.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
    EXPECT_NE(info.find("/a/old%20file.txt\n"), std::string::npos) << info;
    EXPECT_NE(info.find("\nDeletionDate="), std::string::npos);
    t.Write("a/old file.txt", "two");
    ASSERT_TRUE(FileOps::MoveToTrash(t / "a/old file.txt", &why)) << why;
    EXPECT_EQ(TempDir::Read(t / "share/Trash/files/old file.txt"), "one");
    EXPECT_EQ(TempDir::Read(t / "share/Trash/files/old file.txt.2"), "two");
    EXPECT_TRUE(fs::exists(t / "share/Trash/info/old file.txt.2.trashinfo"));
    // Something that is not there cannot be trashed, and no note is left behind.
    EXPECT_FALSE(FileOps::MoveToTrash(t / "a/none.txt", &why));
    EXPECT_NE(why.find("nicht gefunden"), std::string::npos);
    EXPECT_FALSE(fs::exists(t / "share/Trash/info/none.txt.trashinfo"));
    unsetenv("XDG_DATA_HOME");

    // Subfolders for the folder browser: folders only, no hidden ones, umlauts beside their base letter.
    t.MakeDir("list/Zeta");
    t.MakeDir("list/Äpfel");
    t.MakeDir("list/apfel2");
    t.MakeDir("list/.hidden");
    t.Write("list/afile", "x");
    EXPECT_EQ(FileOps::SubFolders(t / "list"),
              (std::vector<std::string>{base::Cp("Äpfel"), "apfel2", "Zeta"}));
    EXPECT_TRUE(FileOps::SubFolders(t / "none").empty());

    EXPECT_EQ(FileOps::ErrorText(EROFS), base::Cp("Der Datenträger ist schreibgeschützt."));
}
