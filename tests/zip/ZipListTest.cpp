// List: the end-record search, the directory read, names and comments, and every damaged archive
// ending in its numbered message.
#include <gtest/gtest.h>

#include <functional>

#include "base/Cp1252.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipMessages.h"

namespace ziptest {
namespace {

TZipWriter Sample() {
    TZipWriter w;
    w.AddFile("readme.txt", std::string(3000, 'r'));
    w.AddFile("bin/tool.dat", "0123456789", TZipWriter::TMethod::Stored);
    w.AddFolder("empty");
    return w;
}

using ListTest = ZipTest;

TEST_F(ListTest, MissingArchiveIsSilentButExtractReports10102) {
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(Path("nothing.zip"));
    EXPECT_EQ(dirUpdates_, 1);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(zip.ErrCode(), 0);
    zip.Extract();
    EXPECT_EQ(zip.ErrCode(), 10102);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Fehler - keine Archivdatei angegeben !");
}

TEST_F(ListTest, ReadsEntriesWithAndWithoutComment) {
    TZipWriter w = Sample();
    w.Entries()[1].Comment = "the tool";
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(Save(w, "plain.zip"));
    EXPECT_EQ(zip.ErrCode(), 0);
    ASSERT_EQ(zip.Count(), 3);
    EXPECT_EQ(zip.Contents()[0].FileName, "readme.txt");
    EXPECT_EQ(zip.Contents()[0].UncomprSize, 3000u);
    EXPECT_EQ(zip.Contents()[0].ComprMethod, 8);
    EXPECT_EQ(zip.Contents()[1].FileName, "bin\\tool.dat");
    EXPECT_EQ(zip.Contents()[1].FileComment, "the tool");
    EXPECT_EQ(zip.Contents()[1].CRC32, TZipWriter::Crc32("0123456789"));
    EXPECT_EQ(zip.Contents()[2].FileName, "empty\\");
    EXPECT_EQ(zip.ArchiveComment(), "");
    EXPECT_FALSE(zip.Spanned());
    EXPECT_EQ(zip.DataStart(), 0);
    EXPECT_EQ(dirUpdates_, 1);

    // The longest comment an end record can carry, found by the backward search.
    w.Comment = std::string(65535, 'c');
    w.Comment[0] = 'X';
    zip.SetZipFilename(Save(w, "comment.zip"));
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(zip.Count(), 3);
    EXPECT_EQ(zip.ArchiveComment(), w.Comment);

    // An empty archive is just its end record.
    zip.SetZipFilename(Save(TZipWriter(), "empty.zip"));
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(zip.Count(), 0);
    EXPECT_EQ(zip.DataStart(), 0);
}

TEST_F(ListTest, TrailingZerosUpToTheNextSectorAreAcceptedOtherDataWarns) {
    TZipWriter w = Sample();
    size_t size = w.Build().size();
    TZipFront zip;
    Wire(zip);

    w.Trailing = std::string(512 - size % 512, '\0');
    zip.SetZipFilename(Save(w, "padded.zip"));
    EXPECT_EQ(zip.ErrCode(), 0);
    EXPECT_EQ(zip.Count(), 3);

    // Zeros, but the file does not end on a sector: unknown data.
    w.Trailing = std::string(512 - size % 512 + 1, '\0');
    zip.SetZipFilename(Save(w, "odd.zip"));
    EXPECT_EQ(zip.ErrCode(), 10204);
    EXPECT_EQ(zip.Count(), 3);

    w.Trailing = std::string(512 - size % 512, '\0');
    w.Trailing[3] = 'x';
    zip.SetZipFilename(Save(w, "garbage.zip"));
    EXPECT_EQ(zip.ErrCode(), 10204);
    EXPECT_EQ(zip.Count(), 3);
    EXPECT_EQ(zip.Contents()[1].FileName, "bin\\tool.dat");
}

TEST_F(ListTest, PrefixIsCorrectedWith10203AndStillListed) {
    TZipWriter w = Sample();
    w.Prefix = std::string(1000, 'M');
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(Save(w, "stub.zip"));
    EXPECT_EQ(zip.ErrCode(), 10203);
    ASSERT_EQ(zip.Count(), 3);
    EXPECT_EQ(zip.Contents()[2].FileName, "empty\\");

    // A self-extractor whose offsets count the stub is consistent: no warning, data starts behind it.
    w.PrefixShiftsOffsets = true;
    TZipFront sfx;
    Wire(sfx);
    sfx.SetZipFilename(Save(w, "sfx.zip"));
    EXPECT_EQ(sfx.ErrCode(), 0);
    EXPECT_EQ(sfx.Count(), 3);
    EXPECT_EQ(sfx.DataStart(), 1000);
}

TEST_F(ListTest, DamagedArchivesEndInTheirMessage) {
    struct TCase {
        const char* what;
        std::function<std::string()> bytes;
        int id;
    };
    std::vector<TCase> cases = {
        {"central signature",
         [] {
             TZipWriter w = Sample();
             w.Entries()[1].BadCentralSignature = true;
             return w.Build();
         },
         11015},
        {"end record cut off",
         [] {
             std::string b = Sample().Build();
             return b.substr(0, b.size() - 10);
         },
         11036},
        {"not a zip at all", [] { return std::string(5000, 'z'); }, 11036},
        {"tiny file", [] { return std::string("PK"); }, 11036},
        {"more entries than the directory holds",
         [] {
             TZipWriter w = Sample();
             w.EndTotalEntries = 40;
             return w.Build();
         },
         11013},
        {"directory larger than the file",
         [] {
             TZipWriter w = Sample();
             w.EndDirectorySize = 0x7FFFFF00;
             return w.Build();
         },
         10201},
        {"comment longer than the file",
         [] {
             TZipWriter w = Sample();
             w.Comment = "short";
             w.EndCommentLength = 4000;
             return w.Build();
         },
         11036},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TZipFront zip;
        Wire(zip);
        dirUpdates_ = 0;
        zip.SetZipFilename(SaveBytes(c.bytes(), "bad.zip"));
        EXPECT_EQ(zip.ErrCode(), c.id);
        EXPECT_EQ(zip.Message(), ZipMessage(c.id));
        EXPECT_EQ(dirUpdates_, 1);
    }

    // A directory cut short on the only volume: the entries before the cut are kept.
    TZipWriter w = Sample();
    w.EndTotalEntries = 4;
    std::string bytes = w.Build();
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(SaveBytes(bytes, "short.zip"));
    EXPECT_NE(zip.ErrCode(), 0);
    EXPECT_EQ(zip.Count(), 3);
}

TEST_F(ListTest, NamesFromDosHostsAreConvertedFromOem) {
    const std::string oemName =
        "b\x81"
        "cher\x84.txt";  // "bücherä" in code page 850
    TZipWriter w;
    w.AddFile(oemName, "a").VersionMadeBy = 20;                                 // FAT
    w.AddFile(oemName, "b").VersionMadeBy = (TZipWriter::kHostUnix << 8) | 20;  // Unix
    w.AddFile(oemName, "c").VersionMadeBy = (TZipWriter::kHostNtfs << 8) | 50;  // NTFS 5.0
    w.AddFile(oemName, "d").VersionMadeBy = (TZipWriter::kHostHpfs << 8) | 20;  // HPFS
    w.Entries()[0].Comment = "\x8E";                                            // Ä
    std::string path = Save(w, "oem.zip");
    const std::string ansi = base::Cp("bücherä.txt");

    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(path);
    ASSERT_EQ(zip.Count(), 4);
    EXPECT_EQ(zip.Contents()[0].FileName, ansi);
    EXPECT_EQ(zip.Contents()[0].FileComment, base::Cp("Ä"));
    EXPECT_EQ(zip.Contents()[1].FileName, oemName);
    EXPECT_EQ(zip.Contents()[2].FileName, ansi);
    EXPECT_EQ(zip.Contents()[3].FileName, ansi);

    zip.SetCodePage(TCodePageDirection::cpNone);
    zip.SetZipFilename(path);
    EXPECT_EQ(zip.Contents()[0].FileName, oemName);
    EXPECT_EQ(zip.Contents()[3].FileName, ansi);  // HPFS converts whatever the setting

    zip.SetCodePage(TCodePageDirection::cpOEM);
    zip.SetZipFilename(path);
    EXPECT_EQ(zip.Contents()[1].FileName, ansi);
}

TEST_F(ListTest, ErrCodeSurvivesLaterSuccessAndLoadingDefersList) {
    TZipFront zip;
    Wire(zip);
    zip.SetZipFilename(SaveBytes("no archive here", "bad.zip"));
    EXPECT_EQ(zip.ErrCode(), 11036);
    zip.SetZipFilename(Save(Sample(), "good.zip"));
    EXPECT_EQ(zip.Count(), 3);
    EXPECT_EQ(zip.ErrCode(), 11036);  // never reset by the component

    TZipFront loading;
    Wire(loading);
    dirUpdates_ = 0;
    loading.BeginLoading();
    loading.SetZipFilename(Path("good.zip"));
    EXPECT_EQ(loading.Count(), 0);
    EXPECT_EQ(dirUpdates_, 0);
    loading.Loaded();
}

TEST_F(ListTest, SettersKeepTheirLimits) {
    TZipFront zip;
    // The version is the library's own: what a caller sets is not taken.
    const std::string version = zip.VersionInfo();
    zip.SetVersionInfo(version + "9");
    EXPECT_EQ(zip.VersionInfo(), version);
    // A folder keeps no trailing separator, so that the library's name can be appended.
    zip.SetDLLDirectory("C:\\libs\\");
    EXPECT_EQ(zip.DLLDirectory(), "C:\\libs");
    zip.SetDLLDirectory("C:\\libs");
    EXPECT_EQ(zip.DLLDirectory(), "C:\\libs");
    // A password is cut to what the unpack library takes.
    zip.SetPassword(std::string(300, 'p'));
    EXPECT_EQ(zip.Password(), std::string(255, 'p'));
    zip.SetPassword("kurz");
    EXPECT_EQ(zip.Password(), "kurz");
}

}  // namespace
}  // namespace ziptest
