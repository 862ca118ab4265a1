#include "gui/backend/Backend.h"

#include <algorithm>
#include <cmath>

#include "gui/backend/headless/HeadlessBackend.h"
#ifdef _WIN32
#include "gui/backend/win32/Win32Backend.h"
#else
#include "gui/backend/sdl/SdlBackend.h"
#endif

namespace gui {

double SnapScale(double factor) {
    if (!(factor > 1.125)) return 1.0;
    return std::clamp(std::round(factor * 4) / 4, 1.0, 4.0);
}

double FitScale(double wanted, int width, int height, int areaWidth, int areaHeight) {
    if (!(wanted > 1) || width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return std::max(wanted, 1.0);
    const double room = std::min(double(areaWidth) / width, double(areaHeight) / height);
    if (wanted <= room) return wanted;
    return std::max(1.0, std::floor(room * 4) / 4);
}

std::unique_ptr<Backend> CreateBackend(const BackendOptions& options) {
    if (options.headless) return std::make_unique<HeadlessBackend>(options.scale > 0 ? options.scale : 1.0);
#ifdef _WIN32
    return CreateWin32Backend(options);
#else
    return CreateSdlBackend(options);
#endif
}

}  // namespace gui
