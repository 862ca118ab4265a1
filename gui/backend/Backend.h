#pragma once
// The one seam between the framework and a window system. A backend owns native windows, shows
// back buffers the framework paints, turns native input into Events, keeps the clock and answers
// the desktop's settings. Backends: sdl/ (a real display on Linux), win32/ (Windows, Win32 API
// only) and headless/ (none; virtual clock).
// Automation (Automation.h) is a separate, optional interface.
//
// Coordinates: window bounds are screen pixels; event positions are client pixels of the window
// the event belongs to, always in the framework's logical units (a backend that scales its output
// maps input back).
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Types.h"
#include "gui/Consts.h"
#include "gui/Keys.h"

namespace gui {

class Automation;
using gfx::TPoint;
using gfx::TRect;

using WindowHandle = std::uint32_t;  // 0 = no window
constexpr std::uint64_t kNoDeadline = std::numeric_limits<std::uint64_t>::max();

struct WindowParams {
    TRect bounds{};            // screen position and client size
    std::string caption;       // cp1252
    bool frameless = false;    // no system frame (border style none)
    bool dialogFrame = false;  // fixed frame without minimise/maximise
    bool topmost = false;
    bool popup = false;  // hint and similar windows: no task-bar entry, never activated
    bool minimizeBox = true;
    bool maximizeBox = true;
};

enum class EventType {
    None,
    MouseMove,
    MouseDown,
    MouseUp,
    MouseWheel,  // wheelDelta in steps of ±120, positive away from the user
    MouseLeftWindow,
    KeyDown,
    KeyUp,
    Text,          // text typed (cp1252), one or more characters
    CloseRequest,  // the user asked to close the window (frame's close box, Alt+F4)
    Expose,        // the window's pixels were lost; present everything again
    Activated,
    Deactivated,
    Moved,    // x, y = new screen position
    Resized,  // x, y = new client size (maximised, restored, resized by the user)
    Minimized,
    Restored,
    Wake,          // Backend::Wake() was called (a worker posted something)
    ScaleChanged,  // Scale() changed (a window went to a monitor of another density)
    Quit,          // the session ends (display lost, system shutdown)
};

struct Event {
    EventType type = EventType::None;
    WindowHandle window = 0;
    int x = 0, y = 0;  // client position (mouse events), screen position (Moved)
    TMouseButton button = mbLeft;
    int wheelDelta = 0;
    int key = 0;  // VK_* code
    TShiftState shift = 0;
    bool repeat = false;  // key auto-repeat
    std::string text;     // cp1252 (Text)
};

// The desktop's settings that the framework's behaviour depends on.
struct DesktopSettings {
    int doubleClickTime = 500;  // ms between the presses of a double click
    int doubleClickWidth = 4;   // the second press lies within this box around the first
    int doubleClickHeight = 4;
    int wheelScrollLines = 3;  // 0 means "one page"
    bool fontSmoothing = true;
    int hintPause = 500;       // ms the mouse rests before a hint appears
    int hintShortPause = 50;   // ms between hints while one is showing
    int hintHidePause = 2500;  // ms a hint stays
};

struct MessageBoxRequest {
    std::string text;     // cp1252
    std::string caption;  // cp1252
    int flags = MB_OK;    // MB_* button set | icon
};

enum class WaitResult {
    Event,    // something arrived (or may have): poll again
    Timeout,  // the deadline passed
    Stalled,  // nothing can ever arrive (headless with nothing scripted): a waiting loop must give up
};

// What the framework offers the backend.
class BackendHost {
public:
    virtual ~BackendHost() = default;
    // Dispatch every queued event, then fire due timers and paint (never waits).
    virtual void Pump() = 0;
    // Clock time of the earliest timer (or hint) that is due, kNoDeadline when none.
    virtual std::uint64_t NextDeadline() const = 0;
    // Would a left press at this client point start dragging the window? (skin under the pointer)
    virtual bool IsWindowDragArea(WindowHandle window, int x, int y) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    virtual void SetHost(BackendHost* host) = 0;

    // Windows. A new window is hidden until ShowWindow.
    virtual WindowHandle CreateWindow(const WindowParams& params) = 0;
    virtual void DestroyWindow(WindowHandle w) = 0;
    virtual void ShowWindow(WindowHandle w, bool show) = 0;
    virtual void SetWindowBounds(WindowHandle w, const TRect& screen) = 0;
    virtual TRect WindowBounds(WindowHandle w) const = 0;
    virtual void SetWindowCaption(WindowHandle w, const std::string& caption) = 0;
    // Outline as a union of client rectangles; empty = plain rectangle.
    virtual void SetWindowShape(WindowHandle w, const std::vector<TRect>& region) = 0;
    virtual void SetWindowTopmost(WindowHandle w, bool topmost) = 0;
    // A disabled window takes no input (the other windows while a modal one runs).
    virtual void SetWindowEnabled(WindowHandle w, bool enabled) = 0;
    virtual void RaiseWindow(WindowHandle w) = 0;  // to the front and active
    virtual void MinimizeWindow(WindowHandle w) = 0;
    virtual void MaximizeWindow(WindowHandle w) = 0;
    virtual void RestoreWindow(WindowHandle w) = 0;
    // The left button is down on the window: let the user move it until release. The release
    // does not reach the framework.
    virtual void BeginWindowDrag(WindowHandle w) = 0;
    // Device pixels per logical pixel of the windows: the desktop's factor (1.25, 1.5, 2, ...).
    // Back buffers are made at it (Bitmap.h), so a backend shows their pixels as they are.
    virtual double Scale() const { return 1.0; }
    // Copy rect (client pixels) of the back buffer to the window, at once.
    virtual void Present(WindowHandle w, const gfx::TBitmap& backBuffer, const TRect& rect) = 0;

    // Events and time.
    virtual bool PollEvent(Event& ev) = 0;
    // Block until an event arrives or the clock reaches deadline (kNoDeadline: no limit).
    virtual WaitResult WaitEvent(std::uint64_t deadline) = 0;
    // Thread-safe: make a blocked WaitEvent return.
    virtual void Wake() = 0;
    virtual std::uint64_t Now() const = 0;  // ms

    // Pointer and keyboard.
    virtual TPoint CursorPos() const = 0;  // screen
    virtual void SetCursor(TCursor cursor) = 0;
    virtual void CaptureMouse(bool capture) = 0;  // keep getting moves outside the window
    virtual void StartTextInput(WindowHandle w) = 0;
    virtual void StopTextInput(WindowHandle w) = 0;
    virtual std::string ClipboardText() = 0;  // cp1252
    virtual void SetClipboardText(const std::string& text) = 0;

    // The screen.
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    virtual int ColorDepth() const = 0;  // bits per pixel
    virtual DesktopSettings Settings() const = 0;

    // Prompts a backend may answer itself (headless: recorded, answered from a queue). nullopt
    // means "not answered here": the framework shows its own dialog.
    virtual std::optional<int> PromptMessageBox(const MessageBoxRequest&) { return std::nullopt; }
    // Outer nullopt: not answered here; inner nullopt: the user cancelled.
    virtual std::optional<std::optional<std::string>> PromptFolder(const std::string& /*title*/,
                                                                   const std::string& /*start*/) {
        return std::nullopt;
    }

    // Tests, scripts and the preview drive the backend through this; nullptr when it cannot be.
    virtual Automation* GetAutomation() { return nullptr; }
};

struct BackendOptions {
    bool headless = false;
    double scale = 0;  // device pixels per logical pixel; 0 = the desktop's factor
    // The program's largest window (logical pixels): the desktop's factor is lowered until it
    // fits the work area. 0 = no limit.
    int fitWidth = 0;
    int fitHeight = 0;
    bool accelerated = false;  // present through the GPU instead of the window surface
};

// A desktop factor in the steps desktops use (quarters: 1.25, 1.5, 1.75, 2, 2.5, ...), 1 to 4.
double SnapScale(double factor);
// The largest factor up to `wanted`, in quarter steps and never below 1, at which a window of
// width x height logical pixels fits the screen's work area (areaWidth x areaHeight pixels).
double FitScale(double wanted, int width, int height, int areaWidth, int areaHeight);

// Throws std::runtime_error with a message for the user when no display can be opened.
std::unique_ptr<Backend> CreateBackend(const BackendOptions& options);

}  // namespace gui
