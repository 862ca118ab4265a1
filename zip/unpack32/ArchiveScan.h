#pragma once
// The unpack library's own look at the central directory, made before libzip extracts anything: it
// finds where the archive starts behind a prefix and refuses archives whose entries overlap (the
// construction that lets a small archive inflate to gigabytes) or point outside the file.

#include <cstdint>
#include <string>
#include <vector>

namespace unpack32 {

struct TScanEntry {
    uint64_t LocalOffset = 0;  // from the archive's start (behind any prefix)
    uint64_t Compressed = 0;
    uint64_t Size = 0;
    uint64_t DataOffset = 0;  // where the compressed data starts in the file
    uint16_t Flags = 0;
    uint16_t NameLength = 0;
};

struct TArchiveScan {
    uint64_t Start = 0;  // bytes of prefix in front of the archive that its offsets do not count
    std::vector<TScanEntry> Entries;
    std::string Error;  // empty when the directory is sound
    bool Overlap = false;
};

// Reads the directory of the open file descriptor fd (file size fileSize).
TArchiveScan ScanArchive(int fd, uint64_t fileSize);

}  // namespace unpack32
