#pragma once
// TGroupBox: a frame with a caption in its top edge, holding controls.
#include "gui/CustomControl.h"

namespace gui {

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);
    ~TGroupBox() override;

    TRect ClientRect() const override;  // inside the frame, below the caption

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
};

}  // namespace gui
