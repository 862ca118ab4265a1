#include <gtest/gtest.h>

#include <filesystem>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "base/MemoryStream.h"

using namespace base;

TEST(Stream, ShortReadsRaiseOnlyInReadBuffer) {
    TMemoryStream m;
    m.WriteString("abcdef");
    EXPECT_EQ(m.Size(), 6);
    m.SetPosition(4);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2);  // plain Read reports what it got
    m.SetPosition(4);
    try {
        m.ReadBuffer(buf, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream-Read-Fehler");
    }
    m.SetPosition(0);
    EXPECT_EQ(m.ReadU16(), 0x6261);
    m.Seek(-1, TSeekOrigin::soEnd);
    EXPECT_EQ(m.ReadU8(), 'f');
    EXPECT_THROW(m.ReadU8(), EReadError);
    m.SetPosition(2);
    EXPECT_THROW(m.ReadString(5), EReadError);  // a length beyond the data is refused up front
}

TEST(Stream, CopyFromCopiesExactlyCountAndNothingForZeroOrLess) {
    TMemoryStream src;
    src.WriteString("0123456789");
    src.SetPosition(3);
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(src, 0), 0);
    EXPECT_EQ(dst.CopyFrom(src, -5), 0);
    EXPECT_EQ(dst.Size(), 0);
    EXPECT_EQ(src.Position(), 3);
    EXPECT_EQ(dst.CopyFrom(src, 4), 4);
    EXPECT_EQ(std::string(dst.Bytes().begin(), dst.Bytes().end()), "3456");
    EXPECT_EQ(src.Position(), 7);
    EXPECT_THROW(dst.CopyFrom(src, 4), EReadError);  // only 3 left
}

TEST(Stream, FileStreamReadsWritesAndRefusesMissingFiles) {
    auto dir = std::filesystem::temp_directory_path() / ("fs_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string name = (dir / "x.bin").string();
    {
        TFileStream f(name, TFileStream::fmCreate);
        f.WriteU32(0x11223344);
        f.WriteString("xyz");
    }
    {
        TFileStream f(name, TFileStream::fmOpenRead);
        EXPECT_EQ(f.Size(), 7);
        EXPECT_EQ(f.ReadU32(), 0x11223344u);
        f.Seek(1, TSeekOrigin::soCurrent);
        char b[4];
        EXPECT_THROW(f.ReadBuffer(b, 3), EReadError);
    }  // closed before its folder is removed: Windows keeps an open file
    EXPECT_THROW(TFileStream((dir / "none").string(), TFileStream::fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(dir.string(), TFileStream::fmOpenRead), EFOpenError);  // a folder
    std::filesystem::remove_all(dir);
}
