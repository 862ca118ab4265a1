#pragma once
// SdlBackend: windows on a real display through SDL2. Back buffers, made at the desktop's factor
// (or --scale F), are shown through each window's surface as they are (no GPU unless asked); input
// is mapped back to logical pixels.
#include <memory>

#include "gui/backend/Backend.h"

namespace gui {

// Throws std::runtime_error with a user-readable message when SDL cannot open the display.
std::unique_ptr<Backend> CreateSdlBackend(const BackendOptions& options);

}  // namespace gui
