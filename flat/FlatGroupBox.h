#pragma once
// TFlatGroupBox: a frame of one-pixel lines with the caption in a gap of its top line, holding
// child controls. Border brFull draws the whole frame, brOnlyTopLine only the top line.
#include "flat/FlatLook.h"
#include "flat/FlatUtils.h"
#include "gui/CustomControl.h"

namespace flat {

enum TGroupBoxBorder { brFull, brOnlyTopLine };

class TFlatGroupBox : public gui::TCustomControl {
public:
    explicit TFlatGroupBox(gui::TComponent* owner);
    ~TFlatGroupBox() override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    gfx::TColor ColorBorder() const { return look_.Slot(0); }
    void SetColorBorder(gfx::TColor c) { look_.SetSlot(0, c); }
    TGroupBoxBorder Border() const { return border_; }
    void SetBorder(TGroupBoxBorder v);
    int AdvColorBorder() const { return look_.Advanced(0); }
    void SetAdvColorBorder(int percent) { look_.SetAdvanced(0, percent); }
    bool UseAdvColors() const { return look_.UseAdvanced(); }
    void SetUseAdvColors(bool v) { look_.SetUseAdvanced(v); }
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v);

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void EraseBackground(gfx::TCanvas&) override {}
    void FontChanged() override;
    void ColorChanged() override;
    void ParentColorChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    void PaintBox(gfx::TCanvas& canvas);

private:
    void Redraw();

    TFlatLook look_;  // one slot: the border
    bool transparent_ = false;
    TGroupBoxBorder border_ = brFull;
    TBiDiMode biDiMode_ = bdLeftToRight;
    TOffscreen offscreen_;  // reused from paint to paint
};

}  // namespace flat
