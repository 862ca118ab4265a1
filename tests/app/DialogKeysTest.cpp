// The dialogs and the info page by keyboard, on the sample disc: Tab order, the focus mark (only
// after keyboard use), Enter/Space on the focused button, Escape as "Abbrechen".
#include <gtest/gtest.h>

#include "app/SelFolderForm.h"
#include "app/SuchenForm.h"
#include "flat/FlatCheckBox.h"
#include "flat/FlatEdit.h"
#include "gui/Button.h"
#include "gui/Edit.h"
#include "tests/support/MenuFixture.h"

namespace {

constexpr std::int64_t kDark = 0x18'10'10, kAmber = 0x1C'B8'FF;

// The pixel at x,y of control c (its own coordinates) as its window shows it, painted up to date.
std::int64_t PixelOf(gui::Automation& hb, gui::TControl* c, int x, int y) {
    gui::TForm* f = c->ParentForm();
    f->PaintInvalid();
    const gfx::TPoint p = c->ClientToForm({x, y});
    return hb.PixelAt(f->Handle(), p.X, p.Y);
}

// Whether c carries the focus mark: dark outer and amber inner line on its left edge (outside it
// for a control whose text starts there).
bool Marked(gui::Automation& hb, gui::TControl* c) {
    const int x = -c->FocusMarkOutset();
    return PixelOf(hb, c, x, c->Height() / 2) == kDark && PixelOf(hb, c, x + 1, c->Height() / 2) == kAmber;
}

// The first two pixel columns of c, as its window shows them.
std::vector<std::int64_t> LeftEdge(gui::Automation& hb, gui::TControl* c) {
    std::vector<std::int64_t> pixels;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < 2; ++x) pixels.push_back(PixelOf(hb, c, x, y));
    return pixels;
}

std::string Focus(gui::TForm* f) {
    gui::TControl* c = f->FocusedControl();
    return c ? c->Name() : "(none)";
}

}  // namespace

TEST(DialogKeys, SearchDialogTabOrderMarkAndKeys) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    ASSERT_NE(SuchenForm, nullptr);
    TSuchenForm* s = SuchenForm;

    // Opened by F3: the mark is on the edit at once; Tab walks every control and wraps.
    std::vector<std::string> order;
    bool markedEdit = false, checked = false, markedButton = false, unmarkedEdit = false;
    hb.Post([&] {
        hb.SetTarget(s->Handle());
        order.push_back(Focus(s));
        markedEdit = Marked(hb, s->eSuchbegriff);
        hb.Key(gui::VK_TAB);
        order.push_back(Focus(s));
        hb.Key(gui::VK_SPACE);  // toggles the focused check box
        checked = s->FlatCheckBox1->Checked();
        for (int i = 0; i < 4; ++i) {
            hb.Key(gui::VK_TAB);
            order.push_back(Focus(s));
        }
        hb.Key(gui::VK_TAB, gui::ssShift);
        hb.Key(gui::VK_TAB, gui::ssShift);
        order.push_back(Focus(s));
        markedButton = Marked(hb, s->bAbbrechen);
        unmarkedEdit = !Marked(hb, s->eSuchbegriff);
        hb.Type("Klang");
        hb.Key(gui::VK_RETURN);  // presses the focused "Abbrechen": the term is dropped
    });
    hb.Key(gui::VK_F3);
    EXPECT_FALSE(s->Visible());
    EXPECT_EQ(order, (std::vector<std::string>{"eSuchbegriff", "FlatCheckBox1", "bBeenden", "bAbbrechen",
                                               "bBeenden2", "eSuchbegriff", "bAbbrechen"}));
    EXPECT_TRUE(markedEdit);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(markedButton);
    EXPECT_TRUE(unmarkedEdit) << "one mark only";
    EXPECT_EQ(s->Term(), "");
    EXPECT_TRUE(m->iStart()->Visible()) << "a cancelled search leaves the start page";

    // Opened by mouse: no mark, and typing the term does not bring it; Tab does, and Enter on
    // the check box searches as the default button "Suchen".
    menu.Click(m->Column().Buttons().at(1));
    ASSERT_TRUE(menu.Find<skin::TSkinButton>("bSuche")->Showing());
    bool markAfterOpen = true, markAfterTyping = true, markAfterTab = false;
    std::string focusAfterTab;
    hb.Post([&] {
        hb.SetTarget(s->Handle());
        markAfterOpen = s->FocusMarkShown() || Marked(hb, s->eSuchbegriff);
        hb.Type("Klan");
        hb.Key('G');
        markAfterTyping = s->FocusMarkShown() || Marked(hb, s->eSuchbegriff);
        hb.Key(gui::VK_TAB);
        focusAfterTab = Focus(s);
        markAfterTab = Marked(hb, s->FlatCheckBox1);
        hb.Key(gui::VK_SPACE);  // case back off: "Klang" must match "Klangküche"
        hb.Key(gui::VK_RETURN);
    });
    menu.Click(menu.Find<skin::TSkinButton>("bSuche"));
    EXPECT_FALSE(s->Visible());
    EXPECT_FALSE(markAfterOpen);
    EXPECT_FALSE(markAfterTyping);
    EXPECT_EQ(focusAfterTab, "FlatCheckBox1");
    EXPECT_TRUE(markAfterTab);
    EXPECT_EQ(s->Term(), "Klang");
    EXPECT_FALSE(s->MatchCase());
    EXPECT_EQ(m->List().lRubrik()->Caption(), "Suchergebnisse");
    EXPECT_GE(m->List().lbProgramme()->Items().Count(), 1);
}

// The term field looks the same however the dialog was opened: black while it has the focus, with
// the caret visible on it, slate once the focus has moved on.
TEST(DialogKeys, SearchFieldLookDoesNotDependOnHowTheFocusCame) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    TSuchenForm* s = SuchenForm;
    ASSERT_NE(s, nullptr);
    flat::TFlatEdit* e = s->eSuchbegriff;
    const int mid = e->Height() / 2;
    auto caretShown = [&] {
        for (int x = 2; x < 12; ++x)
            if (PixelOf(hb, e, x, mid) == 0xFF'FF'FF) return true;
        return false;
    };
    struct Look {
        std::int64_t field = -1, fieldAfterTab = -1;
        bool caret = false;
    };
    auto look = [&](Look& l) {
        hb.Post([&] {
            hb.SetTarget(s->Handle());
            l.field = PixelOf(hb, e, e->Width() / 2, mid);
            l.caret = caretShown();
            hb.Key(gui::VK_TAB);
            l.fieldAfterTab = PixelOf(hb, e, e->Width() / 2, mid);
            hb.Key(gui::VK_ESCAPE);
        });
    };
    Look byKey, byMouse;
    look(byKey);
    hb.Key('F', gui::ssCtrl);
    menu.Click(m->Column().Buttons().at(1));
    look(byMouse);
    menu.Click(menu.Find<skin::TSkinButton>("bSuche"));
    for (const Look* l : {&byKey, &byMouse}) {
        EXPECT_EQ(l->field, 0);
        EXPECT_TRUE(l->caret);
        EXPECT_EQ(l->fieldAfterTab, 0x90'7F'70);  // RGB(112, 127, 144) as the window stores it
    }
}

TEST(DialogKeys, SearchDialogEscapeAndCloseGlyphCancel) {
    MenuFixture menu;
    gui::Automation& hb = menu.Backend();
    TSuchenForm* s = SuchenForm;
    ASSERT_NE(s, nullptr);
    std::string focus;
    hb.Post([&] {
        hb.SetTarget(s->Handle());
        hb.Type("Klang");
        hb.Key(gui::VK_TAB, gui::ssShift);  // back from the edit wraps to the close glyph
        focus = Focus(s);
        hb.Key(gui::VK_SPACE);
    });
    hb.Key('F', gui::ssCtrl);
    EXPECT_EQ(focus, "bBeenden2");
    EXPECT_FALSE(s->Visible());
    EXPECT_EQ(s->Term(), "") << "the close glyph cancels";
    EXPECT_TRUE(menu.Main()->iStart()->Visible());
}

TEST(DialogKeys, FolderDialogTabOrderMarkAndKeys) {
    MenuFixture menu;
    gui::Automation& hb = menu.Backend();
    ASSERT_NE(SelFolderForm, nullptr);
    TSelFolderForm* d = SelFolderForm;
    hb.Key(gui::VK_DOWN);  // keyboard use on the main window: the dialog opens marked

    std::vector<std::string> order;
    bool markedEdit = false, markedCancel = false, okStillDefault = false;
    hb.Post([&] {
        hb.SetTarget(d->Handle());
        order.push_back(Focus(d));
        markedEdit = Marked(hb, d->Edit1);
        for (int i = 0; i < 4; ++i) {
            hb.Key(gui::VK_TAB);
            order.push_back(Focus(d));
        }
        hb.Key(gui::VK_TAB, gui::ssShift);
        order.push_back(Focus(d));
        markedCancel = Marked(hb, d->Button2);
        okStillDefault = !Marked(hb, d->Button1);
        hb.Key(gui::VK_SPACE);  // presses "Abbrechen"
    });
    d->ShowModal();
    EXPECT_EQ(order,
              (std::vector<std::string>{"Edit1", "Button3", "Button1", "Button2", "Edit1", "Button2"}));
    EXPECT_TRUE(markedEdit);
    EXPECT_TRUE(markedCancel);
    EXPECT_TRUE(okStillDefault);
    EXPECT_FALSE(SelFolderForm->Confirmed());

    // Space on "OK".
    hb.Post([&] {
        hb.SetTarget(d->Handle());
        hb.Key(gui::VK_TAB);
        hb.Key(gui::VK_TAB);
        hb.Key(gui::VK_SPACE);
    });
    d->ShowModal();
    EXPECT_TRUE(SelFolderForm->Confirmed());

    // Escape is "Abbrechen", even after the text was changed.
    hb.Post([&] {
        hb.SetTarget(d->Handle());
        hb.Type("x");
        hb.Key(gui::VK_ESCAPE);
    });
    d->ShowModal();
    EXPECT_FALSE(d->Visible());
    EXPECT_FALSE(SelFolderForm->Confirmed());

    // Enter on "Durchsuchen..." opens the folder browser; its answer fills the edit.
    hb.AnswerFolder(std::string("/tmp/Ziel"));
    bool confirmedInside = true;
    std::string edit;
    hb.Post([&] {
        hb.SetTarget(d->Handle());
        hb.Key(gui::VK_TAB);
        hb.Key(gui::VK_RETURN);
        edit = d->Edit1->Caption();
        confirmedInside = SelFolderForm->Confirmed();
        hb.Key(gui::VK_ESCAPE);
    });
    d->ShowModal();
    EXPECT_EQ(hb.FolderPrompts().size(), 1u);
    EXPECT_EQ(edit, "/tmp/Ziel");
    EXPECT_FALSE(confirmedInside) << "Enter went to the focused button, not to OK";
}

TEST(DialogKeys, InfoPageTabOrderLinksAndEscape) {
    MenuFixture menu;
    TMainForm* m = menu.Main();
    gui::Automation& hb = menu.Backend();
    TInfoFrame* info = &m->Info();
    hb.Key(gui::VK_DOWN);
    skin::TSkinButton* before = m->Column().Buttons().at(1);
    ASSERT_EQ(m->FocusedControl(), before);

    hb.Key(gui::VK_F1);
    ASSERT_FALSE(m->bInfo()->Enabled());
    EXPECT_EQ(m->FocusedControl(), info->bBeenden());
    EXPECT_TRUE(Marked(hb, info->bBeenden()));
    const std::vector<std::int64_t> linkEdge = LeftEdge(hb, info->lInternet());
    std::vector<std::string> order;
    for (int i = 0; i < 3; ++i) {
        hb.Key(gui::VK_TAB);
        order.push_back(Focus(m));
    }
    hb.Key(gui::VK_TAB, gui::ssShift);
    order.push_back(Focus(m));
    EXPECT_EQ(order, (std::vector<std::string>{"leMail", "lInternet", "bBeenden", "lInternet"}));
    EXPECT_TRUE(Marked(hb, info->lInternet()));
    EXPECT_EQ(LeftEdge(hb, info->lInternet()), linkEdge) << "the mark covers the link's first letter";
    EXPECT_FALSE(Marked(hb, info->bBeenden()));

    // Enter and Space press the focused link; the page stays.
    hb.Key(gui::VK_RETURN);
    ASSERT_FALSE(menu.Shell().Calls().empty());
    EXPECT_EQ(menu.Shell().Calls().back().target.rfind("http://", 0), 0u)
        << menu.Shell().Calls().back().target;
    hb.Key(gui::VK_TAB, gui::ssShift);
    hb.Key(gui::VK_SPACE);
    EXPECT_EQ(menu.Shell().Calls().back().target.rfind("mailto:", 0), 0u)
        << menu.Shell().Calls().back().target;
    EXPECT_FALSE(m->bInfo()->Enabled());
    // Keys of the page below do nothing while it covers the window.
    hb.Key(gui::VK_DOWN);
    EXPECT_EQ(m->FocusedControl(), info->leMail());

    // Escape closes it and gives the focus back.
    hb.Key(gui::VK_ESCAPE);
    EXPECT_TRUE(m->bInfo()->Enabled());
    EXPECT_EQ(m->FocusedControl(), before);

    // By mouse: no mark on the page; Enter presses its "Schließen".
    menu.Click(m->bInfo());
    ASSERT_FALSE(m->bInfo()->Enabled());
    EXPECT_FALSE(m->FocusMarkShown());
    EXPECT_FALSE(Marked(hb, info->bBeenden()));
    hb.Key(gui::VK_RETURN);
    EXPECT_TRUE(m->bInfo()->Enabled());
    EXPECT_EQ(m->FocusedControl(), before);
}
