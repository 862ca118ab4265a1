#pragma once
// TWinControl: a control with a window of its own in the framework's sense: it has children
// (kept in z-order), clips them, can take the keyboard focus, and erases its background before
// it paints. Painting of a windowed control's area: EraseBackground, Paint, the graphic children
// bottom to top, then the windowed children bottom to top (each clipped to itself).
//
// Keyboard: the focused control gets KeyDown (key by reference: set it to 0 to consume it),
// KeyPress for characters (set to 0 to swallow it) and KeyUp; the form sees them first when its
// KeyPreview is on. Keys nobody consumed do the dialog work: Tab/Shift+Tab move the focus in tab
// order, Enter clicks the default button, Escape the cancel button, Alt+letter (or a letter that
// the focused control does not want) an "&" accelerator.
#include <vector>

#include "gui/Control.h"

namespace gui {

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Children, bottom of the z-order first.
    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(size_t(index)); }
    void InsertControl(TControl* c);  // normally through c->SetParent(this)
    void RemoveControl(TControl* c);
    bool ContainsControl(const TControl* c) const;  // c is this or below it
    // The topmost enabled, visible child at a client point (windowed children above graphic ones),
    // nullptr if none.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false) const;
    // The deepest control at a client point (this if no child is there).
    // local (optional) receives p in the found control's client coordinates.
    TControl* DeepestControlAt(TPoint p, bool allowDisabled = false, TPoint* local = nullptr);

    // Focus.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    int TabOrder() const;
    void SetTabOrder(int order);
    bool Focused() const;
    virtual bool CanFocus() const;  // showing and enabled up to the form
    virtual void SetFocus();
    // Tab-order list of this control's windowed descendants.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next control to Tab to from current (wraps), nullptr if none.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    // Wants Tab (otherwise Tab moves the focus) / plain letters (otherwise they may be accelerators).
    virtual bool WantsTab() const { return false; }
    virtual bool WantsChars() const { return false; }

    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }  // every form is back-buffered anyway

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();
    // The control holds its form's focus and the form has just become active or inactive: whether
    // it counts as Focused() changed without an enter or exit.
    virtual void FormActiveChanged() {}

    bool IsWinControl() const override { return true; }
    void SetBounds(int left, int top, int width, int height) override;

    // Lay out the children with Align (alClient fills what the edges leave).
    void Realign();
    // Destroy every child control (also those owned elsewhere), topmost first.
    void DestroyControls();

protected:
    friend class TControl;
    friend class TForm;
    friend class TApplication;

    // Fill the background before Paint(); the default fills ClientRect with Color. A control
    // that paints its whole area, or wants nothing erased, overrides it with nothing.
    virtual void EraseBackground(TCanvas& canvas);
    void PaintAt(TCanvas& canvas, TPoint origin, const TRect& clip) override;
    // Paint the graphic children below 'upTo' (all when nullptr); used for "parent image".
    void PaintGraphicChildren(TCanvas& canvas, TPoint origin, const TRect& clip, const TControl* upTo);
    void PaintWindowedChildren(TCanvas& canvas, TPoint origin, const TRect& clip);
    virtual void AlignControls(TRect& rect);
    void ParentShowHintChanged() override;
    void ColorChanged() override;
    void FontChanged() override;
    void EnabledChanged() override;

private:
    // Tells every child, on a copy of the list, that one of the looks it may take over changed.
    void TellChildren(void (TControl::*change)());
    void PaintChild(TCanvas& canvas, TPoint origin, const TRect& clip, TControl* c);

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int tabOrder_ = -1;
    bool doubleBuffered_ = false;
    bool aligning_ = false;
};

}  // namespace gui
