#include "flat/FlatListBox.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/StrUtils.h"
#include "flat/HslColor.h"
#include "flat/ListNavigation.h"
#include "gui/Application.h"
#include "gui/Timer.h"

namespace flat {

using gfx::TColor;
using gfx::TRect;

// --- items -------------------------------------------------------------------------------------

int TFlatListBox::TItems::Add(const std::string& s) {
    const int index = list_.Add(s);
    owner_->ItemsChanged();
    return index;
}

void TFlatListBox::TItems::Insert(int index, const std::string& s) {
    list_.Insert(index, s);
    owner_->ItemsChanged();
}

void TFlatListBox::TItems::Delete(int index) {
    list_.Delete(index);
    owner_->ItemsChanged();
}

void TFlatListBox::TItems::Clear() {
    list_.Clear();
    owner_->ItemsChanged();
}

void TFlatListBox::TItems::SetStrings(int index, const std::string& s) {
    list_.SetStrings(index, s);
    owner_->ItemsChanged();
}

// --- construction ------------------------------------------------------------------------------

TFlatListBox::TFlatListBox(gui::TComponent* owner)
    : TFlatControl(owner, [this] { Redraw(); }, {gfx::RGB(160, 150, 131)}, {{0, 40, ctDarken}}),
      items_(this),
      colorArrow_(gfx::clBlack),
      colorItemsRect_(gfx::clWhite),
      colorItemsSelect_(gfx::RGB(247, 222, 156)) {
    SetControlStyle(gui::csCaptureMouse | gui::csClickEvents | gui::csDoubleClicks | gui::csOpaque);
    items_.list_.SetDuplicates(base::TDuplicates::dupAccept);
    SetParentColor(true);
    SetParentFont(true);
    SetTabStop(true);
    // Only the pressed list box repeats, so each owns its timer, which goes with it.
    repeat_ = Make<gui::TTimer>();
    repeat_->SetEnabled(false);
    repeat_->SetInterval(kFirstDelay);
    repeat_->SetOnTimer([this](gui::TComponent*) { RepeatTick(); });
    SetBounds(Left(), Top(), 137, 99);
}

TFlatListBox::~TFlatListBox() = default;

void TFlatListBox::Redraw() {
    if (Showing()) PaintNow();
}

// --- properties --------------------------------------------------------------------------------

void TFlatListBox::SetItems(base::TStringList& lines) {
    if (lines.Count() > kMaxSetterLines) return;
    base::TStringList copy;
    copy.SetDuplicates(base::TDuplicates::dupAccept);
    copy.SetSorted(sorted_);
    for (int i = 0; i < lines.Count(); ++i) {
        std::string trimmed = base::Trim(lines[i]);
        if (!lines.Sorted()) lines.SetStrings(i, trimmed);
        copy.Add(trimmed);
    }
    items_.list_ = std::move(copy);
    if (items_.Count() > 0) topIndex_ = 0;
    ItemsChanged();
}

void TFlatListBox::ItemsChanged() {
    selection_.reset();
    if (Enabled()) Redraw();
}

void TFlatListBox::SetItemHeight(int v) {
    if (v <= 0) v = 1;
    itemHeight_ = v;
    UpdateLayout(!Loading());
    Redraw();
}

void TFlatListBox::SetMultiSelect(bool v) {
    multiSelect_ = v;
    if (v) SetItemIndex(0);
}

void TFlatListBox::SetScrollBars(bool v) {
    if (scrollBars_ == v) return;
    scrollBars_ = v;
    if (!Loading()) {
        // The strips take 20 pixels: the slots keep their room.
        gui::TCustomControl::SetBounds(Left(), Top(), Width(), Height() + (v ? 20 : -20));
    }
    UpdateLayout(false);
    Redraw();
}

void TFlatListBox::SetSorted(bool v) {
    if (sorted_ == v) return;
    sorted_ = v;
    items_.list_.SetSorted(v);
    selection_.reset();
    Redraw();
}

void TFlatListBox::SetTransparentMode(TTransparentMode v) {
    transparentMode_ = v;
    Redraw();
}

void TFlatListBox::SetBiDiMode(TBiDiMode v) {
    biDiMode_ = v;
    Redraw();
}

void TFlatListBox::SetColorArrow(TColor c) {
    colorArrow_ = c;
    Redraw();
}

void TFlatListBox::SetColorItemsRect(TColor c) {
    colorItemsRect_ = c;
    Redraw();
}

void TFlatListBox::SetColorItemsSelect(TColor c) {
    colorItemsSelect_ = c;
    Redraw();
}

void TFlatListBox::SetTopIndex(int v) {
    if (v < 0) v = 0;
    if (topIndex_ == v) return;
    topIndex_ = v;
    Redraw();
}

void TFlatListBox::SetItemIndex(int v) {
    if (v != itemIndex_) {
        itemIndex_ = v;
        if (multiSelect_) {
            if (v >= 0 && v < kSelectable) selection_.flip(size_t(v));
        } else {
            selection_.reset();
            if (v >= 0 && v < kSelectable) selection_.set(size_t(v));
        }
        Redraw();
    }
    UpdateHint();
}

void TFlatListBox::UpdateHint() {
    // An index that names no item leaves an empty hint.
    SetHint(itemIndex_ >= 0 && itemIndex_ < items_.Count() ? items_[itemIndex_] : std::string());
}

bool TFlatListBox::Selected(int index) const {
    return index >= 0 && index < kSelectable && selection_.test(size_t(index));
}

// --- layout ------------------------------------------------------------------------------------

void TFlatListBox::UpdateLayout(bool snapHeight) {
    const int pitch = itemHeight_ + 2;
    const int chrome = scrollBars_ ? 24 : 4;
    visibleCount_ = std::max(0, (Height() - chrome) / pitch);
    if (snapHeight) {
        const int snapped = pitch * visibleCount_ + chrome;
        if (snapped != Height()) gui::TCustomControl::SetBounds(Left(), Top(), Width(), snapped);
    }
}

TRect TFlatListBox::ItemTextRect(const TRect& slot) {
    return TRect{slot.Left + 3, slot.Top, slot.Right - 3, slot.Bottom};
}

bool TFlatListBox::ItemShortened(int index) const {
    if (index < 0 || index >= items_.Count()) return false;
    gfx::TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas().SetFont(Font());
    return measure.Canvas().TextWidth(items_[index]) > ItemTextRect(SlotRect(0)).Width();
}

TRect TFlatListBox::SlotRect(int slot) const {
    const int y0 = scrollBars_ ? 13 : 3;
    const int top = y0 + slot * (itemHeight_ + 2);
    return TRect{3, top, ClientWidth() - 3, top + itemHeight_};
}

void TFlatListBox::SetBounds(int left, int top, int width, int height) {
    gui::TCustomControl::SetBounds(left, top, width, height);
    UpdateLayout(!Loading());
    if (transparentMode_ != tmNone) Invalidate();
}

void TFlatListBox::Loaded() {
    gui::TCustomControl::Loaded();
    UpdateLayout(false);
    Invalidate();
}

// --- mouse -------------------------------------------------------------------------------------

bool TFlatListBox::CanScrollDown() const {
    return items_.Count() >= topIndex_ + visibleCount_ + 1;
}

void TFlatListBox::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft && items_.Count() > 0) {
        for (int slot = 0; slot < visibleCount_; ++slot) {
            if (!SlotRect(slot).Contains({x, y})) continue;
            const int i = topIndex_ + slot;
            if (multiSelect_) {
                if (i < kSelectable) selection_.flip(size_t(i));
            } else {
                selection_.reset();
                if (i < kSelectable) selection_.set(size_t(i));
            }
            itemIndex_ = i;
            if (CanFocus()) SetFocus();
            Redraw();
            return;  // a click on an item raises no mouse-down event
        }
    }
    if (scrollBars_) {
        if (y >= 0 && y < kStripHeight) {
            if (topIndex_ > 0) --topIndex_;
            StartRepeat(false);
        } else if (y >= ClientHeight() - kStripHeight && y < ClientHeight()) {
            if (CanScrollDown()) ++topIndex_;
            StartRepeat(true);
        }
    }
    gui::TCustomControl::MouseDown(button, shift, x, y);
}

void TFlatListBox::StartRepeat(bool down) {
    repeatDown_ = down;
    if (CanFocus()) SetFocus();
    Redraw();
    repeat_->SetEnabled(false);
    repeat_->SetEnabled(true);
}

void TFlatListBox::RepeatTick() {
    repeat_->SetInterval(kRepeatInterval);
    if (repeatDown_) {
        if (!CanScrollDown()) {
            repeat_->SetEnabled(false);
        } else {
            ++topIndex_;
        }
    } else if (topIndex_ == 0) {
        repeat_->SetEnabled(false);
    } else {
        --topIndex_;
    }
    Redraw();
}

void TFlatListBox::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    repeat_->SetEnabled(false);
    repeat_->SetInterval(kFirstDelay);
    gui::TCustomControl::MouseUp(button, shift, x, y);
    UpdateHint();
}

bool TFlatListBox::DoMouseWheel(gui::TShiftState shift, int wheelDelta, gfx::TPoint mousePos) {
    int lines = gui::Application ? gui::Application->TheBackend().Settings().wheelScrollLines : 3;
    if (lines == 0) lines = visibleCount_;  // 0 means a page
    const int n = items_.Count();
    // Backends merge notches (240, 360, ...) and fine wheels send less than 120: every whole 120
    // is one notch, the remainder waits for the next delta.
    const std::int64_t total = std::int64_t(wheelRest_) + wheelDelta;
    const std::int64_t notches = total / kWheelDelta;
    wheelRest_ = int(total - notches * kWheelDelta);
    // Several notches at once end where as many single notches would.
    const std::int64_t top = topIndex_ - notches * lines;
    if (notches < 0 && top + visibleCount_ > n)
        topIndex_ = std::max(0, n - visibleCount_);
    else if (notches > 0)
        topIndex_ = int(std::max<std::int64_t>(0, top));
    else
        topIndex_ = int(top);
    Redraw();
    gui::TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos);
    return true;
}

// --- keys --------------------------------------------------------------------------------------

void TFlatListBox::KeyDown(int& key, gui::TShiftState shift) {
    TListMove move{topIndex_, false, itemIndex_};
    bool handled = true;
    switch (key) {
        case gui::VK_PRIOR:
        case gui::VK_NEXT:
        case gui::VK_END:
        case gui::VK_HOME:
        case gui::VK_UP:
        case gui::VK_DOWN:
            move = ListNavigate(key, topIndex_, visibleCount_, itemIndex_, items_.Count());
            break;
        default:
            if (char c = ListSearchChar(key)) {
                std::vector<std::string> texts;
                texts.reserve(size_t(items_.Count()));
                for (int i = 0; i < items_.Count(); ++i) texts.push_back(items_[i]);
                move = ListIncrementalSearch(c, texts, visibleCount_);
            } else {
                handled = false;
            }
    }
    if (handled) {
        // The ItemIndex setter runs first, as the Up/Down rules read the index it sets.
        if (move.Select) SetItemIndex(move.Index);
        topIndex_ = std::max(0, move.TopIndex);
    }
    Redraw();
    gui::TCustomControl::KeyDown(key, shift);
}

void TFlatListBox::DoEnter() {
    gui::TCustomControl::DoEnter();
    if (transparentMode_ != tmNone) Invalidate();
}

void TFlatListBox::DoExit() {
    gui::TCustomControl::DoExit();
    if (transparentMode_ != tmNone) Invalidate();
}

void TFlatListBox::EnabledChanged() {
    gui::TCustomControl::EnabledChanged();
    Invalidate();
}

// --- painting ----------------------------------------------------------------------------------

void TFlatListBox::Paint() {
    const TRect client = ClientRect();
    if (client.IsEmpty()) return;
    // Each paint starts as on a new bitmap: white pixels and a canvas in its first state.
    if (offscreen_.LogicalWidth() != client.Width() || offscreen_.LogicalHeight() != client.Height() ||
        offscreen_.Scale() != Canvas().Scale()) {
        offscreen_.SetScaledSize(client.Width(), client.Height(), Canvas().Scale());
    }
    for (int y = 0; y < offscreen_.Height(); ++y)
        std::fill(offscreen_.Row32(y), offscreen_.Row32(y) + offscreen_.Width(), 0x00FFFFFFu);
    offscreen_.Canvas().Reset();
    PaintList(offscreen_.Canvas());
    PresentOffscreen(Canvas(), offscreen_);
}

void TFlatListBox::PaintArrow(gfx::TCanvas& canvas, bool up, bool active) {
    const int c = ClientWidth() / 2;
    const int bottom = ClientHeight();
    auto triangle = [&](int dx, int dy, TColor color) {
        std::array<gfx::TPoint, 3> pts;
        if (up) {
            pts = {gfx::TPoint{c - 2 + dx, 6 + dy}, gfx::TPoint{c + 2 + dx, 6 + dy},
                   gfx::TPoint{c + dx, 4 + dy}};
        } else {
            pts = {gfx::TPoint{c - 2 + dx, bottom - 7 + dy}, gfx::TPoint{c + 2 + dx, bottom - 7 + dy},
                   gfx::TPoint{c + dx, bottom - 5 + dy}};
        }
        canvas.Pen().SetColor(color);
        canvas.Brush().SetColor(color);
        canvas.Polygon(pts);
    };
    if (active) {
        triangle(0, 0, colorArrow_);
    } else {
        triangle(1, 1, gfx::clWhite);
        triangle(0, 0, gfx::RGB(128, 128, 128));
    }
}

void TFlatListBox::PaintList(gfx::TCanvas& canvas) {
    const TRect client = ClientRect();
    canvas.SetFont(Font());
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(gfx::psSolid);

    const bool parentImage = transparentMode_ == tmAlways || (transparentMode_ == tmNotFocused && !Focused());
    if (parentImage) {
        DrawParentImage(this, canvas);
    } else {
        canvas.Brush().SetColor(colorItemsRect_);
        canvas.FillRect(client);
    }
    DrawFrame(canvas, client, ColorBorder());

    if (scrollBars_) {
        const TRect top{0, 0, client.Right, kStripHeight};
        const TRect bottom{0, client.Bottom - kStripHeight, client.Right, client.Bottom};
        for (const TRect& strip : {top, bottom}) {
            canvas.Brush().SetColor(Color());
            canvas.FillRect(strip);
            DrawFrame(canvas, strip, ColorBorder());
        }
        PaintArrow(canvas, true, topIndex_ > 0 && Enabled());
        PaintArrow(canvas, false, CanScrollDown() && Enabled());
    }

    const unsigned align = biDiMode_ == bdRightToLeft ? gfx::DT_RIGHT : gfx::DT_LEFT;
    const unsigned flags =
        gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS | align;
    for (int slot = 0; slot < visibleCount_; ++slot) {
        const int i = topIndex_ + slot;
        if (i >= items_.Count()) break;
        const TRect r = SlotRect(slot);
        if (Selected(i)) {
            canvas.Brush().SetColor(colorItemsSelect_);
            canvas.FillRect(r);
            DrawFrame(canvas, r, ColorBorder());
        }
        DrawFlatText(canvas, items_[i], ItemTextRect(r), flags, Enabled(), Font().Color());
    }
}

}  // namespace flat
