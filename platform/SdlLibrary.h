#pragma once
// SDL2, loaded when something first needs it (a window or a sound): a headless menu never maps it
// with its sixty-odd dependencies, and a system without SDL still runs the menu headless. The
// system's SDL comes first; a packaged program falls back to the copy in lib/ beside it.
#include <string>
#include <vector>

namespace platform {

class SdlLibrary {
public:
    // The library's handle, opened on the first call; nullptr (with Error() set) when no candidate
    // loads. Later calls give the first call's answer. Never unloaded: SDL's threads outlive callers.
    static void* Open();
    static const std::string& Error();
    // How often Open tried to load SDL: 0 means nothing in this process touched it.
    static int LoadAttempts();

    // Where Open looks, in order: the system's search, then programDir/lib.
    static std::vector<std::string> Candidates(const std::string& programDir);
    // Tests: look only at these files (forgets an earlier answer; empty restores the usual ones).
    static void SetCandidatesForTest(std::vector<std::string> files);
};

}  // namespace platform
