#include "gui/backend/Backend.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "gui/backend/headless/HeadlessBackend.h"
#ifdef _WIN32
#include "gui/backend/win32/Win32Backend.h"
#else
#include "gui/backend/sdl/SdlBackend.h"
#endif

namespace gui {

BackendOptions ParseBackendOptions(int argc, const char* const* argv) {
    BackendOptions o;
    if (const char* env = std::getenv("CDMENU_HEADLESS"); env && *env && std::strcmp(env, "0") != 0)
        o.headless = true;
    if (const char* env = std::getenv("CDMENU_SCALE"); env && *env) o.scale = std::atoi(env);
    if (const char* env = std::getenv("CDMENU_ACCELERATED"); env && *env && std::strcmp(env, "0") != 0)
        o.accelerated = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0)
            o.headless = true;
        else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
            o.scale = std::atoi(argv[++i]);
        else if (std::strncmp(argv[i], "--scale=", 8) == 0)
            o.scale = std::atoi(argv[i] + 8);
    }
    if (o.scale < 0) o.scale = 0;
    if (o.scale > 8) o.scale = 8;
    return o;
}

std::unique_ptr<Backend> CreateBackend(const BackendOptions& options) {
    if (options.headless) return std::make_unique<HeadlessBackend>();
#ifdef _WIN32
    return CreateWin32Backend(options);
#else
    return CreateSdlBackend(options);
#endif
}

}  // namespace gui
