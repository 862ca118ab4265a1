// File operations on Windows: folders, deletion, the folder list and the copy of a program folder
// with progress, overwrite questions and atomic replacement.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/FileOps.h"
#include "tests/platform/win32/WinTempDir.h"

using platform::CopyCallbacks;
using platform::CopyProgress;
using platform::CopyStatus;
using platform::FileOps;
using platform::OverwriteAnswer;

namespace fs = std::filesystem;

namespace {

void MakeSource(const WinTempDir& t) {
    t.Write("src/readme.txt", "hello\n");  // a line break must arrive as it is (binary copy)
    t.Write("src/data/big.bin", std::string(200000, 'b'));
    fs::permissions(U8Path(t / "src/data/big.bin"), fs::perms::owner_write, fs::perm_options::remove);
    t.MakeDir("src/empty");
}

bool HasTemporaries(const std::string& dir) {
    for (auto& e : fs::recursive_directory_iterator(U8Path(dir)))
        if (e.path().filename().string().find(".part") != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(FileOpsWin32, CopiesAFolderTreeWithProgress) {
    WinTempDir t;
    MakeSource(t);
    std::vector<CopyProgress> seen;
    CopyCallbacks cb;
    cb.progress = [&](const CopyProgress& p) {
        seen.push_back(p);
        return true;
    };
    auto r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.filesCopied, 2);
    EXPECT_EQ(r.foldersCreated, 3);  // dst, data, empty
    EXPECT_EQ(r.bytesCopied, 200006u);
    EXPECT_EQ(t.Read("dst/readme.txt"), "hello\n");
    EXPECT_EQ(t.Read("dst/data/big.bin"), std::string(200000, 'b'));
    EXPECT_TRUE(fs::is_directory(U8Path(t / "dst/empty")));
    // The copy of a read-only file stays writable, so it can be replaced later.
    EXPECT_NE(fs::status(U8Path(t / "dst/data/big.bin")).permissions() & fs::perms::owner_write,
              fs::perms::none);
    EXPECT_FALSE(HasTemporaries(t / "dst"));

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().filesTotal, 2);
    EXPECT_EQ(seen.front().bytesTotal, 200006u);
    EXPECT_EQ(seen.back().bytesDone, 200006u);
    EXPECT_EQ(seen.back().filesDone, 2);
    bool named = false;
    for (const CopyProgress& p : seen) named |= p.file == "data\\big.bin";
    EXPECT_TRUE(named);
}

TEST(FileOpsWin32, AsksBeforeReplacingAndHonoursEveryAnswer) {
    WinTempDir t;
    MakeSource(t);
    t.Write("dst/readme.txt", "old");
    std::vector<std::string> asked;
    CopyCallbacks cb;
    cb.confirmOverwrite = [&](const std::string& target) {
        asked.push_back(target);
        return OverwriteAnswer::kNo;
    };
    auto r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.filesSkipped, 1);
    EXPECT_EQ(t.Read("dst/readme.txt"), "old");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("dst\\readme.txt"), std::string::npos) << asked[0];

    cb.confirmOverwrite = [](const std::string&) { return OverwriteAnswer::kYes; };
    r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(t.Read("dst/readme.txt"), "hello\n");

    t.Write("dst/readme.txt", "old");
    cb.confirmOverwrite = [](const std::string&) { return OverwriteAnswer::kCancel; };
    r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    EXPECT_EQ(r.status, CopyStatus::kCancelled);
    EXPECT_EQ(t.Read("dst/readme.txt"), "old");

    // Cancelling from the progress in the middle of a file leaves no half-written file.
    fs::remove_all(U8Path(t / "dst"));
    CopyCallbacks stop;
    stop.progress = [](const CopyProgress& p) {
        return p.fileBytesDone == 0 || p.fileBytesDone >= p.fileBytes;
    };
    t.Write("src/data/huge.bin", std::string(4 << 20, 'h'));
    r = FileOps::CopyFolderContents(t / "src", t / "dst", stop);
    EXPECT_EQ(r.status, CopyStatus::kCancelled);
    EXPECT_FALSE(fs::exists(U8Path(t / "dst/data/huge.bin")));
    EXPECT_FALSE(HasTemporaries(t / "dst"));
}

TEST(FileOpsWin32, ReportsFailuresPreciselyAndNeverAsSuccess) {
    WinTempDir t;
    MakeSource(t);
    auto r = FileOps::CopyFolderContents(t / "missing", t / "dst");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, ENOENT);
    EXPECT_NE(r.message.find("kann nicht gelesen werden"), std::string::npos) << r.message;

    r = FileOps::CopyFolderContents(t / "src", t / "src/data/inside");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_NE(r.message.find("liegt im Quellordner"), std::string::npos) << r.message;
    EXPECT_FALSE(fs::exists(U8Path(t / "src/data/inside/readme.txt")));

    // A write-protected file in the target is not replaced.
    t.Write("ro/readme.txt", "keep");
    fs::permissions(U8Path(t / "ro/readme.txt"), fs::perms::owner_write, fs::perm_options::remove);
    r = FileOps::CopyFolderContents(t / "src", t / "ro");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, EACCES);
    EXPECT_EQ(t.Read("ro/readme.txt"), "keep");
    EXPECT_NE(r.failedPath.find("ro\\readme.txt"), std::string::npos) << r.failedPath;
}

TEST(FileOpsWin32, FoldersFilesAndTheirNames) {
    WinTempDir t;
    int err = 0;
    EXPECT_TRUE(FileOps::CreateFolder(t / "Neu"));
    EXPECT_FALSE(FileOps::CreateFolder(t / "Neu", &err));
    EXPECT_EQ(err, EEXIST);
    EXPECT_FALSE(FileOps::CreateFolder(t / "a/b/c", &err));  // one level only
    EXPECT_EQ(err, ENOENT);
    EXPECT_TRUE(FileOps::FolderExists(t / "Neu"));
    EXPECT_FALSE(FileOps::FileExists(t / "Neu"));

    t.Write("f.txt", "x");
    EXPECT_TRUE(FileOps::FileExists(t / "F.TXT"));
    EXPECT_FALSE(FileOps::DeleteFile(t / "Neu", &err));
    EXPECT_EQ(err, EISDIR);
    EXPECT_TRUE(FileOps::DeleteFile(t / "f.txt"));
    EXPECT_FALSE(FileOps::FileExists(t / "f.txt"));
    EXPECT_FALSE(FileOps::DeleteFile(t / "f.txt", &err));
    EXPECT_EQ(err, ENOENT);

    // Sorted as the menu sorts, umlauts with their base letters; files and dot-folders left out.
    t.MakeDir("list/zeta");
    t.MakeDir("list/\xC3\x84pfel");  // Äpfel
    t.MakeDir("list/beta");
    t.MakeDir("list/.hidden");
    t.Write("list/file.txt", "");
    EXPECT_EQ(FileOps::SubFolders(t / "list"), (std::vector<std::string>{"\xC4pfel", "beta", "zeta"}));
    EXPECT_TRUE(FileOps::SubFolders(t / "nothing").empty());
    EXPECT_EQ(FileOps::ErrorText(ENOENT), "Die Datei oder der Ordner wurde nicht gefunden.");
}
