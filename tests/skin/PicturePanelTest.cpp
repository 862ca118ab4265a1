// TPicturePanel: the background is the skin behind the panel, 1:1, as a snapshot.
#include <gtest/gtest.h>

#include "SkinHarness.h"
#include "gui/GraphicControl.h"
#include "skin/PicturePanel.h"
#include "skin/SkinForm.h"
#include "tests/support/Place.h"

using skin::TPicturePanel;
using skin::TSkinForm;

namespace {

// An 8-bit skin whose pixels differ from their neighbours in every direction.
gfx::TBitmap SkinPicture() {
    gfx::TBitmap pic(640, 480, gfx::pf8bit);
    std::vector<gfx::TColor> palette(256);
    for (int k = 0; k < 256; ++k) palette[size_t(k)] = gfx::RGB(k, 255 - k, (k * 3) & 255);
    pic.SetPalette(palette);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) pic.SetPixelIndex(x, y, (x + 7 * y) % 256);
    return pic;
}

class Block : public gui::TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(gfx::clBlue);
        Canvas().FillRect(ClientRect());
    }
};

}  // namespace

TEST(PicturePanel, ShowsTheSkinBehindItAsASnapshot) {
    SkinHarness t;
    auto* f = t.Form(640, 480, gfx::clWhite);
    auto* skin = f->Make<TSkinForm>();
    skin->SetParent(f);
    skin->SetPicture(SkinPicture());
    const gfx::TBitmap& pic = skin->Picture();

    auto* panel = Place<TPicturePanel>(f, 8, 128, 170, 265);
    panel->SetSkinForm(skin);
    Place<Block>(panel, 100, 200, 10, 10);
    Place<TPicturePanel>(f, 300, 10, 20, 20);
    f->Show();

    for (auto [x, y] : {std::pair{8, 128}, {177, 128}, {8, 392}, {177, 392}, {9, 129}, {50, 300}})
        EXPECT_EQ(t.Pixel(f, x, y), pic.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(t.Pixel(f, 8 + 105, 128 + 205), gfx::clBlue);  // children lie above the background
    EXPECT_EQ(t.Pixel(f, 305, 15), gfx::clBlack);            // no skin: the panel's colour
    EXPECT_EQ(panel->Background(), panel->Controls(0));

    // Moving does not refresh the snapshot; Repaint does.
    panel->SetLeft(100);
    t.hb->Pump();
    EXPECT_EQ(t.Pixel(f, 100, 128), pic.Pixel(8, 128));
    EXPECT_EQ(t.Pixel(f, 120, 140), pic.Pixel(28, 140));
    panel->Repaint();
    t.hb->Pump();
    EXPECT_EQ(t.Pixel(f, 100, 128), pic.Pixel(100, 128));
    EXPECT_EQ(t.Pixel(f, 120, 140), pic.Pixel(120, 140));

    delete skin;
    EXPECT_EQ(panel->SkinForm(), nullptr);
    panel->Repaint();  // without a skin: no crash, the panel's own colour
    t.hb->Pump();
    EXPECT_EQ(t.Pixel(f, 120, 140), gfx::clBlack);
}
