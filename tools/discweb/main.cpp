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

#include "tools/discweb/WebEdition.h"

namespace {

const char* const kUsage = "usage: discweb DISC OUTDIR [--base-url URL]\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> positional;
    TWebOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--base-url" && i + 1 < argc) {
            options.baseUrl = argv[++i];
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "discweb: unknown option " << a << "\n" << kUsage;
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        std::cerr << kUsage;
        return 2;
    }
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
