#include "tests/zip/ZipTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace ziptest {

void ZipTest::SetUp() {
    // A fresh folder of its own; create_directory fails when the name is taken.
    std::random_device seed;
    std::mt19937_64 rng(seed());
    for (int attempt = 0; attempt < 100 && dir_.empty(); ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("ziptest-" + std::to_string(rng() % 1000000000));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) dir_ = candidate;
    }
    ASSERT_FALSE(dir_.empty());
}

void ZipTest::TearDown() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string ZipTest::Save(const TZipWriter& writer, const std::string& name) {
    writer.Save(Path(name));
    return Path(name);
}

std::string ZipTest::SaveBytes(const std::string& bytes, const std::string& name) {
    TZipWriter::SaveFile(Path(name), bytes);
    return Path(name);
}

std::string ZipTest::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> ZipTest::Tree(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator();
         ++it) {
        std::string rel = fs::relative(it->path(), folder).generic_string();
        if (it->is_directory() && !it->is_symlink()) rel += '/';
        names.push_back(rel);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ZipTest::LibraryFolder() {
    if (const char* build = std::getenv("CDMENU_BUILD")) return build;
    // Run by hand: the test program lies in <build>/tests.
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().string();
}

void ZipTest::Wire(TZipFront& zip) {
    zip.SetUnattended(true);
    zip.SetDLLDirectory(LibraryFolder());
    zip.OnMessage = [this, &zip](void*, int code, const std::string& text) {
        messages_.push_back({code, zip.ErrCode(), text});
    };
    zip.OnDirUpdate = [this](TZipFront*) { ++dirUpdates_; };
}

void ZipTest::WireOnDrives(TZipFront& zip, platform::FakeVolume& volume, bool attended) {
    Wire(zip);
    if (attended) zip.SetUnattended(false);
    zip.SetVolume(&volume);
    zip.SetTempDir(Path("tmp"));
}

}  // namespace ziptest
