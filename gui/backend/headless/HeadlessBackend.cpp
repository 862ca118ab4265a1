#include "gui/backend/headless/HeadlessBackend.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "gfx/Canvas.h"

namespace gui {

HeadlessBackend::HeadlessBackend(double scale) : scale_(scale > 0 ? scale : 1.0) {}

HeadlessBackend::~HeadlessBackend() {
    for (auto& [h, w] : windows_) delete w.pixels;
}

// ---- screen, clock ----------------------------------------------------------------------------

void HeadlessBackend::SetScreenSize(int width, int height) {
    screenWidth_ = std::max(1, width);
    screenHeight_ = std::max(1, height);
}

void HeadlessBackend::SetColorDepth(int bits) {
    colorDepth_ = bits;
}

void HeadlessBackend::Pump() {
    if (host_) host_->Pump();
}

void HeadlessBackend::Advance(std::uint64_t ms) {
    std::uint64_t target = now_ + ms;
    Pump();
    // Step from one due timer to the next so that every tick sees its own time.
    for (int guard = 0; guard < 10'000'000; ++guard) {
        std::uint64_t next = host_ ? host_->NextDeadline() : kNoDeadline;
        if (next <= now_) next = now_ + 1;  // something due now was already run: move on
        if (next > target) break;
        now_ = next;
        Pump();
    }
    now_ = target;
    Pump();
}

// ---- input ------------------------------------------------------------------------------------

void HeadlessBackend::Inject(const Event& in) {
    Event ev = in;
    if (!ev.window) ev.window = Target();
    switch (ev.type) {
        case EventType::MouseMove:
        case EventType::MouseDown:
        case EventType::MouseUp:
        case EventType::MouseWheel:
            InjectMouse(std::move(ev));
            return;
        default:
            queue_.push_back(std::move(ev));
            return;
    }
}

// What a window system does with the pointer: it follows a window drag, adds the held buttons and
// keeps presses away from a disabled window.
void HeadlessBackend::InjectMouse(Event ev) {
    const WindowState* ws = Window(ev.window);
    if (!ws) return;
    TPoint screen{ws->bounds.Left + ev.x, ws->bounds.Top + ev.y};
    TShiftState bit = ev.button == mbLeft ? ssLeft : ev.button == mbRight ? ssRight : ssMiddle;
    if (dragging_) {
        // The window follows the pointer until the button comes up; nothing reaches the program.
        WindowState* d = Find(dragging_);
        if (d && ev.type == EventType::MouseMove) {
            int dx = screen.X - dragStart_.X, dy = screen.Y - dragStart_.Y;
            d->bounds = gfx::Offset(dragBounds_, dx, dy);
            Queue(EventType::Moved, dragging_, d->bounds.Left, d->bounds.Top);
        }
        cursor_pos_ = screen;
        if (ev.type == EventType::MouseUp && ev.button == mbLeft) {
            dragging_ = 0;
            buttons_ &= ~ssLeft;
        }
        return;
    }
    cursor_pos_ = screen;
    if (ev.type == EventType::MouseDown) buttons_ |= bit;
    ev.shift |= buttons_;
    if (ev.type == EventType::MouseUp) buttons_ &= ~bit;
    if (ws->enabled || ev.type == EventType::MouseMove) queue_.push_back(std::move(ev));
}

void HeadlessBackend::RequestClose(WindowHandle w) {
    Queue(EventType::CloseRequest, w);
    Pump();
}

bool HeadlessBackend::Post(std::function<void()> fn) {
    posted_.push_back(std::move(fn));
    return true;
}

// ---- windows ------------------------------------------------------------------------------------

Automation::WindowState* HeadlessBackend::Find(WindowHandle w) {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : &it->second;
}

const Automation::WindowState* HeadlessBackend::Window(WindowHandle w) const {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowHandle> HeadlessBackend::Windows() const {
    return zOrder_;
}

WindowHandle HeadlessBackend::CreateWindow(const WindowParams& params) {
    WindowHandle h = nextHandle_++;
    WindowState& w = windows_[h];
    w.params = params;
    w.bounds = params.bounds;
    w.pixels = new gfx::TBitmap;
    w.pixels->SetScaledSize(std::max(1, params.bounds.Width()), std::max(1, params.bounds.Height()), scale_);
    zOrder_.push_back(h);
    return h;
}

void HeadlessBackend::DestroyWindow(WindowHandle w) {
    auto it = windows_.find(w);
    if (it == windows_.end()) return;
    delete it->second.pixels;
    windows_.erase(it);
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Event& e) { return e.window == w; }),
                 queue_.end());
    if (active_ == w) ActivateTopmost(w);
    ForgetWindow(w);
    if (dragging_ == w) dragging_ = 0;
}

// The topmost visible window other than except (and no popup) becomes the active one.
void HeadlessBackend::ActivateTopmost(WindowHandle except) {
    active_ = 0;
    // The range form needs libstdc++'s ranges, which clang 14 cannot parse.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto r = zOrder_.rbegin(); r != zOrder_.rend(); ++r)
        if (*r != except && windows_[*r].visible && !windows_[*r].params.popup) {
            active_ = *r;
            return;
        }
}

void HeadlessBackend::Queue(EventType type, WindowHandle w, int x, int y) {
    queue_.push_back(Event{.type = type, .window = w, .x = x, .y = y, .text = {}});
}

void HeadlessBackend::Activate(WindowHandle w) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
    zOrder_.push_back(w);
    if (!windows_[w].params.popup) active_ = w;
}

void HeadlessBackend::ShowWindow(WindowHandle w, bool show) {
    WindowState* ws = Find(w);
    if (!ws) return;
    ws->visible = show;
    if (show) {
        Activate(w);
    } else if (active_ == w) {
        ActivateTopmost(w);
    }
}

void HeadlessBackend::SetWindowBounds(WindowHandle w, const TRect& screen) {
    WindowState* ws = Find(w);
    if (!ws) return;
    ws->bounds = screen;
    if (ws->pixels->LogicalWidth() != screen.Width() || ws->pixels->LogicalHeight() != screen.Height())
        ws->pixels->SetScaledSize(std::max(1, screen.Width()), std::max(1, screen.Height()), scale_);
}

TRect HeadlessBackend::WindowBounds(WindowHandle w) const {
    const WindowState* ws = Window(w);
    return ws ? ws->bounds : TRect{};
}

void HeadlessBackend::SetWindowCaption(WindowHandle w, const std::string& caption) {
    if (WindowState* ws = Find(w)) ws->params.caption = caption;
}

void HeadlessBackend::SetWindowShape(WindowHandle w, const std::vector<TRect>& region) {
    if (WindowState* ws = Find(w)) ws->shape = region;
}

void HeadlessBackend::SetWindowTopmost(WindowHandle w, bool topmost) {
    if (WindowState* ws = Find(w)) ws->params.topmost = topmost;
}

void HeadlessBackend::SetWindowEnabled(WindowHandle w, bool enabled) {
    if (WindowState* ws = Find(w)) ws->enabled = enabled;
}

void HeadlessBackend::RaiseWindow(WindowHandle w) {
    if (Find(w)) Activate(w);
}

void HeadlessBackend::MinimizeWindow(WindowHandle w) {
    WindowState* ws = Find(w);
    if (!ws || ws->minimized) return;
    ws->minimized = true;
    Queue(EventType::Minimized, w);
}

void HeadlessBackend::MaximizeWindow(WindowHandle w) {
    WindowState* ws = Find(w);
    if (!ws) return;
    ws->maximized = true;
    ws->minimized = false;
    SetWindowBounds(w, {0, 0, screenWidth_, screenHeight_});
    Queue(EventType::Moved, w);
    Queue(EventType::Resized, w, screenWidth_, screenHeight_);
}

void HeadlessBackend::RestoreWindow(WindowHandle w) {
    WindowState* ws = Find(w);
    if (!ws) return;
    bool was = ws->minimized;
    ws->minimized = false;
    if (was) {
        Queue(EventType::Restored, w);
    }
}

void HeadlessBackend::BeginWindowDrag(WindowHandle w) {
    WindowState* ws = Find(w);
    if (!ws || !(buttons_ & ssLeft)) return;
    dragging_ = w;
    dragStart_ = cursor_pos_;
    dragBounds_ = ws->bounds;
}

void HeadlessBackend::Present(WindowHandle w, const gfx::TBitmap& backBuffer, const TRect& rect) {
    WindowState* ws = Find(w);
    if (!ws) return;
    gfx::TBitmap& px = *ws->pixels;
    if (px.Width() != backBuffer.Width() || px.Height() != backBuffer.Height() ||
        px.Scale() != backBuffer.Scale())
        px.SetScaledSize(backBuffer.LogicalWidth(), backBuffer.LogicalHeight(), backBuffer.Scale());
    const TRect shown = gfx::Intersect(rect, {0, 0, backBuffer.LogicalWidth(), backBuffer.LogicalHeight()});
    const TRect r = gfx::Intersect(gfx::ToPixels(shown, backBuffer.Scale()), {0, 0, px.Width(), px.Height()});
    for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint32_t* src = backBuffer.Row32(y);
        std::uint32_t* dst = px.Row32(y);
        std::copy(src + r.Left, src + r.Right, dst + r.Left);
    }
    ws->presentCount++;
    ws->lastPresent = shown;
}

bool HeadlessBackend::WindowEnabled(WindowHandle w) const {
    const WindowState* ws = Window(w);
    return ws && ws->enabled;
}

const gfx::TBitmap* HeadlessBackend::WindowPixels(WindowHandle w) const {
    const WindowState* ws = Window(w);
    return ws ? ws->pixels : nullptr;
}

// ---- events ---------------------------------------------------------------------------------------

bool HeadlessBackend::PollEvent(Event& ev) {
    if (queue_.empty()) return false;
    ev = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

WaitResult HeadlessBackend::WaitEvent(std::uint64_t) {
    {
        std::lock_guard<std::mutex> lock(wakeMutex_);
        if (woken_) {
            woken_ = false;
            return WaitResult::Event;
        }
    }
    if (!queue_.empty()) return WaitResult::Event;
    if (!posted_.empty()) {
        auto fn = std::move(posted_.front());
        posted_.pop_front();
        fn();
        return WaitResult::Event;
    }
    // The clock never moves by itself: a loop waiting here would wait for ever.
    log_.push_back("stalled: a loop waited with nothing queued or posted");
    return WaitResult::Stalled;
}

void HeadlessBackend::Wake() {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    woken_ = true;
}

// ---- prompts --------------------------------------------------------------------------------------

namespace {

// The next answer the test queued, taken into answer; false when none is left.
template <class T>
bool NextAnswer(std::deque<T>& queued, T& answer) {
    if (queued.empty()) return false;
    answer = std::move(queued.front());
    queued.pop_front();
    return true;
}

}  // namespace

std::optional<int> HeadlessBackend::PromptMessageBox(const MessageBoxRequest& request) {
    MessageBoxRecord rec;
    rec.request = request;
    if (showBoxes_) {
        rec.answer = -1;
        boxes_.push_back(rec);
        return std::nullopt;
    }
    if (!NextAnswer(boxAnswers_, rec.answer)) {
        // The default button: the first, or the second with MB_DEFBUTTON2.
        int set = request.flags & 0x0F;
        bool second = request.flags & MB_DEFBUTTON2;
        switch (set) {
            case MB_OKCANCEL:
                rec.answer = second ? IDCANCEL : IDOK;
                break;
            case MB_YESNO:
            case MB_YESNOCANCEL:
                rec.answer = second ? IDNO : IDYES;
                break;
            case MB_YESALLNOCANCEL:
                rec.answer = second ? IDYESTOALL : IDYES;
                break;
            default:
                rec.answer = IDOK;
                break;
        }
        rec.answeredByDefault = true;
        log_.push_back("message box answered by default: " + base::Cp1252ToUtf8(request.text));
    }
    boxes_.push_back(rec);
    return rec.answer;
}

std::optional<std::optional<std::string>> HeadlessBackend::PromptFolder(const std::string& title,
                                                                        const std::string& start) {
    FolderRecord rec;
    rec.title = title;
    rec.start = start;
    if (showBoxes_) {
        folders_.push_back(rec);
        return std::nullopt;
    }
    if (!NextAnswer(folderAnswers_, rec.answer)) {
        rec.answeredByDefault = true;  // cancelled
        log_.push_back("folder prompt cancelled by default: " + base::Cp1252ToUtf8(title));
    }
    folders_.push_back(rec);
    return rec.answer;
}

void HeadlessBackend::ClearRecords() {
    boxes_.clear();
    folders_.clear();
    log_.clear();
}

}  // namespace gui
