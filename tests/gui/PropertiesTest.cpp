// Properties that follow the parent, alignment, the look of the standard controls.
#include <gtest/gtest.h>

#include "HeadlessApp.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "gui/GroupBox.h"
#include "gui/Label.h"
#include "gui/Panel.h"
#include "tests/support/Place.h"

using namespace gui;

TEST(Properties, ColourFontAndHintsFollowTheParentUntilSetOwn) {
    HeadlessApp t;
    auto* f = t.Form(300, 200);
    auto* panel = f->Make<TPanel>();
    panel->SetParent(f);
    auto* label = f->Make<TLabel>();
    label->SetParent(panel);
    EXPECT_TRUE(label->ParentColor());
    panel->SetColor(gfx::clYellow);
    EXPECT_EQ(label->Color(), gfx::clYellow);
    label->SetColor(gfx::clRed);  // own colour: no longer the parent's
    EXPECT_FALSE(label->ParentColor());
    panel->SetColor(gfx::clAqua);
    EXPECT_EQ(label->Color(), gfx::clRed);
    label->SetParentColor(true);
    EXPECT_EQ(label->Color(), gfx::clAqua);

    f->Font().SetName("Arial");
    f->Font().SetHeight(-17);
    EXPECT_EQ(panel->Font().Name(), "Arial");
    EXPECT_EQ(label->Font().Height(), -17);
    label->Font().SetStyle(gfx::fsUnderline);  // changing the own font ends ParentFont
    EXPECT_FALSE(label->ParentFont());
    f->Font().SetHeight(-11);
    EXPECT_EQ(label->Font().Height(), -17);
    EXPECT_EQ(panel->Font().Height(), -11);

    // A control placed later takes the parent's look at once.
    auto* late = f->Make<TLabel>();
    late->SetParent(panel);
    EXPECT_EQ(late->Color(), gfx::clAqua);
    EXPECT_EQ(late->Font().Name(), "Arial");

    panel->SetShowHint(true);
    auto* b = f->Make<TButton>();
    b->SetParent(panel);
    EXPECT_TRUE(b->ShowHint());  // ParentShowHint
    b->SetShowHint(false);
    EXPECT_FALSE(b->ParentShowHint());
}

TEST(Properties, AlignedChildrenShareTheClientAreaAndFollowResizes) {
    HeadlessApp t;
    auto* f = t.Form(300, 200);
    auto* top = f->Make<TPanel>();
    top->SetParent(f);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* left = f->Make<TPanel>();
    left->SetParent(f);
    left->SetWidth(50);
    left->SetAlign(alLeft);
    auto* client = f->Make<TPanel>();
    client->SetParent(f);
    client->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), gfx::Rect(0, 0, 300, 30));
    EXPECT_EQ(left->BoundsRect(), gfx::Rect(0, 30, 50, 200));
    EXPECT_EQ(client->BoundsRect(), gfx::Rect(50, 30, 300, 200));
    f->SetBounds(0, 0, 400, 250);
    EXPECT_EQ(client->BoundsRect(), gfx::Rect(50, 30, 400, 250));
    top->Hide();  // hidden controls take no room
    EXPECT_EQ(left->BoundsRect(), gfx::Rect(0, 0, 50, 250));
    EXPECT_EQ(client->BoundsRect(), gfx::Rect(50, 0, 400, 250));

    // A group box lays its children out inside its frame, below the caption.
    auto* group = f->Make<TGroupBox>();
    group->SetParent(f);
    group->SetCaption("Gruppe");
    group->SetBounds(0, 0, 100, 80);
    auto* inner = f->Make<TPanel>();
    inner->SetParent(group);
    inner->SetAlign(alClient);
    EXPECT_GT(inner->Top(), 5);
    EXPECT_EQ(inner->Left(), 2);
    EXPECT_EQ(inner->Left() + inner->Width(), 98);
    EXPECT_EQ(inner->Top() + inner->Height(), 78);
}

TEST(Properties, PanelAndButtonDrawTheirBevelsAndStates) {
    HeadlessApp t;
    auto* f = t.Form(200, 100);
    auto* p = Place<TPanel>(f, 10, 10, 40, 30);
    p->SetColor(gfx::clYellow);
    p->SetCaption("");
    auto* b = Place<TButton>(f, 100, 10, 60, 25);
    b->SetCaption("");
    f->Show();
    TColor light = gfx::ColorToRGB(gfx::clBtnHighlight);
    TColor shadow = gfx::ColorToRGB(gfx::clBtnShadow);
    EXPECT_EQ(t.Pixel(f, 10, 10), light);   // raised: light top-left
    EXPECT_EQ(t.Pixel(f, 49, 39), shadow);  // shadow bottom-right
    EXPECT_EQ(t.Pixel(f, 30, 25), gfx::clYellow);
    p->SetBevelOuter(bvLowered);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 10, 10), shadow);
    p->SetBevelOuter(bvNone);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 10, 10), gfx::clYellow);

    // The button looks pressed while the mouse holds it inside, and while Space is down.
    TColor upCorner = TColor(t.Pixel(f, 101, 11));
    t.hb->MouseDown(130, 20);
    EXPECT_TRUE(b->Pressed());
    t.app->ProcessMessages();
    EXPECT_NE(TColor(t.Pixel(f, 101, 11)), upCorner);
    t.hb->MouseMove(10, 90);  // dragged off: shown up, still held
    EXPECT_FALSE(b->Pressed());
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    t.hb->MouseUp(10, 90);
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(b->Focused());
    t.hb->KeyDown(VK_SPACE);
    EXPECT_TRUE(b->Pressed());
    t.hb->KeyUp(VK_SPACE);
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 1);
    // A disabled button takes no clicks and no focus.
    b->SetEnabled(false);
    t.hb->Advance(1000);
    t.hb->Click(130, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->CanFocus());
}

TEST(Properties, EditRespectsReadOnlyAndPasswordAndLabelLosesItsFocusControl) {
    HeadlessApp t;
    auto* f = t.Form(300, 100);
    auto* e = f->Make<TEdit>();
    e->SetParent(f);
    e->SetText("geheim");
    auto* l = f->Make<TLabel>();
    l->SetParent(f);
    l->SetCaption("&Kennwort");
    l->SetFocusControl(e);
    f->Show();
    e->SetReadOnly(true);
    t.hb->Type("x");
    t.hb->Key(VK_BACK);
    EXPECT_EQ(e->Text(), "geheim");
    e->SelectAll();
    t.hb->Key('C', ssCtrl);
    EXPECT_EQ(t.app->TheBackend().ClipboardText(), "geheim");
    // A password is never copied.
    e->SetReadOnly(false);
    e->SetPasswordChar('*');
    t.app->TheBackend().SetClipboardText("");
    e->SelectAll();
    t.hb->Key('C', ssCtrl);
    EXPECT_EQ(t.app->TheBackend().ClipboardText(), "");

    // The label's reference goes when the edit does; its accelerator then does nothing.
    delete e;
    EXPECT_EQ(l->FocusControl(), nullptr);
    EXPECT_EQ(f->ActiveControl(), nullptr);
    t.hb->Key('K', ssAlt);
    EXPECT_EQ(f->ActiveControl(), nullptr);
}
