// SDL2 backend.
//
//  1. start-up: hints, display, scale
//  2. windows: create, shape, present (window surface; on a compositor that scales windows, a
//     high-density window of real pixels)
//  3. events: translation, waiting, wake-up
//  4. window dragging: SDL's hit test where a window manager moves windows, else our own
//  5. pointer, keyboard, clipboard, screen
#include "gui/backend/sdl/SdlBackend.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <unistd.h>

#include "base/Cp1252.h"
#include "gui/backend/Automation.h"
#include "gui/backend/sdl/DisplayScale.h"
#include "gui/backend/sdl/SdlApi.h"
#include "gui/backend/sdl/SdlEventTranslate.h"
#include "gui/backend/sdl/X11Probe.h"

namespace gui {

namespace {

// The scale the compositor gives a high-density window, 1 when it gives none (or SDL cannot tell).
int ProbeOutputScale() {
#if SDL_VERSION_ATLEAST(2, 26, 0)
    SDL_Window* probe =
        SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 64, 64,
                         SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!probe) return 1;
    int w = 0, h = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(probe, &w, &h);
    SDL_GetWindowSizeInPixels(probe, &pw, &ph);
    SDL_DestroyWindow(probe);
    return OutputScaleOf(w, h, pw, ph);
#else
    return 1;
#endif
}

// Why no screen was reached, for a driver SDL fell back to that draws into memory only ("offscreen",
// "dummy"); empty when that driver is the one SDL_VIDEODRIVER asks for.
std::string InvisibleDriverReason(const char* driver) {
    if (!driver || (strcasecmp(driver, "offscreen") != 0 && strcasecmp(driver, "dummy") != 0)) return {};
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && strcasestr(asked, driver)) return {};
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* display = std::getenv(variable);
        if (display && *display) return std::string("die Anzeige ") + display + " antwortet nicht";
    }
    return "weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt";
}

[[noreturn]] void ThrowNoDisplay(const std::string& why) {
    throw std::runtime_error("Keine Anzeige verf\xC3\xBCgbar (" + why +
                             "). Mit --headless l\xC3\xA4uft das Programm ohne Anzeige.");
}

}  // namespace

class SdlBackend : public Backend, private Automation {
public:
    explicit SdlBackend(const BackendOptions& options);
    ~SdlBackend() override;

    const char* Name() const override { return "sdl"; }
    double Scale() const override { return scale_; }
    void SetHost(BackendHost* host) override { host_ = host; }
    WindowHandle CreateWindow(const WindowParams& params) override;
    void DestroyWindow(WindowHandle w) override;
    void ShowWindow(WindowHandle w, bool show) override;
    void SetWindowBounds(WindowHandle w, const TRect& screen) override;
    TRect WindowBounds(WindowHandle w) const override;
    void SetWindowCaption(WindowHandle w, const std::string& caption) override;
    void SetWindowShape(WindowHandle w, const std::vector<TRect>& region) override;
    void SetWindowTopmost(WindowHandle w, bool topmost) override;
    void SetWindowEnabled(WindowHandle, bool) override {}
    void RaiseWindow(WindowHandle w) override;
    void MinimizeWindow(WindowHandle w) override;
    void MaximizeWindow(WindowHandle w) override;
    void RestoreWindow(WindowHandle w) override;
    void BeginWindowDrag(WindowHandle w) override;
    void Present(WindowHandle w, const gfx::TBitmap& backBuffer, const TRect& rect) override;
    bool PollEvent(Event& ev) override;
    WaitResult WaitEvent(std::uint64_t deadline) override;
    void Wake() override;
    // Milliseconds since the system started, as Windows' tick count (SDL's own start at its
    // initialisation): the clock also seeds the menu's banner choice.
    std::uint64_t Now() const override {
        using namespace std::chrono;
        return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    TPoint CursorPos() const override;
    void SetCursor(TCursor cursor) override;
    void CaptureMouse(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
    void StartTextInput(WindowHandle) override {}
    void StopTextInput(WindowHandle) override {}
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    int ColorDepth() const override;
    DesktopSettings Settings() const override { return settings_; }
    Automation* GetAutomation() override { return this; }

private:
    // Automation: injected input joins the native queue (a press carries its button, as SDL's own
    // does); capture is the back buffer last presented; the clock and the prompts stay real.
    void Inject(const Event& ev) override {
        queue_.push_back(ev);
        if (ev.type == EventType::MouseDown)
            queue_.back().shift |= ev.button == mbLeft ? ssLeft : ev.button == mbRight ? ssRight : ssMiddle;
    }
    void Pump() override {
        if (host_) host_->Pump();
    }
    WindowHandle ActiveWindow() const override { return 0; }  // the framework's active form counts
    const gfx::TBitmap* WindowPixels(WindowHandle h) const override {
        auto it = windows_.find(h);
        return it == windows_.end() ? nullptr : it->second.last;
    }

    struct Win {
        SDL_Window* sdl = nullptr;
        WindowParams params;
        TRect bounds{};  // logical screen rectangle
        bool visible = false;
        bool shaped = false;
        std::vector<TRect> shape;
        gfx::TBitmap* last = nullptr;  // the back buffer last presented (for re-presenting)
    };
    static SDL_HitTestResult HitTest(SDL_Window* win, const SDL_Point* area, void* data);
    SDL_Window* MakeSdlWindow(WindowHandle h, Win& w, bool shaped);
    Win* Find(WindowHandle w);
    Win* FindSdl(Uint32 id, WindowHandle* h);
    void Translate(const SDL_Event& e);
    void DragWith(const SDL_Event& e);
    void Push(const Event& ev) { queue_.push_back(ev); }

    BackendHost* host_ = nullptr;
    double scale_ = 1;        // device pixels per logical pixel (the back buffers' scale)
    double units_ = 1;        // window units per logical pixel (pixels on X11)
    bool highDpi_ = false;    // windows ask for real pixels: the compositor scales units
    bool useHitTest_ = true;  // a window manager runs: it moves and maximises windows
    bool hitTestChecked_ = false;
    Uint32 wakeEvent_ = 0;
    std::map<WindowHandle, Win> windows_;
    WindowHandle nextHandle_ = 1;
    std::deque<Event> queue_;
    SdlTranslateState translate_;
    SdlWindowLookup lookup_ = [this](Uint32 id, WindowHandle& handle, TRect& bounds) {
        Win* w = FindSdl(id, &handle);
        if (w) bounds = w->bounds;
        return w != nullptr;
    };
    // On X11 the loop waits on the display connection and this pipe itself (see X11Connection).
    X11Connection x11_;
    bool x11Driver_ = false;
    int wakePipe_[2] = {-1, -1};
    DesktopSettings settings_;
    std::map<int, SDL_Cursor*> cursors_;
    TCursor cursor_ = crDefault;
    // Our own window move (no window manager, or no hit test).
    WindowHandle dragging_ = 0;
    int dragStartX_ = 0, dragStartY_ = 0, dragWinX_ = 0, dragWinY_ = 0;
    int pressX_ = 0, pressY_ = 0;  // screen position of the last press
    bool leftDown_ = false;        // as the events handled so far have it, not as the mouse is now
};

// ---- 1. start-up ------------------------------------------------------------------------------

SdlBackend::SdlBackend(const BackendOptions& options) {
    // The window surface without GPU reaches the first frame sooner and needs far less memory.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, options.accelerated ? "1" : "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // A menu left open must not keep the screen awake; SDL would also ask the desktop's bus for that.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) ThrowNoDisplay(SDL_GetError());
    const char* driver = SDL_GetCurrentVideoDriver();
    // When no screen answers SDL draws into memory instead, and the menu would run on with no
    // window anyone sees.
    if (const std::string why = InvisibleDriverReason(driver); !why.empty()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ThrowNoDisplay(why);
    }
    wakeEvent_ = SDL_RegisterEvents(1);
    // A compositor that scales windows itself (Wayland) tells by how much through the size in
    // pixels of a high-density window; X11 windows are measured in pixels.
    const bool wayland = driver && std::strcmp(driver, "wayland") == 0;
    x11Driver_ = driver && std::strcmp(driver, "x11") == 0;
    if (x11Driver_) {
        X11KeepGoingOnErrors();
        if (pipe(wakePipe_) == 0) {
            for (int fd : wakePipe_) {
                fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
                fcntl(fd, F_SETFD, FD_CLOEXEC);
            }
        } else {
            wakePipe_[0] = wakePipe_[1] = -1;
        }
    }
    const int outputScale = wayland ? ProbeOutputScale() : 1;
    double scale = options.scale;
    if (scale <= 0) {
        // What the desktop announces for scaling (GDK_SCALE, Xft.dpi, the output's scale) counts
        // before the physical density, which X servers often report as 96 whatever the screen.
        float ddpi = 0;
        SDL_GetDisplayDPI(0, &ddpi, nullptr, nullptr);
        const char* gdk = SDL_getenv("GDK_SCALE");
        const double xft = driver && std::strcmp(driver, "x11") == 0 ? X11XftDpi() : 0;
        scale = DensityScale(gdk ? std::atoi(gdk) : 0, AnnouncedDpi(driver, xft, outputScale), ddpi);
        // A window larger than the work area would be cut off: a smaller factor instead.
        SDL_Rect area;
        if (SDL_GetDisplayUsableBounds(0, &area) == 0) {
            const double unitPixels = outputScale > 1 ? outputScale : 1;
            scale = FitScale(scale, options.fitWidth, options.fitHeight, int(area.w * unitPixels),
                             int(area.h * unitPixels));
        }
    }
    const WindowScale split = SplitScale(scale, outputScale);
    units_ = split.units;
    scale_ = split.scale;
    highDpi_ = split.highDpi;
    if (const char* env = SDL_getenv("CDMENU_HITTEST"); env && *env == '0') {
        useHitTest_ = false;
        hitTestChecked_ = true;
    }
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() {
    for (auto& [h, w] : windows_)
        if (w.sdl) SDL_DestroyWindow(w.sdl);
    for (auto& [id, c] : cursors_) SDL_FreeCursor(c);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    for (int fd : wakePipe_)
        if (fd >= 0) close(fd);
}

std::unique_ptr<Backend> CreateSdlBackend(const BackendOptions& options) {
    std::string why;
    if (!LoadSdlVideoApi(why)) throw std::runtime_error(why);
    return std::make_unique<SdlBackend>(options);
}

// ---- 2. windows ---------------------------------------------------------------------------------

SdlBackend::Win* SdlBackend::Find(WindowHandle w) {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : &it->second;
}

SdlBackend::Win* SdlBackend::FindSdl(Uint32 id, WindowHandle* h) {
    for (auto& [handle, w] : windows_)
        if (w.sdl && SDL_GetWindowID(w.sdl) == id) {
            if (h) *h = handle;
            return &w;
        }
    return nullptr;
}

SDL_Window* SdlBackend::MakeSdlWindow(WindowHandle, Win& w, bool shaped) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (highDpi_) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
    if (w.params.frameless || shaped) flags |= SDL_WINDOW_BORDERLESS;
    if (w.params.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    if (w.params.popup) flags |= SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_TOOLTIP;
    std::string title = base::Cp1252ToUtf8(w.params.caption);
    int x = gfx::ToPixels(w.bounds.Left, units_), y = gfx::ToPixels(w.bounds.Top, units_);
    int cw = gfx::ToPixels(std::max(1, w.bounds.Width()), units_),
        ch = gfx::ToPixels(std::max(1, w.bounds.Height()), units_);
    SDL_Window* win = shaped ? SDL_CreateShapedWindow(title.c_str(), unsigned(x), unsigned(y), unsigned(cw),
                                                      unsigned(ch), flags)
                             : SDL_CreateWindow(title.c_str(), x, y, cw, ch, flags);
    if (!win) return nullptr;
    if (w.params.frameless || shaped) SDL_SetWindowHitTest(win, &SdlBackend::HitTest, this);
    if (!hitTestChecked_) {
        hitTestChecked_ = true;
        useHitTest_ = X11HasWindowManager(win);
    }
    if (x11Driver_ && x11_.fd < 0 && wakePipe_[0] >= 0) x11_ = X11ConnectionOf(win);
    return win;
}

WindowHandle SdlBackend::CreateWindow(const WindowParams& params) {
    WindowHandle h = nextHandle_++;
    Win& w = windows_[h];
    w.params = params;
    w.bounds = params.bounds;
    w.sdl = MakeSdlWindow(h, w, false);
    if (!w.sdl) {
        std::string why = SDL_GetError();
        windows_.erase(h);
        throw std::runtime_error("Fenster kann nicht angelegt werden: " + why);
    }
    return h;
}

void SdlBackend::DestroyWindow(WindowHandle h) {
    Win* w = Find(h);
    if (!w) return;
    if (w->sdl) SDL_DestroyWindow(w->sdl);
    windows_.erase(h);
    if (dragging_ == h) dragging_ = 0;
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Event& e) { return e.window == h; }),
                 queue_.end());
}

void SdlBackend::ShowWindow(WindowHandle h, bool show) {
    Win* w = Find(h);
    if (!w) return;
    w->visible = show;
    if (show) {
        SDL_ShowWindow(w->sdl);
        if (!w->params.popup) SDL_RaiseWindow(w->sdl);
    } else {
        SDL_HideWindow(w->sdl);
    }
}

void SdlBackend::SetWindowBounds(WindowHandle h, const TRect& r) {
    Win* w = Find(h);
    if (!w) return;
    w->bounds = r;
    SDL_SetWindowPosition(w->sdl, gfx::ToPixels(r.Left, units_), gfx::ToPixels(r.Top, units_));
    int cw = 0, ch = 0;
    SDL_GetWindowSize(w->sdl, &cw, &ch);
    if (cw != gfx::ToPixels(std::max(1, r.Width()), units_) ||
        ch != gfx::ToPixels(std::max(1, r.Height()), units_))
        SDL_SetWindowSize(w->sdl, gfx::ToPixels(std::max(1, r.Width()), units_),
                          gfx::ToPixels(std::max(1, r.Height()), units_));
}

TRect SdlBackend::WindowBounds(WindowHandle h) const {
    auto it = windows_.find(h);
    if (it == windows_.end()) return {};
    int x = 0, y = 0, cw = 0, ch = 0;
    SDL_GetWindowPosition(it->second.sdl, &x, &y);
    SDL_GetWindowSize(it->second.sdl, &cw, &ch);
    return gfx::Bounds(gfx::FromPixels(x, units_), gfx::FromPixels(y, units_), gfx::FromPixels(cw, units_),
                       gfx::FromPixels(ch, units_));
}

void SdlBackend::SetWindowCaption(WindowHandle h, const std::string& caption) {
    if (Win* w = Find(h)) {
        w->params.caption = caption;
        SDL_SetWindowTitle(w->sdl, base::Cp1252ToUtf8(caption).c_str());
    }
}

void SdlBackend::SetWindowShape(WindowHandle h, const std::vector<TRect>& region) {
    Win* w = Find(h);
    if (!w) return;
    w->shape = region;
    if (region.empty() && !w->shaped) return;
    if (!region.empty() && !w->shaped) {
        // Only a window made as shaped can take a shape: make it anew.
        SDL_Window* shaped = MakeSdlWindow(h, *w, true);
        if (!shaped) {
            std::fprintf(stderr,
                         "cdmenu: shaped windows are not available (%s); the window stays rectangular\n",
                         SDL_GetError());
            return;
        }
        SDL_DestroyWindow(w->sdl);
        w->sdl = shaped;
        w->shaped = true;
        if (w->visible) SDL_ShowWindow(w->sdl);
    }
    int cw = gfx::ToPixels(std::max(1, w->bounds.Width()), units_),
        ch = gfx::ToPixels(std::max(1, w->bounds.Height()), units_);
    SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, cw, ch, 32, SDL_PIXELFORMAT_RGBA8888);
    if (!mask) return;
    SDL_FillRect(mask, nullptr, SDL_MapRGBA(mask->format, 0, 0, 0, region.empty() ? 255 : 0));
    for (const TRect& r : region) {
        const TRect u = gfx::ToPixels(r, units_);  // edges scaled, so that the pieces still meet
        SDL_Rect sr{u.Left, u.Top, u.Width(), u.Height()};
        SDL_FillRect(mask, &sr, SDL_MapRGBA(mask->format, 255, 255, 255, 255));
    }
    SDL_WindowShapeMode mode;
    mode.mode = ShapeModeBinarizeAlpha;
    mode.parameters.binarizationCutoff = 128;
    if (SDL_SetWindowShape(w->sdl, mask, &mode) != 0)
        std::fprintf(stderr, "cdmenu: the window shape was refused (%s)\n", SDL_GetError());
    SDL_FreeSurface(mask);
    SDL_SetWindowPosition(w->sdl, gfx::ToPixels(w->bounds.Left, units_),
                          gfx::ToPixels(w->bounds.Top, units_));
}

void SdlBackend::SetWindowTopmost(WindowHandle h, bool topmost) {
    if (Win* w = Find(h)) {
        w->params.topmost = topmost;
        SDL_SetWindowAlwaysOnTop(w->sdl, topmost ? SDL_TRUE : SDL_FALSE);
    }
}

void SdlBackend::RaiseWindow(WindowHandle h) {
    Win* w = Find(h);
    if (!w) return;
    SDL_RaiseWindow(w->sdl);
    // Without a window manager nobody hands the keyboard back when a focused box goes away: the
    // focus would stay on no window at all.
    if (!useHitTest_ && w->visible) SDL_SetWindowInputFocus(w->sdl);
}

void SdlBackend::MinimizeWindow(WindowHandle h) {
    if (Win* w = Find(h)) SDL_MinimizeWindow(w->sdl);
}

void SdlBackend::MaximizeWindow(WindowHandle h) {
    Win* w = Find(h);
    if (!w) return;
    if (useHitTest_) {
        SDL_MaximizeWindow(w->sdl);
        return;
    }
    // No window manager to do it: cover the display ourselves.
    SDL_Rect r;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(w->sdl)), &r) != 0) return;
    SDL_SetWindowPosition(w->sdl, r.x, r.y);
    SDL_SetWindowSize(w->sdl, r.w, r.h);
    w->bounds = gfx::Bounds(gfx::FromPixels(r.x, units_), gfx::FromPixels(r.y, units_),
                            gfx::FromPixels(r.w, units_), gfx::FromPixels(r.h, units_));
    Event moved;
    moved.type = EventType::Moved;
    moved.window = h;
    moved.x = w->bounds.Left;
    moved.y = w->bounds.Top;
    Push(moved);
    Event resized;
    resized.type = EventType::Resized;
    resized.window = h;
    resized.x = w->bounds.Width();
    resized.y = w->bounds.Height();
    Push(resized);
}

void SdlBackend::RestoreWindow(WindowHandle h) {
    if (Win* w = Find(h)) SDL_RestoreWindow(w->sdl);
}

void SdlBackend::Present(WindowHandle h, const gfx::TBitmap& bb, const TRect& rect) {
    Win* w = Find(h);
    if (!w || !w->visible) return;
    SDL_Surface* s = SDL_GetWindowSurface(w->sdl);
    if (!s) return;
    // The back buffer holds the window's pixels already (at scale_). Should the surface still
    // come out a whole multiple larger (a compositor that did not give real pixels), each pixel
    // is repeated.
    const int repeat = std::max(1, bb.Width() > 0 ? (s->w + bb.Width() / 2) / bb.Width() : 1);
    const TRect shown = gfx::Intersect(rect, {0, 0, bb.LogicalWidth(), bb.LogicalHeight()});
    TRect r = gfx::Intersect(gfx::ToPixels(shown, bb.Scale()), {0, 0, bb.Width(), bb.Height()});
    r = gfx::Intersect(r, {0, 0, s->w / repeat, s->h / repeat});
    if (r.IsEmpty()) return;
    bool direct = s->format->BytesPerPixel == 4 && s->format->Rmask == 0x00FF0000 &&
                  s->format->Gmask == 0x0000FF00 && s->format->Bmask == 0x000000FF;
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint32_t* src = bb.Row32(y);
        for (int sy = 0; sy < repeat; ++sy) {
            auto* row = reinterpret_cast<std::uint8_t*>(s->pixels) + (y * repeat + sy) * s->pitch;
            if (direct) {
                auto* dst = reinterpret_cast<std::uint32_t*>(row);
                if (repeat == 1) {
                    for (int x = r.Left; x < r.Right; ++x) dst[x] = src[x] | 0xFF000000u;
                } else {
                    for (int x = r.Left; x < r.Right; ++x)
                        for (int sx = 0; sx < repeat; ++sx) dst[x * repeat + sx] = src[x] | 0xFF000000u;
                }
            } else {
                for (int x = r.Left; x < r.Right; ++x) {
                    std::uint32_t p = src[x];
                    Uint32 mapped = SDL_MapRGB(s->format, Uint8(p >> 16), Uint8(p >> 8), Uint8(p));
                    for (int sx = 0; sx < repeat; ++sx) {
                        std::uint8_t* at = row + (x * repeat + sx) * s->format->BytesPerPixel;
                        switch (s->format->BytesPerPixel) {
                            case 1:
                                *at = Uint8(mapped);
                                break;
                            case 2:
                                *reinterpret_cast<Uint16*>(at) = Uint16(mapped);
                                break;
                            case 3:
                                at[0] = Uint8(mapped);
                                at[1] = Uint8(mapped >> 8);
                                at[2] = Uint8(mapped >> 16);
                                break;
                            default:
                                *reinterpret_cast<Uint32*>(at) = mapped;
                                break;
                        }
                    }
                }
            }
        }
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    SDL_Rect sr{r.Left * repeat, r.Top * repeat, r.Width() * repeat, r.Height() * repeat};
    SDL_UpdateWindowSurfaceRects(w->sdl, &sr, 1);
}

// ---- 3. events ----------------------------------------------------------------------------------

void SdlBackend::Translate(const SDL_Event& e) {
    if (e.type == SDL_MOUSEBUTTONDOWN) {
        // A drag starts where the press was, not where the pointer has got to by the time the
        // press is handled.
        int wx = 0, wy = 0;
        if (SDL_Window* from = SDL_GetWindowFromID(e.button.windowID)) SDL_GetWindowPosition(from, &wx, &wy);
        pressX_ = wx + e.button.x;
        pressY_ = wy + e.button.y;
        if (e.button.button == SDL_BUTTON_LEFT) leftDown_ = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        leftDown_ = false;
    }
    if (dragging_ &&
        (e.type == SDL_MOUSEMOTION || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP)) {
        DragWith(e);
        return;
    }
    translate_.units = units_;
    translate_.wakeEvent = wakeEvent_;
    translate_.modifiers = Uint16(SDL_GetModState());
    translate_.buttons = SDL_GetMouseState(&translate_.pointerX, &translate_.pointerY);
    Event ev;
    if (!TranslateSdlEvent(e, translate_, lookup_, ev)) return;
    // The window's bounds follow what the window system reports.
    if (e.type == SDL_WINDOWEVENT) {
        if (Win* w = Find(ev.window)) {
            if (ev.type == EventType::Moved)
                w->bounds = gfx::Bounds(ev.x, ev.y, w->bounds.Width(), w->bounds.Height());
            else if (ev.type == EventType::Resized)
                w->bounds = gfx::Bounds(w->bounds.Left, w->bounds.Top, ev.x, ev.y);
        }
    }
    Push(ev);
}

void SdlBackend::DragWith(const SDL_Event& e) {
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        dragging_ = 0;
        SDL_CaptureMouse(SDL_FALSE);
        return;
    }
    if (e.type != SDL_MOUSEMOTION) return;
    Win* w = Find(dragging_);
    if (!w) return;
    // Where the pointer is now: the event's position is relative to the window as the server had
    // it, which lags behind the moves asked for, so summing them would run ahead of the pointer.
    int gx = 0, gy = 0;
    if (!x11_.Pointer(gx, gy)) {
        int wx = 0, wy = 0;
        SDL_Window* from = SDL_GetWindowFromID(e.motion.windowID);
        SDL_GetWindowPosition(from ? from : w->sdl, &wx, &wy);
        gx = wx + e.motion.x;
        gy = wy + e.motion.y;
    }
    int nx = dragWinX_ + gx - dragStartX_, ny = dragWinY_ + gy - dragStartY_;
    SDL_SetWindowPosition(w->sdl, nx, ny);
    w->bounds = gfx::Bounds(gfx::FromPixels(nx, units_), gfx::FromPixels(ny, units_), w->bounds.Width(),
                            w->bounds.Height());
    Event ev;
    ev.type = EventType::Moved;
    ev.window = dragging_;
    ev.x = gfx::FromPixels(nx, units_);
    ev.y = gfx::FromPixels(ny, units_);
    Push(ev);
}

bool SdlBackend::PollEvent(Event& ev) {
    SDL_Event e;
    while (queue_.empty() && SDL_PollEvent(&e)) Translate(e);
    if (queue_.empty()) return false;
    ev = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

WaitResult SdlBackend::WaitEvent(std::uint64_t deadline) {
    if (!queue_.empty()) return WaitResult::Event;
    SDL_Event e;
    if (x11_.fd < 0) {
        int got;
        if (deadline == kNoDeadline) {
            got = SDL_WaitEvent(&e);
        } else {
            std::uint64_t now = Now();
            if (deadline <= now) return WaitResult::Timeout;
            std::uint64_t wait = std::min<std::uint64_t>(deadline - now, INT_MAX);
            got = SDL_WaitEventTimeout(&e, int(wait));
        }
        if (!got) return WaitResult::Timeout;
        Translate(e);
        return WaitResult::Event;
    }
    for (;;) {
        if (SDL_PollEvent(&e)) {
            Translate(e);
            return WaitResult::Event;
        }
        if (x11_.Pending()) continue;
        int timeout = -1;
        if (deadline != kNoDeadline) {
            const std::uint64_t now = Now();
            if (deadline <= now) return WaitResult::Timeout;
            timeout = int(std::min<std::uint64_t>(deadline - now, INT_MAX));
        }
        pollfd fds[2] = {{x11_.fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        const int ready = poll(fds, 2, timeout);
        if (ready == 0) return WaitResult::Timeout;
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (read(wakePipe_[0], drain, sizeof drain) > 0) {
            }
        }
    }
}

void SdlBackend::Wake() {
    SDL_Event e;
    SDL_zero(e);
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
    if (wakePipe_[1] >= 0) {
        const char one = 1;
        // A full pipe already wakes the loop.
        [[maybe_unused]] const ssize_t written = write(wakePipe_[1], &one, 1);
    }
}

// ---- 4. window dragging -------------------------------------------------------------------------

SDL_HitTestResult SdlBackend::HitTest(SDL_Window* win, const SDL_Point* area, void* data) {
    auto* self = static_cast<SdlBackend*>(data);
    if (!self->useHitTest_ || !self->host_) return SDL_HITTEST_NORMAL;
    WindowHandle h = 0;
    if (!self->FindSdl(SDL_GetWindowID(win), &h)) return SDL_HITTEST_NORMAL;
    return self->host_->IsWindowDragArea(h, gfx::FromPixels(area->x, self->units_),
                                         gfx::FromPixels(area->y, self->units_))
               ? SDL_HITTEST_DRAGGABLE
               : SDL_HITTEST_NORMAL;
}

void SdlBackend::BeginWindowDrag(WindowHandle h) {
    // Reached when the press came through (no window manager to move the window): move it here.
    Win* w = Find(h);
    if (!w || !leftDown_) return;
    dragStartX_ = pressX_;
    dragStartY_ = pressY_;
    SDL_GetWindowPosition(w->sdl, &dragWinX_, &dragWinY_);
    dragging_ = h;
    SDL_CaptureMouse(SDL_TRUE);
}

// ---- 5. pointer, keyboard, clipboard, screen ------------------------------------------------------

TPoint SdlBackend::CursorPos() const {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {gfx::FromPixels(x, units_), gfx::FromPixels(y, units_)};
}

void SdlBackend::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    if (cursor == crNone) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
    switch (cursor) {
        case crIBeam:
            id = SDL_SYSTEM_CURSOR_IBEAM;
            break;
        case crHourGlass:
            id = SDL_SYSTEM_CURSOR_WAIT;
            break;
        case crAppStart:
            id = SDL_SYSTEM_CURSOR_WAITARROW;
            break;
        case crCross:
            id = SDL_SYSTEM_CURSOR_CROSSHAIR;
            break;
        case crHandPoint:
            id = SDL_SYSTEM_CURSOR_HAND;
            break;
        case crSizeAll:
            id = SDL_SYSTEM_CURSOR_SIZEALL;
            break;
        case crSizeNS:
            id = SDL_SYSTEM_CURSOR_SIZENS;
            break;
        case crSizeWE:
            id = SDL_SYSTEM_CURSOR_SIZEWE;
            break;
        case crSizeNWSE:
            id = SDL_SYSTEM_CURSOR_SIZENWSE;
            break;
        case crSizeNESW:
            id = SDL_SYSTEM_CURSOR_SIZENESW;
            break;
        case crNo:
            id = SDL_SYSTEM_CURSOR_NO;
            break;
        default:
            break;
    }
    SDL_Cursor*& c = cursors_[int(id)];
    if (!c) c = SDL_CreateSystemCursor(id);
    if (c) SDL_SetCursor(c);
}

std::string SdlBackend::ClipboardText() {
    char* t = SDL_GetClipboardText();
    if (!t) return {};
    std::string s = base::Utf8ToCp1252(t);
    SDL_free(t);
    return s;
}

void SdlBackend::SetClipboardText(const std::string& text) {
    SDL_SetClipboardText(base::Cp1252ToUtf8(text).c_str());
}

int SdlBackend::ScreenWidth() const {
    SDL_DisplayMode m;
    return SDL_GetDesktopDisplayMode(0, &m) == 0 ? gfx::FromPixels(m.w, units_) : 1024;
}

int SdlBackend::ScreenHeight() const {
    SDL_DisplayMode m;
    return SDL_GetDesktopDisplayMode(0, &m) == 0 ? gfx::FromPixels(m.h, units_) : 768;
}

int SdlBackend::ColorDepth() const {
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(0, &m) != 0) return 32;
    int bits = int(SDL_BITSPERPIXEL(m.format));
    // SDL names no format for a palette screen; ask the display itself.
    if (bits == 0 &&
        std::string_view(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") == "x11")
        bits = X11DefaultDepth();
    if (bits == 0) bits = 8;
    return bits == 24 ? 32 : bits;  // 24-bit true colour is reported as 32, as the system does
}

}  // namespace gui
