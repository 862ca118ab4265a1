#include "gui/Label.h"

#include <cctype>
#include <string_view>

#include "gui/WinControl.h"

namespace gui {

char AcceleratorChar(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" is a plain "&"
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

TLabel::~TLabel() = default;

unsigned TLabel::DrawTextFlags() const {
    unsigned flags = gfx::DT_EXPANDTABS;
    if (wordWrap_)
        flags |= gfx::DT_WORDBREAK;
    else
        flags |= gfx::DT_SINGLELINE;
    if (alignment_ == taCenter) flags |= gfx::DT_CENTER;
    if (alignment_ == taRightJustify) flags |= gfx::DT_RIGHT;
    if (!showAccelChar_) flags |= gfx::DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || Loading()) return;
    TCanvas& c = Canvas();
    int level = c.SaveState();
    c.SetFont(Font());
    TRect r{0, 0, wordWrap_ ? Width() : 0, 0};
    std::string_view text = Caption();
    // An empty caption still has the height of a line.
    if (text.empty() || (showAccelChar_ && text == "&")) text = " ";
    c.DrawText(text, r, DrawTextFlags() | gfx::DT_CALCRECT);
    c.RestoreState(level);
    int w = wordWrap_ ? Width() : r.Width();
    int h = r.Height();
    int left = Left();
    // Right-aligned and centred labels keep their right edge / centre while growing.
    if (!wordWrap_ && alignment_ == taRightJustify) left += Width() - w;
    if (!wordWrap_ && alignment_ == taCenter) left += (Width() - w) / 2;
    SetBounds(left, Top(), w, h);
}

void TLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
    if (v == layout_) return;
    layout_ = v;
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    if (v)
        SetControlStyle(ControlStyle() & ~csOpaque);
    else
        SetControlStyle(ControlStyle() | csOpaque);
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* c) {
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = c;
    if (c) c->FreeNotification(this);
}

void TLabel::Notification(TComponent* c, TOperation op) {
    if (op == opRemove && c == focusControl_) focusControl_ = nullptr;
    TGraphicControl::Notification(c, op);
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

bool TLabel::DialogChar(char key) {
    if (!showAccelChar_ || !focusControl_) return false;
    char accel = AcceleratorChar(Caption());
    if (!accel || std::toupper(std::uint8_t(accel)) != std::toupper(std::uint8_t(key))) return false;
    if (!focusControl_->CanFocus()) return false;
    focusControl_->SetFocus();
    return true;
}

void TLabel::Paint() {
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    if (!transparent_) {
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(r);
    }
    c.Brush().SetStyle(gfx::bsClear);
    c.SetFont(Font());
    unsigned flags = DrawTextFlags();
    if (layout_ != tlTop) {
        TRect calc = r;
        c.DrawText(Caption(), calc, flags | gfx::DT_CALCRECT);
        int dy = layout_ == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
        r.Top += dy;
    }
    if (!EnabledChain()) {
        c.Font().SetColor(gfx::clBtnHighlight);
        c.DrawText(Caption(), gfx::Offset(r, 1, 1), flags);
        c.Font().SetColor(gfx::clBtnShadow);
    }
    c.DrawText(Caption(), r, flags);
}

}  // namespace gui
