#pragma once
// TFlatGroupBox: a frame of one-pixel lines with the caption in a gap of its top line, holding
// child controls. Border brFull draws the whole frame, brOnlyTopLine only the top line.
#include "flat/FlatColors.h"
#include "flat/FlatUtils.h"
#include "gui/CustomControl.h"

namespace flat {

enum TGroupBoxBorder { brFull, brOnlyTopLine };

// One colour slot: the border.
class TFlatGroupBox : public TFlatControl<-1, -1, 0> {
public:
    explicit TFlatGroupBox(gui::TComponent* owner);
    ~TFlatGroupBox() override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TGroupBoxBorder Border() const { return border_; }
    void SetBorder(TGroupBoxBorder v);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v);

    void SetBounds(int left, int top, int width, int height) override;
    // The caption is cut with "…" where its row is too narrow: at the box's right edge or before a
    // child that reaches into the row.
    bool CaptionShortened() const;

protected:
    void Paint() override;
    void EraseBackground(gfx::TCanvas&) override {}
    void EnabledChanged() override;
    void TextChanged() override;
    void PaintBox(gfx::TCanvas& canvas);

private:
    struct TCaptionLayout {
        gfx::TRect rect;  // where the caption may stand
        int height = 0;   // of the text
        int width = 0;    // of the text as drawn, "…" included
        bool shortened = false;
    };
    TCaptionLayout LayOutCaption(gfx::TCanvas& canvas) const;
    void Redraw();

    bool transparent_ = false;
    TGroupBoxBorder border_ = brFull;
    TBiDiMode biDiMode_ = bdLeftToRight;
    TOffscreen offscreen_;  // reused from paint to paint
};

}  // namespace flat
