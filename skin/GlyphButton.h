#pragma once
// TGlyphButton: a small borderless tool button (20x20) that shows one image of an image list
// centred, without caption, shows its hint and raises OnClick. Hovering lays a soft light plate
// with a thin frame under the glyph; pressing darkens the plate and nudges the glyph by a pixel.
// A disabled button shows the embossed glyph and ignores clicks.
#include "gui/GraphicControl.h"
#include "gui/ImageList.h"
#include "gui/PressTracker.h"

namespace skin {

class TGlyphButton : public gui::TGraphicControl {
public:
    explicit TGlyphButton(gui::TComponent* owner);
    ~TGlyphButton() override;

    gui::TImageList* ImageList() const { return imageList_; }
    void SetImageList(gui::TImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    bool Hot() const { return MouseInside(); }
    bool Down() const { return press_.Held(); }

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Click() override;

protected:
    void Paint() override;
    void EnabledChanged() override;
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    gui::TImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    gui::TPressTracker press_{*this};
};

}  // namespace skin
