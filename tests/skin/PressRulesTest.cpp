// The press rules every button shares (one press tracker): a left press and release on the
// button clicks; dragged off, the release clicks nothing; dragged off and back, it clicks again;
// a press that starts elsewhere never clicks. Space and Enter click the focusable ones. Each
// button keeps its own answer to a double click.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "SkinHarness.h"
#include "flat/FlatButton.h"
#include "flat/FlatCheckBox.h"
#include "gui/Button.h"
#include "skin/GlyphButton.h"
#include "skin/SkinButton.h"
#include "tests/support/Place.h"

namespace {

struct Kind {
    std::string name;
    std::function<gui::TControl*(gui::TForm*)> make;
    int clicksPerDoubleClick;
};

void PrintTo(const Kind& kind, std::ostream* os) {
    *os << kind.name;
}

template <class T>
gui::TControl* Make(gui::TForm* f) {
    auto* c = Place<T>(f, 20, 20, 60, 20);
    return c;
}

class PressRules : public ::testing::TestWithParam<Kind> {
protected:
    SkinHarness t;
    gui::TForm* form = t.Form(200, 150, gfx::clGray);
    gui::TControl* button = nullptr;
    int clicks = 0;

    void SetUp() override {
        button = GetParam().make(form);
        button->OnClick = [this](gui::TComponent*) { ++clicks; };
        form->Show();
        t.hb->Pump();
    }
};

TEST_P(PressRules, ReleaseOnTheButtonClicksAndOnlyThere) {
    t.hb->Click(50, 30);
    EXPECT_EQ(clicks, 1);

    t.hb->MouseDown(50, 30);  // dragged off: nothing
    t.hb->MouseMove(150, 120);
    t.hb->MouseUp(150, 120);
    EXPECT_EQ(clicks, 1);

    t.hb->MouseDown(50, 30);  // off and back again: a click
    t.hb->MouseMove(150, 120);
    t.hb->MouseMove(55, 32);
    t.hb->MouseUp(55, 32);
    EXPECT_EQ(clicks, 2);

    t.hb->MouseDown(150, 120);  // a press that starts beside it
    t.hb->MouseMove(50, 30);
    t.hb->MouseUp(50, 30);
    EXPECT_EQ(clicks, 2);

    t.hb->MouseDown(50, 30, gui::mbRight);  // the right button is no press
    t.hb->MouseUp(50, 30, gui::mbRight);
    EXPECT_EQ(clicks, 2);

    t.hb->Advance(1000);
    t.hb->DoubleClick(50, 30);
    EXPECT_EQ(clicks, 2 + GetParam().clicksPerDoubleClick);
}

class KeyRules : public PressRules {};

TEST_P(KeyRules, SpaceAndEnterClickTheFocusedButton) {
    static_cast<gui::TWinControl*>(button)->SetFocus();
    t.hb->KeyDown(gui::VK_SPACE);
    EXPECT_EQ(clicks, 0);  // Space clicks on its release
    t.hb->KeyUp(gui::VK_SPACE);
    EXPECT_EQ(clicks, 1);
    t.hb->Key(gui::VK_RETURN);
    EXPECT_EQ(clicks, 2);
}

INSTANTIATE_TEST_SUITE_P(EveryButton, PressRules,
                         ::testing::Values(Kind{"Button", Make<gui::TButton>, 2},
                                           Kind{"FlatButton", Make<flat::TFlatButton>, 2},
                                           Kind{"FlatCheckBox", Make<flat::TFlatCheckBox>, 2},
                                           Kind{"GlyphButton", Make<skin::TGlyphButton>, 1},
                                           Kind{"SkinButton", Make<skin::TSkinButton>, 1}),
                         [](const ::testing::TestParamInfo<Kind>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(FocusableButtons, KeyRules,
                         ::testing::Values(Kind{"Button", Make<gui::TButton>, 2},
                                           Kind{"FlatButton", Make<flat::TFlatButton>, 2}),
                         [](const ::testing::TestParamInfo<Kind>& info) { return info.param.name; });

}  // namespace
