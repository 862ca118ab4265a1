#pragma once
// The folder a target writes its inputs into, made once per process: in memory (/dev/shm) where the
// system has it, since a target that writes every input to a disk runs at the disk's pace, and
// removed when the process ends.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline const std::string& FuzzScratch(const char* name) {
    static const std::string dir = [name] {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0
                                  ? fs::path("/dev/shm")
                                  : fs::temp_directory_path();
        std::string pattern = (base / (std::string("fuzz-") + name + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) abort();
        return pattern;
    }();
    static const bool removed = [] {
        return std::atexit([] {
                   std::error_code ec;
                   std::filesystem::remove_all(dir, ec);
               }) == 0;
    }();
    (void)removed;
    return dir;
}
