#include "base/Paths.h"

#include <gtest/gtest.h>

using namespace base;

TEST(Paths, WindowsFormParts) {
    EXPECT_EQ(ExtractFileDrive("D:\\Spiele\\tetris.exe"), "D:");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\dir\\a.txt"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\share"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDrive("\\dir\\a"), "");
    EXPECT_EQ(ExtractFileDrive("rel\\a"), "");

    EXPECT_EQ(ExtractFilePath("D:\\Spiele\\tetris.exe"), "D:\\Spiele\\");
    EXPECT_EQ(ExtractFilePath("D:tetris.exe"), "D:");
    EXPECT_EQ(ExtractFilePath("tetris.exe"), "");
    EXPECT_EQ(ExtractFileDir("D:\\Spiele\\tetris.exe"), "D:\\Spiele");
    EXPECT_EQ(ExtractFileDir("D:\\tetris.exe"), "D:\\");
    EXPECT_EQ(ExtractFileName("D:\\Spiele\\tetris.exe"), "tetris.exe");
    EXPECT_EQ(ExtractFileExt("D:\\Spiele\\SETUP.ZIP"), ".ZIP");
    EXPECT_EQ(ExtractFileExt("D:\\a.b\\noext"), "");
    EXPECT_EQ(ChangeFileExt("a\\b.txt", ".dat"), "a\\b.dat");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x"), "C:\\x\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\x\\"), "C:\\x");
}

TEST(Paths, NativeForm) {
    EXPECT_EQ(WindowsToNativeSeparators("a\\b\\c"), "a/b/c");
    EXPECT_EQ(NativeToWindowsSeparators("a/b"), "a\\b");
    EXPECT_EQ(ExtractNativeFilePath("/mnt/cd/x.txt"), "/mnt/cd/");
    EXPECT_EQ(ExtractNativeFileName("/mnt/cd/x.txt"), "x.txt");
    EXPECT_EQ(JoinNativePath("/mnt/cd/", "/x"), "/x");
    EXPECT_EQ(JoinNativePath("/mnt/cd", "x"), "/mnt/cd/x");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), "/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}
