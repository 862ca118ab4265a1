// cdmenu — the start menu of a software-collection disc.
#include <cstdio>
#include <stdexcept>

#include "app/Start.h"

int main(int argc, char** argv) {
    TStartOptions options;
    try {
        options = ParseStartOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "cdmenu: %s\n%s", e.what(), StartUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(StartUsage().c_str(), stdout);
        return 0;
    }

    TProgramStart start(options);
    // A second start ends at once: no window, no output.
    if (!start.AcquireInstance()) return 0;
    try {
        if (!start.CreateWindows()) return 1;
    } catch (const std::exception& e) {
        // No display, or no window could be made.
        std::fprintf(stderr, "cdmenu: %s\n", e.what());
        return 1;
    }

    // --preview OUTDIR and --script FILE hook in here (the preview renderer and the script runner).

    return start.Run();
}
