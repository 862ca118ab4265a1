#pragma once
// Writes the files of the disc under its root folder, creating folders on the way, and keeps the
// list of what was written.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class DiscFiles {
public:
    explicit DiscFiles(std::filesystem::path root);

    const std::filesystem::path& Root() const { return root_; }
    // relative uses "/" as separator.
    void Write(std::string_view relative, std::string_view bytes, bool executable = false);
    void Write(std::string_view relative, const std::vector<uint8_t>& bytes) {
        Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    void MakeFolder(std::string_view relative);
    const std::vector<std::string>& Written() const { return written_; }

private:
    std::filesystem::path root_;
    std::vector<std::string> written_;
};
