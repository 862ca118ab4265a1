#pragma once
// TGroupBox: a frame with a caption in its top edge, holding controls.
#include "gui/CustomControl.h"

namespace gui {

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);
    ~TGroupBox() override;

protected:
    void Paint() override;
    void AlignControls(TRect& rect) override;  // children align inside the frame
    void TextChanged() override;
    void FontChanged() override;
};

}  // namespace gui
