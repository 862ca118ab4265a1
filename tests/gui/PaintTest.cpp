// Painting: order, clipping, invalidation against immediate repaint, the parent's image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessApp.h"
#include "gui/CustomControl.h"
#include "gui/GraphicControl.h"
#include "tests/support/Place.h"

using namespace gui;

namespace {

std::vector<std::string> paintLog;

class Box : public TGraphicControl {
public:
    Box(TComponent* owner, std::string tag, TColor fill)
        : TGraphicControl(owner), tag_(std::move(tag)), fill_(fill) {}
    void SetFill(TColor c) { fill_ = c; }

protected:
    void Paint() override {
        paintLog.push_back(tag_);
        Canvas().Brush().SetColor(fill_);
        Canvas().FillRect(ClientRect());
    }

private:
    std::string tag_;
    TColor fill_;
};

class Pane : public TCustomControl {
public:
    Pane(TComponent* owner, std::string tag, TColor fill) : TCustomControl(owner), tag_(std::move(tag)) {
        SetColor(fill);
    }
    bool see = false;  // paint the parent's image instead of a background

protected:
    void EraseBackground(TCanvas& canvas) override {
        if (!see) TCustomControl::EraseBackground(canvas);
    }
    void Paint() override {
        paintLog.push_back(tag_);
        if (see) {
            PaintParentInto(Canvas());
            Canvas().Brush().SetColor(gfx::clBlack);
            Canvas().FrameRect(ClientRect());
        }
    }

private:
    std::string tag_;
};

}  // namespace

TEST(Paint, GraphicControlsLieBelowWindowedOnesAndWindowsClipTheirChildren) {
    HeadlessApp t;
    auto* f = t.Form(200, 150);
    f->SetColor(gfx::clRed);
    // The windowed pane comes first in the list, the graphic box later: the box still lies below.
    auto* pane = Place<Pane>(f, 30, 30, 50, 50, "pane", gfx::clLime);
    Place<Box>(f, 10, 10, 50, 50, "box", gfx::clBlue);
    Place<Box>(pane, 40, 0, 30, 10, "inner", gfx::clYellow);  // reaches 20 pixels out of the pane
    paintLog.clear();
    f->Show();
    EXPECT_EQ(paintLog, (std::vector<std::string>{"box", "pane", "inner"}));
    EXPECT_EQ(t.Pixel(f, 5, 5), gfx::clRed);
    EXPECT_EQ(t.Pixel(f, 15, 15), gfx::clBlue);
    EXPECT_EQ(t.Pixel(f, 40, 40), gfx::clLime);  // the pane covers the box
    EXPECT_EQ(t.Pixel(f, 75, 32), gfx::clYellow);
    EXPECT_EQ(t.Pixel(f, 79, 32), gfx::clYellow);
    EXPECT_EQ(t.Pixel(f, 80, 32), gfx::clRed);  // clipped at the pane's edge
    EXPECT_EQ(t.Pixel(f, 95, 32), gfx::clRed);

    // Hiding the pane shows what was below it.
    pane->Hide();
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 40, 40), gfx::clBlue);
    EXPECT_EQ(t.Pixel(f, 75, 32), gfx::clRed);
    // Z-order among graphic siblings follows the list.
    auto* top = Place<Box>(f, 0, 0, 20, 20, "top", gfx::clFuchsia);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 15, 15), gfx::clFuchsia);
    top->SendToBack();
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 15, 15), gfx::clBlue);
    EXPECT_EQ(t.Pixel(f, 5, 5), gfx::clFuchsia);
}

TEST(Paint, InvalidateWaitsForIdleWhileRepaintAndPaintNowShowAtOnce) {
    HeadlessApp t;
    auto* f = t.Form(100, 100);
    f->SetColor(gfx::clWhite);
    auto* box = Place<Box>(f, 10, 10, 20, 20, "box", gfx::clBlue);
    f->Show();
    const auto* win = t.hb->Window(f->Handle());
    int presents = win->presentCount;

    box->SetFill(gfx::clRed);
    box->Invalidate();
    box->Invalidate();  // two marks, one paint
    EXPECT_EQ(t.Pixel(f, 15, 15), gfx::clBlue);
    paintLog.clear();
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 15, 15), gfx::clRed);
    EXPECT_EQ(paintLog.size(), 1u);
    EXPECT_EQ(win->presentCount, presents + 1);
    EXPECT_EQ(win->lastPresent, gfx::Bounds(10, 10, 20, 20));

    box->SetFill(gfx::clLime);
    box->Repaint();
    EXPECT_EQ(t.Pixel(f, 15, 15), gfx::clLime);
    EXPECT_EQ(win->presentCount, presents + 2);

    // PaintNow runs only Paint(): a box drawing half of itself leaves the rest as it was.
    class Half : public TGraphicControl {
    public:
        using TGraphicControl::TGraphicControl;
        TColor fill = gfx::clNavy;

    protected:
        void Paint() override {
            Canvas().Brush().SetColor(fill);
            Canvas().FillRect({0, 0, Width() / 2, Height()});
        }
    };
    auto* half = Place<Half>(f, 50, 50, 20, 20);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 55, 55), gfx::clNavy);
    EXPECT_EQ(t.Pixel(f, 65, 55), gfx::clWhite);
    half->fill = gfx::clTeal;
    f->Canvas().Brush().SetColor(gfx::clMaroon);  // scribble where the erase would paint white
    f->Canvas().FillRect({60, 50, 70, 70});
    half->PaintNow();
    EXPECT_EQ(t.Pixel(f, 55, 55), gfx::clTeal);
    EXPECT_EQ(t.Pixel(f, 65, 55), gfx::clMaroon);  // not erased

    // Drawing on a canvas outside Paint shows when the loop is idle, without repainting.
    f->Canvas().FillRect({0, 90, 10, 100});
    EXPECT_EQ(t.Pixel(f, 5, 95), gfx::clWhite);
    paintLog.clear();
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 5, 95), gfx::clMaroon);
    EXPECT_TRUE(paintLog.empty());
    EXPECT_FALSE(f->HasInvalid());

    // While the form is being loaded, or hidden, nothing is painted.
    f->BeginLoading();
    half->fill = gfx::clOlive;
    half->PaintNow();
    EXPECT_EQ(t.Pixel(f, 55, 55), gfx::clTeal);
    f->Loaded();
}

TEST(Paint, PaintNowStaysUnderWindowedSiblingsAndParentImageShowsWhatIsBehind) {
    HeadlessApp t;
    auto* f = t.Form(120, 100);
    f->SetColor(gfx::clWhite);
    auto* below = Place<Box>(f, 0, 0, 60, 60, "below", gfx::clBlue);
    Place<Pane>(f, 30, 30, 40, 40, "cover", gfx::clLime);
    f->Show();
    below->SetFill(gfx::clRed);
    below->PaintNow();
    EXPECT_EQ(t.Pixel(f, 10, 10), gfx::clRed);
    EXPECT_EQ(t.Pixel(f, 40, 40), gfx::clLime);  // the windowed sibling stays on top

    // A see-through pane draws the parent (background and the graphic box) behind itself.
    auto* glass = f->Make<Pane>("glass", gfx::clFuchsia);
    glass->see = true;
    glass->SetParent(f);
    glass->SetBounds(50, 10, 40, 30);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 50, 10), gfx::clBlack);  // its frame
    EXPECT_EQ(t.Pixel(f, 55, 15), gfx::clRed);    // the box behind it
    EXPECT_EQ(t.Pixel(f, 70, 15), gfx::clWhite);  // the form behind it
    // The glass lies above the cover pane; a windowed sibling is no part of the parent's image.
    EXPECT_EQ(t.Pixel(f, 60, 35), gfx::clWhite);
}

TEST(Paint, FormsResizedWhileHiddenPaintTheirWholeAreaWhenShown) {
    HeadlessApp t;
    auto* f = t.Form(100, 80);
    f->SetColor(gfx::clRed);
    auto* never = t.Form(1024, 768);  // never shown: no buffer of that size
    EXPECT_LE(never->BackBuffer().Width() * never->BackBuffer().Height(), 1);

    f->Show();
    EXPECT_EQ(t.Pixel(f, 99, 79), gfx::clRed);
    f->Hide();
    f->SetBounds(0, 0, 200, 150);
    f->Show();
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 199, 149), gfx::clRed);
    // Growing while shown paints the new part too.
    f->SetBounds(0, 0, 260, 180);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 259, 179), gfx::clRed);
    EXPECT_EQ(f->BackBuffer().Width(), 260);
}
