#pragma once
// The program start: the single-instance guard, the application and its title, the four windows in
// their order, the message loop. main() and the whole-program tests go through TProgramStart.
//
//   TProgramStart start(options);
//   if (!start.AcquireInstance()) return 0;  // a menu runs already: end silently
//   if (!start.CreateWindows()) return 1;    // the initialisation failed (error box shown)
//   return start.Run();
#include <memory>
#include <string>
#include <vector>

#include "gui/backend/Backend.h"
#include "platform/AppPaths.h"

namespace gui {
class TApplication;
}  // namespace gui

class TMainForm;

// cdmenu [--data DIR] [--root DIR] [--headless] [--scale F] [--fonts DIR] [--script FILE] [--preview OUTDIR]
struct TStartOptions {
    std::string dataDir;       // --data
    std::string rootDir;       // --root
    bool headless = false;     // --headless (also CDMENU_HEADLESS=1)
    double scale = 0;          // --scale F (also CDMENU_SCALE=F), 1 to 8; 0: the desktop's factor
    bool accelerated = false;  // CDMENU_ACCELERATED=1: present through the GPU
    std::string fontsDir;      // --fonts: fonts from this folder only
    std::string script;        // --script
    std::string preview;       // --preview
    std::string programFile;   // the program file when it is not the running one (tests)
    bool help = false;         // --help
    std::string launchFolder;  // the current folder when the options were read
};

// The one reader of the program's options: the command line over the environment (CDMENU_HEADLESS,
// CDMENU_SCALE, CDMENU_ACCELERATED). Throws std::invalid_argument with a message for the user for an
// unknown option, a missing value or a scale that is neither 0 nor a factor from 1 to 8.
TStartOptions ParseStartOptions(int argc, const char* const* argv);
std::string StartUsage();

// The paths the program runs with, fixed before the first window is made.
const platform::AppPaths& ProgramPaths();

inline constexpr const char* kInstanceName = "vorlap";

class TProgramStart {
public:
    explicit TProgramStart(TStartOptions options);
    ~TProgramStart();

    // Step 1: headless runs switch to the recording services first (they must never meet a real
    // menu); then the lock "vorlap". False: another menu runs; the caller ends with 0 at once.
    bool AcquireInstance();
    // Step 2-3: backend (the given one, else from the options), application, title, paths, and the
    // windows: main window, search dialog, full-screen view, target-folder dialog. False when the
    // main window's initialisation failed; its error box has been shown.
    bool CreateWindows(std::unique_ptr<gui::Backend> backend = nullptr);
    // Step 4: the message loop until the main window closes. Returns the exit code.
    int Run();

    const TStartOptions& Options() const { return options_; }
    gui::TApplication* App() const { return app_.get(); }
    TMainForm* Main() const { return main_; }

private:
    TStartOptions options_;
    std::unique_ptr<gui::TApplication> app_;
    TMainForm* main_ = nullptr;
};
