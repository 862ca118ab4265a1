// Loading libraries by their Windows names: beside the program first, then the system's search.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/DynLib.h"
#include "tests/platform/win32/WinTempDir.h"

using platform::DynLib;

TEST(DynLibWin32, CandidatesKeepTheWindowsName) {
    EXPECT_EQ(DynLib::Candidates("UNPACK32.DLL", "C:/menu"),
              (std::vector<std::string>{"C:/menu/UNPACK32.DLL", "UNPACK32.DLL"}));
    EXPECT_EQ(DynLib::Candidates(" unpack32.dll ", "C:\\menu\\"),
              (std::vector<std::string>{"C:/menu/unpack32.dll", "unpack32.dll"}));
    EXPECT_EQ(DynLib::Candidates("helper.dll", ""), (std::vector<std::string>{"helper.dll"}));
    EXPECT_EQ(DynLib::Candidates("C:\\x\\y.dll", "C:/menu"), (std::vector<std::string>{"C:/x/y.dll"}));
    EXPECT_TRUE(DynLib::Candidates("  ", "C:/menu").empty());
}

TEST(DynLibWin32, LoadsFindsSymbolsAndExplainsFailures) {
    DynLib lib;
    ASSERT_TRUE(lib.Load("kernel32.dll", "C:/nowhere")) << lib.Error();
    EXPECT_EQ(lib.LoadedFrom(), "kernel32.dll");  // not beside the program: the system found it
    EXPECT_NE(lib.Symbol("GetTickCount"), nullptr);
    EXPECT_EQ(lib.Symbol("NoSuchFunctionAnywhere"), nullptr);
    EXPECT_NE(lib.Error().find("NoSuchFunctionAnywhere"), std::string::npos) << lib.Error();

    // A copy beside the program wins over the system's search.
    WinTempDir t;
    const char* systemRoot = std::getenv("SystemRoot");
    ASSERT_NE(systemRoot, nullptr);
    std::filesystem::copy_file(std::filesystem::path(systemRoot) / "system32" / "version.dll",
                               U8Path(t / "version.dll"));
    DynLib beside;
    ASSERT_TRUE(beside.Load("version.dll", t.Path())) << beside.Error();
    EXPECT_EQ(beside.LoadedFrom(), t / "version.dll");
    EXPECT_NE(beside.Function<void (*)()>("GetFileVersionInfoSizeW"), nullptr);
    beside.Unload();
    EXPECT_FALSE(beside.Loaded());

    DynLib missing;
    EXPECT_FALSE(missing.Load("nosuchlib.dll", t.Path()));
    EXPECT_NE(missing.Error().find(t / "nosuchlib.dll"), std::string::npos) << missing.Error();
    t.Write("junk.dll", "not a program file");
    EXPECT_FALSE(missing.Load(t / "junk.dll"));
    EXPECT_FALSE(missing.Loaded());
    EXPECT_EQ(missing.Symbol("x"), nullptr);
}
