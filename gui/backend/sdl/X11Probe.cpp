// Kept apart from the backend: the X11 headers that SDL_syswm.h pulls in define macros (Expose,
// None, ...) that clash with ordinary names.
#include "gui/backend/sdl/X11Probe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// After SDL_syswm.h: its declarations must not meet the table's names.
#include "gui/backend/sdl/SdlApi.h"

namespace gui {

// Whether an X11 window manager runs (one that would move a window for SDL's hit test). Asked
// through a run-time loaded libX11 so that the program does not depend on it.
bool X11HasWindowManager(SDL_Window* probe) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(probe, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!lib) return true;
    using InternAtom = unsigned long (*)(Display*, const char*, int);
    using GetProperty = int (*)(Display*, unsigned long, unsigned long, long, long, int, unsigned long,
                                unsigned long*, int*, unsigned long*, unsigned long*, unsigned char**);
    using Free = int (*)(void*);
    using DefaultRoot = unsigned long (*)(Display*);
    auto intern = reinterpret_cast<InternAtom>(dlsym(lib, "XInternAtom"));
    auto getProp = reinterpret_cast<GetProperty>(dlsym(lib, "XGetWindowProperty"));
    auto xfree = reinterpret_cast<Free>(dlsym(lib, "XFree"));
    auto root = reinterpret_cast<DefaultRoot>(dlsym(lib, "XDefaultRootWindow"));
    bool found = true;
    if (intern && getProp && xfree && root) {
        Display* d = info.info.x11.display;
        unsigned long atom = intern(d, "_NET_SUPPORTING_WM_CHECK", 1);
        found = false;
        if (atom) {
            unsigned long type = 0, count = 0, after = 0;
            int format = 0;
            unsigned char* data = nullptr;
            if (getProp(d, root(d), atom, 0, 1, 0, 0 /*AnyPropertyType*/, &type, &format, &count, &after,
                        &data) == 0) {
                found = count > 0;
                if (data) xfree(data);
            }
        }
    }
    dlclose(lib);
    return found;
}

X11Connection X11ConnectionOf(SDL_Window* window) {
    X11Connection c;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return c;
    // SDL has libX11 loaded already; this only takes another reference to it, kept for the
    // connection's lifetime.
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!lib) return c;
    using Number = int (*)(Display*);
    auto number = reinterpret_cast<Number>(dlsym(lib, "XConnectionNumber"));
    auto pending = reinterpret_cast<int (*)(void*)>(dlsym(lib, "XPending"));
    if (!number || !pending) return c;
    c.display = info.info.x11.display;
    c.pending = pending;
    c.queryPointer = reinterpret_cast<decltype(c.queryPointer)>(dlsym(lib, "XQueryPointer"));
    c.rootWindow = reinterpret_cast<decltype(c.rootWindow)>(dlsym(lib, "XDefaultRootWindow"));
    c.fd = number(info.info.x11.display);
    return c;
}

bool X11Connection::Pointer(int& x, int& y) const {
    if (!display || !queryPointer || !rootWindow) return false;
    unsigned long root = 0, child = 0;
    int wx = 0, wy = 0;
    unsigned mask = 0;
    return queryPointer(display, rootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask) != 0;
}

namespace {

int LogXError(Display*, XErrorEvent* e) {
    std::fprintf(stderr, "cdmenu: X error %d on request %d (resource 0x%lx), ignored\n", int(e->error_code),
                 int(e->request_code), static_cast<unsigned long>(e->resourceid));
    return 0;
}

}  // namespace

void X11KeepGoingOnErrors() {
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD);
    if (!lib) return;  // not on X11: SDL did not load Xlib
    using Handler = int (*)(Display*, XErrorEvent*);
    using SetHandler = Handler (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(lib, "XSetErrorHandler"))) set(&LogXError);
    // The handler lives in this program, which outlives every use of the library: no dlclose.
}

int X11DefaultDepth() {
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!lib) return 0;
    using Open = Display* (*)(const char*);
    using Close = int (*)(Display*);
    using DefScreen = int (*)(Display*);
    using DefDepth = int (*)(Display*, int);
    auto open = reinterpret_cast<Open>(dlsym(lib, "XOpenDisplay"));
    auto close = reinterpret_cast<Close>(dlsym(lib, "XCloseDisplay"));
    auto screen = reinterpret_cast<DefScreen>(dlsym(lib, "XDefaultScreen"));
    auto depth = reinterpret_cast<DefDepth>(dlsym(lib, "XDefaultDepth"));
    int bits = 0;
    if (open && close && screen && depth) {
        if (Display* d = open(nullptr)) {
            bits = depth(d, screen(d));
            close(d);
        }
    }
    dlclose(lib);
    return bits;
}

double XftDpiOf(const char* resources) {
    if (!resources) return 0;
    static const char kKey[] = "Xft.dpi:";
    for (const char* line = resources; line && *line;) {
        if (std::strncmp(line, kKey, sizeof kKey - 1) == 0) {
            const double dpi = std::strtod(line + sizeof kKey - 1, nullptr);
            return dpi > 0 ? dpi : 0;
        }
        line = std::strchr(line, '\n');
        if (line) ++line;
    }
    return 0;
}

double X11XftDpi() {
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!lib) return 0;
    using Open = Display* (*)(const char*);
    using Close = int (*)(Display*);
    using Resources = char* (*)(Display*);
    auto open = reinterpret_cast<Open>(dlsym(lib, "XOpenDisplay"));
    auto close = reinterpret_cast<Close>(dlsym(lib, "XCloseDisplay"));
    auto resources = reinterpret_cast<Resources>(dlsym(lib, "XResourceManagerString"));
    double dpi = 0;
    if (open && close && resources) {
        if (Display* d = open(nullptr)) {
            dpi = XftDpiOf(resources(d));
            close(d);
        }
    }
    dlclose(lib);
    return dpi;
}

}  // namespace gui
