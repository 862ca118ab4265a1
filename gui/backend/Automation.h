#pragma once
// Automation: what tests, scripts and the preview need from a backend beyond showing windows — the
// way SDL keeps its test harness apart from its dummy driver. A backend returns it from
// Backend::GetAutomation() (nullptr: not automatable). Headless offers all of it; a display backend
// offers injection and capture and leaves the clock and the prompts real.
#include <cstdint>
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
    virtual ~Automation() = default;

    // Clock. A virtual clock moves only through Advance, which runs every timer due on the way; a
    // real one cannot be moved (Advance does nothing).
    virtual bool VirtualClock() const { return false; }
    virtual void Advance(std::uint64_t /*ms*/) {}

    // Input, in client coordinates of ev.window. Inject queues as the window system would deliver
    // it (pressed buttons added, nothing reaching a disabled window); Pump dispatches the queue.
    virtual void Inject(const Event& ev) = 0;
    virtual void Pump() = 0;
    // The window that takes input (the active one).
    virtual WindowHandle ActiveWindow() const = 0;
    virtual bool WindowEnabled(WindowHandle) const { return true; }

    // Prompts. False: boxes and folder dialogs are the framework's own forms, and nothing is recorded.
    virtual bool AnswersPrompts() const { return false; }
    virtual void AnswerMessageBox(int /*answer*/) {}
    // By value: a sink, which the recording backend moves into its queue.
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    virtual void AnswerFolder(std::optional<std::string> /*path*/) {}
    virtual const std::vector<MessageBoxRecord>& MessageBoxes() const { return noBoxes_; }
    virtual const std::vector<FolderRecord>& FolderPrompts() const { return noFolders_; }
    // What the backend had to decide alone (a box answered by default, a stalled loop).
    virtual const std::vector<std::string>& Log() const { return noLog_; }

    // The sounds and shell calls of this run, when the platform records them (headless).
    virtual platform::RecordingServices Recordings() const { return platform::ActiveRecordings(); }

    // Capture: the pixels a window shows; nullptr when the backend keeps none.
    virtual const gfx::TBitmap* WindowPixels(WindowHandle) const { return nullptr; }

private:
    std::vector<MessageBoxRecord> noBoxes_;
    std::vector<FolderRecord> noFolders_;
    std::vector<std::string> noLog_;
};

}  // namespace gui
