#pragma once
// The "advanced colours" of the flat controls: a lighter or darker shade of a base colour,
// computed in hue-saturation-lightness space on the 0..240 scale.
#include "gfx/Color.h"

namespace flat {

enum TColorCalcType { ctLighten, ctDarken };

// percent 0 returns `current` unchanged. Otherwise the base colour's lightness plus 10 moves by
// percent, darker not below 0, lighter not above 100 — so lightening an already light colour
// (lightness above 90 of 240) makes it darker; the flat controls have always looked like that.
gfx::TColor CalcAdvancedColor(gfx::TColor base, gfx::TColor current, int percent, TColorCalcType type);

}  // namespace flat
