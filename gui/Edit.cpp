#include "gui/Edit.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/Panel.h"
#include "gui/Timer.h"

namespace gui {

namespace {
constexpr int kPad = 3;              // text inset inside the border
constexpr int kBlinkInterval = 530;  // the usual desktop caret rate, in ms
}  // namespace

TEdit::TEdit(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csOpaque);
    SetTabStop(true);
    SetColor(gfx::clWindow);
    SetParentColor(false);
    SetCursor(crIBeam);
    SetBounds(0, 0, 121, 21);
    blink_ = new TTimer(this);
    blink_->SetEnabled(false);
    blink_->SetInterval(kBlinkInterval);
    blink_->SetOnTimer([this](TComponent*) {
        caretOn_ = !caretOn_;
        Invalidate();
    });
}

TEdit::~TEdit() = default;

std::string TEdit::Shown() const {
    if (passwordChar_) return std::string(Text().size(), passwordChar_);
    return Text();
}

void TEdit::SetMaxLength(int v) {
    maxLength_ = std::max(0, v);
}

void TEdit::SetPasswordChar(char c) {
    if (c == passwordChar_) return;
    passwordChar_ = c;
    Invalidate();
}

void TEdit::SetBorderVisible(bool v) {
    if (v == border_) return;
    border_ = v;
    Invalidate();
}

int TEdit::SelStart() const {
    return std::min(caret_, anchor_);
}

int TEdit::SelLength() const {
    return std::abs(caret_ - anchor_);
}

void TEdit::SetSelStart(int pos) {
    pos = std::clamp(pos, 0, int(Text().size()));
    caret_ = anchor_ = pos;
    CaretMoved();
    Invalidate();
}

void TEdit::SetSelLength(int len) {
    int start = SelStart();
    anchor_ = start;
    caret_ = std::clamp(start + std::max(0, len), 0, int(Text().size()));
    CaretMoved();
    Invalidate();
}

std::string TEdit::SelText() const {
    return Text().substr(size_t(SelStart()), size_t(SelLength()));
}

void TEdit::SetSelText(const std::string& text) {
    ReplaceSelection(text);
}

void TEdit::SelectAll() {
    anchor_ = 0;
    caret_ = int(Text().size());
    CaretMoved();
    Invalidate();
}

void TEdit::ClearSelection() {
    if (SelLength() > 0) ReplaceSelection("");
}

void TEdit::CopyToClipboard() {
    if (SelLength() == 0 || passwordChar_) return;
    if (Application) Application->TheBackend().SetClipboardText(SelText());
}

void TEdit::CutToClipboard() {
    if (readOnly_ || passwordChar_) return;
    CopyToClipboard();
    ClearSelection();
}

void TEdit::PasteFromClipboard() {
    if (readOnly_ || !Application) return;
    std::string text = Application->TheBackend().ClipboardText();
    // One line only: the paste ends at the first line break.
    size_t eol = text.find_first_of("\r\n");
    if (eol != std::string::npos) text.resize(eol);
    ReplaceSelection(text);
}

void TEdit::ReplaceSelection(const std::string& insert) {
    std::string text = Text();
    int start = SelStart();
    int len = SelLength();
    std::string add = insert;
    if (maxLength_ > 0) {
        int room = maxLength_ - (int(text.size()) - len);
        if (room < 0) room = 0;
        if (int(add.size()) > room) add.resize(size_t(room));
    }
    text.replace(size_t(start), size_t(len), add);
    caret_ = anchor_ = start + int(add.size());
    if (text != Text()) {
        settingText_ = true;
        TControl::SetCaption(text);
        settingText_ = false;
        modified_ = true;
        CaretMoved();
        Invalidate();
        Change();
    } else {
        CaretMoved();
        Invalidate();
    }
}

void TEdit::TextChanged() {
    if (!settingText_) {
        // Text set from outside: caret to the end, nothing selected.
        caret_ = anchor_ = int(Text().size());
        scroll_ = 0;
        CaretMoved();
        Invalidate();
        Change();
    }
}

void TEdit::Change() {
    FireEvent(OnChange, this);
}

int TEdit::TextX(int pos) {
    TCanvas& c = Canvas();
    c.SetFont(Font());
    std::string shown = Shown();
    pos = std::clamp(pos, 0, int(shown.size()));
    return kPad - scroll_ + (pos ? c.TextWidth(std::string_view(shown).substr(0, size_t(pos))) : 0);
}

int TEdit::PosAt(int x) {
    std::string shown = Shown();
    int best = 0;
    int bestDist = 1 << 30;
    for (int i = 0; i <= int(shown.size()); ++i) {
        int d = std::abs(TextX(i) - x);
        if (d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

void TEdit::RestartBlink() {
    if (!Focused()) return;
    caretOn_ = true;
    blink_->SetEnabled(false);
    blink_->SetEnabled(true);
}

// Scrolls the caret into view and shows it.
void TEdit::CaretMoved() {
    RestartBlink();
    int inner = Width() - 2 * kPad;
    if (inner <= 0) return;
    int x = TextX(caret_) + scroll_ - kPad;  // caret offset in the unscrolled text
    if (x - scroll_ > inner) scroll_ = x - inner;
    if (x - scroll_ < 0) scroll_ = x;
    if (scroll_ < 0) scroll_ = 0;
}

void TEdit::MoveCaret(int pos, bool extend) {
    pos = std::clamp(pos, 0, int(Text().size()));
    caret_ = pos;
    if (!extend) anchor_ = pos;
    CaretMoved();
    Invalidate();
}

void TEdit::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (!key) return;
    bool ext = shift & ssShift;
    bool ctrl = shift & ssCtrl;
    switch (key) {
        case VK_LEFT:
            MoveCaret(!ext && SelLength() ? SelStart() : caret_ - 1, ext);
            break;
        case VK_RIGHT:
            MoveCaret(!ext && SelLength() ? SelStart() + SelLength() : caret_ + 1, ext);
            break;
        case VK_HOME:
            MoveCaret(0, ext);
            break;
        case VK_END:
            MoveCaret(int(Text().size()), ext);
            break;
        case VK_DELETE:
            if (readOnly_) break;
            if (ext) {
                CutToClipboard();
            } else if (SelLength()) {
                ClearSelection();
            } else if (caret_ < int(Text().size())) {
                anchor_ = caret_ + 1;
                ReplaceSelection("");
            }
            break;
        case VK_INSERT:
            if (ctrl)
                CopyToClipboard();
            else if (ext)
                PasteFromClipboard();
            break;
        case 'A':
            if (ctrl)
                SelectAll();
            else
                return;
            break;
        case 'C':
            if (ctrl)
                CopyToClipboard();
            else
                return;
            break;
        case 'X':
            if (ctrl)
                CutToClipboard();
            else
                return;
            break;
        case 'V':
            if (ctrl)
                PasteFromClipboard();
            else
                return;
            break;
        default:
            return;
    }
    key = 0;
}

void TEdit::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (!key) return;
    if (key == 8) {
        if (!readOnly_) {
            if (SelLength()) {
                ClearSelection();
            } else if (caret_ > 0) {
                anchor_ = caret_ - 1;
                ReplaceSelection("");
            }
        }
        key = 0;
        return;
    }
    if (std::uint8_t(key) < ' ') return;  // Enter, Escape, Tab: the dialog's keys
    if (!readOnly_) ReplaceSelection(std::string(1, key));
    key = 0;
}

void TEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) {
            bool was = autoSelect_;
            autoSelect_ = false;  // a click places the caret; it does not select all
            SetFocus();
            autoSelect_ = was;
        }
        if (!(shift & ssDouble)) {
            MoveCaret(PosAt(x), shift & ssShift);
            selecting_ = true;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TEdit::MouseMove(TShiftState shift, int x, int y) {
    if (selecting_) MoveCaret(PosAt(x), true);
    TCustomControl::MouseMove(shift, x, y);
}

void TEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) selecting_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TEdit::DblClick() {
    selecting_ = false;
    SelectAll();
    TCustomControl::DblClick();
}

void TEdit::DoEnter() {
    RestartBlink();
    if (autoSelect_) SelectAll();
    TCustomControl::DoEnter();
    Invalidate();
}

void TEdit::FormActiveChanged() {
    // Focus given while the dialog was still opening: the caret starts blinking once it is active.
    if (Focused()) {
        RestartBlink();
    } else {
        caretOn_ = false;
        blink_->SetEnabled(false);
    }
}

void TEdit::DoExit() {
    caretOn_ = false;
    blink_->SetEnabled(false);
    selecting_ = false;
    TCustomControl::DoExit();
    Invalidate();
}

void TEdit::Paint() {
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    if (border_) {
        Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
        Frame3D(c, r, gfx::cl3DDkShadow, gfx::clBtnFace, 1);
    }
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(EnabledChain() ? Color() : gfx::clBtnFace);
    c.FillRect(r);
    int level = c.SaveState();
    c.IntersectClip(r);
    c.SetFont(Font());
    std::string shown = Shown();
    int th = c.TextHeight("Ag");
    int ty = (Height() - th) / 2;
    c.Brush().SetStyle(gfx::bsClear);
    if (!EnabledChain()) c.Font().SetColor(gfx::clGrayText);
    c.TextOut(kPad - scroll_, ty, shown);
    bool focused = Focused();
    if (SelLength() && focused) {
        int x0 = TextX(SelStart()), x1 = TextX(SelStart() + SelLength());
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(gfx::clHighlight);
        c.FillRect({x0, ty, x1, ty + th});
        c.Font().SetColor(gfx::clHighlightText);
        c.Brush().SetStyle(gfx::bsClear);
        c.TextOut(x0, ty, std::string_view(shown).substr(size_t(SelStart()), size_t(SelLength())));
    }
    if (focused && caretOn_) {
        // Inverted, as the system caret is: visible on a dark field as on a light one.
        c.PatBlt(TextX(caret_), ty, 1, th, gfx::DSTINVERT);
    }
    c.RestoreState(level);
}

}  // namespace gui
