#pragma once
// A fresh folder below $TMPDIR for one test, removed with everything in it afterwards.
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "cdmenu-platform-XXXXXX").string();
        // Resolved, so that paths compare equal to what realpath() gives the code under test.
        path_ = std::filesystem::canonical(mkdtemp(tmpl.data())).string();
    }
    ~TempDir() {
        std::error_code ec;
        // Folders made read-only by a test must become writable again to be removed.
        for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            if (e.is_directory(ec)) chmod(e.path().c_str(), 0755);
        chmod(path_.c_str(), 0755);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

    // Writes a file (creating its folders) and returns its path.
    std::string Write(const std::string& rel, const std::string& content, mode_t mode = 0644) const {
        std::string p = *this / rel;
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary) << content;
        chmod(p.c_str(), mode);
        return p;
    }
    std::string MakeDir(const std::string& rel) const {
        std::string p = *this / rel;
        std::filesystem::create_directories(p);
        return p;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    std::string path_;
};
