#pragma once
// A headless application with one frameless form, for the flat control tests. Coordinates given
// to the helpers are the form's client coordinates (the form sits at the screen origin).
#include <gtest/gtest.h>

#include <memory>

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/backend/Automation.h"

namespace flat::testing {

class FlatFixture : public ::testing::Test {
protected:
    static constexpr gfx::TColor kFormColor = gfx::RGB(10, 20, 30);

    void SetUp() override {
        gfx::ResetSysColors();
        auto backend = gui::CreateBackend({.headless = true});
        hb = backend->GetAutomation();
        hb->MutableSettings()->fontSmoothing = false;  // exact text colours
        app = std::make_unique<gui::TApplication>(std::move(backend));
        gfx::SetFontSmoothing(false);
        form = app->CreateForm<gui::TForm>();
        form->SetBorderStyle(gui::bsNone);
        form->SetBounds(0, 0, 320, 240);
        form->SetColor(kFormColor);
        form->Show();
        hb->Pump();
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

    // The presented pixel after everything pending has been painted.
    gfx::TColor Pixel(int x, int y) {
        hb->Pump();
        return gfx::TColor(hb->PixelAt(form->Handle(), x, y));
    }

    gui::Automation* hb = nullptr;
    std::unique_ptr<gui::TApplication> app;
    gui::TForm* form = nullptr;
};

}  // namespace flat::testing
