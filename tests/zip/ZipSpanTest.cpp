// Split sets: numbered volume files on fixed storage, disks with labels on removable drives, the
// join into one archive and the extraction of a joined set.
#include <gtest/gtest.h>

#include <random>

#include "platform/FakeVolume.h"
#include "tests/zip/ZipTestSupport.h"

namespace ziptest {
namespace {

TZipWriter SplitSample() {
    TZipWriter w;
    std::mt19937 rng(7);
    for (int i = 0; i < 30; ++i) {
        std::string data(size_t(500 + 397 * i), '\0');
        for (char& c : data) c = char(i % 3 ? rng() : 'a' + (rng() % 4));
        auto& e = w.AddFile("prog/file" + std::to_string(i) + ".dat", data,
                            i % 4 ? TZipWriter::TMethod::Deflated : TZipWriter::TMethod::Stored);
        e.DataDescriptor = i % 5 == 0;
        if (i == 4) e.Comment = "entry comment";
    }
    w.AddFolder("prog/empty");
    w.Comment = "set comment";
    return w;
}

using SpanTest = ZipTest;

TEST_F(SpanTest, FixedStorageSetIsJoinedByteIdenticallyAndExtracted) {
    TZipWriter w = SplitSample();
    fs::create_directories(Path("set"));
    std::vector<std::string> volumes = w.SaveSplit(Path("set/prog001.zip"), 16384);
    ASSERT_GE(volumes.size(), 4u);

    TZipFront zip;
    Wire(zip);
    zip.SetTempDir(Path("tmp"));
    fs::create_directories(Path("tmp"));
    zip.SetZipFilename(volumes.back());
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_TRUE(zip.Spanned());
    ASSERT_EQ(zip.Count(), 31);
    EXPECT_EQ(zip.Contents()[4].FileComment, "entry comment");
    EXPECT_EQ(zip.ArchiveComment(), "set comment");
    EXPECT_EQ(zip.DataStart(), 4);  // behind the split marker

    // The join is exactly the archive that was split.
    std::string joined = Path("joined.zip");
    std::vector<TProgressType> kinds;
    int64_t copied = 0, announced = 0;
    zip.OnProgress = [&](TZipFront*, TProgressType type, const std::string&, int64_t size) {
        kinds.push_back(type);
        if (type == pkAdvance) copied += size;
        if (type == pkByteTotal) announced = size;
    };
    EXPECT_EQ(zip.ReadSpan(volumes.back(), joined), 0);
    EXPECT_EQ(joined, Path("joined.zip"));
    EXPECT_TRUE(SameBytes(ReadFile(joined), w.Build()));
    EXPECT_EQ(kinds.front(), pkFileCount);
    EXPECT_EQ(kinds.back(), pkBatchEnd);
    EXPECT_GT(copied, 0);
    EXPECT_GT(announced, 0);
    EXPECT_EQ(zip.ErrCode(), 0);  // the copy notices are not errors

    // Extract joins into the temporary folder, unpacks and removes the joined copy.
    zip.OnProgress = nullptr;
    fs::create_directories(Path("out"));
    zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames, TExtrOptsEnum::ExtrOverWrite});
    zip.SetExtrBaseDir(Path("out"));
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(zip.SuccessCount(), 30);
    for (int i : {0, 7, 29})
        EXPECT_TRUE(SameBytes(ReadFile(Path("out/prog/file" + std::to_string(i) + ".dat")),
                              w.Entries()[size_t(i)].Data));
    EXPECT_TRUE(Tree(Path("tmp")).empty());
}

TEST_F(SpanTest, DirectorySpreadOverVolumesIsReadAcrossThem) {
    TZipWriter w = SplitSample();
    fs::create_directories(Path("small"));
    // Volumes smaller than the directory: it starts on one volume and ends on a later one.
    std::vector<std::string> volumes = w.SaveSplit(Path("small/prog001.zip"), 1024);
    std::string last = ReadFile(volumes.back());
    ASSERT_LT(last.size(), 2000u);
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(volumes.back());
    EXPECT_EQ(zip.ErrCode(), 0);
    ASSERT_EQ(zip.Count(), 31);
    EXPECT_EQ(zip.Contents()[30].FileName, "prog\\empty\\");
    std::string joined = Path("joined.zip");
    EXPECT_EQ(zip.ReadSpan(volumes.back(), joined), 0);
    EXPECT_TRUE(SameBytes(ReadFile(joined), w.Build()));
}

TEST_F(SpanTest, MissingOrWrongVolumesEndInTheirMessages) {
    TZipWriter w = SplitSample();
    fs::create_directories(Path("set"));
    fs::create_directories(Path("tmp"));
    std::vector<std::string> volumes = w.SaveSplit(Path("set/prog001.zip"), 16384);
    fs::remove(volumes[1]);

    TZipFront zip;
    Wire(zip);
    zip.SetTempDir(Path("tmp"));
    zip.SetZipFilename(volumes.back());
    EXPECT_EQ(zip.Count(), 31);
    zip.SetExtrBaseDir(Path("tmp"));
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 11001);
    EXPECT_EQ(zip.SuccessCount(), 0);
    EXPECT_TRUE(Tree(Path("tmp")).empty());
    EXPECT_FALSE(zip.Busy());

    // The first volume has no end record: the user is told to pick the last one.
    TZipFront first;
    Wire(first);
    first.SetZipFilename(volumes.front());
    EXPECT_EQ(first.ErrCode(), 11045);
    std::string out = Path("j.zip");
    EXPECT_EQ(first.ReadSpan(volumes.front(), out), -7);
    EXPECT_EQ(first.ErrCode(), 11037);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(fs::exists(Path("j.zip")));

    // A volume with a damaged local header.
    std::string bytes = ReadFile(volumes.front());
    bytes[4] = 'X';
    TZipWriter::SaveFile(volumes.front(), bytes);
    TZipWriter::SaveFile(volumes[1], w.BuildSplit(16384)[1]);
    out = Path("j.zip");
    EXPECT_EQ(first.ReadSpan(volumes.back(), out), -7);
    EXPECT_EQ(first.ErrCode(), 11014);
}

TEST_F(SpanTest, RemovableDisksArePromptedForAndRefusedUnattended) {
    TZipWriter w = SplitSample();
    std::vector<std::string> disks = w.BuildSplit(16384);
    ASSERT_GE(disks.size(), 3u);
    fs::create_directories(Path("drive"));
    fs::create_directories(Path("tmp"));
    platform::FakeVolume volume;
#ifdef _WIN32
    const std::string driveKey = Path("drive").substr(0, 2);  // Windows asks about the drive, "C:\"
#else
    const std::string driveKey = Path("drive");
#endif
    auto insert = [&](size_t n) {
        TZipWriter::SaveFile(Path("drive/prog.zip"), disks[n]);
        platform::FakeVolume::Drive d;
        d.type = platform::DriveType::kRemovable;
        char label[16];
        std::snprintf(label, sizeof label, "PKBACK# %03d", int(n + 1));
        d.info.label = label;
        d.space.totalBytes = 1440 * 1024;
        volume.Set(driveKey, d);
    };
    insert(disks.size() - 1);

    TZipFront unattended;
    WireOnDrives(unattended, volume, false);
    unattended.SetZipFilename(Path("drive/prog.zip"));
    EXPECT_EQ(unattended.Count(), 31);
    unattended.SetExtrBaseDir(Path("tmp"));
    unattended.Extract();
    EXPECT_EQ(unattended.ErrCode(), 11025);
    EXPECT_TRUE(Tree(Path("tmp")).empty());

    // Attended: each prompt names the disk; the test inserts it and answers OK.
    TZipFront zip;
    WireOnDrives(zip, volume, true);
    std::vector<std::string> prompts;
    zip.AskForDisk = [&](const std::string& text, bool stop) {
        prompts.push_back(text);
        size_t at = text.find("Diskette ");
        size_t n = stop ? disks.size() : size_t(std::stoi(text.substr(at + 9)));
        insert(n - 1);
        return prompts.size() < 100;  // a wrong disk would be asked for again and again
    };
    zip.SetZipFilename(Path("drive/prog.zip"));
    fs::create_directories(Path("out"));
    zip.SetExtrOptions({TExtrOptsEnum::ExtrDirNames});
    zip.SetExtrBaseDir(Path("out"));
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(zip.SuccessCount(), 30);
    EXPECT_TRUE(SameBytes(ReadFile(Path("out/prog/file29.dat")), w.Entries()[29].Data));
    ASSERT_GE(prompts.size(), disks.size() - 1);
    std::string root = Path("drive") + "/";
    EXPECT_EQ(prompts[0], "Bitte legen Sie Diskette 1 von " + std::to_string(disks.size()) +
                              " ein\nin Laufwerk: " + root);

    // Cancel at a prompt ends with 11007, not shown to the user.
    insert(disks.size() - 1);
    zip.AskForDisk = [](const std::string&, bool) { return false; };
    std::vector<std::string> shown;
    zip.ShowMessage = [&](const std::string& text) { shown.push_back(text); };
    zip.SetZipFilename(Path("drive/prog.zip"));
    zip.SetExtrBaseDir(Path("out"));
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 11007);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace ziptest
