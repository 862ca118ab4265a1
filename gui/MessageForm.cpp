#include "gui/MessageForm.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "gui/Button.h"

namespace gui {

namespace {

constexpr int kIconSize = 32;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMaxTextWidth = 420;

}  // namespace

TMessageForm::TMessageForm(TComponent* owner, const MessageBoxRequest& request)
    : TForm(owner), text_(request.text), icon_(request.flags & 0xF0) {
    BeginLoading();
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetCaption(request.caption);
    SetName("MessageBox");

    struct Spec {
        const char* caption;
        TModalResult result;
    };
    std::vector<Spec> specs;
    bool cancellable = true;
    switch (request.flags & 0x0F) {
        case MB_OKCANCEL:
            specs = {{"OK", mrOk}, {"Abbrechen", mrCancel}};
            break;
        case MB_YESNO:
            specs = {{"&Ja", mrYes}, {"&Nein", mrNo}};
            cancellable = false;
            break;
        case MB_YESNOCANCEL:
            specs = {{"&Ja", mrYes}, {"&Nein", mrNo}, {"Abbrechen", mrCancel}};
            break;
        case MB_YESALLNOCANCEL:
            specs = {{"&Ja", mrYes}, {"Ja, &alle", mrYesToAll}, {"&Nein", mrNo}, {"Abbrechen", mrCancel}};
            break;
        default:
            specs = {{"OK", mrOk}};
            break;
    }

    // Measure the text on the form's canvas.
    Canvas().SetFont(Font());
    TRect tr{0, 0, kMaxTextWidth, 0};
    Canvas().DrawText(text_, tr,
                      gfx::DT_CALCRECT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
    int textLeft = kMargin + (icon_ ? kIconSize + kMargin : 0);
    int textHeight = std::max(tr.Height(), icon_ ? kIconSize : 0);
    int buttonsWidth = int(specs.size()) * kButtonWidth + int(specs.size() - 1) * kButtonGap;
    int width = std::max(textLeft + tr.Width() + kMargin, buttonsWidth + 2 * kMargin);
    width = std::max(width, 180);
    int height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
    textRect_ = {textLeft, kMargin + (textHeight - tr.Height()) / 2, textLeft + tr.Width(),
                 kMargin + (textHeight - tr.Height()) / 2 + tr.Height()};
    SetBounds(0, 0, width, height);

    int x = (width - buttonsWidth) / 2;
    int defaultIndex = (request.flags & MB_DEFBUTTON2) && specs.size() > 1 ? 1 : 0;
    for (size_t i = 0; i < specs.size(); ++i) {
        TButton* b = Make<TButton>();
        b->SetParent(this);
        b->SetBounds(x, height - kMargin - kButtonHeight, kButtonWidth, kButtonHeight);
        b->SetCaption(specs[i].caption);
        b->SetModalResult(specs[i].result);
        b->SetName(std::string("Button") + std::to_string(i + 1));
        b->SetDefault(int(i) == defaultIndex);
        if (cancellable && (specs[i].result == mrCancel || specs.size() == 1)) b->SetCancel(true);
        buttons_.push_back(b);
        x += kButtonWidth + kButtonGap;
    }
    Loaded();
    SetActiveControl(buttons_[size_t(defaultIndex)]);
}

void TMessageForm::Paint() {
    TCanvas& c = Canvas();
    if (icon_) {
        TRect ir = gfx::Bounds(kMargin, kMargin, kIconSize, kIconSize);
        TColor fill = gfx::clBlue;
        const char* glyph = "i";
        if (icon_ == MB_ICONERROR) fill = gfx::clRed, glyph = "X";
        if (icon_ == MB_ICONWARNING) fill = gfx::RGB(230, 180, 0), glyph = "!";
        if (icon_ == MB_ICONQUESTION) fill = gfx::clBlue, glyph = "?";
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(fill);
        c.Pen().SetColor(gfx::clBlack);
        c.Ellipse(ir);
        c.Brush().SetStyle(gfx::bsClear);
        gfx::TFont f;
        f.Assign(Font());
        f.SetHeight(-20);
        f.SetStyle(gfx::fsBold);
        f.SetColor(gfx::clWhite);
        c.SetFont(f);
        c.DrawText(glyph, ir, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    }
    c.SetFont(Font());
    c.Brush().SetStyle(gfx::bsClear);
    c.DrawText(text_, textRect_, gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
}

}  // namespace gui
