// Win32 backend.
//
//  1. start-up: DPI awareness, scale, window class, wake-up event
//  2. windows: create, shape (window region), present (GDI)
//  3. the window procedure: native messages become Events
//  4. events: polling, waiting, wake-up
//  5. pointer, keyboard, clipboard, screen
#include "gui/backend/win32/Win32Backend.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>

#include "base/Cp1252.h"
#include "gui/backend/Automation.h"

// After the framework's headers: <windows.h> names the same key and box constants with the same
// values as macros, and renames CreateWindow.
#include <windows.h>
#include <windowsx.h>
#undef CreateWindow

#include "gui/backend/win32/Win32Input.h"

namespace gui {

namespace {

const wchar_t kClassName[] = L"cdmenuWindow";

// The density of the primary display, after the process asked for real pixels: per monitor where
// the system knows it (Windows 10 1703 on), else the whole system. Loaded by name, since older
// systems lack the functions.
int SystemDpi() {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    using GetDpi = UINT(WINAPI*)();
    bool aware = false;
    if (auto set = reinterpret_cast<SetContext>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext"))))
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the API's awareness contexts are small negative handles
        aware = set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) != FALSE;  // per monitor v2
    if (!aware)
        if (auto set = reinterpret_cast<SetAware>(
                reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware"))))
            set();
    if (auto get = reinterpret_cast<GetDpi>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem"))))
        return int(get());
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi;
}

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring w(size_t(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), n);
    return w;
}

std::string Utf8(const std::wstring& wide) {
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(std::max(n, 0)), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring WideCaption(const std::string& cp1252) {
    return Wide(base::Cp1252ToUtf8(cp1252));
}

// The system's text for an error code.
std::string ErrorText(DWORD code) {
    wchar_t* buf = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
    std::wstring w = buf ? buf : L"";
    if (buf) LocalFree(buf);
    while (!w.empty() && (w.back() == L'\n' || w.back() == L'\r')) w.pop_back();
    return Utf8(w);
}

}  // namespace

double Win32DensityScale(int dpi) {
    return SnapScale(dpi / 96.0);
}

class Win32Backend : public Backend, private Automation {
public:
    explicit Win32Backend(const BackendOptions& options);
    ~Win32Backend() override;

    const char* Name() const override { return "win32"; }
    double Scale() const override { return units_; }
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
    void Wake() override { SetEvent(wake_); }
    std::uint64_t Now() const override { return GetTickCount64(); }
    TPoint CursorPos() const override;
    void SetCursor(TCursor cursor) override;
    void CaptureMouse(bool capture) override;
    void StartTextInput(WindowHandle) override {}
    void StopTextInput(WindowHandle) override {}
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    int ScreenWidth() const override { return gfx::FromPixels(GetSystemMetrics(SM_CXSCREEN), units_); }
    int ScreenHeight() const override { return gfx::FromPixels(GetSystemMetrics(SM_CYSCREEN), units_); }
    int ColorDepth() const override;
    DesktopSettings Settings() const override;
    Automation* GetAutomation() override { return this; }

private:
    // Automation, as in the SDL backend: injected input joins the native queue, capture is the
    // back buffer last presented, the clock and the prompts stay real.
    void Inject(const Event& ev) override {
        queue_.push_back(ev);
        if (ev.type == EventType::MouseDown)
            queue_.back().shift |= ev.button == mbLeft ? ssLeft : ev.button == mbRight ? ssRight : ssMiddle;
    }
    void Pump() override {
        if (host_) host_->Pump();
    }
    WindowHandle ActiveWindow() const override { return 0; }
    const gfx::TBitmap* WindowPixels(WindowHandle h) const override {
        auto it = windows_.find(h);
        return it == windows_.end() ? nullptr : it->second.last;
    }

    struct Win {
        HWND hwnd = nullptr;
        WindowParams params;
        TRect bounds{};  // logical screen rectangle of the client area
        bool visible = false;
        bool minimized = false;
        bool tracking = false;  // a leave notice is requested
        int wheelRest = 0;      // wheel movement short of a notch
        const gfx::TBitmap* last = nullptr;
        std::vector<TRect> shape;  // logical; made again at a new factor
    };
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(WindowHandle h, Win& w, UINT msg, WPARAM wp, LPARAM lp);
    void MouseEvent(WindowHandle h, EventType type, TMouseButton button, WPARAM wp, LPARAM lp);
    Win* Find(WindowHandle h);
    WindowHandle FindHwnd(HWND hwnd) const;
    RECT OuterRect(const Win& w, const TRect& client) const;
    void Push(Event ev) { queue_.push_back(std::move(ev)); }
    void Push(EventType type, WindowHandle h, int x = 0, int y = 0) {
        Event ev;
        ev.type = type;
        ev.window = h;
        ev.x = x;
        ev.y = y;
        Push(std::move(ev));
    }

    BackendHost* host_ = nullptr;
    double units_ = 1;       // pixels per logical pixel
    double fixedScale_ = 0;  // --scale: kept on every monitor
    int fitWidth_ = 0, fitHeight_ = 0;
    // The factor for a monitor's density, lowered until the program's largest window fits its
    // work area.
    double ScaleFor(int dpi, HMONITOR monitor) const;
    HANDLE wake_ = nullptr;
    std::map<WindowHandle, Win> windows_;
    WindowHandle nextHandle_ = 1;
    WindowHandle lastPointer_ = 0;  // the window the pointer last acted in (for capture)
    std::deque<Event> queue_;
    TCursor cursor_ = crDefault;
    HCURSOR hcursor_ = nullptr;
    wchar_t highSurrogate_ = 0;
};

// ---- 1. start-up ------------------------------------------------------------------------------

Win32Backend::Win32Backend(const BackendOptions& options) {
    const int dpi = SystemDpi();
    fixedScale_ = options.scale;
    fitWidth_ = options.fitWidth;
    fitHeight_ = options.fitHeight;
    POINT origin{0, 0};
    units_ = ScaleFor(dpi, MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
    wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Backend::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("Fenster kann nicht angelegt werden: " + ErrorText(GetLastError()));
    hcursor_ = wc.hCursor;
}

Win32Backend::~Win32Backend() {
    for (auto& [h, w] : windows_)
        if (w.hwnd) ::DestroyWindow(w.hwnd);
    if (wake_) CloseHandle(wake_);
}

std::unique_ptr<Backend> CreateWin32Backend(const BackendOptions& options) {
    return std::make_unique<Win32Backend>(options);
}

// ---- 2. windows ---------------------------------------------------------------------------------

Win32Backend::Win* Win32Backend::Find(WindowHandle h) {
    auto it = windows_.find(h);
    return it == windows_.end() ? nullptr : &it->second;
}

double Win32Backend::ScaleFor(int dpi, HMONITOR monitor) const {
    if (fixedScale_ > 0) return fixedScale_;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return Win32DensityScale(dpi);
    return FitScale(Win32DensityScale(dpi), fitWidth_, fitHeight_, info.rcWork.right - info.rcWork.left,
                    info.rcWork.bottom - info.rcWork.top);
}

WindowHandle Win32Backend::FindHwnd(HWND hwnd) const {
    for (const auto& [h, w] : windows_)
        if (w.hwnd == hwnd) return h;
    return 0;
}

RECT Win32Backend::OuterRect(const Win& w, const TRect& client) const {
    RECT r{gfx::ToPixels(client.Left, units_), gfx::ToPixels(client.Top, units_),
           gfx::ToPixels(client.Left + std::max(1, client.Width()), units_),
           gfx::ToPixels(client.Top + std::max(1, client.Height()), units_)};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(w.hwnd, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(w.hwnd, GWL_EXSTYLE)));
    return r;
}

WindowHandle Win32Backend::CreateWindow(const WindowParams& params) {
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = 0;
    if (params.frameless || params.popup) {
        style |= WS_POPUP;
        if (!params.popup && params.minimizeBox) style |= WS_MINIMIZEBOX | WS_SYSMENU;
    } else if (params.dialogFrame) {
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        ex |= WS_EX_DLGMODALFRAME;
    } else {
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        if (params.minimizeBox) style |= WS_MINIMIZEBOX;
        if (params.maximizeBox) style |= WS_MAXIMIZEBOX;
    }
    if (params.topmost) ex |= WS_EX_TOPMOST;
    if (params.popup) ex |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    WindowHandle h = nextHandle_++;
    Win& w = windows_[h];
    w.params = params;
    w.bounds = params.bounds;
    RECT r{gfx::ToPixels(params.bounds.Left, units_), gfx::ToPixels(params.bounds.Top, units_),
           gfx::ToPixels(params.bounds.Left + std::max(1, params.bounds.Width()), units_),
           gfx::ToPixels(params.bounds.Top + std::max(1, params.bounds.Height()), units_)};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    w.hwnd = CreateWindowExW(ex, kClassName, WideCaption(params.caption).c_str(), style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    if (!w.hwnd) {
        std::string why = ErrorText(GetLastError());
        windows_.erase(h);
        throw std::runtime_error("Fenster kann nicht angelegt werden: " + why);
    }
    SetWindowLongPtrW(w.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return h;
}

void Win32Backend::DestroyWindow(WindowHandle h) {
    Win* w = Find(h);
    if (!w) return;
    HWND hwnd = w->hwnd;
    windows_.erase(h);  // first: the messages of the destruction find no window
    if (hwnd) ::DestroyWindow(hwnd);
    if (lastPointer_ == h) lastPointer_ = 0;
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Event& e) { return e.window == h; }),
                 queue_.end());
}

void Win32Backend::ShowWindow(WindowHandle h, bool show) {
    Win* w = Find(h);
    if (!w) return;
    w->visible = show;
    if (!show) {
        ::ShowWindow(w->hwnd, SW_HIDE);
        return;
    }
    if (w->params.popup) {
        ::ShowWindow(w->hwnd, SW_SHOWNOACTIVATE);
    } else {
        ::ShowWindow(w->hwnd, SW_SHOW);
        SetForegroundWindow(w->hwnd);
    }
}

void Win32Backend::SetWindowBounds(WindowHandle h, const TRect& r) {
    Win* w = Find(h);
    if (!w) return;
    w->bounds = r;
    RECT o = OuterRect(*w, r);
    SetWindowPos(w->hwnd, nullptr, o.left, o.top, o.right - o.left, o.bottom - o.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect Win32Backend::WindowBounds(WindowHandle h) const {
    auto it = windows_.find(h);
    if (it == windows_.end()) return {};
    RECT c{};
    GetClientRect(it->second.hwnd, &c);
    POINT p{0, 0};
    ClientToScreen(it->second.hwnd, &p);
    return gfx::Bounds(gfx::FromPixels(p.x, units_), gfx::FromPixels(p.y, units_),
                       gfx::FromPixels((c.right - c.left), units_),
                       gfx::FromPixels((c.bottom - c.top), units_));
}

void Win32Backend::SetWindowCaption(WindowHandle h, const std::string& caption) {
    if (Win* w = Find(h)) {
        w->params.caption = caption;
        SetWindowTextW(w->hwnd, WideCaption(caption).c_str());
    }
}

void Win32Backend::SetWindowShape(WindowHandle h, const std::vector<TRect>& region) {
    Win* w = Find(h);
    if (!w) return;
    w->shape = region;
    if (region.empty()) {
        SetWindowRgn(w->hwnd, nullptr, TRUE);
        return;
    }
    // The region is in window coordinates: client rectangles move by the frame, if any.
    RECT wr{}, cr{};
    GetWindowRect(w->hwnd, &wr);
    POINT origin{0, 0};
    ClientToScreen(w->hwnd, &origin);
    (void)cr;
    const int dx = origin.x - wr.left, dy = origin.y - wr.top;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& r : region) {
        const TRect p = gfx::ToPixels(r, units_);
        HRGN part = CreateRectRgn(dx + p.Left, dy + p.Top, dx + p.Right, dy + p.Bottom);
        CombineRgn(rgn, rgn, part, RGN_OR);
        DeleteObject(part);
    }
    if (!SetWindowRgn(w->hwnd, rgn, TRUE)) DeleteObject(rgn);  // the system owns it on success
}

void Win32Backend::SetWindowTopmost(WindowHandle h, bool topmost) {
    if (Win* w = Find(h)) {
        w->params.topmost = topmost;
        SetWindowPos(w->hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32Backend::SetWindowEnabled(WindowHandle h, bool enabled) {
    if (Win* w = Find(h)) EnableWindow(w->hwnd, enabled);
}

void Win32Backend::RaiseWindow(WindowHandle h) {
    if (Win* w = Find(h)) {
        BringWindowToTop(w->hwnd);
        SetForegroundWindow(w->hwnd);
    }
}

void Win32Backend::MinimizeWindow(WindowHandle h) {
    if (Win* w = Find(h)) ::ShowWindow(w->hwnd, SW_MINIMIZE);
}

void Win32Backend::MaximizeWindow(WindowHandle h) {
    if (Win* w = Find(h)) ::ShowWindow(w->hwnd, SW_MAXIMIZE);
}

void Win32Backend::RestoreWindow(WindowHandle h) {
    if (Win* w = Find(h)) ::ShowWindow(w->hwnd, SW_RESTORE);
}

void Win32Backend::BeginWindowDrag(WindowHandle h) {
    // The press came through to the framework: hand the window to the system's move loop, which
    // returns after the release (and swallows it).
    Win* w = Find(h);
    if (!w || !(GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000)) return;
    ReleaseCapture();
    SendMessageW(w->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Win32Backend::Present(WindowHandle h, const gfx::TBitmap& bb, const TRect& rect) {
    Win* w = Find(h);
    if (!w) return;
    w->last = &bb;
    if (!w->visible) return;
    // The back buffer is made at units_ (Backend::Scale): its pixels go to the window as they are.
    const TRect shown = gfx::Intersect(rect, {0, 0, bb.LogicalWidth(), bb.LogicalHeight()});
    TRect r = gfx::Intersect(gfx::ToPixels(shown, bb.Scale()), {0, 0, bb.Width(), bb.Height()});
    if (r.IsEmpty() || bb.Stride() != bb.Width() * 4) return;
    // The band of rows as a DIB of its own (top-down, as the back buffer's rows).
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bb.Width();
    bi.bmiHeader.biHeight = -r.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(w->hwnd);
    if (!dc) return;
    SetDIBitsToDevice(dc, r.Left, r.Top, r.Width(), r.Height(), r.Left, 0, 0, r.Height(), bb.Row32(r.Top),
                      &bi, DIB_RGB_COLORS);
    ReleaseDC(w->hwnd, dc);
}

// ---- 3. the window procedure --------------------------------------------------------------------

LRESULT CALLBACK Win32Backend::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the window keeps its backend in its user data
    auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self)
        if (WindowHandle h = self->FindHwnd(hwnd)) return self->Handle(h, self->windows_[h], msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32Backend::MouseEvent(WindowHandle h, EventType type, TMouseButton button, WPARAM wp, LPARAM lp) {
    Event ev;
    ev.type = type;
    ev.window = h;
    ev.x = gfx::FromPixels(GET_X_LPARAM(lp), units_);
    ev.y = gfx::FromPixels(GET_Y_LPARAM(lp), units_);
    ev.button = button;
    ev.shift = MouseState(wp);
    lastPointer_ = h;
    Push(std::move(ev));
}

LRESULT Win32Backend::Handle(WindowHandle h, Win& w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = w.hwnd;
    switch (msg) {
        case WM_NCHITTEST: {
            LRESULT hit = DefWindowProcW(hwnd, msg, wp, lp);
            if (hit != HTCLIENT || !host_ || w.params.popup) return hit;
            // A press on a part of the skin that moves the window: the system moves it. Only
            // while the button is down, so that the framework still sees the pointer hover there.
            if (!(GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000))
                return hit;
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd, &p);
            return host_->IsWindowDragArea(h, gfx::FromPixels(p.x, units_), gfx::FromPixels(p.y, units_))
                       ? HTCAPTION
                       : HTCLIENT;
        }
        case WM_NCLBUTTONDBLCLK:
            if (wp == HTCAPTION && (w.params.frameless || !w.params.maximizeBox)) return 0;  // no maximising
            break;
        case WM_NCRBUTTONUP:
            if (wp == HTCAPTION && w.params.frameless) return 0;  // no system menu on the skin
            break;
        case WM_MOUSEMOVE:
            if (!w.tracking) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd, 0};
                w.tracking = TrackMouseEvent(&t) != FALSE;
            }
            MouseEvent(h, EventType::MouseMove, mbLeft, wp, lp);
            return 0;
        case WM_MOUSELEAVE:
            w.tracking = false;
            Push(EventType::MouseLeftWindow, h);
            return 0;
        case WM_LBUTTONDOWN:
            MouseEvent(h, EventType::MouseDown, mbLeft, wp, lp);
            return 0;
        case WM_RBUTTONDOWN:
            MouseEvent(h, EventType::MouseDown, mbRight, wp, lp);
            return 0;
        case WM_MBUTTONDOWN:
            MouseEvent(h, EventType::MouseDown, mbMiddle, wp, lp);
            return 0;
        case WM_LBUTTONUP:
            MouseEvent(h, EventType::MouseUp, mbLeft, wp, lp);
            return 0;
        case WM_RBUTTONUP:
            MouseEvent(h, EventType::MouseUp, mbRight, wp, lp);
            return 0;
        case WM_MBUTTONUP:
            MouseEvent(h, EventType::MouseUp, mbMiddle, wp, lp);
            return 0;
        case WM_MOUSEWHEEL: {
            // Fine-grained wheels report parts of a notch: whole notches only, the rest kept.
            w.wheelRest += GET_WHEEL_DELTA_WPARAM(wp);
            const int notches = w.wheelRest / WHEEL_DELTA;
            w.wheelRest -= notches * WHEEL_DELTA;
            if (!notches) return 0;
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd, &p);
            Event ev;
            ev.type = EventType::MouseWheel;
            ev.window = h;
            ev.x = gfx::FromPixels(p.x, units_);
            ev.y = gfx::FromPixels(p.y, units_);
            ev.wheelDelta = notches * 120;
            ev.shift = MouseState(GET_KEYSTATE_WPARAM(wp));
            Push(std::move(ev));
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: {
            const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
            if (KnownKey(wp)) {
                Event ev;
                ev.type = down ? EventType::KeyDown : EventType::KeyUp;
                ev.window = h;
                ev.key = int(wp);
                ev.shift = KeyMods();
                ev.repeat = down && (lp & (1 << 30)) != 0;
                Push(std::move(ev));
            }
            // Alt+F4 closes through the system; Alt and F10 alone must not open a window menu.
            if (msg == WM_SYSKEYDOWN && wp == VK_F4) break;
            if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) return 0;
            return 0;
        }
        case WM_SYSCHAR:
            return 0;
        case WM_CHAR: {
            const wchar_t c = wchar_t(wp);
            if (c >= 0xD800 && c < 0xDC00) {
                highSurrogate_ = c;
                return 0;
            }
            std::wstring units;
            if (c >= 0xDC00 && c < 0xE000) {
                if (!highSurrogate_) return 0;
                units = {highSurrogate_, c};
            } else {
                units = {c};
            }
            highSurrogate_ = 0;
            // Enter, Escape, Tab, Backspace and Ctrl combinations are keys, not text.
            if (c < 0x20 || c == 0x7F) return 0;
            Event ev;
            ev.type = EventType::Text;
            ev.window = h;
            ev.text = base::Utf8ToCp1252(Utf8(units));
            if (!ev.text.empty()) Push(std::move(ev));
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                ::SetCursor(cursor_ == crNone ? nullptr : hcursor_);
                return TRUE;
            }
            break;
        case WM_MOUSEACTIVATE:
            if (w.params.popup) return MA_NOACTIVATE;
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            Push(EventType::Expose, h);
            return 0;
        }
        case WM_CLOSE:
            Push(EventType::CloseRequest, h);
            return 0;
        case WM_ACTIVATE:
            Push(LOWORD(wp) == WA_INACTIVE ? EventType::Deactivated : EventType::Activated, h);
            break;
        case WM_MOVE: {
            if (w.minimized) return 0;
            const int x = gfx::FromPixels(GET_X_LPARAM(lp), units_),
                      y = gfx::FromPixels(GET_Y_LPARAM(lp), units_);
            if (x == w.bounds.Left && y == w.bounds.Top) return 0;
            w.bounds = gfx::Bounds(x, y, w.bounds.Width(), w.bounds.Height());
            Push(EventType::Moved, h, x, y);
            return 0;
        }
        case WM_SIZE: {
            if (wp == SIZE_MINIMIZED) {
                w.minimized = true;
                Push(EventType::Minimized, h);
                return 0;
            }
            if (w.minimized) {
                w.minimized = false;
                Push(EventType::Restored, h);
            }
            const int cw = gfx::FromPixels(LOWORD(lp), units_), ch = gfx::FromPixels(HIWORD(lp), units_);
            if (cw == w.bounds.Width() && ch == w.bounds.Height()) return 0;
            w.bounds = gfx::Bounds(w.bounds.Left, w.bounds.Top, cw, ch);
            Push(EventType::Resized, h, cw, ch);
            return 0;
        }
        case WM_DPICHANGED: {
            // Dragged to a monitor of another density: the windows take its factor, the window
            // keeps its place (the system's suggestion) and every form paints anew at the new size.
            const double scale = ScaleFor(LOWORD(wp), MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
            if (scale == units_) return 0;
            units_ = scale;
            // NOLINTNEXTLINE(performance-no-int-to-ptr): the message carries the suggested rectangle
            const RECT* suggested = reinterpret_cast<const RECT*>(lp);
            const RECT outer = OuterRect(w, w.bounds);
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, outer.right - outer.left,
                         outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
            for (auto& [other, win] : windows_)
                if (!win.shape.empty()) SetWindowShape(other, std::vector<TRect>(win.shape));
            Push(EventType::ScaleChanged, h);
            return 0;
        }
        case WM_ENDSESSION:
            if (wp) Push(EventType::Quit, 0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---- 4. events ----------------------------------------------------------------------------------

bool Win32Backend::PollEvent(Event& ev) {
    if (queue_.empty() && WaitForSingleObject(wake_, 0) == WAIT_OBJECT_0) Push(EventType::Wake, 0);
    MSG m;
    while (queue_.empty() && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            Push(EventType::Quit, 0);
            break;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    if (queue_.empty()) return false;
    ev = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

WaitResult Win32Backend::WaitEvent(std::uint64_t deadline) {
    if (!queue_.empty()) return WaitResult::Event;
    DWORD wait = INFINITE;
    if (deadline != kNoDeadline) {
        const std::uint64_t now = Now();
        if (deadline <= now) return WaitResult::Timeout;
        wait = DWORD(std::min<std::uint64_t>(deadline - now, INFINITE - 1));
    }
    const DWORD r = MsgWaitForMultipleObjectsEx(1, &wake_, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_TIMEOUT) return WaitResult::Timeout;
    if (r == WAIT_OBJECT_0) Push(EventType::Wake, 0);
    return WaitResult::Event;
}

// ---- 5. pointer, keyboard, clipboard, screen ------------------------------------------------------

TPoint Win32Backend::CursorPos() const {
    POINT p{0, 0};
    GetCursorPos(&p);
    return {gfx::FromPixels(p.x, units_), gfx::FromPixels(p.y, units_)};
}

void Win32Backend::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    LPCWSTR id = IDC_ARROW;
    switch (cursor) {
        case crIBeam:
            id = IDC_IBEAM;
            break;
        case crHourGlass:
            id = IDC_WAIT;
            break;
        case crAppStart:
            id = IDC_APPSTARTING;
            break;
        case crCross:
            id = IDC_CROSS;
            break;
        case crHandPoint:
            id = IDC_HAND;
            break;
        case crSizeAll:
            id = IDC_SIZEALL;
            break;
        case crSizeNS:
            id = IDC_SIZENS;
            break;
        case crSizeWE:
            id = IDC_SIZEWE;
            break;
        case crSizeNWSE:
            id = IDC_SIZENWSE;
            break;
        case crSizeNESW:
            id = IDC_SIZENESW;
            break;
        case crNo:
            id = IDC_NO;
            break;
        default:
            break;
    }
    hcursor_ = LoadCursorW(nullptr, id);
    // At once when the pointer is over one of our windows; elsewhere WM_SETCURSOR sets it on entry.
    POINT p;
    if (GetCursorPos(&p))
        if (HWND under = WindowFromPoint(p); under && FindHwnd(under))
            ::SetCursor(cursor == crNone ? nullptr : hcursor_);
}

void Win32Backend::CaptureMouse(bool capture) {
    if (!capture) {
        ReleaseCapture();
        return;
    }
    if (Win* w = Find(lastPointer_)) SetCapture(w->hwnd);
}

std::string Win32Backend::ClipboardText() {
    if (!OpenClipboard(nullptr)) return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = base::Utf8ToCp1252(Utf8(p));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void Win32Backend::SetClipboardText(const std::string& text) {
    const std::wstring wide = Wide(base::Cp1252ToUtf8(text));
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = GlobalLock(mem)) {
            std::memcpy(p, wide.c_str(), bytes);
            GlobalUnlock(mem);
            if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
        } else {
            GlobalFree(mem);
        }
    }
    CloseClipboard();
}

int Win32Backend::ColorDepth() const {
    HDC dc = GetDC(nullptr);
    int bits = dc ? GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) : 32;
    if (dc) ReleaseDC(nullptr, dc);
    return bits == 24 ? 32 : bits;  // 24-bit true colour is reported as 32, as the system does
}

DesktopSettings Win32Backend::Settings() const {
    DesktopSettings s;
    s.doubleClickTime = int(GetDoubleClickTime());
    s.doubleClickWidth = GetSystemMetrics(SM_CXDOUBLECLK);
    s.doubleClickHeight = GetSystemMetrics(SM_CYDOUBLECLK);
    UINT lines = 3;
    if (SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        s.wheelScrollLines = lines == WHEEL_PAGESCROLL ? 0 : int(lines);
    BOOL smoothing = TRUE;
    if (SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0)) s.fontSmoothing = smoothing != FALSE;
    return s;
}

}  // namespace gui
