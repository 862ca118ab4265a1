#pragma once
// A face rendered by FreeType. Metrics follow the window system: the cell is the face's
// Windows ascent + descent, each rounded to whole pixels; a positive font height fixes the cell exactly.
#include "gfx/FontFace.h"

struct FT_FaceRec_;
typedef struct FT_FaceRec_* FT_Face;  // NOLINT: as FreeType declares it
struct FT_SizeRec_;
typedef struct FT_SizeRec_* FT_Size;  // NOLINT: as FreeType declares it

namespace gfx {

class TFreeTypeFace : public TFontFace {
public:
    // Draws face at its own size; face is shared by every size of its file and must outlive this
    // object. cellHeight > 0 fixes ascent + descent to exactly that many pixels.
    TFreeTypeFace(FT_Face face, double em, int cellHeight, bool antialias, bool synthBold, bool synthItalic);
    ~TFreeTypeFace() override;
    TFreeTypeFace(const TFreeTypeFace&) = delete;
    TFreeTypeFace& operator=(const TFreeTypeFace&) = delete;

    const TFontMetrics& Metrics() const override { return metrics_; }

protected:
    TGlyph Render(unsigned char c) override;

private:
    FT_Face face_;
    FT_Size size_ = nullptr;
    bool antialias_;
    bool synthBold_;
    bool synthItalic_;
    double emPixels_ = 0;
    TFontMetrics metrics_;
};

}  // namespace gfx
