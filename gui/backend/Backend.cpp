#include "gui/backend/Backend.h"

#include "gui/backend/headless/HeadlessBackend.h"
#ifdef _WIN32
#include "gui/backend/win32/Win32Backend.h"
#else
#include "gui/backend/sdl/SdlBackend.h"
#endif

namespace gui {

std::unique_ptr<Backend> CreateBackend(const BackendOptions& options) {
    if (options.headless) return std::make_unique<HeadlessBackend>(options.scale > 0 ? options.scale : 1.0);
#ifdef _WIN32
    return CreateWin32Backend(options);
#else
    return CreateSdlBackend(options);
#endif
}

}  // namespace gui
