#include "gui/Screen.h"

#include "gui/Host.h"

namespace gui {

TScreen* Screen = nullptr;

int TScreen::Width() const {
    return host_.TheBackend().ScreenWidth();
}

int TScreen::Height() const {
    return host_.TheBackend().ScreenHeight();
}

int TScreen::ColorDepth() const {
    return host_.TheBackend().ColorDepth();
}

void TScreen::SetCursor(TCursor c) {
    if (c == cursor_) return;
    cursor_ = c;
    host_.UpdateCursor();
}

TForm* TScreen::ActiveForm() const {
    return host_.ActiveForm();
}

TWinControl* TScreen::ActiveControl() const {
    return host_.ActiveControl();
}

int TScreen::FormCount() const {
    return int(host_.Forms().size());
}

TForm* TScreen::Forms(int index) const {
    return host_.Forms().at(size_t(index));
}

TPoint TScreen::CursorPos() const {
    return host_.TheBackend().CursorPos();
}

TControl* TScreen::ControlAtPos(TPoint screen) const {
    return host_.ControlAtPos(screen);
}

}  // namespace gui
