#include "gui/backend/sdl/DisplayScale.h"

#include <algorithm>
#include <cstring>

#include "gui/backend/Backend.h"

namespace gui {

int OutputScaleOf(int windowWidth, int windowHeight, int pixelWidth, int pixelHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || pixelWidth <= 0 || pixelHeight <= 0) return 1;
    // Both directions must agree; a fractional output scale rounds to the nearest whole one.
    const int across = (pixelWidth + windowWidth / 2) / windowWidth;
    const int down = (pixelHeight + windowHeight / 2) / windowHeight;
    if (across != down || across < 1) return 1;
    return across;
}

double AnnouncedDpi(const char* videoDriver, double xftDpi, int outputScale) {
    if (!videoDriver) return 0;
    if (std::strcmp(videoDriver, "x11") == 0) return xftDpi > 0 ? xftDpi : 0;
    if (std::strcmp(videoDriver, "wayland") == 0) return outputScale >= 1 ? 96.0 * outputScale : 0;
    return 0;
}

double DensityScale(int gdkScale, double xftDpi, double physicalDpi) {
    if (gdkScale >= 1) return std::clamp(gdkScale, 1, 4);
    if (xftDpi > 0) return SnapScale(xftDpi / 96.0);
    return physicalDpi >= 168.0 ? SnapScale(physicalDpi / 96.0) : 1.0;
}

WindowScale SplitScale(double scale, int outputScale) {
    if (!(scale >= 1)) scale = 1;
    if (outputScale <= 1) return {scale, false, scale};
    return {scale / outputScale, true, scale};
}

}  // namespace gui
