// cdmenu — the start menu of a software-collection disc.
#include <cstdio>
#include <stdexcept>

#include "app/Preview.h"
#include "app/ScriptRunner.h"
#include "app/Start.h"
#include "platform/Heap.h"

int main(int argc, char** argv) {
    platform::PrepareHeap();
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

    // --preview OUTDIR renders every page and ends; --script FILE drives the running menu.
    if (!options.preview.empty()) return RunPreview(*start.App(), options.preview);
    if (!options.script.empty()) return RunScript(*start.App(), options.script, options.launchFolder);

    return start.Run();
}
