// The standard controls: the framework's message form, labels, pictures.
#include <gtest/gtest.h>

#include "HeadlessApp.h"
#include "gui/Button.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/MessageForm.h"
#include "gui/Screen.h"
#include "tests/support/Place.h"

using namespace gui;

TEST(Controls, MessageFormIsDrawnModalAndAnsweredByItsButtons) {
    HeadlessApp t;
    auto* main = t.Form(400, 300);
    main->Show();
    t.hb->SetShowMessageForms(true);
    WindowHandle box = 0;
    std::string caption;
    int buttons = 0;
    t.hb->Post([&] {
        box = t.hb->ActiveWindow();
        caption = t.hb->Window(box)->params.caption;
        auto* form = dynamic_cast<TMessageForm*>(t.app->ActiveForm());
        ASSERT_NE(form, nullptr);
        buttons = form->ButtonCount();
        EXPECT_EQ(form->Buttons(1)->Caption(), "Abbrechen");
        EXPECT_FALSE(t.hb->Window(main->Handle())->enabled);
        t.hb->Key(VK_ESCAPE);
    });
    EXPECT_EQ(t.app->Warning("Achtung", MB_OKCANCEL), IDCANCEL);
    EXPECT_NE(box, main->Handle());
    EXPECT_EQ(caption, "Warnung");
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(t.hb->Window(box), nullptr);  // the box is gone again
    ASSERT_EQ(t.hb->MessageBoxes().size(), 1u);
    EXPECT_EQ(t.hb->MessageBoxes()[0].answer, -1);

    // Enter takes the default (first) button; Alt+N the "Nein" of a yes/no box.
    t.hb->Post([&] { t.hb->Key(VK_RETURN); });
    EXPECT_EQ(t.app->Information("Fertig"), IDOK);
    t.hb->Post([&] { t.hb->Key('N', ssAlt); });
    EXPECT_EQ(t.app->MessageBox("Weiter?", "Frage", MB_YESNO | MB_ICONQUESTION), IDNO);
    // Escape on a yes/no box does nothing; the stalled loop then gives up.
    t.hb->Post([&] { t.hb->Key(VK_ESCAPE); });
    EXPECT_EQ(t.app->MessageBox("Weiter?", "Frage", MB_YESNO), IDCANCEL);

    // The replace question has four buttons; Alt+A is "Ja, alle".
    t.hb->Post([&] {
        auto* form = dynamic_cast<TMessageForm*>(t.app->ActiveForm());
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(form->ButtonCount(), 4);
        EXPECT_EQ(form->Buttons(1)->Caption(), "Ja, &alle");
        t.hb->Key('A', ssAlt);
    });
    EXPECT_EQ(t.app->MessageBox("Ersetzen?", "Datei ersetzen", MB_YESALLNOCANCEL), IDYESTOALL);
}

TEST(Controls, LabelSizesToItsTextAndImagePlacesItsPicture) {
    HeadlessApp t;
    auto* f = t.Form(200, 100);
    f->SetColor(gfx::clWhite);
    auto* l = f->Make<TLabel>();
    l->SetParent(f);
    l->SetCaption("&Datei");
    int withAccel = l->Width();
    l->SetShowAccelChar(false);
    EXPECT_GT(l->Width(), withAccel);  // the "&" now takes room
    l->SetCaption("");
    EXPECT_GT(l->Height(), 0);  // an empty label keeps a line's height
    l->SetAutoSize(false);
    l->SetCaption("a much longer caption");
    int fixed = l->Width();
    l->SetCaption("x");
    EXPECT_EQ(l->Width(), fixed);

    gfx::TBitmap pic(4, 2);
    pic.Canvas().Brush().SetColor(gfx::clRed);
    pic.Canvas().FillRect({0, 0, 4, 2});
    pic.SetPixel(0, 1, gfx::clBlue);  // bottom-left: the key colour when transparent
    auto* img = Place<TImage>(f, 100, 10, 20, 10);
    img->SetPicture(pic);
    f->Show();
    EXPECT_EQ(t.Pixel(f, 100, 10), gfx::clRed);
    EXPECT_EQ(t.Pixel(f, 104, 10), gfx::clWhite);  // natural size, top-left
    img->SetCenter(true);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 100, 10), gfx::clWhite);
    EXPECT_EQ(t.Pixel(f, 108, 14), gfx::clRed);
    img->SetStretch(true);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 119, 10), gfx::clRed);
    EXPECT_EQ(t.Pixel(f, 100, 19), gfx::clBlue);  // the stretched bottom-left pixel
    img->SetTransparent(true);
    t.app->ProcessMessages();
    EXPECT_EQ(t.Pixel(f, 100, 19), gfx::clWhite);
    img->SetAutoSize(true);
    EXPECT_EQ(img->Width(), 4);
    EXPECT_EQ(img->Height(), 2);
    int clicks = 0;
    img->OnDblClick = [&](TComponent*) { ++clicks; };
    t.hb->DoubleClick(101, 11);
    EXPECT_EQ(clicks, 1);
}
