// The catalogue as the menu reads it from disc: daten.txt in pieces (here tiny ones, so that lines
// straddle pieces and outgrow the buffer) must give the same search results and the same program
// pages as the file read whole. The page walk follows progname.txt: its categories, their programs,
// then each program's record. Layout: flags byte, piece size byte, term length byte, term, then
// progname.txt and daten.txt split at the first zero byte.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/Catalogue.h"
#include "base/Exceptions.h"
#include "tests/fuzz/FuzzScratch.h"
#include "tools/common/ZipWriter.h"

namespace {

const std::string& Scratch() {
    return FuzzScratch("catalogue");
}

// The record or the error text, so that both ways can be compared.
struct Page {
    std::optional<TProgramRecord> record;
    std::string error;
};

template <class F>
Page Build(F find) {
    Page page;
    try {
        page.record = find();
    } catch (const base::Exception& e) {
        page.error = e.Message();
    }
    return page;
}

bool Same(const Page& a, const Page& b) {
    if (a.error != b.error || a.record.has_value() != b.record.has_value()) return false;
    if (!a.record) return true;
    const TProgramRecord &x = *a.record, &y = *b.record;
    return x.Facts == y.Facts && x.Screenshot == y.Screenshot && x.Install == y.Install &&
           x.Start == y.Start && x.Features == y.Features && x.Description == y.Description;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const bool matchCase = data[0] & 1, all = data[0] & 2;
    const size_t piece = 1 + data[1] % 64;
    const size_t termLength = std::min<size_t>(data[2], size - 3);
    const std::string term(reinterpret_cast<const char*>(data + 3), termLength);
    const std::string rest(reinterpret_cast<const char*>(data + 3 + termLength), size - 3 - termLength);
    const size_t cut = rest.find('\0');
    const std::string progname = rest.substr(0, cut);
    const std::string daten = cut == std::string::npos ? rest : rest.substr(cut + 1);
    const std::string datenFile = Scratch() + "/daten.txt";
    TZipWriter::SaveFile(datenFile, daten);
    const TCatalogue catalogue(daten);

    if (SearchCatalogueFile(datenFile, term, matchCase, piece) != SearchCatalogue(catalogue, term, matchCase))
        __builtin_trap();

    auto same = [&](std::string_view program, std::string_view category, bool everywhere) {
        Page fromFile =
            Build([&] { return FindProgramRecordFile(datenFile, program, category, everywhere, piece); });
        Page whole = Build([&] { return FindProgramRecord(catalogue, program, category, everywhere); });
        if (!Same(fromFile, whole)) __builtin_trap();
    };
    same(term, term, all);

    // The pages a visitor can open, bounded so that one input stays quick.
    const TCatalogue names(progname);
    const std::vector<std::string> categories = ReadCategoryList(names);
    for (size_t c = 0; c < categories.size() && c < 4; ++c) {
        const std::vector<std::string> programs = ReadCategoryPrograms(names, categories[c]);
        for (size_t p = 0; p < programs.size() && p < 8; ++p) same(programs[p], categories[c], false);
    }

    // The stored paths come from the head of the file; each is a path without its drive.
    for (const std::string& path : SampleStoredPaths(daten, 8))
        if (path.empty() || path.find('\n') != std::string::npos) __builtin_trap();
    return 0;
}
