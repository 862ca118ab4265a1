#include "platform/DynLib.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "tests/platform/TempDir.h"

using platform::DynLib;

namespace {

// The file the system loader found for zlib, as a full path.
std::string ZlibFile() {
    Dl_info info{};
    void* sym = reinterpret_cast<void*>(&zlibVersion);
    if (!dladdr(sym, &info) || !info.dli_fname) return {};
    return info.dli_fname;
}

}  // namespace

TEST(DynLib, FindsLibrariesByTheirWindowsName) {
    EXPECT_EQ(DynLib::Candidates("UNPACK32.DLL", "/opt/menu"),
              (std::vector<std::string>{"/opt/menu/libunpack32.so", "libunpack32.so"}));
    EXPECT_EQ(DynLib::Candidates(" unpack32.dll ", "/opt/menu/"),
              (std::vector<std::string>{"/opt/menu/libunpack32.so", "libunpack32.so"}));
    EXPECT_EQ(DynLib::Candidates("Helper", ""), (std::vector<std::string>{"libhelper.so"}));
    EXPECT_EQ(DynLib::Candidates("libz.so.1", "/opt/menu"),
              (std::vector<std::string>{"/opt/menu/libz.so.1", "libz.so.1"}));
    EXPECT_EQ(DynLib::Candidates("/usr/lib/x.so", "/opt/menu"), (std::vector<std::string>{"/usr/lib/x.so"}));
    EXPECT_TRUE(DynLib::Candidates("   ", "/opt").empty());
}

TEST(DynLib, LoadsLooksUpAndUnloads) {
    TempDir t;
    DynLib lib;
    // By the system's search, then a symbol that can be called.
    ASSERT_TRUE(lib.Load("libz.so.1", t.Path())) << lib.Error();
    EXPECT_EQ(lib.LoadedFrom(), "libz.so.1");
    auto version = lib.Function<const char* (*)()>("zlibVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), zlibVersion());
    EXPECT_EQ(lib.Symbol("NoSuchEntryPoint"), nullptr);
    EXPECT_NE(lib.Error().find("NoSuchEntryPoint"), std::string::npos);

    // By full path.
    const std::string zlib = ZlibFile();
    ASSERT_FALSE(zlib.empty());
    DynLib full;
    ASSERT_TRUE(full.Load(zlib)) << full.Error();
    EXPECT_NE(full.Symbol("zlibVersion"), nullptr);

    // By the Windows name, beside the program before anything else.
    std::filesystem::copy_file(zlib, t / "libunpack32.so");
    DynLib beside;
    ASSERT_TRUE(beside.Load("UNPACK32.DLL", t.Path())) << beside.Error();
    EXPECT_EQ(beside.LoadedFrom(), t / "libunpack32.so");
    EXPECT_NE(beside.Symbol("deflate"), nullptr);

    // Moving hands the handle over; unloading empties.
    DynLib moved = std::move(beside);
    EXPECT_TRUE(moved.Loaded());
    EXPECT_FALSE(beside.Loaded());  // NOLINT(bugprone-use-after-move): the moved-from state is under test
    moved.Unload();
    EXPECT_FALSE(moved.Loaded());
    EXPECT_EQ(moved.Symbol("deflate"), nullptr);
    EXPECT_EQ(moved.Error(), "no library loaded");

    // A missing library names every place that was tried.
    DynLib missing;
    EXPECT_FALSE(missing.Load("NOSUCHLIB.DLL", t.Path()));
    EXPECT_FALSE(missing.Loaded());
    EXPECT_NE(missing.Error().find(t / "libnosuchlib.so"), std::string::npos) << missing.Error();
    EXPECT_NE(missing.Error().find("; "), std::string::npos) << missing.Error();
    // A file that is not a library is refused with the loader's reason.
    t.Write("libjunk.so", "not an ELF file");
    EXPECT_FALSE(missing.Load(t / "libjunk.so"));
    EXPECT_FALSE(missing.Error().empty());
}
