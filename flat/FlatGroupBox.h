#pragma once
// TFlatGroupBox: a frame of one-pixel lines with the caption in a gap of its top line, holding
// child controls. Border brFull draws the whole frame, brOnlyTopLine only the top line.
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
    gfx::TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(gfx::TColor c);
    TGroupBoxBorder Border() const { return border_; }
    void SetBorder(TGroupBoxBorder v);
    int AdvColorBorder() const { return advColorBorder_; }
    void SetAdvColorBorder(int percent);
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool v);
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
    void CalcAdvColors();

    bool transparent_ = false;
    gfx::TColor colorBorder_;
    TGroupBoxBorder border_ = brFull;
    int advColorBorder_ = 50;
    bool useAdvColors_ = false;
    TBiDiMode biDiMode_ = bdLeftToRight;
};

}  // namespace flat
