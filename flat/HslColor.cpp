#include "flat/HslColor.h"

#include "gfx/Hsl.h"

namespace flat {

gfx::TColor CalcAdvancedColor(gfx::TColor base, gfx::TColor current, int percent, TColorCalcType type) {
    if (percent == 0) return current;
    gfx::THsl hsl = gfx::ColorToHsl(base);
    int l = hsl.l + 10;
    if (type == ctDarken) {
        l = l - percent < 0 ? 0 : l - percent;
    } else {
        l = l + percent > 100 ? 100 : l + percent;
    }
    return gfx::HslToColor(hsl.h, hsl.s, l);
}

}  // namespace flat
