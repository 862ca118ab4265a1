#include "gui/Control.h"

#include <algorithm>
#include <optional>

#include "gui/Host.h"
#include "gui/WinControl.h"

namespace gui {

namespace {

// Subtract b from a, appending the remaining pieces (up to four) to out.
void SubtractRect(const TRect& a, const TRect& b, std::vector<TRect>& out) {
    TRect cut = gfx::Intersect(a, b);
    if (cut.IsEmpty()) {
        out.push_back(a);
        return;
    }
    if (a.Top < cut.Top) out.push_back({a.Left, a.Top, a.Right, cut.Top});
    if (cut.Bottom < a.Bottom) out.push_back({a.Left, cut.Bottom, a.Right, a.Bottom});
    if (a.Left < cut.Left) out.push_back({a.Left, cut.Top, cut.Left, cut.Bottom});
    if (cut.Right < a.Right) out.push_back({cut.Right, cut.Top, a.Right, cut.Bottom});
}

void SubtractFromRegion(std::vector<TRect>& region, const TRect& r) {
    if (r.IsEmpty()) return;
    std::vector<TRect> out;
    for (const TRect& a : region) SubtractRect(a, r, out);
    region.swap(out);
}

}  // namespace

TControl::TControl(TComponent* owner)
    : TComponent(owner), color_(gfx::clBtnFace), font_(std::make_unique<TFont>()) {
    font_->OnChange = [this] { FontOnChange(); };
}

TControl::~TControl() {
    MarkDestroying();
    if (THost* host = Host()) host->ReleaseMouseState(this);
    if (parent_) parent_->RemoveControl(this);
}

// ---- parent and position ------------------------------------------------------------------

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

const TControl* TControl::Root() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return c;
}

TFormHost* TControl::FormHost() const {
    return Root()->AsFormHost();
}

TForm* TControl::ParentForm() const {
    TFormHost* f = FormHost();
    return f ? f->Form() : nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool resized = width != width_ || height != height_;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    if (resized) Resize();
    if (align_ != alNone) RequestAlign();
}

TRect TControl::BoundsRect() const {
    return gfx::Bounds(left_, top_, width_, height_);
}

TRect TControl::ClientRect() const {
    return {0, 0, width_, height_};
}

TPoint TControl::ClientToForm(TPoint p) const {
    const TControl* c = this;
    while (c->parent_) {
        p.X += c->left_;
        p.Y += c->top_;
        c = c->parent_;
    }
    return p;
}

TPoint TControl::ClientToScreen(TPoint p) const {
    p = ClientToForm(p);
    if (const TControl* f = Root(); f->AsFormHost()) {
        p.X += f->Left();
        p.Y += f->Top();
    }
    return p;
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientToScreen({0, 0});
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->Realign();
}

void TControl::Resize() {
    FireEvent(OnResize, this);
}

// ---- look -----------------------------------------------------------------------------------

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    if (visible) Invalidate();
    if (THost* host = Host(); host && !visible) host->ReleaseMouseState(this);
    VisibleChanged();
    if (align_ != alNone) RequestAlign();
}

bool TControl::Showing() const {
    if (!visible_) return false;
    if (parent_) return parent_->Showing();
    return AsFormHost() != nullptr;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::EnabledChanged() {
    if (THost* host = Host(); host && !enabled_) host->ReleaseMouseState(this);
    Invalidate();
}

bool TControl::EnabledChain() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
}

void TControl::ColorChanged() {
    Invalidate();
}

void TControl::SetParentColor(bool v) {
    if (v == parentColor_) return;
    parentColor_ = v;
    if (v && parent_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (parentColor_ && parent_ && parent_->Color() != color_) {
        color_ = parent_->Color();
        ColorChanged();
    }
}

void TControl::SetFont(const TFont& font) {
    font_->Assign(font);
}

void TControl::FontOnChange() {
    if (!fontFromParent_) parentFont_ = false;
    FontChanged();
}

void TControl::FontChanged() {
    Invalidate();
}

void TControl::SetParentFont(bool v) {
    if (v == parentFont_) return;
    parentFont_ = v;
    if (v && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (parentFont_ && parent_ && !(*font_ == parent_->Font())) {
        fontFromParent_ = true;
        font_->Assign(parent_->Font());
        fontFromParent_ = false;
    }
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    CursorChanged();
}

void TControl::CursorChanged() {
    if (THost* host = Host(); host && host->MouseControl() == this) host->UpdateCursor();
}

void TControl::SetShowHint(bool v) {
    parentShowHint_ = false;
    showHint_ = v;
}

void TControl::SetParentShowHint(bool v) {
    if (v == parentShowHint_) return;
    parentShowHint_ = v;
    if (v) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
    if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
}

bool TControl::HintEnabled() const {
    return showHint_ && !hint_.empty();
}

void TControl::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    TextChanged();
}

void TControl::TextChanged() {
    Invalidate();
}

// ---- z-order ----------------------------------------------------------------------------------

void TControl::BringToFront() {
    if (!parent_) {
        if (TFormHost* f = AsFormHost(); f && f->Handle())
            if (THost* host = Host()) host->TheBackend().RaiseWindow(f->Handle());
        return;
    }
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end() || it + 1 == list.end()) return;
    list.erase(it);
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end() || it == list.begin()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    Invalidate();
}

// ---- painting ---------------------------------------------------------------------------------

TRect TControl::FormRectOf(const TRect& clientRect) const {
    TPoint o = ClientToForm({0, 0});
    return gfx::Offset(clientRect, o.X, o.Y);
}

TRect TControl::VisibleFormRect() const {
    TRect r = FormRectOf({0, 0, width_, height_});
    for (const TControl* p = parent_; p; p = p->parent_) {
        TRect pr = p->FormRectOf({0, 0, p->width_, p->height_});
        r = gfx::Intersect(r, pr);
        if (r.IsEmpty()) break;
    }
    return r;
}

void TControl::VisibleRegion(std::vector<TRect>& region) const {
    region.clear();
    TRect r = VisibleFormRect();
    if (r.IsEmpty()) return;
    region.push_back(r);
    // A windowed control clips its windowed children; windowed siblings above a control cover it
    // (all windowed siblings, for a graphic control).
    if (IsWinControl()) {
        auto* self = static_cast<const TWinControl*>(this);
        for (TControl* c : self->controls_)
            if (c->IsWinControl() && c->visible_)
                SubtractFromRegion(region, c->FormRectOf({0, 0, c->width_, c->height_}));
    }
    const TControl* child = this;
    for (const TWinControl* p = parent_; p && !region.empty(); child = p, p = p->parent_) {
        bool above = false;
        for (TControl* s : p->controls_) {
            if (s == child) {
                above = true;
                continue;
            }
            if (!s->IsWinControl() || !s->visible_) continue;
            if (above || !child->IsWinControl())
                SubtractFromRegion(region, s->FormRectOf({0, 0, s->width_, s->height_}));
        }
    }
}

void TControl::Invalidate() {
    InvalidateRect({0, 0, width_, height_});
}

void TControl::InvalidateRect(const TRect& clientRect) {
    if (!visible_ || Destroying()) return;
    TFormHost* f = FormHost();
    if (!f || Root()->Destroying() || !Showing()) return;
    TRect r = gfx::Intersect(FormRectOf(clientRect), VisibleFormRect());
    if (!r.IsEmpty()) f->InvalidateFormRect(r);
}

void TControl::Update() {
    if (TFormHost* f = FormHost(); f && Root()->Showing()) f->PaintInvalid();
}

void TControl::Repaint() {
    TFormHost* f = FormHost();
    if (!f || !Showing() || Loading()) return;
    TRect r = VisibleFormRect();
    if (!r.IsEmpty()) f->PaintFormRect(r);
}

void TControl::PaintNow() {
    TFormHost* f = FormHost();
    if (!f || !Showing() || Loading() || !HasCanvas()) return;
    if (controlState_ & csPainting) return;
    if (Freeing()) return;  // a control that is going draws nothing more
    std::vector<TRect> region;
    VisibleRegion(region);
    if (region.empty()) return;
    TDispatchScope scope;
    TPoint origin = ClientToForm({0, 0});
    TRect bounds{};
    for (const TRect& r : region) {
        RunPaint(f->FormCanvas(), origin, r);
        bounds = gfx::UnionRect(bounds, r);
    }
    f->Present(bounds);
}

void TControl::PaintAt(TCanvas& canvas, TPoint origin, const TRect& clip) {
    if (HasCanvas()) RunPaint(canvas, origin, clip);
}

void TControl::EnsureOwnCanvas(gfx::TBitmap& target) {
    if (ownCanvas_ && &ownCanvas_->Bitmap() == &target) return;
    auto c = std::make_unique<TCanvas>(target);
    if (ownCanvas_) {
        // The pen, brush and font a control set up stay with it.
        c->SetFont(ownCanvas_->Font());
        c->SetPen(ownCanvas_->Pen());
        c->SetBrush(ownCanvas_->Brush());
    }
    ownCanvas_ = std::move(c);
}

TCanvas& TControl::SurfaceCanvas() {
    if (paintCanvas_) return *paintCanvas_;
    TFormHost* f = FormHost();
    if (f) {
        EnsureOwnCanvas(f->BackBuffer());
        // Outside Paint() the canvas still draws at the control's place on the form; what is
        // drawn there is shown when the loop is idle.
        TPoint o = ClientToForm({0, 0});
        TRect visible = VisibleFormRect();
        ownCanvas_->SetOrigin(o);
        ownCanvas_->SetClipRect(gfx::Offset(visible, -o.X, -o.Y));
        if (Showing()) f->MarkDrawn(visible);
        return *ownCanvas_;
    }
    if (!scratch_) scratch_ = std::make_unique<gfx::TBitmap>(1, 1);
    EnsureOwnCanvas(*scratch_);
    return *ownCanvas_;
}

void TControl::RunPaint(TCanvas& canvas, TPoint origin, const TRect& clip) {
    TRect devClip = gfx::Intersect(clip, gfx::Bounds(origin.X, origin.Y, width_, height_));
    if (devClip.IsEmpty()) return;
    TFormHost* f = FormHost();
    TCanvas* surface;
    std::optional<gfx::TCanvasStateGuard> saved;  // a canvas that is not the control's own
    if (f && &canvas.Bitmap() == &f->BackBuffer()) {
        EnsureOwnCanvas(f->BackBuffer());
        surface = ownCanvas_.get();
    } else {
        surface = &canvas;
        saved.emplace(canvas);
    }
    surface->SetOrigin(origin);
    surface->SetClipRect(gfx::Offset(devClip, -origin.X, -origin.Y));
    TCanvas* outer = paintCanvas_;
    paintCanvas_ = surface;
    TControlState was = controlState_;
    controlState_ |= csPainting;
    TDispatchScope scope;
    try {
        Paint();
    } catch (...) {
        paintCanvas_ = outer;
        controlState_ = was;
        throw;
    }
    paintCanvas_ = outer;
    controlState_ = (controlState_ & ~csPainting) | (was & csPainting);
    if (f && f != AsFormHost()) f->PaintFocusMark(this, *surface, origin, devClip);
}

void TControl::PaintParentInto(TCanvas& canvas, TPoint offset) {
    TWinControl* p = parent_;
    if (!p) return;
    gfx::TCanvasStateGuard saved(canvas);
    // Parent client 0,0 lands at offset - (Left, Top) in canvas coordinates.
    TPoint o = canvas.Origin();
    TPoint origin{o.X + offset.X - left_, o.Y + offset.Y - top_};
    TRect clip = gfx::Offset(canvas.ClipRect(), o.X, o.Y);
    clip = gfx::Intersect(clip, gfx::Bounds(origin.X, origin.Y, p->width_, p->height_));
    if (!clip.IsEmpty()) {
        canvas.SetOrigin(origin);
        canvas.SetClipRect(gfx::Offset(clip, -origin.X, -origin.Y));
        p->EraseBackground(canvas);
        canvas.SetOrigin(o);
        canvas.SetClipRect(gfx::Offset(clip, -o.X, -o.Y));
        if (p->HasCanvas()) p->RunPaint(canvas, origin, clip);
        p->PaintGraphicChildren(canvas, origin, clip, IsWinControl() ? nullptr : this);
    }
}

// ---- mouse and keys ---------------------------------------------------------------------------

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!(style_ & csNoStdEvents)) FireEvent(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (!(style_ & csNoStdEvents)) FireEvent(OnMouseMove, this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!(style_ & csNoStdEvents)) FireEvent(OnMouseUp, this, button, shift, x, y);
}

void TControl::Click() {
    FireEvent(OnClick, this);
}

void TControl::DblClick() {
    FireEvent(OnDblClick, this);
}

void TControl::MouseEnter() {
    FireEvent(OnMouseEnter, this);
}

void TControl::MouseLeave() {
    FireEvent(OnMouseLeave, this);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    FireEvent(OnMouseWheel, this, shift, wheelDelta, mousePos, handled);
    return handled;
}

bool TControl::DialogChar(char) {
    return false;
}

bool TControl::DialogKey(int, TShiftState) {
    return false;
}

bool TControl::StartsWindowDrag(int, int) const {
    return false;
}

}  // namespace gui
