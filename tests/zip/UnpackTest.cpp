// Extraction through the front-end and the unpack library of this build: results on disk, progress,
// cancel, and every hostile or damaged entry refused with a code and nothing written for it.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>

#include "platform/NativePath.h"
#include "platform/Services.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipCallback.h"

namespace ziptest {
namespace {

std::string Random(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = char(rng());
    return s;
}

class UnpackTest : public ZipTest {
protected:
    // Extracts archive into the folder "out" (created) as the menu does; returns the component's ErrCode.
    int Unpack(const std::string& archive, TZipFront& zip) {
        out_ = Path("out");
        fs::create_directories(out_);
        zip.SetZipFilename(archive);
        zip.LoadUnzipLibrary();
        EXPECT_TRUE(zip.UnzipLibraryLoaded()) << "the unpack library is not found in " << LibraryFolder();
        zip.FSpecArgs().Clear();
        zip.SetExtrBaseDir(out_ + "/");
        zip.Extract();
        zip.UnloadUnzipLibrary();
        return zip.ErrCode();
    }
    int Unpack(const std::string& archive) {
        TZipFront zip;
        Wire(zip);
        zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
        int code = Unpack(archive, zip);
        successCount_ = zip.SuccessCount();
        return code;
    }
    std::vector<int> LibraryCodes() const {
        std::vector<int> codes;
        for (const TRecorded& m : messages_)
            if (m.errCode) codes.push_back(m.errCode & 0xFF);
        return codes;
    }

    std::string out_;
    int successCount_ = 0;
};

TEST_F(UnpackTest, ExtractsEveryEntryByteForByteWithProgress) {
    TZipWriter w;
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "Zeile " + std::to_string(i) + " des Textes\n";
    w.AddFile("text.txt", text);
    w.AddFile("random.bin", Random(300000, 1));
    w.AddFile("stored.bin", Random(5000, 2), TZipWriter::TMethod::Stored);
    w.AddFile("deep/er/nested.txt", "tief");
    w.AddFile("zero.txt", "");
    w.AddFolder("folder");
    w.AddFile("desc.txt", text).DataDescriptor = true;
    w.AddFile("win\\style.txt", "backslashes");

    TZipFront zip;
    Wire(zip);
    zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
    std::vector<std::pair<TProgressType, int64_t>> progress;
    std::vector<std::string> started;
    int64_t advanced = 0;
    zip.OnProgress = [&](TZipFront*, TProgressType type, const std::string& name, int64_t size) {
        progress.emplace_back(type, size);
        if (type == pkFileStart) started.push_back(name);
        if (type == pkAdvance) advanced += size;
    };
    int processed = 0;
    zip.ProcessMessages = [&] { ++processed; };
    EXPECT_EQ(Unpack(Save(w, "a.zip"), zip), 0);
    EXPECT_EQ(zip.SuccessCount(), 7);
    EXPECT_TRUE(SameBytes(ReadFile(out_ + "/text.txt"), text));
    EXPECT_TRUE(SameBytes(ReadFile(out_ + "/random.bin"), w.Entries()[1].Data));
    EXPECT_TRUE(SameBytes(ReadFile(out_ + "/stored.bin"), w.Entries()[2].Data));
    EXPECT_EQ(ReadFile(out_ + "/deep/er/nested.txt"), "tief");
    EXPECT_TRUE(SameBytes(ReadFile(out_ + "/desc.txt"), text));
    EXPECT_EQ(ReadFile(out_ + "/win/style.txt"), "backslashes");
    EXPECT_TRUE(fs::is_regular_file(out_ + "/zero.txt"));
    EXPECT_TRUE(fs::is_directory(out_ + "/folder"));

    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress.front(), std::make_pair(pkFileCount, int64_t(8)));
    int64_t total = 0;
    for (const auto& e : w.Entries()) total += int64_t(e.Data.size());
    EXPECT_EQ(progress[1], std::make_pair(pkByteTotal, total));
    EXPECT_EQ(zip.TotalSize(), total);
    EXPECT_EQ(progress.back().first, pkBatchEnd);
    EXPECT_EQ(advanced, total);
    EXPECT_EQ(started.size(), 8u);
    EXPECT_EQ(started[3], "deep\\er\\nested.txt");
    EXPECT_GE(processed, int(progress.size()));
    EXPECT_TRUE(zip.FSpecArgs().Count() == 0);
    EXPECT_FALSE(zip.Busy());
    // The current directory is the caller's again.
    EXPECT_NE(fs::current_path(), fs::path(out_));
}

TEST_F(UnpackTest, OptionsSelectNamesFoldersAndOverwrite) {
    TZipWriter w;
    w.AddFile("docs/a.txt", "new a");
    w.AddFile("docs/b.doc", "new b");
    w.AddFile("c.txt", "new c");
    std::string archive = Save(w, "o.zip");

    // Only the given patterns, without folder names, keeping an existing file.
    fs::create_directories(Path("out"));
    TZipWriter::SaveFile(Path("out/c.txt"), "old c");
    TZipFront zip;
    Wire(zip);
    zip.SetExtrOptions({});
    zip.SetZipFilename(archive);
    zip.FSpecArgs().Add("*.txt");
    zip.SetExtrBaseDir(Path("out"));
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(zip.SuccessCount(), 1);
    EXPECT_EQ(ReadFile(Path("out/a.txt")), "new a");
    EXPECT_EQ(ReadFile(Path("out/c.txt")), "old c");
    EXPECT_FALSE(fs::exists(Path("out/b.doc")));
    EXPECT_EQ(zip.FSpecArgs().Count(), 0);  // cleared for the next call

    // Test only: checks, writes nothing.
    zip.SetExtrOptions({TExtrOptsEnum::ExtrTest, TExtrOptsEnum::ExtrDirNames});
    zip.SetExtrBaseDir(Path("test"));
    fs::create_directories(Path("test"));
    zip.Extract();
    EXPECT_EQ(zip.SuccessCount(), 3);
    EXPECT_TRUE(Tree(Path("test")).empty());

    // Overwrite replaces.
    EXPECT_EQ(Unpack(archive), 0);
    EXPECT_EQ(ReadFile(Path("out/c.txt")), "new c");
}

TEST_F(UnpackTest, MissingBaseDirKeepsTheCurrentDirectory) {
    TZipWriter w;
    w.AddFile("here.txt", "x");
    std::string archive = Save(w, "h.zip");
    fs::create_directories(Path("cwd"));
    fs::path previous = fs::current_path();
    fs::current_path(Path("cwd"));
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(archive);
    zip.SetExtrBaseDir(Path("missing"));
    zip.Extract();
    fs::path after = fs::current_path();
    fs::current_path(previous);
    EXPECT_EQ(after, fs::path(Path("cwd")));
    EXPECT_TRUE(fs::exists(Path("cwd/here.txt")));
    EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST_F(UnpackTest, UnsafeEntriesAreRefusedAndNothingLeavesTheFolder) {
    TZipWriter w;
    w.AddFile("../escape.txt", "x");
    w.AddFile("a/../../escape2.txt", "x");
    w.AddFile("/abs.txt", "x");
    w.AddFile("C:\\drive.txt", "x");
    w.AddFile("..\\win.txt", "x");
    w.AddSymlink("up", "../../outside");
    w.AddSymlink("abs", "/etc");
    w.AddSymlink("self", ".");
    w.AddSymlink("trick", "self/../..");  // "." then two levels up through it
    w.AddFile("up/through.txt", "x");     // must not write through a link
    w.AddFile("fine.txt", "fine");
    w.AddSymlink("sub/link", "../fine.txt");  // stays inside: allowed
    fs::create_directories(Path("outside"));

    EXPECT_NE(Unpack(Save(w, "evil.zip")), 0);
    std::vector<int> codes = LibraryCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 8), 5) << "unsafe names";
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 9), 3) << "unsafe links";
    EXPECT_TRUE(Tree(Path("outside")).empty());
    EXPECT_FALSE(fs::exists(Path("escape.txt")));
    EXPECT_FALSE(fs::exists(Path("escape2.txt")));
    EXPECT_FALSE(fs::exists("/abs.txt") && ReadFile("/abs.txt") == "x");
    EXPECT_EQ(ReadFile(out_ + "/fine.txt"), "fine");
#ifdef _WIN32
    // Making links needs a privilege there: the safe ones are reported, and nothing stands in for them.
    EXPECT_TRUE(fs::is_regular_file(out_ + "/up/through.txt"));
    EXPECT_FALSE(fs::exists(out_ + "/sub/link"));
    EXPECT_FALSE(fs::exists(out_ + "/self"));
    EXPECT_EQ(successCount_, 2);
#else
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(out_ + "/up/through.txt")));  // a real folder "up"
    EXPECT_EQ(fs::read_symlink(out_ + "/sub/link"), fs::path("../fine.txt"));
    EXPECT_EQ(fs::read_symlink(out_ + "/self"), fs::path("."));
    EXPECT_EQ(successCount_, 4);

    // A link that already lies in the target folder is not followed either.
    std::error_code ec;
    fs::remove_all(out_, ec);
    fs::create_directories(out_);
    fs::create_directory_symlink(Path("outside"), out_ + "/planted");
    TZipWriter planted;
    planted.AddFile("planted/file.txt", "x");
    messages_.clear();
    EXPECT_NE(Unpack(Save(planted, "planted.zip")), 0);
    EXPECT_TRUE(Tree(Path("outside")).empty());
#endif
}

TEST_F(UnpackTest, DamagedEntriesFailAloneAndLeaveNoFile) {
    struct TCase {
        const char* what;
        std::function<void(TZipWriter::TEntry&)> damage;
        int code;
    };
    std::string data = Random(20000, 3) + std::string(20000, 'a');
    std::vector<TCase> cases = {
        {"crc", [](TZipWriter::TEntry& e) { e.DeclaredCrc = 1234; }, 3},
        {"inflates beyond its size", [](TZipWriter::TEntry& e) { e.DeclaredSize = 100; }, 10},
        {"shorter than its size", [](TZipWriter::TEntry& e) { e.DeclaredSize = 50000; }, 10},
        {"stored size mismatch",
         [](TZipWriter::TEntry& e) {
             e.Method = TZipWriter::TMethod::Stored;
             e.DeclaredSize = 10;
         },
         10},
        {"method", [](TZipWriter::TEntry& e) { e.DeclaredMethod = 98; }, 4},  // PPMd,
        {"password", [](TZipWriter::TEntry& e) { e.Flags = 1; }, 5},
        {"garbage data",
         [](TZipWriter::TEntry& e) {
             e.UseRawData = true;
             e.RawData = std::string(500, '\xFF');
         },
         13},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TZipWriter w;
        w.AddFile("before.txt", "ok");
        c.damage(w.AddFile("bad.bin", data));
        w.AddFile("after.txt", "ok");
        messages_.clear();
        std::error_code ec;
        fs::remove_all(Path("out"), ec);
        EXPECT_EQ(Unpack(Save(w, "d.zip")), c.code);
        EXPECT_FALSE(fs::exists(out_ + "/bad.bin"));
        EXPECT_EQ(ReadFile(out_ + "/after.txt"), "ok");
        EXPECT_EQ(Tree(out_), (std::vector<std::string>{"after.txt", "before.txt"}));

        // With overwrite on, a damaged entry leaves the file it would have replaced as it was.
        TZipWriter::SaveFile(out_ + "/bad.bin", "kept");
        messages_.clear();
        EXPECT_EQ(Unpack(Save(w, "d.zip")), c.code);
        EXPECT_EQ(ReadFile(out_ + "/bad.bin"), "kept");
        EXPECT_EQ(Tree(out_), (std::vector<std::string>{"after.txt", "bad.bin", "before.txt"}));
    }
}

TEST_F(UnpackTest, HostileArchivesAreRefusedWhole) {
    // Two directory entries sharing one local header: the overlapping construction.
    TZipWriter bomb;
    bomb.AddFile("a.txt", std::string(100000, 'a'));
    bomb.AddFile("b.txt", "").ShareLocalWith = 0;
    EXPECT_EQ(Unpack(Save(bomb, "bomb.zip")), 11);
    EXPECT_TRUE(Tree(out_).empty());

    // A local header offset past the end of the file.
    TZipWriter past;
    past.AddFile("a.txt", "a");
    past.Entries()[0].LocalOffset = 0x00FFFFFF;
    messages_.clear();
    EXPECT_EQ(Unpack(Save(past, "past.zip")), 2);
    EXPECT_TRUE(Tree(out_).empty());

    // Not an archive: List says so, and the library refuses it as well.
    messages_.clear();
    EXPECT_NE(Unpack(SaveBytes(Random(3000, 9), "noise.zip")), 0);
    EXPECT_EQ(messages_.front().id, 11036);
    EXPECT_TRUE(Tree(out_).empty());
}

TEST_F(UnpackTest, ArchivesBehindAStubAreExtracted) {
    for (bool shifted : {false, true}) {
        SCOPED_TRACE(shifted ? "offsets count the stub" : "stub simply prepended");
        TZipWriter w;
        w.AddFile("a.txt", Random(70000, 5));
        w.AddFile("b/c.txt", "c", TZipWriter::TMethod::Stored);
        w.Prefix = "MZ" + std::string(3000, 's');
        w.PrefixShiftsOffsets = shifted;
        std::error_code ec;
        fs::remove_all(Path("out"), ec);
        messages_.clear();
        int code = Unpack(Save(w, "stub.zip"));
        // The listing warns about the stub it read past; the extraction is sound, so is the result.
        bool warned =
            std::any_of(messages_.begin(), messages_.end(), [](const TRecorded& m) { return m.id == 10203; });
        EXPECT_EQ(warned, !shifted);
        EXPECT_EQ(code, 0);
        EXPECT_TRUE(LibraryCodes().empty());
        EXPECT_TRUE(SameBytes(ReadFile(out_ + "/a.txt"), w.Entries()[0].Data));
        EXPECT_EQ(ReadFile(out_ + "/b/c.txt"), "c");
    }
}

TEST_F(UnpackTest, ManySmallEntriesStayWithinTheDescriptorLimit) {
    TZipWriter w;
    for (int i = 0; i < 3000; ++i) w.AddFile("d" + std::to_string(i % 7) + "/f" + std::to_string(i), "x");
    std::string archive = Save(w, "many.zip");
#ifdef _WIN32
    // The C runtime's own table (2048 descriptors) is the limit there.
    int code = Unpack(archive);
#else
    rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &previous), 0);
    rlimit tight = previous;
    tight.rlim_cur = 160;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    int code = Unpack(archive);
    setrlimit(RLIMIT_NOFILE, &previous);
#endif
    EXPECT_EQ(code, 0);
    EXPECT_EQ(successCount_, 3000);
    EXPECT_EQ(ReadFile(out_ + "/d3/f2999"), "x");
}

TEST_F(UnpackTest, CancelFromTheCallbackStopsTheLibrary) {
    TZipWriter w;
    for (int i = 0; i < 10; ++i) w.AddFile("f" + std::to_string(i) + ".txt", Random(1000, unsigned(i)));
    TZipFront zip;
    Wire(zip);
    zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames});
    int starts = 0;
    zip.OnProgress = [&](TZipFront* sender, TProgressType type, const std::string&, int64_t) {
        if (type == pkFileStart && ++starts == 3) sender->SetCancel(true);
    };
    EXPECT_EQ(Unpack(Save(w, "c.zip"), zip), 12);
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(zip.SuccessCount(), 2);
    EXPECT_EQ(Tree(out_), (std::vector<std::string>{"f0.txt", "f1.txt"}));
    EXPECT_FALSE(zip.Cancel());
}

TEST_F(UnpackTest, LibraryLoadingAndVersion) {
    TZipFront zip;
    Wire(zip);
    zip.SetTrace(true);
    EXPECT_EQ(zip.UnzipLibraryVersion(), 152);
    EXPECT_FALSE(zip.UnzipLibraryLoaded());  // loaded for the call only
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.back().text, "UNPACK32 geladen");

    TZipFront missing;
    Wire(missing);
    missing.SetDLLDirectory(Path("nolib"));
    fs::create_directories(Path("nolib"));
    EXPECT_EQ(missing.UnzipLibraryVersion(), 0);
    EXPECT_EQ(missing.ErrCode(), 10704);
    TZipWriter w;
    w.AddFile("x.txt", "x");
    missing.SetZipFilename(Save(w, "x.zip"));
    missing.SetExtrBaseDir(Path("nolib"));
    missing.Extract();
    EXPECT_EQ(missing.ErrCode(), 10704);
    EXPECT_EQ(missing.SuccessCount(), 0);
    EXPECT_FALSE(fs::exists(Path("nolib/x.txt")));
}

#ifndef _WIN32  // measures the peak memory of a forked child
TEST_F(UnpackTest, SizeLiesAreRefusedBeforeMemoryIsSetAside) {
    // 20 entries of a few bytes that claim 250 MiB each: about 2 KB of archive.
    TZipWriter w;
    for (int i = 0; i < 20; ++i)
        w.AddFile("lie" + std::to_string(i) + ".bin", "small " + std::to_string(i)).DeclaredSize =
            int64_t(250) << 20;
    std::string archive = Save(w, "lie.zip");
    long pageKiB = sysconf(_SC_PAGESIZE) / 1024;
    long residentPages = 0;
    long totalPages = 0;
    std::sscanf(ReadFile("/proc/self/statm").c_str(), "%ld %ld", &totalPages, &residentPages);
    // In a child process, whose peak memory is then this extraction's own (plus what it inherits).
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        TZipFront zip;
        Wire(zip);
        int code = Unpack(archive, zip);
        std::vector<int> codes = LibraryCodes();
        bool refused = code == 10 && zip.SuccessCount() == 0 && Tree(out_).empty() && codes.size() == 20 &&
                       std::all_of(codes.begin(), codes.end(), [](int c) { return c == 10; });
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    ASSERT_EQ(wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the lies were not all refused";
    long grownKiB = usage.ru_maxrss - residentPages * pageKiB;
    EXPECT_LT(grownKiB, 64 * 1024) << "peak memory grew by " << grownKiB / 1024 << " MiB";
}
#endif

TEST_F(UnpackTest, MessagesNameTheArchiveByItsNativePath) {
    TZipWriter w;
    w.AddFile("a.txt", "a").BadLocalSignature = true;
    fs::create_directories(Path("disc/Programme/A"));
    w.Save(Path("disc/Programme/A/archiv.zip"));
    platform::NativePath previous = platform::Services().paths;
    platform::Services().paths = platform::NativePath(Path("disc"));
    TZipFront zip;
    Wire(zip);
    int code = Unpack("D:\\Programme\\A\\ARCHIV.ZIP", zip);
    platform::Services().paths = previous;
    EXPECT_EQ(code, 2);
    // The file as it was found, in the native form; nothing of the stored Windows form.
    std::string native = Path("disc/Programme/A/archiv.zip");
    EXPECT_EQ(zip.Message().substr(zip.Message().size() - std::min(zip.Message().size(), native.size())),
              native)
        << zip.Message();
    EXPECT_EQ(zip.Message().find('\\'), std::string::npos) << zip.Message();
}

TEST_F(UnpackTest, CallbackRelayKeepsTheLowByteAndAnswersCancel) {
    TZipFront zip;
    Wire(zip);
    TUnpackCallbackRec rec{};
    rec.Caller = &zip;
    rec.ActionCode = kUnpackMessage;
    rec.ErrorCode = 0x1234;
    std::snprintf(rec.Text, sizeof rec.Text, "dir/file.txt kaputt   ");
    EXPECT_EQ(ZipCallback(&rec), 0);
    EXPECT_EQ(zip.ErrCode(), 0x34);
    EXPECT_EQ(zip.FullErrCode(), 0x1234);
    EXPECT_EQ(zip.Message(), "dir\\file.txt kaputt");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].errCode, 0x1234);

    rec.ErrorCode = 0;
    std::snprintf(rec.Text, sizeof rec.Text, "info");
    ZipCallback(&rec);
    EXPECT_EQ(zip.ErrCode(), 0x34);  // a message without a code leaves it
    EXPECT_EQ(zip.Message(), "info");

    // A text that fills the whole field without a terminator.
    std::memset(rec.Text, 'x', sizeof rec.Text);
    ZipCallback(&rec);
    EXPECT_EQ(zip.Message().size(), sizeof rec.Text);

    zip.SetCancel(true);
    rec.ActionCode = kUnpackAdvance;
    EXPECT_EQ(ZipCallback(&rec), -1);
}

}  // namespace
}  // namespace ziptest
