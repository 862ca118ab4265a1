#pragma once
// Win32Backend: windows on Windows through the Win32 API alone. Back buffers are made at the
// monitor's factor and shown with GDI as they are (SetDIBitsToDevice); input is mapped back to
// logical pixels. A shaped window gets its outline as the
// window region, and the skin's drag areas answer the hit test as the caption.
#include <memory>

#include "gui/backend/Backend.h"

namespace gui {

std::unique_ptr<Backend> CreateWin32Backend(const BackendOptions& options);

// The factor for a display density in dpi (LogPixels): dpi / 96 in quarter steps, 1 to 4.
double Win32DensityScale(int dpi);

}  // namespace gui
