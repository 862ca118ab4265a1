#include "gui/Screen.h"

#include "gui/Application.h"
#include "gui/Form.h"

namespace gui {

TScreen* Screen = nullptr;

int TScreen::Width() const {
    return Application ? Application->TheBackend().ScreenWidth() : 0;
}

int TScreen::Height() const {
    return Application ? Application->TheBackend().ScreenHeight() : 0;
}

int TScreen::ColorDepth() const {
    return Application ? Application->TheBackend().ColorDepth() : 0;
}

void TScreen::SetCursor(TCursor c) {
    if (c == cursor_) return;
    cursor_ = c;
    if (Application) Application->UpdateCursor();
}

TForm* TScreen::ActiveForm() const {
    return Application ? Application->ActiveForm() : nullptr;
}

TWinControl* TScreen::ActiveControl() const {
    TForm* f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

int TScreen::FormCount() const {
    return Application ? int(Application->Forms().size()) : 0;
}

TForm* TScreen::Forms(int index) const {
    return Application ? Application->Forms().at(size_t(index)) : nullptr;
}

TPoint TScreen::CursorPos() const {
    return Application ? Application->TheBackend().CursorPos() : TPoint{};
}

TControl* TScreen::ControlAtPos(TPoint screen) const {
    if (!Application) return nullptr;
    // The active form first, then the others: the framework does not know the stacking of
    // other windows, and the active one is on top.
    const auto& forms = Application->Forms();
    TForm* active = Application->ActiveForm();
    auto hit = [&](TForm* f) -> TControl* {
        if (!f || !f->Visible() || f->IsPopup()) return nullptr;
        TPoint p{screen.X - f->Left(), screen.Y - f->Top()};
        if (!f->ClientRect().Contains(p)) return nullptr;
        return f->DeepestControlAt(p);
    };
    if (TControl* c = hit(active)) return c;
    // The range form needs libstdc++'s ranges, which clang 14 cannot parse.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if (*it != active)
            if (TControl* c = hit(*it)) return c;
    return nullptr;
}

}  // namespace gui
