#pragma once
// A headless application with one frameless form, for the flat control tests. Coordinates given
// to the helpers are the form's client coordinates (the form sits at the screen origin).
#include "gfx/Color.h"
#include "tests/support/FormFixture.h"

namespace flat::testing {

class FlatFixture : public FormFixture {
protected:
    static constexpr gfx::TColor kFormColor = gfx::RGB(10, 20, 30);

    void SetUp() override {
        gfx::ResetSysColors();
        OpenForm(kFormColor, true);
    }

    void TearDown() override {
        app.reset();
        gfx::ResetSysColors();
    }

    template <class T>
    T* Add(int left, int top, int width, int height) {
        T* c = form->Make<T>();
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        return c;
    }
};

}  // namespace flat::testing
