#pragma once
// THintWindow: the small framed popup that shows a control's hint.
#include "gui/Form.h"

namespace gui {

class THintWindow : public TForm {
public:
    explicit THintWindow(TComponent* owner);

    // Sizes the window to text and shows it with its top-left at a screen point.
    void ActivateHint(TPoint screen, const std::string& text);
    bool IsPopup() const override { return true; }

protected:
    void Paint() override;
    void EraseBackground(TCanvas& canvas) override;
};

}  // namespace gui
