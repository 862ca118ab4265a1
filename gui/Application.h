#pragma once
// TApplication: the one application object (global `Application`). It owns the backend, the forms
// (created in order with CreateForm; the first becomes the main form) and runs the message loop:
// every event is dispatched to the form and control it concerns; when nothing is queued, due timers
// fire, invalid areas are painted, OnIdle runs, and the loop blocks in the backend until the next
// event or timer. An exception thrown by any handler ends that reaction only: it is shown in the
// exception box (or given to OnException) and the loop goes on.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gui/Component.h"
#include "gui/Consts.h"
#include "gui/Control.h"
#include "gui/HintController.h"
#include "gui/Host.h"
#include "gui/ModalStack.h"
#include "gui/PointerRouter.h"
#include "gui/backend/Backend.h"

namespace gui {

class TForm;
class TTimer;
class TScreen;

using TExceptionEvent = std::function<void(TComponent* sender, const std::exception& e)>;
using TIdleEvent = std::function<void(TComponent* sender, bool& done)>;

class TApplication : public TComponent, public THost, private BackendHost {
public:
    explicit TApplication(std::unique_ptr<Backend> backend);
    ~TApplication() override;

    gui::Backend& TheBackend() override { return *backend_; }

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Constructs T(this) and runs its OnCreate (an exception there is shown, and the form kept).
    template <class T>
    T* CreateForm() {
        T* form = new T(this);
        FormCreated(form);
        return form;
    }
    TForm* MainForm() const { return mainForm_; }

    void Run();  // shows the main form and loops until Terminate (or the main form closes)
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();  // dispatch everything queued, fire due timers, paint; never waits
    void HandleMessage();    // one event, or the idle work and a wait
    void Minimize();
    void Restore();
    void BringToFront();

    // Exceptions.
    void HandleException(TComponent* sender) override;  // call inside a catch block
    void ShowException(const std::exception& e);
    TExceptionEvent OnException;
    TIdleEvent OnIdle;

    // Message boxes (modal). Result: IDOK, IDCANCEL, IDYES, IDNO.
    int MessageBox(const std::string& text, const std::string& caption, int flags = MB_OK);
    int Warning(const std::string& text, int buttons = MB_OK);      // "Warnung"
    int Information(const std::string& text, int buttons = MB_OK);  // "Information"
    int Error(const std::string& text, int buttons = MB_OK);        // "Fehler"

    // Hints.
    bool ShowHint() const { return hints_->Enabled(); }
    void SetShowHint(bool v) { hints_->SetEnabled(v); }
    int HintPause() const { return hints_->Pause(); }
    void SetHintPause(int ms) { hints_->SetPause(ms); }
    int HintShortPause() const { return hints_->ShortPause(); }
    void SetHintShortPause(int ms) { hints_->SetShortPause(ms); }
    int HintHidePause() const { return hints_->HidePause(); }
    void SetHintHidePause(int ms) { hints_->SetHidePause(ms); }
    TColor HintColor() const { return hints_->Color(); }
    void SetHintColor(TColor c) { hints_->SetColor(c); }
    void CancelHint() {
        if (!hints_->Quiet()) hints_->Cancel();
    }
    bool HintShowing() const { return hints_->Showing(); }
    const std::string& HintText() const { return hints_->Text(); }  // the hint showing now
    TControl* HintControl() const { return hints_->Control(); }

    // Where the pointer's events go; also the hover groups of controls with a lingering hover look.
    TPointerRouter& Pointer() { return *pointer_; }

    // Threads: run fn on the GUI thread and wait for it (directly when called on the GUI thread).
    // An exception in fn is shown in the exception box.
    void Synchronize(std::function<void()> fn);
    bool OnGuiThread() const { return std::this_thread::get_id() == guiThread_; }

    // Mouse state the framework keeps.
    TControl* CaptureControl() const { return pointer_->Capture(); }
    void SetCaptureControl(TControl* c) { pointer_->SetCapture(c); }
    // The deepest control under the pointer.
    TControl* MouseControl() const override { return pointer_->Under(); }
    void ReleaseMouseState(TControl* c) override;  // forget c as pressed/captured/under the pointer

    // Forms and timers (maintained by TForm and TTimer).
    const std::vector<TForm*>& Forms() const override { return forms_; }
    TForm* ActiveForm() const override { return activeForm_; }
    TWinControl* ActiveControl() const override;
    // The active form first, then the others: the framework does not know the stacking of
    // other windows, and the active one is on top.
    TControl* ControlAtPos(TPoint screen) const override;
    TForm* FormOfHandle(WindowHandle h) const;
    void RegisterForm(TForm* f);
    void UnregisterForm(TForm* f);
    void SetActiveForm(TForm* f);
    // f is going (hidden or destroyed): the form activated before it becomes active again.
    void ActivateNext(TForm* f);
    void RegisterTimer(TTimer* t) override;
    // Timers that exist now (long runs check that none pile up).
    std::size_t TimerCount() const { return timers_.size(); }
    void UnregisterTimer(TTimer* t) override;
    void ScheduleRelease(TForm* f);
    int ModalLevel() const { return modal_->Level(); }
    void EnterModal(TForm* f);
    void LeaveModal(TForm* f);
    // The loop of a modal form: until its ModalResult is set or the application ends.
    void ModalLoop(TForm* f);
    void UpdateCursor() override;

    // Dispatch one event (public for tests and benchmarks that feed events directly).
    void Dispatch(const Event& ev);

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    // BackendHost
    void Pump() override;
    std::uint64_t NextDeadline() const override;
    bool IsWindowDragArea(WindowHandle window, int x, int y) override;

    void FormCreated(TForm* form);
    void Idle(bool wait);
    void FireTimers();
    void PaintAll();
    void RunSynchronized();
    void FreeReleased();
    void DispatchKey(TForm* form, const Event& ev);
    void DispatchText(TForm* form, const Event& ev);
    void KeyPressChar(TForm* form, char ch);
    bool DoDialogChar(TForm* form, char ch);
    bool syncQueueEmpty();

    std::unique_ptr<gui::Backend> backend_;
    std::unique_ptr<TScreen> screen_;
    std::string title_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    TForm* activeForm_ = nullptr;
    std::vector<TForm*> activation_;  // forms in the order they were last activated
    std::vector<TTimer*> timers_;
    std::vector<TForm*> released_;  // Release()d, freed when the loop is idle
    bool terminated_ = false;
    bool stalled_ = false;
    bool suppressChar_ = false;  // the key press was used up: its character is not typed
    int handlingException_ = 0;
    std::thread::id guiThread_;
    std::unique_ptr<THintController> hints_;
    std::unique_ptr<TModalStack> modal_;
    std::unique_ptr<TPointerRouter> pointer_;

    // Synchronize.
    struct SyncCall {
        std::function<void()> fn;
        bool done = false;
    };
    std::mutex syncMutex_;
    std::condition_variable syncDone_;
    std::deque<SyncCall*> syncQueue_;
};

// The application object (set by the TApplication constructor).
extern TApplication* Application;

}  // namespace gui
