// Ownership, removal notifications and loading state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessApp.h"
#include "gui/Button.h"
#include "gui/Component.h"
#include "gui/ImageList.h"
#include "gui/Label.h"
#include "gui/Timer.h"
#include "tests/support/Place.h"

using namespace gui;

namespace {

// Holds a reference to an image list owned elsewhere and records what it hears.
class Holder : public TComponent {
public:
    explicit Holder(TComponent* owner) : TComponent(owner) {}
    ~Holder() override { (*log) += "~" + Name() + ";"; }
    void SetList(TImageList* l) {
        list = l;
        if (l) l->FreeNotification(this);
    }
    void Loaded() override {
        TComponent::Loaded();
        (*log) += "loaded " + Name() + ";";
    }
    TImageList* list = nullptr;
    std::string* log = &spare;
    std::string spare;

protected:
    void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove && c == list) {
            list = nullptr;
            (*log) += Name() + " lost list;";
        }
        TComponent::Notification(c, op);
    }
};

}  // namespace

TEST(Component, OwnerDestroysOwnedLastFirstAndNotificationsClearReferences) {
    std::string log;
    auto* root = new TComponent(nullptr);
    auto* a = root->Make<Holder>();
    a->SetName("a");
    a->log = &log;
    auto* b = root->Make<Holder>();
    b->SetName("b");
    b->log = &log;
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->FindComponent("A"), a);  // names compare without case
    EXPECT_EQ(a->Owner(), root);

    // A list owned by another owner: only the free notification reaches the holder.
    auto* other = new TComponent(nullptr);
    auto* list = other->Make<TImageList>(16, 16);
    a->SetList(list);
    b->SetList(list);
    delete list;
    EXPECT_EQ(a->list, nullptr);
    EXPECT_EQ(b->list, nullptr);
    EXPECT_EQ(log, "a lost list;b lost list;");
    EXPECT_EQ(other->ComponentCount(), 0);

    // A list owned by the same owner: the owner passes the removal on to all it owns.
    auto* sibling = root->Make<TImageList>(8, 8);
    a->list = sibling;  // no FreeNotification: the owner's broadcast suffices
    log.clear();
    delete sibling;
    EXPECT_EQ(a->list, nullptr);
    EXPECT_EQ(log, "a lost list;");

    // The holder going first unhooks itself: the list's later death tells nobody stale.
    auto* list2 = other->Make<TImageList>(16, 16);
    a->SetList(list2);
    log.clear();
    delete a;
    EXPECT_EQ(log, "~a;");
    delete list2;
    EXPECT_EQ(log, "~a;");

    log.clear();
    auto* c = root->Make<Holder>();
    c->SetName("c");
    c->log = &log;
    delete root;  // last made first
    EXPECT_EQ(log, "~c;~b;");
    delete other;
}

TEST(Component, LoadingStateCoversOwnedComponentsAndEndsOwnedFirst) {
    std::string log;
    TComponent root(nullptr);
    root.BeginLoading();
    auto* a = root.Make<Holder>();
    a->SetName("a");
    a->log = &log;
    auto* inner = a->Make<Holder>();
    inner->SetName("inner");
    inner->log = &log;
    EXPECT_TRUE(root.Loading());
    EXPECT_TRUE(a->Loading());
    EXPECT_TRUE(inner->Loading());
    root.Loaded();
    EXPECT_FALSE(root.Loading());
    EXPECT_FALSE(a->Loading());
    EXPECT_FALSE(inner->Loading());
    EXPECT_EQ(log, "loaded inner;loaded a;");
    auto* late = root.Make<Holder>();
    EXPECT_FALSE(late->Loading());
}

TEST(Component, ClickHandlerMayFreeItsOwnForm) {
    HeadlessApp t;
    auto* main = t.Form(300, 200);
    main->Show();
    auto* dialog = t.app->CreateForm<TForm>();
    dialog->SetBorderStyle(bsNone);
    dialog->SetBounds(0, 0, 100, 60);
    auto* b = Place<TButton>(dialog, 10, 10, 60, 25);
    std::vector<std::string> events;
    b->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
    b->OnClick = [&](TComponent* sender) {
        events.push_back("click");
        static_cast<TButton*>(sender)->ParentForm()->Free();
    };
    dialog->Show();
    TComponent::Weak alive(dialog);
    t.hb->Click(20, 20);
    EXPECT_FALSE(alive);
    // The release handling after the click does not touch the freed button.
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));
    EXPECT_EQ(t.app->Forms().size(), 1u);
    EXPECT_EQ(t.hb->ActiveWindow(), main->Handle());
    // The loop goes on with the main window.
    t.hb->Click(5, 5);
    EXPECT_FALSE(t.app->Terminated());
}

TEST(Component, ReleaseFreesTheFormWhenIdleAndChildrenGoWithTheirParent) {
    HeadlessApp t;
    auto* f = t.Form();
    auto* owner = new TComponent(nullptr);
    auto* label = owner->Make<TLabel>();  // owned elsewhere, parented on the form
    label->SetParent(f);
    TComponent::Weak labelAlive(label);
    TComponent::Weak formAlive(f);
    f->Release();
    EXPECT_TRUE(formAlive);
    t.app->ProcessMessages();
    EXPECT_FALSE(formAlive);
    EXPECT_FALSE(labelAlive);
    EXPECT_EQ(owner->ComponentCount(), 0);
    delete owner;
}

TEST(Component, HandlersMayDestroyTheirSenderAtAnyStep) {
    HeadlessApp t;
    auto* main = t.Form(300, 200);
    main->Show();
    auto makeButton = [&]() {
        auto* b = Place<TButton>(main, 10, 10, 60, 25);
        return b;
    };
    // In the press: no click, no release reaches it, the capture is gone.
    auto* b = makeButton();
    b->OnMouseDown = [](TComponent* s, TMouseButton, TShiftState, int, int) { s->Free(); };
    TComponent::Weak alive(b);
    t.hb->Click(20, 20);
    EXPECT_FALSE(alive);
    EXPECT_EQ(t.app->CaptureControl(), nullptr);
    EXPECT_EQ(t.app->MouseControl(), main);

    // In a key handler of the focused control.
    b = makeButton();
    b->SetFocus();
    b->OnKeyDown = [](TComponent* s, int&, TShiftState) { s->Free(); };
    alive = TComponent::Weak(b);
    t.hb->Key(VK_RETURN);
    EXPECT_FALSE(alive);
    EXPECT_EQ(main->ActiveControl(), nullptr);

    // A timer whose handler destroys the form that owns it.
    auto* other = t.app->CreateForm<TForm>();
    auto* timer = other->Make<TTimer>();
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](TComponent* s) {
        ++ticks;
        static_cast<TTimer*>(s)->Owner()->Free();
    };
    TComponent::Weak otherAlive(other);
    t.hb->Advance(1000);
    EXPECT_FALSE(otherAlive);
    EXPECT_EQ(ticks, 1);

    // A modal form released by its own button: ShowModal returns and the form goes when idle.
    auto* dialog = t.app->CreateForm<TForm>();
    auto* close = Place<TButton>(dialog, 0, 0, 50, 20);
    close->OnClick = [&](TComponent*) {
        dialog->SetModalResult(mrAbort);
        dialog->Release();
    };
    TComponent::Weak dialogAlive(dialog);
    t.hb->Post([&] { t.hb->Click(5, 5); });
    EXPECT_EQ(dialog->ShowModal(), mrAbort);
    t.app->ProcessMessages();
    EXPECT_FALSE(dialogAlive);
    EXPECT_EQ(t.app->ActiveForm(), main);
}

// Delete-later: what a handler frees stays whole until the outermost dispatch unwinds, so the code
// that called the handler (and every dispatch around it) still runs on live objects.
TEST(Component, FreeDuringDispatchWaitsForTheOutermostDispatch) {
    HeadlessApp t;
    auto* main = t.Form(300, 200);
    main->Show();

    // Outside any dispatch, Free destroys at once.
    auto* plain = main->Make<TLabel>();
    TComponent::Weak plainAlive(plain);
    plain->Free();
    EXPECT_FALSE(plainAlive);

    // A handler runs a nested dispatch in which another handler frees the first one's sender and
    // its form; the outer handler still reads its sender afterwards, and both go only when the
    // outer click is done.
    auto* dialog = t.app->CreateForm<TForm>();
    dialog->SetBorderStyle(bsNone);
    dialog->SetBounds(0, 0, 120, 80);
    auto* outer = Place<TButton>(dialog, 0, 0, 50, 20);
    outer->SetCaption("outer");
    auto* inner = Place<TButton>(dialog, 60, 0, 50, 20);
    std::vector<std::string> log;
    TComponent::Weak dialogAlive(dialog);
    inner->OnClick = [&](TComponent* s) {
        log.push_back("inner");
        static_cast<TButton*>(s)->ParentForm()->Free();
        static_cast<TButton*>(s)->Free();  // freeing what is already going does nothing more
    };
    outer->OnClick = [&](TComponent* s) {
        t.hb->MouseDown(70, 5, mbLeft, 0);
        t.hb->MouseUp(70, 5, mbLeft, 0);  // nested: dispatched from inside this handler
        auto* self = static_cast<TButton*>(s);
        EXPECT_TRUE(dialogAlive);
        EXPECT_TRUE(self->Freeing());
        log.push_back("outer sees " + self->Caption());
    };
    dialog->Show();
    t.hb->Click(5, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"inner", "outer sees outer"}));
    EXPECT_FALSE(dialogAlive);
    EXPECT_EQ(t.app->Forms().size(), 1u);
    EXPECT_EQ(t.app->ActiveForm(), main);

    // A timer that frees itself in its own tick ends the tick on a live timer, and ticks no more.
    auto* timer = main->Make<TTimer>();
    timer->SetInterval(50);
    int ticks = 0;
    timer->OnTimer = [&](TComponent* s) {
        ++ticks;
        s->Free();
    };
    TComponent::Weak timerAlive(timer);
    t.hb->Advance(200);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timerAlive);

    // A key handler that frees its own form: the dialog keys that follow (Enter, then its typed
    // character) reach nothing on it.
    auto* keyForm = t.app->CreateForm<TForm>();
    keyForm->SetBounds(0, 0, 120, 80);
    auto* def = Place<TButton>(keyForm, 0, 0, 50, 20);
    def->SetDefault(true);
    int defaultClicks = 0;
    def->OnClick = [&](TComponent*) { ++defaultClicks; };
    keyForm->SetKeyPreview(true);
    keyForm->OnKeyDown = [&](TComponent* s, int&, TShiftState) { s->Free(); };
    TComponent::Weak keyFormAlive(keyForm);
    keyForm->Show();
    t.hb->Key(VK_RETURN);
    EXPECT_FALSE(keyFormAlive);
    EXPECT_EQ(defaultClicks, 0);
    EXPECT_EQ(t.app->ActiveForm(), main);
}

// A message box whose button handler closes it, and one whose handler frees it: MessageBox returns
// and frees the box exactly once.
TEST(Component, MessageBoxMayBeClosedOrFreedByItsOwnHandlers) {
    HeadlessApp t;
    t.hb->SetShowMessageForms(true);
    auto* main = t.Form(300, 200);
    main->Show();
    auto boxButton = [&]() -> TButton* {
        TForm* box = t.app->ActiveForm();
        if (!box || box == main) return nullptr;
        for (int i = 0; i < box->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(box->Controls(i))) return b;
        return nullptr;
    };
    void (*closeIt)(TForm*) = [](TForm* f) { f->Close(); };
    void (*freeIt)(TForm*) = [](TForm* f) { f->Free(); };
    for (auto action : {closeIt, freeIt}) {
        t.hb->Post([&] {
            TButton* b = boxButton();
            ASSERT_NE(b, nullptr);
            b->OnClick = [action](TComponent* s) { action(static_cast<TButton*>(s)->ParentForm()); };
            b->Click();
        });
        EXPECT_EQ(t.app->MessageBox("a", "b", MB_OK), IDCANCEL);
        EXPECT_EQ(t.app->Forms().size(), 1u);
    }
    EXPECT_EQ(t.app->ActiveForm(), main);
}
