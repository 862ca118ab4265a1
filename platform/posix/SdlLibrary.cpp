#include "platform/SdlLibrary.h"

#include <dlfcn.h>

#include <mutex>

#include "platform/AppPaths.h"

namespace platform {

namespace {

constexpr const char* kSoname = "libSDL2-2.0.so.0";
// The newest function the window and the sound use (SDL 2.0.18): an older system SDL, as Debian 11
// and Ubuntu 20.04 have, must not hide the newer copy in lib/.
constexpr const char* kNewestNeeded = "SDL_GetTicks64";

struct State {
    std::mutex mutex;
    bool tried = false;
    void* handle = nullptr;
    std::string error;
    int attempts = 0;
    std::vector<std::string> testCandidates;
};

State& TheState() {
    static State state;
    return state;
}

}  // namespace

std::vector<std::string> SdlLibrary::Candidates(const std::string& programDir) {
    std::vector<std::string> out{kSoname};
    if (!programDir.empty()) {
        std::string dir = programDir;
        if (dir.back() != '/') dir += '/';
        out.push_back(dir + "lib/" + kSoname);
    }
    return out;
}

void* SdlLibrary::Open() {
    State& s = TheState();
    std::lock_guard lock(s.mutex);
    if (s.tried) return s.handle;
    s.tried = true;
    ++s.attempts;
    std::vector<std::string> candidates = s.testCandidates;
    if (candidates.empty()) {
        const std::string program = AppPaths::RunningProgram();
        candidates = Candidates(program.substr(0, program.rfind('/') + 1));
    }
    s.error.clear();
    for (const std::string& file : candidates) {
        dlerror();
        // The bare name is searched by the system (LD_LIBRARY_PATH, the cache, the default folders);
        // a packaged program carries no run path of its own, so its lib/ is asked only after that.
        s.handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (s.handle && dlsym(s.handle, kNewestNeeded)) {
            s.error.clear();
            return s.handle;
        }
        std::string why;
        if (s.handle) {
            why = file + " ist zu alt (es fehlt " + kNewestNeeded + ")";
            dlclose(s.handle);
            s.handle = nullptr;
        } else {
            const char* text = dlerror();
            why = text ? text : file;
        }
        if (!s.error.empty()) s.error += "; ";
        s.error += why;
    }
    return nullptr;
}

const std::string& SdlLibrary::Error() {
    return TheState().error;
}

int SdlLibrary::LoadAttempts() {
    State& s = TheState();
    std::lock_guard lock(s.mutex);
    return s.attempts;
}

void SdlLibrary::SetCandidatesForTest(std::vector<std::string> files) {
    State& s = TheState();
    std::lock_guard lock(s.mutex);
    s.testCandidates = std::move(files);
    s.tried = false;
    s.handle = nullptr;
}

}  // namespace platform
