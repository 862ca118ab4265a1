#pragma once
// Shared set-up of the zip tests: a scratch folder per test, archives written there by TZipWriter,
// and a TZipFront that records its messages and finds the unpack library in the build folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FakeVolume.h"
#include "tools/common/ZipWriter.h"
#include "zip/ZipFront.h"

namespace ziptest {

namespace fs = std::filesystem;

struct TRecorded {
    int errCode;  // the code passed to OnMessage
    int id;       // the component's ErrCode right after the message
    std::string text;
};

// Equality of large contents without printing them when they differ.
inline ::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure()
           << "sizes " << actual.size() << " and " << expected.size() << ", first difference at byte " << at;
}

class ZipTest : public ::testing::Test {
public:
    static std::string LibraryFolder();
    static std::string BuildFolder() { return LibraryFolder(); }

protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file in the scratch folder, in the program's native form ('/' also on Windows).
    std::string Path(const std::string& name) const { return (dir_ / name).generic_string(); }
    std::string Save(const TZipWriter& writer, const std::string& name);
    std::string SaveBytes(const std::string& bytes, const std::string& name);
    static std::string ReadFile(const std::string& path);
    // Files below folder, relative, '/'-separated, sorted (folders end in '/').
    static std::vector<std::string> Tree(const std::string& folder);

    // Wires zip to record messages and to find the library of this build.
    void Wire(TZipFront& zip);
    // Wired, on the given drives, with its temporary folder "tmp"; attended: a user to ask.
    void WireOnDrives(TZipFront& zip, platform::FakeVolume& volume, bool attended);

    fs::path dir_;
    std::vector<TRecorded> messages_;
    int dirUpdates_ = 0;
};

}  // namespace ziptest
