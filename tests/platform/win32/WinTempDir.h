#pragma once
// A fresh folder below the system's temporary folder for one test, removed afterwards. Paths are
// native: UTF-8 with '/' separators.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// A path from UTF-8 text (the narrow constructor would read the system's code page).
inline std::filesystem::path U8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class WinTempDir {
public:
    WinTempDir() {
        std::random_device seed;
        std::mt19937_64 rng(seed());
        namespace fs = std::filesystem;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            fs::path p = fs::temp_directory_path() / ("cdmenu-win-" + std::to_string(rng() % 1000000000));
            std::error_code ec;
            if (fs::create_directory(p, ec)) path_ = fs::canonical(p).generic_u8string();
        }
    }
    ~WinTempDir() {
        namespace fs = std::filesystem;
        std::error_code ec;
        // Read-only files made by a test must become writable again to be removed.
        for (auto& e : fs::recursive_directory_iterator(Path(), ec))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(Path(), ec);
    }
    WinTempDir(const WinTempDir&) = delete;
    WinTempDir& operator=(const WinTempDir&) = delete;

    std::string Path() const { return std::string(path_.begin(), path_.end()); }
    std::string operator/(const std::string& rel) const { return Path() + "/" + rel; }

    std::string Write(const std::string& rel, const std::string& content) const {
        std::string p = *this / rel;
        std::filesystem::create_directories(U8Path(p).parent_path());
        std::ofstream(U8Path(p), std::ios::binary) << content;
        return p;
    }
    std::string MakeDir(const std::string& rel) const {
        std::string p = *this / rel;
        std::filesystem::create_directories(U8Path(p));
        return p;
    }
    std::string Read(const std::string& rel) const {
        std::ifstream in(U8Path(*this / rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::u8string path_;
};
