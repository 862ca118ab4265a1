#pragma once
// Win32Backend: windows on Windows through the Win32 API alone. Back buffers are shown with GDI
// (SetDIBitsToDevice, or StretchDIBits at an integer scale on a high-density display or with
// --scale N); input is mapped back to logical pixels. A shaped window gets its outline as the
// window region, and the skin's drag areas answer the hit test as the caption.
#include <memory>

#include "gui/backend/Backend.h"

namespace gui {

std::unique_ptr<Backend> CreateWin32Backend(const BackendOptions& options);

// The integer scale for a display density in dpi: the Linux build's rule (1 below 168 dpi, else
// the nearest whole multiple of 96, from 2 to 4).
int Win32DensityScale(int dpi);

}  // namespace gui
