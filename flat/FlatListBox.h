#pragma once
// TFlatListBox: a list box that draws everything itself — a framed area of fixed item slots, a
// selection fill and, instead of a scroll bar, two thin arrow strips at the top and bottom that
// scroll by clicking or holding (after 600 ms, then every 100 ms, on one timer shared by all flat
// list boxes). It keeps its own items, top index, item index and a selection of indexes 0..255.
//
// The old mouse drivers' registered wheel message has no counterpart on our platforms; the
// framework's wheel event is the only wheel input.
#include <bitset>
#include <string>

#include "base/StringList.h"
#include "flat/FlatColors.h"
#include "flat/FlatUtils.h"
#include "gfx/Bitmap.h"
#include "gui/CustomControl.h"

namespace gui {
class TTimer;
}

namespace flat {

// One colour slot: the border.
class TFlatListBox : public TFlatControl<-1, -1, 0> {
public:
    static constexpr int kMaxSetterLines = 256;  // longer lists given to SetItems are ignored
    static constexpr int kSelectable = 256;      // indexes 0..255 can be marked selected
    static constexpr int kStripHeight = 11;
    static constexpr int kFirstDelay = 600;
    static constexpr int kRepeatInterval = 100;
    static constexpr int kWheelDelta = 120;  // one notch of the wheel

    // The item list. Every change clears the selection and repaints.
    class TItems {
    public:
        int Count() const { return list_.Count(); }
        const std::string& Strings(int index) const { return list_.Strings(index); }
        const std::string& operator[](int index) const { return list_.Strings(index); }
        int IndexOf(const std::string& s) const { return list_.IndexOf(s); }
        const base::TStringList& List() const { return list_; }

        int Add(const std::string& s);
        void Insert(int index, const std::string& s);
        void Delete(int index);
        void Clear();
        void SetStrings(int index, const std::string& s);

    private:
        friend class TFlatListBox;
        explicit TItems(TFlatListBox* owner) : owner_(owner) {}
        TFlatListBox* owner_;
        base::TStringList list_;
    };

    explicit TFlatListBox(gui::TComponent* owner);
    ~TFlatListBox() override;

    TItems& Items() { return items_; }
    const TItems& Items() const { return items_; }
    // A list of more than 256 lines is ignored. Otherwise its lines are trimmed (in the given
    // list itself) and copied, and the top index goes back to 0.
    void SetItems(base::TStringList& lines);

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ScrollBars() const { return scrollBars_; }
    void SetScrollBars(bool v);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode v);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v);

    gfx::TColor ColorArrow() const { return colorArrow_; }
    void SetColorArrow(gfx::TColor c);
    gfx::TColor ColorItemsRect() const { return colorItemsRect_; }
    void SetColorItemsRect(gfx::TColor c);
    gfx::TColor ColorItemsSelect() const { return colorItemsSelect_; }
    void SetColorItemsSelect(gfx::TColor c);

    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int v);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int v);
    int VisibleCount() const { return visibleCount_; }
    bool Selected(int index) const;
    gfx::TRect SlotRect(int slot) const;
    // An item too wide for its row ends in "…".
    bool ItemShortened(int index) const;

    // The timer that repeats the scroll while an arrow strip is held.
    gui::TTimer* RepeatTimer() const { return repeat_; }

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    bool DoMouseWheel(gui::TShiftState shift, int wheelDelta, gfx::TPoint mousePos) override;
    void KeyDown(int& key, gui::TShiftState shift) override;
    bool WantsChars() const override { return true; }
    void DoEnter() override;
    void DoExit() override;
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

protected:
    void Paint() override;
    void EraseBackground(gfx::TCanvas&) override {}
    void EnabledChanged() override;
    void PaintList(gfx::TCanvas& canvas);

private:
    // Kept between paints: painting allocates nothing while the size stays.
    gfx::TBitmap offscreen_;

    static gfx::TRect ItemTextRect(const gfx::TRect& slot);
    void Redraw();
    void ItemsChanged();
    void UpdateLayout(bool snapHeight);
    void UpdateHint();
    void StartRepeat(bool down);
    void RepeatTick();
    bool CanScrollDown() const;
    void PaintArrow(gfx::TCanvas& canvas, bool up, bool active);

    TItems items_;
    std::bitset<kSelectable> selection_;
    int itemHeight_ = 17;
    bool multiSelect_ = false;
    bool scrollBars_ = false;
    bool sorted_ = false;
    TTransparentMode transparentMode_ = tmNone;
    TBiDiMode biDiMode_ = bdLeftToRight;
    gfx::TColor colorArrow_;
    gfx::TColor colorItemsRect_, colorItemsSelect_;
    int topIndex_ = 0;
    int itemIndex_ = -1;
    int visibleCount_ = 0;
    bool repeatDown_ = false;
    gui::TTimer* repeat_ = nullptr;  // owned
    int wheelRest_ = 0;              // wheel delta short of a whole notch
};

}  // namespace flat
