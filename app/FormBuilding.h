#pragma once
// Small helpers the forms share while building their layouts in code.
#include "gfx/Font.h"
#include "gui/ImageList.h"
#include "gui/Screen.h"
#include "gui/WinControl.h"
#include "skin/SkinButton.h"

namespace layout {

inline gfx::TFont MakeFont(const char* name, int height, gfx::TColor color, gfx::TFontStyles style = 0) {
    gfx::TFont f;
    f.SetName(name);
    f.SetHeight(height);
    f.SetColor(color);
    f.SetStyle(style);
    return f;
}

// Creates a control owned by owner, named and placed on parent.
template <class T>
T* Place(gui::TComponent* owner, gui::TWinControl* parent, const char* name, int left, int top, int width,
         int height) {
    T* c = owner->Make<T>();
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

// A form's own control: the form owns it and is its parent.
template <class T>
T* Place(gui::TWinControl* form, const char* name, int left, int top, int width, int height) {
    return Place<T>(form, form, name, left, top, width, height);
}

// The captioned push button of the skin (pages and dialogs): the two-image list, white bold text.
inline skin::TSkinButton* MakeTextButton(gui::TComponent* owner, gui::TWinControl* parent, const char* name,
                                         int left, int top, int width, int height, gui::TImageList* images,
                                         int imageIndex, const char* caption) {
    auto* b = Place<skin::TSkinButton>(owner, parent, name, left, top, width, height);
    b->SetImageList(images);
    b->SetImageIndex(imageIndex);
    b->SetRoundWidth(15);
    b->SetTextDistance(5);
    b->SetAlignment(gui::taCenter);
    b->SetDisabledFontColor(gfx::clSilver);
    b->SetFont(MakeFont("MS Sans Serif", -11, gfx::clWhite, gfx::fsBold));
    b->SetCaption(caption);
    return b;
}

}  // namespace layout

// The hourglass for the length of a scope, also when the scope ends by an exception.
class THourglass {
public:
    THourglass() {
        if (gui::Screen) gui::Screen->SetCursor(gui::crHourGlass);
    }
    ~THourglass() {
        if (gui::Screen) gui::Screen->SetCursor(gui::crDefault);
    }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};
