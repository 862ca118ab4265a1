#pragma once
// TLabel: text on its parent. "&x" underlines x and makes Alt+x (or x, when the focused control
// takes no characters) focus FocusControl — unless ShowAccelChar is off, when "&" is shown as is.
// AutoSize (on by default) fits the control to the text (keeping the width when WordWrap is on).
#include <string>

#include "gui/GraphicControl.h"

namespace gui {

class TWinControl;

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    int FocusMarkOutset() const override { return 2; }  // a link's text starts at the edge
    explicit TLabel(TComponent* owner);
    ~TLabel() override;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c);

    bool DialogChar(char key) override;
    void AdjustBounds();  // apply AutoSize now

protected:
    void Paint() override;
    void Loaded() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* c, TOperation op) override;
    unsigned DrawTextFlags() const;

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

// The accelerator character of a caption ("&Datei" -> 'D', "&&" is no accelerator), 0 if none.
char AcceleratorChar(const std::string& caption);

}  // namespace gui
