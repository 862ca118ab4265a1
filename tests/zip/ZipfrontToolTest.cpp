// The zipfront command and the library's long command record, both as outsiders use them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>

#include "platform/DynLib.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/Unpack32.h"

namespace ziptest {
namespace {

struct TRun {
    int status;
    std::string output;  // stdout and stderr
};

TRun RunTool(const std::string& arguments) {
    std::string command =
        "'" + (fs::path(ZipTest::BuildFolder()) / "zipfront").string() + "' " + arguments + " 2>&1";
    TRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

using ToolTest = ZipTest;

TEST_F(ToolTest, ListExtractAndJoinFromTheCommandLine) {
    TZipWriter w;
    w.AddFile("docs/liesmich.txt", "Hallo");
    std::string data(70000, '\0');
    uint32_t x = 1;
    for (char& c : data) c = char((x = x * 1103515245u + 12345u) >> 24);
    w.AddFile("bin/data.bin", data);
    w.Comment = "Heft 7";
    std::string archive = Save(w, "a.zip");

    TRun list = RunTool("list '" + archive + "'");
    EXPECT_EQ(list.status, 0) << list.output;
    EXPECT_NE(list.output.find("docs\\liesmich.txt"), std::string::npos);
    EXPECT_NE(list.output.find("entries: 2"), std::string::npos);
    EXPECT_NE(list.output.find("comment: Heft 7"), std::string::npos);

    TRun extract = RunTool("extract '" + archive + "' '" + Path("out") + "'");
    EXPECT_EQ(extract.status, 0) << extract.output;
    EXPECT_EQ(ReadFile(Path("out/docs/liesmich.txt")), "Hallo");
    EXPECT_TRUE(SameBytes(ReadFile(Path("out/bin/data.bin")), w.Entries()[1].Data));

    fs::create_directories(Path("set"));
    std::vector<std::string> volumes = w.SaveSplit(Path("set/heft001.zip"), 20000);
    ASSERT_GE(volumes.size(), 2u);
    TRun join = RunTool("join '" + volumes.front() + "' '" + Path("joined.zip") + "'");
    EXPECT_EQ(join.status, 0) << join.output;
    EXPECT_TRUE(SameBytes(ReadFile(Path("joined.zip")), w.Build()));

    TRun bad = RunTool("list '" + SaveBytes("kein Archiv", "bad.zip") + "'");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("[11036]"), std::string::npos) << bad.output;
    EXPECT_EQ(RunTool("frobnicate").status, 2);
}

TEST_F(ToolTest, LibraryTakesTheLongRecordWithItsPatterns) {
    TZipWriter w;
    w.AddFile("a.txt", "a");
    w.AddFile("b.txt", "b");
    w.AddFile("c.dat", "c");
    std::string archive = Save(w, "l.zip");
    platform::DynLib lib;
    ASSERT_TRUE(lib.Load((fs::path(LibraryFolder()) / "libunpack32.so").string())) << lib.Error();
    auto exec = lib.Function<TUnpackExec>("UnpackExec");
    ASSERT_NE(exec, nullptr);

    auto record = std::make_unique<TUnpackCmdLong>();
    std::memset(record.get(), 0, sizeof(TUnpackCmdLong));
    record->Head.Version = 110;
    record->Head.DirNames = -1;
    record->Head.Reserved40 = -1;
    record->Head.ZipFilename = archive.c_str();
    record->Head.PatternCount = 2;
    record->Seven = 7;
    record->Patterns[0] = "b.txt";
    record->Patterns[1] = "*.dat";
    fs::create_directories(Path("long"));
    fs::path previous = fs::current_path();
    fs::current_path(Path("long"));
    int32_t count = exec(record.get());
    fs::current_path(previous);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Tree(Path("long")), (std::vector<std::string>{"b.txt", "c.dat"}));
}

}  // namespace
}  // namespace ziptest
