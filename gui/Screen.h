#pragma once
// TScreen: the screen as the framework sees it (global `Screen`, made by TApplication for the
// application's lifetime, which answers through THost).
#include <vector>

#include "gui/Consts.h"
#include "gui/Control.h"

namespace gui {

class TForm;
class THost;
class TWinControl;

class TScreen {
public:
    explicit TScreen(THost& host) : host_(host) {}

    int Width() const;
    int Height() const;
    int ColorDepth() const;  // bits per pixel
    // A cursor other than crDefault overrides every control's own (e.g. crHourGlass while busy).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    TForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const;
    TForm* Forms(int index) const;
    TPoint CursorPos() const;  // screen
    // The control under a screen point (the topmost form there, its deepest enabled control).
    TControl* ControlAtPos(TPoint screen) const;
    TControl* ControlAtCursor() const { return ControlAtPos(CursorPos()); }

private:
    THost& host_;
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;

}  // namespace gui
