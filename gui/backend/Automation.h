#pragma once
// Automation: what tests, scripts and the preview need from a backend beyond showing windows — the
// way SDL keeps its test harness apart from its dummy driver. A backend returns it from
// Backend::GetAutomation() (nullptr: not automatable). Headless offers all of it; a display backend
// offers injection and capture and leaves the clock, the prompts and the desktop real.
//
// Test use:
//   auto backend = gui::CreateBackend({.headless = true});
//   gui::Automation& hb = *backend->GetAutomation();
//   gui::TApplication app(std::move(backend));
//   auto* form = app.CreateForm<MyForm>(); form->Show();
//   hb.Click(10, 20);             // client point of the active window; pumps the loop
//   hb.Advance(600);              // runs every timer due on the way, in order
//   hb.AnswerMessageBox(gui::IDOK);
//   hb.Post([&] { hb.Key(gui::VK_ESCAPE); });  // runs inside the next waiting (modal) loop
//   EXPECT_EQ(hb.MessageBoxes().back().request.text, "...");
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gui/backend/Backend.h"
#include "platform/Services.h"

namespace gui {

struct MessageBoxRecord {
    MessageBoxRequest request;
    int answer = 0;
    bool answeredByDefault = false;  // nothing was queued
};

struct FolderRecord {
    std::string title, start;
    std::optional<std::string> answer;
    bool answeredByDefault = false;
};

class Automation {
public:
    // What a simulated desktop keeps of a window.
    struct WindowState {
        WindowParams params;
        TRect bounds{};
        bool visible = false;
        bool enabled = true;
        bool minimized = false;
        bool maximized = false;
        std::vector<TRect> shape;
        gfx::TBitmap* pixels = nullptr;  // what has been presented
        int presentCount = 0;
        TRect lastPresent{};
    };

    virtual ~Automation() = default;

    // Clock. A virtual clock moves only through Advance, which runs every timer due on the way; a
    // real one cannot be moved (Advance does nothing).
    virtual std::uint64_t Now() const = 0;  // ms
    virtual bool VirtualClock() const { return false; }
    virtual void Advance(std::uint64_t /*ms*/) {}

    // Input, in client coordinates of ev.window. Inject queues as the window system would deliver
    // it (pressed buttons added, nothing reaching a disabled window); Pump dispatches the queue.
    virtual void Inject(const Event& ev) = 0;
    virtual void Pump() = 0;
    // The window that takes input (the active one).
    virtual WindowHandle ActiveWindow() const = 0;
    virtual bool WindowEnabled(WindowHandle) const { return true; }
    // Run fn the next time a loop waits (inside a modal loop, a test acts there). False: the waits
    // belong to the window system and fn is dropped.
    // By value: a sink, which the backends that take it move into their queue.
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    virtual bool Post(std::function<void()> /*fn*/) { return false; }

    // What a person does (through TInputSynth), in client coordinates of the target window: the one
    // set here while it lives, else the active one. Each action is dispatched before it returns.
    void SetTarget(WindowHandle w) { target_ = w; }
    WindowHandle Target() const { return target_ ? target_ : ActiveWindow(); }
    void MouseMove(int x, int y, TShiftState shift = 0);
    void MouseDown(int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
    void MouseUp(int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
    void Click(int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
    void DoubleClick(int x, int y);         // two clicks with no time between them
    void Wheel(int x, int y, int notches);  // positive = away from the user
    void KeyDown(int key, TShiftState shift = 0);
    void KeyUp(int key, TShiftState shift = 0);
    // Press and release; letters, digits and space also type their character, as a keyboard would.
    void Key(int key, TShiftState shift = 0);
    void Type(const std::string& utf8);

    // Prompts. False: boxes and folder dialogs are the framework's own forms, and nothing is recorded.
    virtual bool AnswersPrompts() const { return false; }
    virtual void AnswerMessageBox(int /*answer*/) {}
    // By value: a sink, which the recording backend moves into its queue.
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    virtual void AnswerFolder(std::optional<std::string> /*path*/) {}
    // On: boxes and folder prompts are recorded (a box with answer -1) but the framework shows its
    // own dialogs, which a test drives with Post().
    virtual void SetShowMessageForms(bool /*show*/) {}
    virtual const std::vector<MessageBoxRecord>& MessageBoxes() const { return noBoxes_; }
    virtual const std::vector<FolderRecord>& FolderPrompts() const { return noFolders_; }
    // What the backend had to decide alone (a box answered by default, a stalled loop).
    virtual const std::vector<std::string>& Log() const { return noLog_; }
    virtual void ClearRecords() {}

    // The sounds and shell calls of this run, when the platform records them (headless).
    virtual platform::RecordingServices Recordings() const { return platform::ActiveRecordings(); }

    // Capture: the pixels a window shows; nullptr when the backend keeps none.
    virtual const gfx::TBitmap* WindowPixels(WindowHandle) const { return nullptr; }
    // A shown pixel at client x,y (0x00BBGGRR); -1 when outside or not kept.
    std::int64_t PixelAt(WindowHandle w, int x, int y) const;
    bool SavePng(WindowHandle w, const std::string& path) const;

    // The simulated desktop; a display backend's is the real one, which this cannot change or see
    // into (nullptr, nothing).
    virtual const WindowState* Window(WindowHandle) const { return nullptr; }
    virtual DesktopSettings* MutableSettings() { return nullptr; }
    virtual void SetScreenSize(int /*width*/, int /*height*/) {}
    virtual void SetColorDepth(int /*bits*/) {}
    virtual TCursor CurrentCursor() const { return crDefault; }

protected:
    // A destroyed window stops being the target.
    void ForgetWindow(WindowHandle w) {
        if (target_ == w) target_ = 0;
    }

private:
    WindowHandle target_ = 0;
    std::vector<MessageBoxRecord> noBoxes_;
    std::vector<FolderRecord> noFolders_;
    std::vector<std::string> noLog_;
};

}  // namespace gui
