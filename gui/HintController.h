#pragma once
// THintController: the application's hints. The pointer resting on a control with a hint shows it
// after HintPause (HintShortPause while another hint is showing) for HintHidePause; a press, a key
// or the wheel hides it. The clock is the backend's, so hints run on virtual time headless.
#include <cstdint>
#include <string>

#include "gfx/Color.h"
#include "gui/Component.h"
#include "gui/backend/Backend.h"

namespace gui {

class TControl;
class TForm;
class THintWindow;

class THintController {
public:
    // owner owns the hint window once it is made.
    THintController(TComponent* owner, Backend& backend);

    bool Enabled() const { return show_; }
    void SetEnabled(bool v);
    int Pause() const { return pause_; }
    void SetPause(int ms) { pause_ = ms; }
    int ShortPause() const { return shortPause_; }
    void SetShortPause(int ms) { shortPause_ = ms; }
    int HidePause() const { return hidePause_; }
    void SetHidePause(int ms) { hidePause_ = ms; }
    gfx::TColor Color() const { return color_; }
    void SetColor(gfx::TColor c) { color_ = c; }

    void Cancel();
    // Nothing pending or shown: Cancel would change nothing. (Only while the application goes
    // can the window show without a control, and then no input is dispatched.)
    bool Quiet() const { return !pending_ && !control_ && text_.empty(); }
    bool Showing() const;
    const std::string& Text() const { return text_; }  // the hint showing now
    TControl* Control() const { return control_; }

    // The pointer is over c now (nullptr: over nothing).
    void MouseMoved(TControl* c);
    // Shows or hides what is due (from the idle work).
    void Update();
    // Clock time of the next change, kNoDeadline when none.
    std::uint64_t Deadline() const;
    // c (or a control inside it) is going: it no longer has a hint pending or showing.
    void Forget(TControl* c, bool cancel);
    // The form f is going: if it is the hint window, it is no longer ours.
    void FormGone(TForm* f);

private:
    void ShowFor(TControl* c);

    TComponent* owner_;
    Backend& backend_;
    bool show_ = true;
    int pause_ = 500, shortPause_ = 50, hidePause_ = 2500;
    gfx::TColor color_;
    TControl* pending_ = nullptr;  // control the pointer rests on
    std::uint64_t pendingSince_ = 0;
    bool pendingShort_ = false;
    TControl* control_ = nullptr;
    std::string text_;
    std::uint64_t shownAt_ = 0;
    std::uint64_t lastHidden_ = 0;
    THintWindow* window_ = nullptr;
};

}  // namespace gui
