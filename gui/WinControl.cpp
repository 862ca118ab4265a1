#include "gui/WinControl.h"

#include <algorithm>

#include "gui/Host.h"

namespace gui {

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    DestroyControls();
    // Leave the parent while still a windowed control (its tab list and focus need to know).
    if (Parent()) Parent()->RemoveControl(this);
}

void TWinControl::DestroyControls() {
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        delete c;  // removes itself from controls_
        if (!controls_.empty() && controls_.back() == c) controls_.pop_back();
    }
}

// ---- children -------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* c) {
    if (!c || c->parent_ == this) return;
    if (c->parent_) c->parent_->RemoveControl(c);
    c->parent_ = this;
    controls_.push_back(c);
    if (c->IsWinControl()) tabList_.push_back(static_cast<TWinControl*>(c));
    c->ParentColorChanged();
    c->ParentFontChanged();
    c->ParentShowHintChanged();
    c->Invalidate();
    if (c->align_ != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    if (!c || c->parent_ != this) return;
    if (!Destroying()) c->Invalidate();
    if (THost* host = Host()) host->ReleaseMouseState(c);
    if (c->IsWinControl()) {
        if (TFormHost* f = FormHost(); f && !Root()->Destroying()) {
            TWinControl* active = f->ActiveControl();
            if (active && static_cast<TWinControl*>(c)->ContainsControl(active)) f->SetActiveControl(nullptr);
        }
    }
    tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                  [c](TWinControl* w) { return static_cast<TControl*>(w) == c; }),
                   tabList_.end());
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    c->parent_ = nullptr;
    if (c->align_ != alNone && !Destroying()) Realign();
}

bool TWinControl::ContainsControl(const TControl* c) const {
    for (; c; c = c->parent_)
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
    // Windowed children lie above the graphic ones, whatever their order in the list: the topmost
    // windowed hit wins, else the topmost graphic one.
    TControl* graphic = nullptr;
    // The range form needs libstdc++'s ranges, which clang 14 cannot parse.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!c->visible_ || !gfx::Bounds(c->left_, c->top_, c->width_, c->height_).Contains(p)) continue;
        if ((!c->enabled_ && !allowDisabled) || c->Freeing()) continue;
        if (c->IsWinControl()) return c;
        if (!graphic) graphic = c;
    }
    return graphic;
}

TControl* TWinControl::DeepestControlAt(TPoint p, bool allowDisabled, TPoint* local) {
    TWinControl* w = this;
    for (;;) {
        TControl* c = w->ControlAtPos(p, allowDisabled);
        if (!c) {
            if (local) *local = p;
            return w;
        }
        p.X -= c->left_;
        p.Y -= c->top_;
        if (!c->IsWinControl()) {
            if (local) *local = p;
            return c;
        }
        w = static_cast<TWinControl*>(c);
    }
}

// ---- focus ------------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    order = std::clamp(order, 0, int(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::Focused() const {
    TFormHost* f = FormHost();
    return f && f->ActiveControl() == this && f->Active();
}

bool TWinControl::CanFocus() const {
    TFormHost* f = FormHost();
    if (!f) return false;
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

void TWinControl::SetFocus() {
    TFormHost* f = FormHost();
    if (!f || f == AsFormHost()) return;
    if (!CanFocus()) return;
    f->SetActiveControl(this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int n = int(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[size_t(i)] == current) start = i;
    if (start < 0) start = forward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[size_t(i)];
        if (c == current) break;
        if ((!checkTabStop || c->tabStop_) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
    FireEvent(OnKeyDown, this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    FireEvent(OnKeyPress, this, key);
}

void TWinControl::KeyUp(int& key, TShiftState shift) {
    FireEvent(OnKeyUp, this, key, shift);
}

void TWinControl::DoEnter() {
    FireEvent(OnEnter, this);
}

void TWinControl::DoExit() {
    FireEvent(OnExit, this);
}

// ---- layout -----------------------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool resized = width != Width() || height != Height();
    TControl::SetBounds(left, top, width, height);
    if (resized) Realign();
}

void TWinControl::Realign() {
    if (aligning_ || Destroying()) return;
    aligning_ = true;
    TRect r = ClientRect();
    try {
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TRect& rect) {
    auto place = [&](TAlign which) {
        std::vector<TControl*> list = controls_;
        for (TControl* c : list) {
            if (c->align_ != which || !c->visible_) continue;
            switch (which) {
                case alTop:
                    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->height_);
                    rect.Top += c->height_;
                    break;
                case alBottom:
                    c->SetBounds(rect.Left, rect.Bottom - c->height_, rect.Width(), c->height_);
                    rect.Bottom -= c->height_;
                    break;
                case alLeft:
                    c->SetBounds(rect.Left, rect.Top, c->width_, rect.Height());
                    rect.Left += c->width_;
                    break;
                case alRight:
                    c->SetBounds(rect.Right - c->width_, rect.Top, c->width_, rect.Height());
                    rect.Right -= c->width_;
                    break;
                case alClient:
                    c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
                    break;
                case alNone:
                    break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
}

// ---- look -------------------------------------------------------------------------------------

void TWinControl::TellChildren(void (TControl::*change)()) {
    // A child may leave the list while it hears of the change.
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) (c->*change)();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    TellChildren(&TControl::ParentColorChanged);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    TellChildren(&TControl::ParentFontChanged);
}

void TWinControl::ParentShowHintChanged() {
    TControl::ParentShowHintChanged();
    TellChildren(&TControl::ParentShowHintChanged);
}

void TWinControl::EnabledChanged() {
    TControl::EnabledChanged();
    if (!Enabled()) {
        if (TFormHost* f = FormHost();
            f && f != AsFormHost() && f->ActiveControl() && ContainsControl(f->ActiveControl()))
            f->SetActiveControl(nullptr);
    }
}

// ---- painting ---------------------------------------------------------------------------------

void TWinControl::EraseBackground(TCanvas& canvas) {
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
}

void TWinControl::PaintAt(TCanvas& canvas, TPoint origin, const TRect& clip) {
    TRect mine = gfx::Intersect(clip, gfx::Bounds(origin.X, origin.Y, Width(), Height()));
    if (mine.IsEmpty()) return;
    {
        gfx::TCanvasStateGuard saved(canvas);
        canvas.SetOrigin(origin);
        canvas.SetClipRect(gfx::Offset(mine, -origin.X, -origin.Y));
        EraseBackground(canvas);
    }
    TDispatchScope scope;  // a paint handler that frees a control does not pull it from under the loop
    if (HasCanvas()) RunPaint(canvas, origin, mine);
    PaintGraphicChildren(canvas, origin, mine, nullptr);
    PaintWindowedChildren(canvas, origin, mine);
    // Over the children too (a list's scroll bar lies on its edge).
    if (ControlCount() == 0) return;
    if (TFormHost* f = FormHost(); f && f != AsFormHost()) f->PaintFocusMark(this, canvas, origin, mine);
}

void TWinControl::PaintChild(TCanvas& canvas, TPoint origin, const TRect& clip, TControl* c) {
    // An earlier child's painting may have freed or moved this one.
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) return;
    const TPoint at{origin.X + c->left_, origin.Y + c->top_};
    const TRect r = gfx::Intersect(clip, gfx::Bounds(at.X, at.Y, c->width_, c->height_));
    if (r.IsEmpty()) return;
    try {
        c->PaintAt(canvas, at, r);
    } catch (...) {
        if (THost* host = Host()) host->HandleException(c);
    }
}

void TWinControl::PaintGraphicChildren(TCanvas& canvas, TPoint origin, const TRect& clip,
                                       const TControl* upTo) {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        if (c == upTo) break;
        if (c->IsWinControl() || !c->visible_) continue;
        PaintChild(canvas, origin, clip, c);
    }
}

void TWinControl::PaintWindowedChildren(TCanvas& canvas, TPoint origin, const TRect& clip) {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        if (!c->IsWinControl() || !c->visible_) continue;
        PaintChild(canvas, origin, clip, c);
    }
}

}  // namespace gui
