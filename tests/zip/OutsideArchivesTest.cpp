// Archives made by other programs, at test time: Info-ZIP's zip (behind a stub, with trailing data,
// Zip64 with -fz, split with -s) and Python's zipfile (65,540 entries, offsets beyond 4 GB). Listing
// warnings must not turn a sound extraction into a failure; Zip64 directories are listed whole;
// split sets whose volumes lie side by side are joined without asking, whatever the drive.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "platform/FakeVolume.h"
#include "tests/zip/ZipTestSupport.h"

namespace ziptest {
namespace {

bool HaveTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

class OutsideTest : public ZipTest {
protected:
    // Runs a shell command in the scratch folder; true when it exits with 0.
    bool Shell(const std::string& command) {
        return std::system(("cd " + Quote(dir_.string()) + " && " + command + " >/dev/null 2>&1").c_str()) ==
               0;
    }
    bool Python(const std::string& script) {
        std::string file = Path("make.py");
        TZipWriter::SaveFile(file, script);
        return Shell("python3 " + Quote(file));
    }
    // src/ with a text, two random files (one in a folder) and an empty file.
    void MakeSource() {
        fs::create_directories(Path("src/sub"));
        std::mt19937 rng(11);
        std::string a(150000, '\0'), b(90000, '\0'), text;
        for (char& c : a) c = char(rng());
        for (char& c : b) c = char(rng());
        for (int i = 0; i < 3000; ++i) text += "Zeile " + std::to_string(i) + "\n";
        TZipWriter::SaveFile(Path("src/a.bin"), a);
        TZipWriter::SaveFile(Path("src/sub/b.bin"), b);
        TZipWriter::SaveFile(Path("src/text.txt"), text);
        TZipWriter::SaveFile(Path("src/empty.txt"), "");
    }
    // The menu's order of calls for one unpack; the result is ErrCode.
    int Unpack(TZipFront& zip, const std::string& archive, const std::string& folder) {
        std::error_code ec;
        fs::remove_all(Path(folder), ec);
        fs::create_directories(Path(folder));
        zip.ClearErrCode();
        zip.SetZipFilename(archive);
        zip.LoadUnzipLibrary();
        zip.FSpecArgs().Clear();
        zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
        zip.SetExtrBaseDir(Path(folder) + "/");
        zip.Extract();
        zip.UnloadUnzipLibrary();
        return zip.ErrCode();
    }
    ::testing::AssertionResult SameAsSource(const std::string& folder) {
        for (const char* name : {"src/a.bin", "src/sub/b.bin", "src/text.txt", "src/empty.txt"}) {
            std::string got = ReadFile(Path(folder + "/" + name));
            if (!fs::exists(Path(folder + "/" + name)) || got != ReadFile(Path(name)))
                return ::testing::AssertionFailure() << name << " differs or is missing in " << folder;
        }
        return ::testing::AssertionSuccess();
    }
    bool Warned(int id) const {
        return std::any_of(messages_.begin(), messages_.end(),
                           [id](const TRecorded& m) { return m.id == id; });
    }
};

TEST_F(OutsideTest, ListingWarningsLeaveASoundExtractionSuccessful) {
    if (!HaveTool("zip")) GTEST_SKIP() << "Info-ZIP zip is not installed";
    MakeSource();
    ASSERT_TRUE(Shell("zip -q -r plain.zip src && zip -q -r -fz zip64.zip src"));
    std::string stub = "MZ" + std::string(4000, '\x90');
    std::string plain = ReadFile(Path("plain.zip")), zip64 = ReadFile(Path("zip64.zip"));
    struct TCase {
        const char* what;
        std::string bytes;
        int listed;  // the listing's own result
    };
    std::vector<TCase> cases = {
        {"stub in front, offsets not counting it", stub + plain, 10203},
        {"trailing data", plain + "trailing junk", 10204},
        {"Zip64 end record and extra fields", zip64, 0},
        {"Zip64 behind a stub", stub + zip64, 10203},
        {"Zip64 with trailing data", zip64 + std::string(100, 'x'), 10204},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        messages_.clear();
        TZipFront zip;
        Wire(zip);
        zip.SetZipFilename(SaveBytes(c.bytes, "case.zip"));
        EXPECT_EQ(zip.ErrCode(), c.listed);
        ASSERT_EQ(zip.Count(), 6);  // src/, src/sub/ and four files
        EXPECT_EQ(Unpack(zip, Path("case.zip"), "out"), 0);
        EXPECT_EQ(Warned(10203), c.listed == 10203);
        EXPECT_EQ(zip.SuccessCount(), 4);
        EXPECT_TRUE(SameAsSource("out"));
    }

    // A warning does not hide a real failure of the extraction that follows it.
    TZipWriter w;
    w.AddFile("bad.txt", "content").DeclaredCrc = 1;
    w.Trailing = "junk";
    TZipFront zip;
    Wire(zip);
    EXPECT_EQ(Unpack(zip, Save(w, "bad.zip"), "bad"), 3);
    EXPECT_TRUE(Tree(Path("bad")).empty());

    // Nor does it hide an earlier failure that the caller did not clear.
    TZipFront kept;
    Wire(kept);
    kept.SetZipFilename(Path("nothing.zip"));
    kept.Extract();
    ASSERT_EQ(kept.ErrCode(), 10102);
    kept.SetZipFilename(SaveBytes(plain + "junk", "junk.zip"));
    EXPECT_EQ(kept.ErrCode(), 10204);
    kept.SetExtrBaseDir(Path("kept"));
    fs::create_directories(Path("kept"));
    kept.Extract();
    EXPECT_EQ(kept.ErrCode(), 10102);

    if (HaveTool("python3")) {
        // Python's zipfile behind a stub counts the stub in its offsets; with trailing data it warns.
        ASSERT_TRUE(
            Python("import zipfile, os\n"
                   "with open('py.zip', 'wb') as f:\n"
                   "    f.write(b'#!stub\\n' * 300)\n"
                   "    with zipfile.ZipFile(f, 'w', zipfile.ZIP_DEFLATED) as z:\n"
                   "        for root, dirs, files in os.walk('src'):\n"
                   "            for n in files: z.write(os.path.join(root, n))\n"
                   "    f.write(b'appended')\n"));
        messages_.clear();
        TZipFront py;
        Wire(py);
        py.SetZipFilename(Path("py.zip"));
        EXPECT_EQ(py.ErrCode(), 10204);
        EXPECT_EQ(Unpack(py, Path("py.zip"), "py"), 0);
        EXPECT_TRUE(SameAsSource("py"));
    }
}

TEST_F(OutsideTest, Zip64DirectoriesAreListedWhole) {
    if (!HaveTool("python3")) GTEST_SKIP() << "python3 is not installed";
    // More entries than a 16-bit count holds: the Zip64 end record has the true count.
    ASSERT_TRUE(
        Python("import zipfile\n"
               "with zipfile.ZipFile('many.zip', 'w') as z:\n"
               "    for i in range(65540): z.writestr('d%d/e%d.txt' % (i // 1000, i), str(i))\n"));
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(Path("many.zip"));
    EXPECT_EQ(zip.ErrCode(), 0);
    ASSERT_EQ(zip.Count(), 65540);
    EXPECT_EQ(zip.Contents()[65539].FileName, "d65\\e65539.txt");
    EXPECT_EQ(zip.Contents()[65539].UncomprSize64, 5u);
    EXPECT_TRUE(messages_.empty());

    // Entries beyond 4 GB (a sparse file): their offsets come from the Zip64 extra field.
    ASSERT_TRUE(
        Python("import zipfile\n"
               "with open('far.zip', 'wb') as f:\n"
               "    f.seek(5 << 30)\n"
               "    f.write(b'STUB')\n"
               "    with zipfile.ZipFile(f, 'w') as z:\n"
               "        z.writestr('a.txt', 'hello')\n"
               "        z.writestr('b/c.txt', 'x' * 1000)\n"));
    zip.SetZipFilename(Path("far.zip"));
    EXPECT_EQ(zip.ErrCode(), 0);
    ASSERT_EQ(zip.Count(), 2);
    EXPECT_EQ(zip.Contents()[0].RelOffLocalHdr, 0xFFFFFFFFu);
    EXPECT_EQ(zip.Contents()[0].RelOffLocalHdr64, (uint64_t(5) << 30) + 4);
    EXPECT_EQ(zip.Contents()[1].FileName, "b\\c.txt");
    EXPECT_EQ(zip.Contents()[1].UncomprSize64, 1000u);
    EXPECT_EQ(zip.DataStart(), INT32_MAX);
    fs::create_directories(Path("far"));
    zip.SetExtrBaseDir(Path("far"));
    zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames});
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(ReadFile(Path("far/b/c.txt")), std::string(1000, 'x'));

    // The command line tool lists them all.
    std::string command = Quote((fs::path(BuildFolder()) / "zipfront").string()) + " list " +
                          Quote(Path("many.zip")) + " > " + Quote(Path("list.txt"));
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::string listed = ReadFile(Path("list.txt"));
    EXPECT_NE(listed.find("entries: 65540\n"), std::string::npos);
    EXPECT_NE(listed.find("d65\\e65539.txt"), std::string::npos);
}

// A folder that the fake volume service reports as a drive of the given kind.
void MarkDrive(platform::FakeVolume& volume, const std::string& folder, platform::DriveType type) {
    platform::FakeVolume::Drive d;
    d.type = type;
    d.info.label = "CDMENU";
    d.space.totalBytes = uint64_t(4) << 30;
    volume.Set(folder, d);
}

TEST_F(OutsideTest, SplitSetsSideBySideAreJoinedWithoutAskingOnAnyDrive) {
    if (!HaveTool("zip")) GTEST_SKIP() << "Info-ZIP zip is not installed";
    MakeSource();
    fs::create_directories(Path("set"));
    ASSERT_TRUE(Shell("zip -q -r -s 64k set/prog.zip src"));
    ASSERT_TRUE(fs::exists(Path("set/prog.z03")));  // four volumes: .z01 to .z03 and .zip
    TZipWriter numbered;
    numbered.AddFile("n/data.bin", ReadFile(Path("src/a.bin")));
    numbered.AddFile("n/text.txt", ReadFile(Path("src/text.txt")));
    fs::create_directories(Path("num"));
    std::vector<std::string> volumes = numbered.SaveSplit(Path("num/prog001.zip"), 40000);
    ASSERT_GE(volumes.size(), 3u);
    fs::create_directories(Path("tmp"));

    for (platform::DriveType type :
         {platform::DriveType::kOptical, platform::DriveType::kRemovable, platform::DriveType::kFixed}) {
        SCOPED_TRACE(int(type));
        platform::FakeVolume volume;
        MarkDrive(volume, Path("set"), type);
        MarkDrive(volume, Path("num"), type);
        int prompts = 0;
        TZipFront zip;
        WireOnDrives(zip, volume, false);
        zip.AskForDisk = [&](const std::string&, bool) { return ++prompts, false; };
        for (bool unattended : {true, false}) {
            zip.SetUnattended(unattended);
            zip.SetZipFilename(Path("set/prog.zip"));
            EXPECT_EQ(zip.ErrCode(), 0);
            EXPECT_TRUE(zip.Spanned());
            EXPECT_EQ(zip.Count(), 6);
            EXPECT_EQ(Unpack(zip, Path("set/prog.zip"), "out"), 0);
            EXPECT_EQ(zip.SuccessCount(), 4);
            EXPECT_TRUE(SameAsSource("out"));

            EXPECT_EQ(Unpack(zip, volumes.back(), "numout"), 0);
            EXPECT_TRUE(SameBytes(ReadFile(Path("numout/n/data.bin")), ReadFile(Path("src/a.bin"))));
        }
        EXPECT_EQ(prompts, 0);
        EXPECT_TRUE(Tree(Path("tmp")).empty());
    }

    // The join of an Info-ZIP set is an archive that Info-ZIP's unzip accepts.
    TZipFront join;
    Wire(join);
    std::string joined = Path("joined.zip");
    EXPECT_EQ(join.ReadSpan(Path("set/prog.zip"), joined), 0);
    if (HaveTool("unzip")) {
        EXPECT_TRUE(Shell("unzip -tq joined.zip"));
    }
}

TEST_F(OutsideTest, OnlyMissingVolumesAreAskedFor) {
    if (!HaveTool("zip")) GTEST_SKIP() << "Info-ZIP zip is not installed";
    MakeSource();
    fs::create_directories(Path("set"));
    fs::create_directories(Path("tmp"));
    ASSERT_TRUE(Shell("zip -q -r -s 64k set/prog.zip src"));
    std::string second = ReadFile(Path("set/prog.z02"));
    fs::remove(Path("set/prog.z02"));
    platform::FakeVolume volume;
    MarkDrive(volume, Path("set"), platform::DriveType::kRemovable);

    // Nobody to ask: the missing volume ends the unpack.
    TZipFront unattended;
    WireOnDrives(unattended, volume, false);
    EXPECT_EQ(Unpack(unattended, Path("set/prog.zip"), "out"), 11025);
    EXPECT_TRUE(Tree(Path("tmp")).empty());

    // Attended: one prompt, for volume 2; the "inserted" medium holds it.
    TZipFront zip;
    WireOnDrives(zip, volume, true);
    std::vector<std::string> prompts;
    zip.AskForDisk = [&](const std::string& text, bool) {
        prompts.push_back(text);
        TZipWriter::SaveFile(Path("set/prog.z02"), second);
        return prompts.size() < 5;
    };
    EXPECT_EQ(Unpack(zip, Path("set/prog.zip"), "out"), 0);
    EXPECT_TRUE(SameAsSource("out"));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Bitte legen Sie Diskette 2 von 4 ein\nin Laufwerk: " + Path("set") + "/");
}

TEST_F(OutsideTest, JoinIsMadeInAPrivateFolderAndLeavesNothingBehind) {
    TZipWriter w;
    std::mt19937 rng(5);
    for (int i = 0; i < 8; ++i) {
        std::string data(3000, '\0');
        for (char& c : data) c = char(rng());
        w.AddFile("f" + std::to_string(i) + ".bin", data, TZipWriter::TMethod::Stored);
    }
    fs::create_directories(Path("set"));
    fs::create_directories(Path("tmp"));
    std::vector<std::string> volumes = w.SaveSplit(Path("set/prog001.zip"), 8192);
    ASSERT_GE(volumes.size(), 3u);
    TZipFront zip;
    Wire(zip);
    std::string out = Path("tmp") + "/";
    ASSERT_EQ(zip.ReadSpan(volumes.back(), out), 0);
    // The file lies in a folder of its own below the one given, which only we may enter.
    fs::path folder = fs::path(out).parent_path();
    EXPECT_EQ(folder.parent_path(), fs::path(Path("tmp")));
    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(lstat(out.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_TRUE(SameBytes(ReadFile(out), w.Build()));
    fs::remove_all(folder);

    // A failed join leaves neither file nor folder.
    fs::remove(volumes[1]);
    out = Path("tmp");
    EXPECT_EQ(zip.ReadSpan(volumes.back(), out), -7);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(Tree(Path("tmp")).empty());
}

}  // namespace
}  // namespace ziptest
