#pragma once
// SdlBackend: windows on a real display through SDL2. Back buffers are shown through each window's
// surface (no GPU unless asked); on a high-density display, or with --scale N, every window is
// shown at an integer scale and input is mapped back to logical pixels.
#include <memory>

#include "gui/backend/Backend.h"

namespace gui {

// Throws std::runtime_error with a user-readable message when SDL cannot open the display.
std::unique_ptr<Backend> CreateSdlBackend(const BackendOptions& options);

}  // namespace gui
