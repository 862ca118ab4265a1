#pragma once
// A headless application for one test: virtual clock at 0, a 1024x768 screen, deterministic text.
#include <memory>

#include "gfx/Font.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/backend/Automation.h"

struct HeadlessApp {
    gui::Automation* hb;
    std::unique_ptr<gui::TApplication> app;

    HeadlessApp() {
        auto backend = gui::CreateBackend({.headless = true});
        hb = backend->GetAutomation();
        app = std::make_unique<gui::TApplication>(std::move(backend));
        gfx::SetFontSmoothing(false);
    }

    // A borderless form at the screen origin, so client and screen points agree.
    template <class T = gui::TForm>
    T* Form(int w = 200, int h = 150) {
        T* f = app->CreateForm<T>();
        f->SetBorderStyle(gui::bsNone);
        f->SetBounds(0, 0, w, h);
        return f;
    }

    std::int64_t Pixel(gui::TForm* f, int x, int y) const { return hb->PixelAt(f->Handle(), x, y); }
};
