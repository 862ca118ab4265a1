// cdmenu — the start menu of a software-collection disc.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "app/Preview.h"
#include "app/ScriptRunner.h"
#include "app/Start.h"
#include "gui/Application.h"
#include "platform/Heap.h"

namespace {

// For the start-up benchmarks (bench/disc_read.sh, startup-order.sh): CDMENU_AT_FIRST_FRAME=stop
// stops the process once its first frame is shown, =exit ends it there, so that what it has read
// and run until then can be counted with nothing after it.
void EndAtFirstFrame(gui::TApplication& app) {
    const char* at = std::getenv("CDMENU_AT_FIRST_FRAME");
    if (!at) return;
    const bool stop = std::string_view(at) == "stop";
    app.OnIdle = [stop](gui::TComponent*, bool& done) {
        done = true;
#ifdef SIGSTOP
        if (stop) std::raise(SIGSTOP);
#endif
        std::_Exit(stop ? 1 : 0);
    };
}

}  // namespace

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

    EndAtFirstFrame(*start.App());
    return start.Run();
}
