#include "gui/HintWindow.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/Screen.h"

namespace gui {

THintWindow::THintWindow(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetColor(gfx::clInfoBk);
    Font().SetColor(gfx::clInfoText);
}

void THintWindow::ActivateHint(TPoint screen, const std::string& text) {
    SetCaption(text);
    Canvas().SetFont(Font());
    TRect r{0, 0, 300, 0};
    Canvas().DrawText(text, r, gfx::DT_CALCRECT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
    int w = r.Width() + 6, h = r.Height() + 4;
    // Keep the hint on the screen.
    int sw = Screen ? Screen->Width() : 1024, sh = Screen ? Screen->Height() : 768;
    int x = std::max(0, std::min(screen.X, sw - w));
    int y = std::max(0, std::min(screen.Y, sh - h));
    SetBounds(x, y, w, h);
    Invalidate();
    if (!Visible()) Show();
}

void THintWindow::EraseBackground(TCanvas& canvas) {
    TForm::EraseBackground(canvas);
}

void THintWindow::Paint() {
    TCanvas& c = Canvas();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clBlack);
    c.FrameRect(ClientRect());
    c.SetFont(Font());
    c.Brush().SetStyle(gfx::bsClear);
    TRect r{3, 2, Width() - 3, Height() - 2};
    c.DrawText(Caption(), r, gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
}

}  // namespace gui
