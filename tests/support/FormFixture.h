#pragma once
// A headless application with one frameless 320x240 form at the screen origin, shown: the form's
// client coordinates are screen coordinates. For the tests of single controls.
#include <gtest/gtest.h>

#include <memory>

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/backend/Automation.h"

class FormFixture : public ::testing::Test {
protected:
    // exactText: unsmoothed text, so that glyph pixels have the text's colour exactly.
    void OpenForm(gfx::TColor color, bool exactText) {
        auto backend = gui::CreateBackend({.headless = true});
        hb = backend->GetAutomation();
        if (exactText) hb->MutableSettings()->fontSmoothing = false;
        app = std::make_unique<gui::TApplication>(std::move(backend));
        if (exactText) gfx::SetFontSmoothing(false);
        form = app->CreateForm<gui::TForm>();
        form->SetBorderStyle(gui::bsNone);
        form->SetBounds(0, 0, 320, 240);
        form->SetColor(color);
        form->Show();
        hb->Pump();
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
