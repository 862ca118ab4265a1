#pragma once
// The tests' way of putting a control on a window: made by the parent (which owns it), placed on
// it at the given bounds.
#include <utility>

template <class T, class TParent, class... Args>
T* Place(TParent* parent, int left, int top, int width, int height, Args&&... args) {
    T* control = parent->template Make<T>(std::forward<Args>(args)...);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}
