// discweb DISC OUTDIR [--base-url URL]
//
// Writes the web edition of a disc: OUTDIR/index.html and the folder OUTDIR/cdweb with a page per
// category and program, the search, the info page, the banners and small screenshots (see
// WebEdition.h). The pages link the disc's files relatively, so they work from the disc in any
// browser; --base-url makes those links point at the same paths under a web address instead.
//
// Exit codes: 0 written, nothing to report; 1 written with problems listed (what the pages cannot
// show), or the data could not be read or the pages not written; 2 usage.
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/CommandLine.h"
#include "tools/discweb/WebEdition.h"

namespace {

const char* const kUsage = "usage: discweb DISC OUTDIR [--base-url URL]\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> positional;
    TWebOptions options;
    const auto ended = tools::ReadCommandLine(argc, argv, "discweb", kUsage, 2, positional,
                                              [&](const std::string& a, int& i) {
                                                  if (a != "--base-url" || i + 1 >= argc) return false;
                                                  options.baseUrl = argv[++i];
                                                  return true;
                                              });
    if (ended) return *ended;
    options.disc = positional[0];
    options.out = positional[1];
    const auto start = std::chrono::steady_clock::now();
    TWebEdition edition(options);
    if (!edition.Write()) {
        std::cerr << "discweb: " << edition.Error() << "\n";
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "discweb: " << edition.Pages() << " pages written to " << options.out << " in " << seconds
              << " s\n";
    for (const std::string& n : edition.Notes()) std::cout << "discweb: note: " << n << "\n";
    if (edition.Problems().empty()) return 0;
    std::cerr << "discweb: " << edition.Problems().size()
              << (edition.Problems().size() == 1 ? " problem" : " problems")
              << " (the pages show the rest):\n";
    for (const std::string& p : edition.Problems()) std::cerr << "- " << p << "\n";
    return 1;
}
