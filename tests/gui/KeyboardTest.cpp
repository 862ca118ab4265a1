// Focus and keyboard: Tab order, Enter/Escape, accelerators, key preview, TEdit editing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessApp.h"
#include "base/Cp1252.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "gui/Label.h"
#include "tests/support/Place.h"

using namespace gui;

TEST(Keyboard, TabEnterEscapeAndAcceleratorsDoTheDialogWork) {
    HeadlessApp t;
    auto* f = t.Form(300, 200);
    std::vector<std::string> log, clicks;
    auto* name = Place<TEdit>(f, 80, 10, 100, 21);
    auto* label = f->Make<TLabel>();
    label->SetParent(f);
    label->SetCaption("&Name");
    label->SetFocusControl(name);
    auto* city = Place<TEdit>(f, 80, 40, 100, 21);
    auto* ok = f->Make<TButton>();
    ok->SetParent(f);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetBounds(10, 150, 75, 25);
    ok->OnClick = [&](TComponent*) { clicks.push_back("ok"); };
    auto* cancel = f->Make<TButton>();
    cancel->SetParent(f);
    cancel->SetCaption("&Abbrechen");
    cancel->SetCancel(true);
    cancel->SetBounds(100, 150, 75, 25);
    cancel->OnClick = [&](TComponent*) { clicks.push_back("cancel"); };
    name->OnEnter = [&](TComponent*) { log.push_back("enter name"); };
    name->OnExit = [&](TComponent*) { log.push_back("exit name"); };
    city->SetTabOrder(0);  // city comes first in tab order
    f->Show();
    // Showing gives the focus to the first control in tab order.
    EXPECT_EQ(f->ActiveControl(), city);
    t.hb->Key(VK_TAB);
    EXPECT_EQ(f->ActiveControl(), name);
    t.hb->Key(VK_TAB);
    EXPECT_EQ(f->ActiveControl(), ok);
    t.hb->Key(VK_TAB, ssShift);
    EXPECT_EQ(f->ActiveControl(), name);
    name->SetTabStop(false);  // skipped by Tab, still reachable otherwise
    t.hb->Key(VK_TAB);
    t.hb->Key(VK_TAB);
    t.hb->Key(VK_TAB);
    EXPECT_EQ(f->ActiveControl(), city);  // wrapped round: ok, cancel, city
    EXPECT_EQ(log, (std::vector<std::string>{"enter name", "exit name", "enter name", "exit name"}));

    // Enter in an edit clicks the default button; Escape the cancel button; Enter on a focused
    // button clicks that button, not the default one.
    t.hb->Key(VK_RETURN);
    t.hb->Key(VK_ESCAPE);
    cancel->SetFocus();
    t.hb->Key(VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "cancel"}));

    // Alt+N focuses the label's control; Alt+A (or a plain a while a button has the focus)
    // clicks the button; in an edit a plain letter is typed.
    clicks.clear();
    t.hb->Key('N', ssAlt);
    EXPECT_EQ(f->ActiveControl(), name);
    EXPECT_EQ(name->Text(), "");
    t.hb->Key('A', ssAlt);
    EXPECT_EQ(clicks, (std::vector<std::string>{"cancel"}));
    EXPECT_EQ(f->ActiveControl(), cancel);
    t.hb->Key('A');
    EXPECT_EQ(clicks, (std::vector<std::string>{"cancel", "cancel"}));
    name->SetFocus();
    t.hb->Key('A');
    EXPECT_EQ(name->Text(), "a");
    EXPECT_EQ(clicks.size(), 2u);
    // With ShowAccelChar off the "&" is a plain character.
    label->SetShowAccelChar(false);
    city->SetFocus();
    t.hb->Key('N', ssAlt);
    EXPECT_EQ(f->ActiveControl(), city);

    // Key preview: the form sees the key first and may consume it (no character follows).
    f->SetKeyPreview(true);
    f->OnKeyDown = [&](TComponent*, int& key, TShiftState) {
        if (key == 'X') key = 0;
    };
    f->OnKeyPress = [&](TComponent*, char& key) {
        if (key == 'y') key = 'z';
    };
    t.hb->Key('X');
    t.hb->Key('Y');
    EXPECT_EQ(city->Text(), "z");
}

TEST(Keyboard, EditTypesSelectsAndUsesTheClipboard) {
    HeadlessApp t;
    auto* f = t.Form(300, 100);
    auto* e = Place<TEdit>(f, 10, 10, 200, 21);
    int changes = 0;
    e->OnChange = [&](TComponent*) { ++changes; };
    f->Show();
    ASSERT_TRUE(e->Focused());
    t.hb->Type("Grüße");
    EXPECT_EQ(e->Text(), base::Cp("Grüße"));
    EXPECT_EQ(e->CaretPos(), 5);
    EXPECT_EQ(changes, 5);
    t.hb->Key(VK_HOME);
    t.hb->Key(VK_DELETE);
    t.hb->Key(VK_END);
    t.hb->Key(VK_BACK);
    EXPECT_EQ(e->Text(), base::Cp("rüß"));
    t.hb->Key(VK_LEFT, ssShift);
    t.hb->Key(VK_LEFT, ssShift);
    EXPECT_EQ(e->SelStart(), 1);
    EXPECT_EQ(e->SelText(), base::Cp("üß"));
    t.hb->Key('C', ssCtrl);
    EXPECT_EQ(t.app->TheBackend().ClipboardText(), base::Cp("üß"));
    t.hb->Type("x");  // replaces the selection
    EXPECT_EQ(e->Text(), "rx");
    t.hb->Key(VK_HOME);
    t.hb->Key('V', ssCtrl);
    EXPECT_EQ(e->Text(), base::Cp("üßrx"));
    t.hb->Key('A', ssCtrl);
    t.hb->Key('X', ssCtrl);
    EXPECT_EQ(e->Text(), "");
    EXPECT_EQ(t.app->TheBackend().ClipboardText(), base::Cp("üßrx"));

    // MaxLength cuts typing and pasting; OnKeyPress can swallow or change a key.
    e->SetMaxLength(3);
    t.app->TheBackend().SetClipboardText("abcdef");
    t.hb->Key('V', ssCtrl);
    EXPECT_EQ(e->Text(), "abc");
    t.hb->Type("d");
    EXPECT_EQ(e->Text(), "abc");
    e->SetMaxLength(0);
    e->OnKeyPress = [](TComponent*, char& key) {
        if (key >= '0' && key <= '9') key = 0;
    };
    t.hb->Type("1d2");
    EXPECT_EQ(e->Text(), "abcd");

    // Setting the text puts the caret at the end; a click places it; shift-click selects.
    e->SetText("Hello world");
    EXPECT_EQ(e->CaretPos(), 11);
    EXPECT_EQ(e->SelLength(), 0);
    t.hb->Click(10 + 3, 20);  // left of the first character
    EXPECT_EQ(e->CaretPos(), 0);
    t.hb->Advance(1000);
    t.hb->Click(10 + 190, 20, mbLeft, ssShift);
    EXPECT_EQ(e->SelLength(), 11);
    // Dragging selects from the press.
    t.hb->Advance(1000);
    t.hb->MouseDown(10 + 3, 20);
    t.hb->MouseMove(10 + 190, 20);
    t.hb->MouseUp(10 + 190, 20);
    EXPECT_EQ(e->SelStart(), 0);
    EXPECT_EQ(e->SelLength(), 11);
}

TEST(Keyboard, FocusedEditCaretBlinksAndTypingShowsIt) {
    HeadlessApp t;
    auto* f = t.Form(300, 100);
    auto* a = Place<TEdit>(f, 10, 10, 200, 21);
    auto* b = Place<TEdit>(f, 10, 40, 200, 21);
    f->Show();
    t.app->ProcessMessages();
    ASSERT_TRUE(a->Focused());
    // Empty box: the caret is the one dark column at the text inset.
    auto caretShown = [&] { return t.Pixel(f, 10 + 3, 20) != t.Pixel(f, 10 + 30, 20); };
    EXPECT_TRUE(a->CaretVisible());
    EXPECT_TRUE(caretShown());
    t.hb->Advance(530);
    EXPECT_FALSE(a->CaretVisible());
    EXPECT_FALSE(caretShown());
    t.hb->Advance(530);
    EXPECT_TRUE(a->CaretVisible());
    EXPECT_TRUE(caretShown());

    // Typing in the dark half shows the caret again for a whole interval.
    t.hb->Advance(530);
    ASSERT_FALSE(a->CaretVisible());
    t.hb->Advance(300);
    t.hb->Type("x");
    EXPECT_TRUE(a->CaretVisible());
    t.hb->Advance(500);
    EXPECT_TRUE(a->CaretVisible());
    t.hb->Advance(30);
    EXPECT_FALSE(a->CaretVisible());

    // Only the focused box blinks.
    t.hb->Key(VK_TAB);
    ASSERT_TRUE(b->Focused());
    for (int i = 0; i < 3; ++i) {
        t.hb->Advance(530);
        EXPECT_FALSE(a->CaretVisible());
    }
    EXPECT_FALSE(b->CaretVisible());
}
