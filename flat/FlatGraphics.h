#pragma once
// The bitmaps built into the program for the flat controls, looked up by resource name:
// "THUMB_UP_ENABLED", "THUMB_DOWN_ENABLED", "THUMB_LEFT_ENABLED", "THUMB_RIGHT_ENABLED" and the
// same four ending in "_DISABLED" — the arrows of the flat scroll bar.
#include <string_view>

#include "gfx/Bitmap.h"

namespace flat {

// The named bitmap; an empty bitmap for a name that is not built in.
gfx::TBitmap LoadFlatGlyph(std::string_view name);

}  // namespace flat
