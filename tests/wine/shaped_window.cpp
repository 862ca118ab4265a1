// shaped_window.exe: a frameless skin window whose outline comes from a Mask2 block, for the
// Wine end-to-end test (scripts/e2e-wine.sh). The menu's own window has no outline, so this one
// takes the form-loading path a shaped skin would: ReadMask2 hands the region to the window.
// A teal 640x480 skin with its four corners cut 40 pixels square, titled "cdmenu-shaped"; a left
// press on it drags the window. Each press the skin itself receives (a right click; a drag is the
// system's move loop, without one) shows in the title ("cdmenu-shaped 2"); Escape closes the
// window, and on exit it prints "presses N". An argument gives the factor to draw at (default 1).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/MemoryStream.h"
#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/Keys.h"
#include "gui/backend/Backend.h"
#include "skin/SkinForm.h"

namespace {

class CountingSkin : public skin::TSkinForm {
public:
    using skin::TSkinForm::TSkinForm;
    int presses = 0;

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override {
        ++presses;
        ParentForm()->SetCaption("cdmenu-shaped " + std::to_string(presses));
        skin::TSkinForm::MouseDown(button, shift, x, y);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // The factor to draw at (the end-to-end test gives 1.5 as well): the outline scales with it.
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    gui::TApplication app(gui::CreateBackend({.scale = scale >= 1 ? scale : 1.0}));
    auto* form = app.CreateForm<gui::TForm>();
    form->SetCaption("cdmenu-shaped");
    const int at = scale > 1 ? 10 : 100;  // scaled, the window still fits a 1024x768 screen
    form->SetBounds(at, at, 640, 480);
    form->SetKeyPreview(true);
    form->OnKeyDown = [form](gui::TComponent*, int& key, gui::TShiftState) {
        if (key == gui::VK_ESCAPE) form->Close();
    };

    auto* skin = form->Make<CountingSkin>();
    skin->SetParent(form);
    skin->SetBounds(0, 0, 640, 480);
    gfx::TBitmap picture;
    picture.SetSize(640, 480);
    picture.Canvas().Brush().SetColor(gfx::clTeal);
    picture.Canvas().FillRect(gfx::Bounds(0, 0, 640, 480));
    skin->SetPicture(std::move(picture));

    const std::vector<gfx::TRect> outline = {gfx::Bounds(40, 0, 560, 480), gfx::Bounds(0, 40, 640, 400)};
    const std::vector<std::uint8_t> data = skin::EncodeRegionData(outline);
    base::TMemoryStream block;
    block.WriteU32(std::uint32_t(data.size()));
    block.WriteBuffer(data.data(), std::int64_t(data.size()));
    block.SetPosition(0);
    skin->ReadMask2(block);
    if (!skin->RegionGiven()) {
        std::fprintf(stderr, "shaped_window: the outline did not reach the window\n");
        return 1;
    }

    app.Run();
    std::printf("presses %d\n", skin->presses);
    return 0;
}
