#include "tools/makedisc/DiscFiles.h"

#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

DiscFiles::DiscFiles(fs::path root) : root_(std::move(root)) {
    fs::create_directories(root_);
}

void DiscFiles::Write(std::string_view relative, std::string_view bytes, bool executable) {
    const fs::path path = root_ / fs::path(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out.close();
    auto perms =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    if (executable) perms |= fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(path, perms, fs::perm_options::replace);
    written_.emplace_back(relative);
}

void DiscFiles::MakeFolder(std::string_view relative) {
    fs::create_directories(root_ / fs::path(relative));
}
