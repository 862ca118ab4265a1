#pragma once
// HeadlessBackend: windows without a display. Each window keeps the pixels presented to it (what a
// screen would show); input is injected by the caller; the clock is virtual and moves only through
// Advance(); message boxes and folder prompts are recorded and answered from queues. Callers drive
// it through its Automation (gui::CreateBackend with headless set makes one).
//
// A waiting loop with nothing posted stalls: a modal form is cancelled (mrCancel) and Run()
// returns; both are written to Log().
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gui/backend/Automation.h"
#include "gui/backend/Backend.h"

namespace gui {

class HeadlessBackend : public Backend, public Automation {
public:
    // scale: the desktop factor the windows pretend to have (back buffers are made at it).
    explicit HeadlessBackend(double scale = 1.0);
    ~HeadlessBackend() override;

    double Scale() const override { return scale_; }

    // Screen and settings.
    void SetScreenSize(int width, int height) override;
    void SetColorDepth(int bits) override;
    DesktopSettings* MutableSettings() override { return &settings_; }

    // Clock: moves by ms, stopping at every timer due on the way and pumping the loop there.
    void Advance(std::uint64_t ms) override;
    void Pump() override;  // dispatch what is queued (tests that inject with pump = false)
    bool VirtualClock() const override { return true; }

    // Queue an event without pumping (window 0: the target window).
    void Inject(const Event& ev) override;
    // Run fn the next time a loop waits (inside a modal loop, a test acts here).
    bool Post(std::function<void()> fn) override;
    void RequestClose(WindowHandle w);

    // Windows.
    std::vector<WindowHandle> Windows() const;
    const WindowState* Window(WindowHandle w) const override;
    WindowHandle ActiveWindow() const override { return active_; }
    bool WindowEnabled(WindowHandle w) const override;
    const gfx::TBitmap* WindowPixels(WindowHandle w) const override;

    // Prompts.
    bool AnswersPrompts() const override { return !showBoxes_; }
    void AnswerMessageBox(int answer) override { boxAnswers_.push_back(answer); }
    void SetShowMessageForms(bool show) override { showBoxes_ = show; }
    void AnswerFolder(std::optional<std::string> path) override { folderAnswers_.push_back(std::move(path)); }
    const std::vector<MessageBoxRecord>& MessageBoxes() const override { return boxes_; }
    const std::vector<FolderRecord>& FolderPrompts() const override { return folders_; }
    void ClearRecords() override;

    TCursor CurrentCursor() const override { return cursor_; }
    bool MouseCaptured() const { return captured_; }
    bool TextInputActive() const { return textInput_; }
    const std::vector<std::string>& Log() const override { return log_; }

    // Backend
    const char* Name() const override { return "headless"; }
    void SetHost(BackendHost* host) override { host_ = host; }
    WindowHandle CreateWindow(const WindowParams& params) override;
    void DestroyWindow(WindowHandle w) override;
    void ShowWindow(WindowHandle w, bool show) override;
    void SetWindowBounds(WindowHandle w, const TRect& screen) override;
    TRect WindowBounds(WindowHandle w) const override;
    void SetWindowCaption(WindowHandle w, const std::string& caption) override;
    void SetWindowShape(WindowHandle w, const std::vector<TRect>& region) override;
    void SetWindowTopmost(WindowHandle w, bool topmost) override;
    void SetWindowEnabled(WindowHandle w, bool enabled) override;
    void RaiseWindow(WindowHandle w) override;
    void MinimizeWindow(WindowHandle w) override;
    void MaximizeWindow(WindowHandle w) override;
    void RestoreWindow(WindowHandle w) override;
    void BeginWindowDrag(WindowHandle w) override;
    void Present(WindowHandle w, const gfx::TBitmap& backBuffer, const TRect& rect) override;
    bool PollEvent(Event& ev) override;
    WaitResult WaitEvent(std::uint64_t deadline) override;
    void Wake() override;
    std::uint64_t Now() const override { return now_; }
    TPoint CursorPos() const override { return cursor_pos_; }
    void SetCursor(TCursor cursor) override { cursor_ = cursor; }
    void CaptureMouse(bool capture) override { captured_ = capture; }
    void StartTextInput(WindowHandle) override { textInput_ = true; }
    void StopTextInput(WindowHandle) override { textInput_ = false; }
    std::string ClipboardText() override { return clipboard_; }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    int ScreenWidth() const override { return screenWidth_; }
    int ScreenHeight() const override { return screenHeight_; }
    int ColorDepth() const override { return colorDepth_; }
    DesktopSettings Settings() const override { return settings_; }
    std::optional<int> PromptMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::optional<std::string>> PromptFolder(const std::string& title,
                                                           const std::string& start) override;
    Automation* GetAutomation() override { return this; }

private:
    double scale_ = 1.0;
    void InjectMouse(Event ev);
    WindowState* Find(WindowHandle w);
    void Activate(WindowHandle w);
    void ActivateTopmost(WindowHandle except);
    void Queue(EventType type, WindowHandle w, int x = 0, int y = 0);

    BackendHost* host_ = nullptr;
    std::map<WindowHandle, WindowState> windows_;
    std::vector<WindowHandle> zOrder_;  // bottom first
    WindowHandle nextHandle_ = 1;
    WindowHandle active_ = 0;
    std::deque<Event> queue_;
    std::deque<std::function<void()>> posted_;
    std::mutex wakeMutex_;
    bool woken_ = false;
    std::uint64_t now_ = 0;
    TPoint cursor_pos_{};
    TShiftState buttons_ = 0;
    WindowHandle dragging_ = 0;
    TPoint dragStart_{};
    TRect dragBounds_{};
    TCursor cursor_ = crDefault;
    bool captured_ = false;
    bool textInput_ = false;
    std::string clipboard_;
    int screenWidth_ = 1024, screenHeight_ = 768, colorDepth_ = 32;
    DesktopSettings settings_;
    std::deque<int> boxAnswers_;
    bool showBoxes_ = false;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<FolderRecord> folders_;
    std::vector<std::string> log_;
};

}  // namespace gui
