#pragma once
// A headless application for one skin test: virtual clock at 0, deterministic (unsmoothed) text
// unless a test turns smoothing on, and helpers for synthetic image lists.
#include <cstdint>
#include <functional>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Font.h"
#include "gui/ImageList.h"
#include "tests/gui/HeadlessApp.h"

struct SkinHarness : HeadlessApp {
    ~SkinHarness() { gfx::SetFontSmoothing(false); }

    gui::TForm* Form(int w, int h, gfx::TColor color) {
        gui::TForm* f = HeadlessApp::Form(w, h);
        f->SetColor(color);
        return f;
    }
};

// An image list whose images are painted by fn(image, x, y) -> colour; pixels for which
// masked(image, x, y) is true lie outside the mask.
inline gui::TImageList* MakeImageList(gui::TComponent* owner, int w, int h, int count,
                                      const std::function<gfx::TColor(int, int, int)>& fn,
                                      const std::function<bool(int, int, int)>& masked = nullptr) {
    auto* list = owner->Make<gui::TImageList>(w, h);
    for (int i = 0; i < count; ++i) {
        gfx::TBitmap bmp(w, h);
        std::vector<bool> mask(std::size_t(w) * std::size_t(h), true);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bmp.SetPixel(x, y, fn(i, x, y));
                if (masked && masked(i, x, y)) mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] = false;
            }
        list->Add(bmp, mask);
    }
    return list;
}
