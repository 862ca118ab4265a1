// List of an arbitrary file: the end-record search, the directory read and the name conversion.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzScratch.h"
#include "tools/common/ZipWriter.h"
#include "zip/ZipFront.h"

namespace {

const std::string& Scratch() {
    return FuzzScratch("ziplist");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = Scratch() + "/input.zip";
    TZipWriter::SaveFile(path, std::string(reinterpret_cast<const char*>(data), size));
    TZipFront zip;
    zip.SetUnattended(true);
    int reports = 0;
    zip.OnMessage = [&](void*, int, const std::string&) { ++reports; };
    zip.SetZipFilename(path);
    // Every entry's name must have come from inside the input: as long as its record says, or
    // shorter where a UTF-8 name (flagged, or from a Unix host) became cp1252.
    for (const ZipDirEntry& e : zip.Contents()) {
        const bool maybeUtf8 = (e.Flag & 0x0800) || e.MadeByVersion >> 8 == 3;
        if (e.FileName.size() > e.FileNameLength || (!maybeUtf8 && e.FileName.size() != e.FileNameLength))
            abort();
    }
    if (zip.Count() > 0 && size < 22) abort();
    return 0;
}
