// ReadSpan over an arbitrary split set: the input is cut into up to four volume files (the first
// bytes give the cut points) and joined into one archive. The volumes are named set001.zip,
// set002.zip, … or, with bit 2 of the first byte, as Info-ZIP's "zip -s" names them: set.z01, …,
// set.zip.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzScratch.h"
#include "tools/common/ZipWriter.h"
#include "zip/ZipFront.h"

namespace {

const std::string& Scratch() {
    return FuzzScratch("readspan");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(Scratch(), ec)) fs::remove_all(entry.path(), ec);

    size_t volumes = 1 + data[0] % 4;
    size_t header = 1 + 2 * (volumes - 1);
    if (size < header) return 0;
    std::string rest(reinterpret_cast<const char*>(data + header), size - header);
    std::vector<std::string> names;
    size_t at = 0;
    for (size_t v = 0; v < volumes; ++v) {
        size_t length = v + 1 < volumes ? size_t(data[1 + 2 * v] | (data[2 + 2 * v] << 8)) : rest.size();
        length = std::min(length, rest.size() - at);
        if (data[0] & 4) {
            char ext[8];
            std::snprintf(ext, sizeof ext, ".z%02d", int(v + 1));
            names.push_back(Scratch() + "/set" + (v + 1 < volumes ? ext : ".zip"));
        } else {
            names.push_back(TZipWriter::VolumeName(Scratch() + "/set001.zip", int(v + 1)));
        }
        TZipWriter::SaveFile(names.back(), rest.substr(at, length));
        at += length;
    }
    TZipFront zip;
    zip.SetUnattended(true);
    std::string out = Scratch() + "/joined.zip";
    int result = zip.ReadSpan(names.back(), out);
    // A failed join leaves no output behind; a successful one names it.
    if (result != 0 && (!out.empty() || fs::exists(Scratch() + "/joined.zip"))) abort();
    if (result == 0 && !fs::exists(out)) abort();
    if (zip.Busy()) abort();
    return 0;
}
