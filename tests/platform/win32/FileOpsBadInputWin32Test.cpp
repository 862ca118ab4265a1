// The copy of a program folder on Windows with what real discs and targets bring: names that
// cp1252 cannot write, paths past the classic 260-character limit, a target that may not be
// written, and a drive that goes away in the middle. Each ends in a German message or succeeds,
// and never loses a file.
#include <gtest/gtest.h>
#include <windows.h>
// The interface's name, not the API's character-set macro.
#undef DeleteFile

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/FileOps.h"
#include "tests/platform/win32/WinTempDir.h"

using platform::CopyCallbacks;
using platform::CopyProgress;
using platform::CopyStatus;
using platform::FileOps;

namespace fs = std::filesystem;

namespace {

bool HasTemporaries(const std::string& dir) {
    for (auto& e : fs::recursive_directory_iterator(U8Path(dir)))
        if (e.path().filename().string().find(".part") != std::string::npos) return true;
    return false;
}

// Only the letters of the German alphabet, digits, spaces and punctuation: a message a user can read.
bool IsGermanText(const std::string& cp1252) {
    for (unsigned char c : cp1252)
        if (c < 0x20 || (c >= 0x7F && c != 0xC4 && c != 0xD6 && c != 0xDC && c != 0xE4 && c != 0xF6 &&
                         c != 0xFC && c != 0xDF))
            return false;
    return true;
}

// The test's own view of a long path: the standard library goes through the plain Win32 calls,
// which stop at 260 characters.
fs::path Long(const std::string& native) {
    std::string s = "\\\\?\\" + native;
    for (char& c : s)
        if (c == '/') c = '\\';
    return U8Path(s);
}

std::string ReadLong(const std::string& native) {
    std::ifstream in(Long(native), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteLong(const std::string& native, const std::string& content) {
    fs::create_directories(Long(native).parent_path());
    std::ofstream(Long(native), std::ios::binary) << content;
}

// Removes a tree with long paths before the temporary folder's own clean-up meets it (the
// standard library's removal walks the tree with the short-path calls too).
void RemoveLong(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLong(dir + L"\\" + name);
            else
                DeleteFileW((dir + L"\\" + name).c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

struct LongTree {
    std::string root;
    ~LongTree() { RemoveLong(Long(root).wstring()); }
};

}  // namespace

TEST(FileOpsBadInputWin32, NamesOutsideCp1252AreCopiedUnderTheirOwnName) {
    WinTempDir t;
    // Greek, Cyrillic, Japanese and an emoji (a surrogate pair in UTF-16), in a file and a folder.
    const std::string name = "\xCE\xA9mega \xD0\x96 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.txt";
    const std::string folder = "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0";
    t.Write("src/" + name, "one");
    t.Write("src/" + folder + "/" + name, "two");
    std::set<std::string> shown;
    CopyCallbacks cb;
    cb.progress = [&](const CopyProgress& p) {
        if (!p.file.empty()) shown.insert(p.file);
        return true;
    };
    auto r = FileOps::CopyFolderContents(t / "src", t / "dst", cb);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.filesCopied, 2);
    EXPECT_EQ(t.Read("dst/" + name), "one");
    EXPECT_EQ(t.Read("dst/" + folder + "/" + name), "two");
    // The progress shows what cp1252 can of the name, never an empty one.
    ASSERT_EQ(shown.size(), 2u);
    for (const std::string& s : shown) EXPECT_NE(s.find(".txt"), std::string::npos) << s;
    // Nothing else came into being under a name cp1252 made of it.
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::recursive_directory_iterator(U8Path(t / "dst"))) ++entries;
    EXPECT_EQ(entries, 3);
}

TEST(FileOpsBadInputWin32, PathsLongerThan260CharactersAreCopied) {
    WinTempDir t;
    LongTree src{t / "src"}, dst{t / "dst"};
    const std::string part(60, 'x');
    std::string deep;
    for (char c = 'a'; c < 'f'; ++c) deep += c + part + "/";
    const std::string file = deep + "programm-mit-einem-langen-namen.exe";
    ASSERT_GT((t / "dst/" + file).size(), 300u);
    WriteLong(t / "src/" + file, "long");
    WriteLong(t / "src/short.txt", "short");
    auto r = FileOps::CopyFolderContents(t / "src", t / "dst");
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.filesCopied, 2);
    EXPECT_EQ(ReadLong(t / "dst/" + file), "long");
    EXPECT_TRUE(FileOps::FileExists(t / "dst/" + file));
    EXPECT_TRUE(FileOps::FolderExists(t / "dst/" + deep));
    EXPECT_TRUE(FileOps::CreateFolder(t / "dst/" + deep + "neu"));
    EXPECT_EQ(FileOps::SubFolders(t / "dst/" + deep), (std::vector<std::string>{"neu"}));
    // A long path with "." and ".." in it means what it says.
    EXPECT_TRUE(FileOps::FileExists(t / "dst/" + deep + "neu/../programm-mit-einem-langen-namen.exe"));
    EXPECT_TRUE(FileOps::DeleteFile(t / "dst/" + deep + "./programm-mit-einem-langen-namen.exe"));
    EXPECT_FALSE(FileOps::FileExists(t / "dst/" + file));
    // A long folder is still recognised inside itself.
    r = FileOps::CopyFolderContents(t / "dst/" + deep, t / "dst/" + deep + "neu/x");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_NE(r.message.find("liegt im Quellordner"), std::string::npos) << r.message;
    EXPECT_TRUE(fs::exists(Long(t / "src/" + file)));
}

TEST(FileOpsBadInputWin32, ATargetNobodyMayWriteEndsInAMessage) {
    // Under Wine, Z: is the host's root; its sysfs refuses new files even to root, as a
    // write-protected medium does.
    if (!FileOps::FolderExists("Z:/sys/kernel")) GTEST_SKIP() << "no host sysfs under Z:";
    WinTempDir t;
    t.Write("src/a.txt", "a");
    auto r = FileOps::CopyFolderContents(t / "src", "Z:/sys");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.errorCode, EACCES);
    EXPECT_NE(r.message.find("Zugriff verweigert."), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("a.txt"), std::string::npos) << r.message;
    EXPECT_TRUE(IsGermanText(r.message)) << r.message;
    EXPECT_EQ(t.Read("src/a.txt"), "a");

    r = FileOps::CopyFolderContents(t / "src", "Z:/sys/cdmenu-ziel");
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_NE(r.message.find("Der Ordner Z:\\sys\\cdmenu-ziel kann nicht angelegt werden."),
              std::string::npos)
        << r.message;
    EXPECT_TRUE(IsGermanText(r.message)) << r.message;
}

TEST(FileOpsBadInputWin32, ADriveThatGoesAwayMidCopyLosesNothing) {
    WinTempDir t;
    t.Write("src/1-first.txt", "first");
    t.Write("src/2-second.bin", std::string(300000, 's'));
    t.Write("src/3-third.txt", "third");
    t.Write("stick/keep.txt", "keep");  // already on the target drive

    // The stick is pulled in the middle of the second file: its folder is gone from under the copy
    // (moved aside, so that the test can look at what reached it).
    bool pulled = false;
    CopyCallbacks cb;
    cb.progress = [&](const CopyProgress& p) {
        if (!pulled && p.file == "2-second.bin" && p.fileBytesDone > 0)
            pulled = MoveFileW(Long(t / "stick").c_str(), Long(t / "pulled").c_str());
        return true;
    };
    auto r = FileOps::CopyFolderContents(t / "src", t / "stick/Programm", cb);
    ASSERT_TRUE(pulled);
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_EQ(r.filesCopied, 1);
    EXPECT_NE(r.message.find("stick\\Programm\\2-second.bin"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("kann nicht"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("nicht gefunden."), std::string::npos) << r.message;
    EXPECT_TRUE(IsGermanText(r.message)) << r.message;
    // Nothing lost: the source whole, the stick's old file kept, no half file under the real name.
    EXPECT_EQ(t.Read("src/2-second.bin"), std::string(300000, 's'));
    EXPECT_EQ(t.Read("pulled/keep.txt"), "keep");
    EXPECT_EQ(t.Read("pulled/Programm/1-first.txt"), "first");
    EXPECT_FALSE(fs::exists(U8Path(t / "pulled/Programm/2-second.bin")));
    EXPECT_FALSE(fs::exists(U8Path(t / "pulled/Programm/3-third.txt")));

    // The disc taken out in the middle of a file is read as such; the copy keeps whole files only.
    t.Write("disc/a.txt", "a");
    t.Write("disc/b.bin", std::string(300000, 'b'));
    t.Write("disc/c.txt", "c");
    pulled = false;
    cb.progress = [&](const CopyProgress& p) {
        if (!pulled && p.file == "b.bin" && p.fileBytesDone > 0)
            pulled = MoveFileW(Long(t / "disc").c_str(), Long(t / "ejected").c_str());
        return true;
    };
    r = FileOps::CopyFolderContents(t / "disc", t / "copy", cb);
    ASSERT_TRUE(pulled);
    EXPECT_EQ(r.status, CopyStatus::kFailed);
    EXPECT_NE(r.message.find("kann nicht gelesen werden."), std::string::npos) << r.message;
    EXPECT_TRUE(IsGermanText(r.message)) << r.message;
    EXPECT_EQ(t.Read("copy/a.txt"), "a");
    // The file being read when the disc went may have been finished from its open handle.
    if (fs::exists(U8Path(t / "copy/b.bin"))) {
        EXPECT_EQ(t.Read("copy/b.bin"), std::string(300000, 'b'));
    }
    EXPECT_FALSE(fs::exists(U8Path(t / "copy/c.txt")));
    EXPECT_FALSE(HasTemporaries(t / "copy"));
}
