#include "app/VollbildForm.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/FormBuilding.h"
#include "gfx/Thumbnail.h"
#include "gui/GraphicControl.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/Screen.h"
#include "gui/Timer.h"

TVollbildForm* VollbildForm = nullptr;

namespace {

constexpr int kArrowWidth = 48, kArrowHeight = 96, kArrowMargin = 16;
constexpr int kArrowsShownMs = 1500;

// An on-screen arrow of the gallery: a dark plate with a white triangle pointing left or right.
class TGalleryArrow : public gui::TGraphicControl {
public:
    TGalleryArrow(gui::TComponent* owner, bool right) : gui::TGraphicControl(owner), right_(right) {
        // Quick clicks page once each, as on a scroll button: none becomes a double click.
        SetControlStyle(ControlStyle() & ~gui::csDoubleClicks);
    }

protected:
    void Paint() override {
        gfx::TCanvas& c = Canvas();
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(gfx::RGB(48, 48, 48));
        c.FillRect(ClientRect());
        c.Brush().SetColor(gfx::RGB(128, 128, 128));
        c.FrameRect(ClientRect());
        const int w = Width(), h = Height();
        const int tip = right_ ? w * 2 / 3 : w / 3, back = right_ ? w / 3 : w * 2 / 3;
        const std::array<gfx::TPoint, 3> points{{{back, h / 3}, {tip, h / 2}, {back, h - h / 3}}};
        c.Brush().SetColor(gfx::clWhite);
        c.Pen().SetColor(gfx::clWhite);
        c.Polygon(points);
    }

private:
    bool right_;
};

}  // namespace

TVollbildForm::TVollbildForm(gui::TComponent* owner) : gui::TForm(owner) {
    BeginLoading();
    gui::TForm::SetName("VollbildForm");
    SetBorderStyle(gui::bsNone);
    SetBorderIcons(0);
    SetColor(gfx::clBlack);
    SetWindowState(gui::wsMaximized);
    SetBounds(0, 0, gui::Screen ? gui::Screen->Width() : 640, gui::Screen ? gui::Screen->Height() : 480);
    SetKeyPreview(true);
    auto moved = [this](gui::TComponent*, gui::TShiftState, int, int) { PointerMoved(); };
    Image1 = Make<gui::TImage>();
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetAutoSize(true);
    Image1->SetCenter(true);
    Image1->OnClick = [this](gui::TComponent* s) { Image1Click(s); };
    Image1->OnMouseMove = moved;
    lName = layout::Place<gui::TLabel>(this, "lName", 0, 0, 10, 20);
    lName->SetShowAccelChar(false);
    lName->SetAlignment(gui::taCenter);
    lName->SetLayout(gui::tlCenter);
    lName->SetFont(layout::MakeFont("Arial", -16, gfx::clWhite, gfx::fsBold));
    lName->SetColor(gfx::clBlack);
    lName->SetVisible(false);
    lName->OnClick = [this](gui::TComponent* s) { FormClick(s); };
    lName->OnMouseMove = moved;
    auto arrow = [&](const char* name, bool right, int step) {
        auto* a = new TGalleryArrow(this, right);
        a->SetName(name);
        a->SetParent(this);
        a->SetBounds(0, 0, kArrowWidth, kArrowHeight);
        a->SetVisible(false);
        a->OnClick = [this, step](gui::TComponent*) { ShowIndex(index_ + step); };
        a->OnMouseMove = moved;
        return a;
    };
    bZurueck = arrow("bZurueck", false, -1);
    bWeiter = arrow("bWeiter", true, +1);
    tPfeile = Make<gui::TTimer>();
    tPfeile->SetName("tPfeile");
    tPfeile->SetEnabled(false);
    tPfeile->SetInterval(kArrowsShownMs);
    tPfeile->SetOnTimer([this](gui::TComponent*) {
        tPfeile->SetEnabled(false);
        bZurueck->Hide();
        bWeiter->Hide();
    });
    OnClick = [this](gui::TComponent* s) { FormClick(s); };
    OnMouseMove = moved;
    OnKeyDown = [this](gui::TComponent* s, int& key, gui::TShiftState shift) { FormKeyDown(s, key, shift); };
    Loaded();
    VollbildForm = this;
}

TVollbildForm::~TVollbildForm() {
    if (VollbildForm == this) VollbildForm = nullptr;
}

gfx::TRect TVollbildForm::FitToScreen(int w, int h, int sw, int sh) {
    gfx::TRect r{0, 0, w, h};
    if (w > sw || h > sh) gfx::FitRect({0, 0, w, h}, {0, 0, sw, sh}, r);
    const int fw = r.Right - r.Left, fh = r.Bottom - r.Top;
    // Screen pixels; the window covers the screen from 0,0.
    return gfx::Bounds(sw / 2 - fw / 2, sh / 2 - fh / 2, fw, fh);
}

void TVollbildForm::ShowPicture(const std::string& fileName) {
    const int sw = gui::Screen->Width(), sh = gui::Screen->Height();
    SetBounds(0, 0, sw, sh);
    if (fileName.empty()) {
        Image1->ClearPicture();
        Image1->SetBounds(sw / 2, sh / 2, 0, 0);
        return;
    }
    Image1->LoadFromFile(fileName);
    const int w = Image1->Picture().Width(), h = Image1->Picture().Height();
    if (const double scale = PixelScale(); scale != 1.0) {
        // At a desktop factor the picture keeps its own pixels where the screen has room for them:
        // fitted to the screen's pixels, made at the window's scale, so nothing enlarges it.
        const gfx::TRect device = FitToScreen(w, h, gfx::ToPixels(sw, scale), gfx::ToPixels(sh, scale));
        const int lw = std::max(1, int(std::lround(device.Width() / scale))),
                  lh = std::max(1, int(std::lround(device.Height() / scale)));
        gfx::TBitmap fitted;
        fitted.SetScaledSize(lw, lh, scale);
        fitted.Canvas().StretchDraw({0, 0, lw, lh}, Image1->Picture());
        Image1->SetPicture(std::move(fitted));
        Image1->SetBounds(sw / 2 - lw / 2, sh / 2 - lh / 2, lw, lh);
        return;
    }
    const gfx::TRect place = FitToScreen(w, h, sw, sh);
    if (place.Width() != w || place.Height() != h) {
        gfx::TBitmap fitted(std::max(place.Width(), 1), std::max(place.Height(), 1), gfx::pf32bit);
        fitted.Canvas().SetStretchBltMode(gfx::HALFTONE);
        fitted.Canvas().StretchDraw({0, 0, place.Width(), place.Height()}, Image1->Picture());
        Image1->SetPicture(std::move(fitted));
    }
    Image1->SetBounds(place.Left, place.Top, place.Width(), place.Height());
}

void TVollbildForm::ShowName(const std::string& name) {
    // Sized to the text, then widened to a black plate that reads over any picture.
    lName->SetAutoSize(true);
    lName->SetCaption(name);
    lName->SetAutoSize(false);
    const int w = lName->Width() + 24, h = lName->Height() + 8;
    lName->SetBounds((Width() - w) / 2, Height() - h - 24, w, h);
    lName->SetVisible(!name.empty());
}

void TVollbildForm::SetGallery(int count, int index, const std::string& name) {
    count_ = std::max(count, 0);
    index_ = std::clamp(index, 0, std::max(count_ - 1, 0));
    ShowName(name);
    tPfeile->SetEnabled(false);
    bZurueck->Hide();
    bWeiter->Hide();
    const int top = (Height() - kArrowHeight) / 2;
    bZurueck->SetBounds(kArrowMargin, top, kArrowWidth, kArrowHeight);
    bWeiter->SetBounds(Width() - kArrowMargin - kArrowWidth, top, kArrowWidth, kArrowHeight);
}

void TVollbildForm::ShowIndex(int index) {
    if (count_ <= 0 || !OnSelect) return;
    index = std::clamp(index, 0, count_ - 1);
    if (index == index_) return;
    index_ = index;
    std::string file, name;
    gui::FireEvent(OnSelect, index, file, name);
    try {
        ShowPicture(file);
    } catch (const std::exception&) {
        ShowPicture("");  // an unreadable screenshot shows black, with the name
    }
    ShowName(name);
    // Arrows on screen follow the page: none beyond the first or last program.
    if (tPfeile->Enabled()) ShowArrows();
    Invalidate();
}

void TVollbildForm::ShowArrows() {
    bZurueck->SetVisible(index_ > 0);
    bWeiter->SetVisible(index_ < count_ - 1);
}

void TVollbildForm::PointerMoved() {
    // Only a real move shows the arrows (a window can report a move at the same place).
    const gfx::TPoint p = gui::Screen ? gui::Screen->CursorPos() : gfx::TPoint{};
    if (p.X == lastX_ && p.Y == lastY_) return;
    lastX_ = p.X;
    lastY_ = p.Y;
    if (count_ < 2) return;
    ShowArrows();
    tPfeile->SetEnabled(false);
    tPfeile->SetEnabled(true);
}

void TVollbildForm::FormKeyDown(gui::TComponent*, int& key, gui::TShiftState shift) {
    if (shift & (gui::ssCtrl | gui::ssAlt)) return;
    switch (key) {
        case gui::VK_ESCAPE:
            Close();
            break;
        case gui::VK_LEFT:
        case gui::VK_UP:
        case gui::VK_PRIOR:
            ShowIndex(index_ - 1);
            break;
        case gui::VK_RIGHT:
        case gui::VK_DOWN:
        case gui::VK_NEXT:
            ShowIndex(index_ + 1);
            break;
        case gui::VK_HOME:
            ShowIndex(0);
            break;
        case gui::VK_END:
            ShowIndex(count_ - 1);
            break;
        default:
            return;
    }
    key = 0;
}

bool TVollbildForm::DoMouseWheel(gui::TShiftState, int wheelDelta, gfx::TPoint) {
    // Away from the user goes back, as in a list.
    if (wheelDelta > 0) ShowIndex(index_ - 1);
    if (wheelDelta < 0) ShowIndex(index_ + 1);
    return true;
}

void TVollbildForm::FormClick(gui::TComponent*) {
    Close();
}

void TVollbildForm::Image1Click(gui::TComponent*) {
    Close();
}
