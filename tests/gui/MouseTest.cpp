// Mouse: capture from press to release, click and double-click order, enter/leave, wheel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessApp.h"
#include "gui/CustomControl.h"
#include "gui/GraphicControl.h"
#include "tests/support/Place.h"

using namespace gui;

namespace {

using Log = std::vector<std::string>;

template <class Base>
class Probe : public Base {
public:
    Probe(TComponent* owner, std::string tag, Log* log) : Base(owner), tag_(std::move(tag)), log_(log) {}
    bool eatWheel = false;

protected:
    void Note(const std::string& s) { log_->push_back(tag_ + ":" + s); }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Note(std::string(s & ssDouble ? "down2 " : "down ") + std::to_string(x) + "," + std::to_string(y) +
             (b == mbRight ? " right" : ""));
        Base::MouseDown(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override {
        Note("move " + std::to_string(x) + "," + std::to_string(y));
        Base::MouseMove(s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        Note("up");
        Base::MouseUp(b, s, x, y);
    }
    void Click() override {
        Note("click");
        Base::Click();
    }
    void DblClick() override {
        Note("dblclick");
        Base::DblClick();
    }
    void MouseEnter() override {
        Note("enter");
        Base::MouseEnter();
    }
    void MouseLeave() override {
        Note("leave");
        Base::MouseLeave();
    }
    bool DoMouseWheel(TShiftState s, int delta, TPoint p) override {
        Note("wheel " + std::to_string(delta));
        return eatWheel || Base::DoMouseWheel(s, delta, p);
    }

private:
    std::string tag_;
    Log* log_;
};

using GProbe = Probe<TGraphicControl>;
using WProbe = Probe<TCustomControl>;

struct Scene {
    HeadlessApp t;
    Log log;
    TForm* form;
    GProbe* a;
    GProbe* b;
    WProbe* w;
    Scene() {
        form = t.Form(300, 200);
        a = form->Make<GProbe>("a", &log);
        a->SetParent(form);
        a->SetBounds(10, 10, 50, 30);
        b = form->Make<GProbe>("b", &log);
        b->SetParent(form);
        b->SetBounds(100, 10, 50, 30);
        w = form->Make<WProbe>("w", &log);
        w->SetParent(form);
        w->SetBounds(10, 100, 100, 50);
        form->Show();
    }
};

}  // namespace

TEST(Mouse, ClickIsDownClickUpAndTheCaptureKeepsThePressedControl) {
    Scene s;
    s.t.hb->MouseMove(20, 20);
    s.t.hb->Click(20, 20);
    EXPECT_EQ(s.log, (Log{"a:enter", "a:move 10,10", "a:move 10,10", "a:down 10,10", "a:click", "a:up"}));
    EXPECT_TRUE(s.a->MouseInside());

    // Press on a, drag onto b, release there: a keeps the mouse and gets no click.
    s.t.hb->Advance(1000);  // not a double click
    s.log.clear();
    s.t.hb->MouseDown(20, 20);
    s.t.hb->MouseMove(110, 15);
    s.t.hb->MouseUp(110, 15);
    EXPECT_EQ(s.log, (Log{"a:move 10,10", "a:down 10,10", "a:leave", "b:enter", "a:move 100,5", "a:up"}));
    EXPECT_EQ(s.t.app->CaptureControl(), nullptr);
    EXPECT_TRUE(s.b->MouseInside());
    EXPECT_FALSE(s.a->MouseInside());

    // The right button raises no click.
    s.t.hb->Advance(1000);
    s.log.clear();
    s.t.hb->Click(110, 15, mbRight);
    EXPECT_EQ(s.log, (Log{"b:move 10,5", "b:down 10,5 right", "b:up"}));

    // A disabled control lets the press through to its parent; a hidden one gives up the pointer.
    s.log.clear();
    s.b->SetEnabled(false);
    s.t.hb->Click(110, 15);
    EXPECT_TRUE(s.log.empty());
    s.t.hb->MouseMove(20, 20);
    s.a->Hide();
    EXPECT_FALSE(s.a->MouseInside());
    EXPECT_EQ(s.t.app->MouseControl(), nullptr);
}

TEST(Mouse, DoubleClickNeedsTheTimeTheDistanceAndTheSameControl) {
    Scene s;
    s.t.hb->MouseMove(20, 20);
    s.log.clear();
    s.t.hb->DoubleClick(20, 20);
    EXPECT_EQ(s.log, (Log{"a:move 10,10", "a:down 10,10", "a:click", "a:up", "a:move 10,10", "a:dblclick",
                          "a:down2 10,10", "a:up"}));

    // A third quick press starts afresh: press, click, release.
    s.log.clear();
    s.t.hb->Click(20, 20);
    EXPECT_EQ(s.log, (Log{"a:move 10,10", "a:down 10,10", "a:click", "a:up"}));

    // Too slow: two clicks.
    s.t.hb->Advance(1000);
    s.log.clear();
    s.t.hb->Click(20, 20);
    s.t.hb->Advance(501);
    s.t.hb->Click(20, 20);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "a:click"), 2);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "a:dblclick"), 0);

    // Within the time but outside the double-click box (4 pixels): two clicks.
    s.t.hb->Advance(1000);
    s.log.clear();
    s.t.hb->Click(20, 20);
    s.t.hb->Click(23, 20);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "a:dblclick"), 0);

    // The desktop's setting counts.
    s.t.hb->MutableSettings()->doubleClickTime = 200;
    s.t.hb->Advance(1000);
    s.log.clear();
    s.t.hb->Click(20, 20);
    s.t.hb->Advance(250);
    s.t.hb->Click(20, 20);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "a:dblclick"), 0);

    // A control without double clicks gets two plain clicks.
    s.t.hb->Advance(1000);
    s.a->SetControlStyle(s.a->ControlStyle() & ~csDoubleClicks);
    s.log.clear();
    s.t.hb->DoubleClick(20, 20);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "a:click"), 2);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "a:dblclick"), 0);
}

TEST(Mouse, WheelGoesToTheControlUnderThePointerThenTheFocusedOneAndLeavingTheWindowLeaves) {
    Scene s;
    Place<GProbe>(s.w, 0, 0, 10, 10, "child", &s.log);
    s.w->SetTabStop(true);
    s.w->SetFocus();
    ASSERT_TRUE(s.w->Focused());
    s.log.clear();
    s.t.hb->Wheel(20, 20, -2);  // over a, which passes it on: the focused pane takes it
    EXPECT_EQ(s.log, (Log{"a:enter", "a:move 10,10", "a:wheel -240", "w:wheel -240"}));
    s.a->eatWheel = true;  // a control that scrolls keeps it, focused or not
    s.log.clear();
    s.t.hb->Wheel(20, 20, 1);
    EXPECT_EQ(s.log, (Log{"a:move 10,10", "a:wheel 120"}));
    s.a->eatWheel = false;
    s.w->eatWheel = false;
    s.log.clear();
    s.t.hb->Wheel(20, 20, 1);
    EXPECT_EQ(s.log, (Log{"a:move 10,10", "a:wheel 120", "w:wheel 120"}));

    // The pointer leaving the window leaves the control under it.
    s.log.clear();
    Event leave;
    leave.type = EventType::MouseLeftWindow;
    leave.window = s.form->Handle();
    s.t.hb->Inject(leave);
    s.t.hb->Pump();
    EXPECT_EQ(s.log, (Log{"a:leave"}));

    // Moving into the nested control: enter/leave follow the deepest control.
    s.log.clear();
    s.t.hb->MouseMove(15, 105);
    s.t.hb->MouseMove(50, 120);
    EXPECT_EQ(s.log, (Log{"child:enter", "child:move 5,5", "child:leave", "w:enter", "w:move 40,20"}));
}
