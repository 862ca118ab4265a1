#pragma once
// The SDL2 functions the window backend calls, looked up in the library that platform::SdlLibrary
// opens at run time (the program carries no link to SDL). Include this instead of <SDL.h>: the
// names below make every call site read as the plain SDL call and go through the table.
#include <SDL.h>
#include <SDL_shape.h>

#include <string>

struct SDL_SysWMinfo;

namespace gui {

// X(name) for every SDL_name the backend calls.
#define CDMENU_SDL_VIDEO_FUNCTIONS(X) \
    X(CaptureMouse)                   \
    X(CreateRGBSurfaceWithFormat)     \
    X(CreateShapedWindow)             \
    X(CreateSystemCursor)             \
    X(CreateWindow)                   \
    X(DestroyWindow)                  \
    X(FillRect)                       \
    X(FreeCursor)                     \
    X(FreeSurface)                    \
    X(GetClipboardText)               \
    X(GetCurrentVideoDriver)          \
    X(GetDesktopDisplayMode)          \
    X(GetDisplayBounds)               \
    X(GetDisplayUsableBounds)         \
    X(GetDisplayDPI)                  \
    X(GetError)                       \
    X(GetGlobalMouseState)            \
    X(GetModState)                    \
    X(GetMouseState)                  \
    X(GetTicks64)                     \
    X(GetWindowDisplayIndex)          \
    X(GetWindowFromID)                \
    X(GetWindowID)                    \
    X(GetWindowPosition)              \
    X(GetWindowSize)                  \
    X(GetWindowSizeInPixels)          \
    X(GetWindowSurface)               \
    X(HideWindow)                     \
    X(InitSubSystem)                  \
    X(LockSurface)                    \
    X(MapRGB)                         \
    X(MapRGBA)                        \
    X(MaximizeWindow)                 \
    X(MinimizeWindow)                 \
    X(PollEvent)                      \
    X(PushEvent)                      \
    X(QuitSubSystem)                  \
    X(RaiseWindow)                    \
    X(RegisterEvents)                 \
    X(RestoreWindow)                  \
    X(SetClipboardText)               \
    X(SetCursor)                      \
    X(SetHint)                        \
    X(SetWindowAlwaysOnTop)           \
    X(SetWindowHitTest)               \
    X(SetWindowInputFocus)            \
    X(SetWindowPosition)              \
    X(SetWindowShape)                 \
    X(SetWindowSize)                  \
    X(SetWindowTitle)                 \
    X(ShowCursor)                     \
    X(ShowWindow)                     \
    X(StartTextInput)                 \
    X(UnlockSurface)                  \
    X(UpdateWindowSurfaceRects)       \
    X(WaitEvent)                      \
    X(WaitEventTimeout)               \
    X(free)                           \
    X(getenv)                         \
    X(memset)

struct SdlVideoApi {
// The argument is the member's name, which parentheses would turn into an expression.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define CDMENU_SDL_MEMBER(name) decltype(&::SDL_##name) name = nullptr;
    CDMENU_SDL_VIDEO_FUNCTIONS(CDMENU_SDL_MEMBER)
#undef CDMENU_SDL_MEMBER
    // Declared in SDL_syswm.h, which pulls in the X11 headers: only X11Probe.cpp includes it.
    SDL_bool(SDLCALL* GetWindowWMInfo)(SDL_Window*, SDL_SysWMinfo*) = nullptr;
};

// Filled by LoadSdlVideoApi.
extern SdlVideoApi gSdl;

// Loads SDL (once) and fills gSdl; false with a German message in why when SDL cannot be loaded
// or lacks a function the backend needs.
bool LoadSdlVideoApi(std::string& why);

}  // namespace gui

#define SDL_CaptureMouse ::gui::gSdl.CaptureMouse
#define SDL_CreateRGBSurfaceWithFormat ::gui::gSdl.CreateRGBSurfaceWithFormat
#define SDL_CreateShapedWindow ::gui::gSdl.CreateShapedWindow
#define SDL_CreateSystemCursor ::gui::gSdl.CreateSystemCursor
#define SDL_CreateWindow ::gui::gSdl.CreateWindow
#define SDL_DestroyWindow ::gui::gSdl.DestroyWindow
#define SDL_FillRect ::gui::gSdl.FillRect
#define SDL_FreeCursor ::gui::gSdl.FreeCursor
#define SDL_FreeSurface ::gui::gSdl.FreeSurface
#define SDL_GetClipboardText ::gui::gSdl.GetClipboardText
#define SDL_GetCurrentVideoDriver ::gui::gSdl.GetCurrentVideoDriver
#define SDL_GetDesktopDisplayMode ::gui::gSdl.GetDesktopDisplayMode
#define SDL_GetDisplayBounds ::gui::gSdl.GetDisplayBounds
#define SDL_GetDisplayUsableBounds ::gui::gSdl.GetDisplayUsableBounds
#define SDL_GetDisplayDPI ::gui::gSdl.GetDisplayDPI
#define SDL_GetError ::gui::gSdl.GetError
#define SDL_GetGlobalMouseState ::gui::gSdl.GetGlobalMouseState
#define SDL_GetModState ::gui::gSdl.GetModState
#define SDL_GetMouseState ::gui::gSdl.GetMouseState
#define SDL_GetTicks64 ::gui::gSdl.GetTicks64
#define SDL_GetWindowDisplayIndex ::gui::gSdl.GetWindowDisplayIndex
#define SDL_GetWindowFromID ::gui::gSdl.GetWindowFromID
#define SDL_GetWindowID ::gui::gSdl.GetWindowID
#define SDL_GetWindowPosition ::gui::gSdl.GetWindowPosition
#define SDL_GetWindowSize ::gui::gSdl.GetWindowSize
#define SDL_GetWindowSizeInPixels ::gui::gSdl.GetWindowSizeInPixels
#define SDL_GetWindowSurface ::gui::gSdl.GetWindowSurface
#define SDL_GetWindowWMInfo ::gui::gSdl.GetWindowWMInfo
#define SDL_HideWindow ::gui::gSdl.HideWindow
#define SDL_InitSubSystem ::gui::gSdl.InitSubSystem
#define SDL_LockSurface ::gui::gSdl.LockSurface
#define SDL_MapRGB ::gui::gSdl.MapRGB
#define SDL_MapRGBA ::gui::gSdl.MapRGBA
#define SDL_MaximizeWindow ::gui::gSdl.MaximizeWindow
#define SDL_MinimizeWindow ::gui::gSdl.MinimizeWindow
#define SDL_PollEvent ::gui::gSdl.PollEvent
#define SDL_PushEvent ::gui::gSdl.PushEvent
#define SDL_QuitSubSystem ::gui::gSdl.QuitSubSystem
#define SDL_RaiseWindow ::gui::gSdl.RaiseWindow
#define SDL_RegisterEvents ::gui::gSdl.RegisterEvents
#define SDL_RestoreWindow ::gui::gSdl.RestoreWindow
#define SDL_SetClipboardText ::gui::gSdl.SetClipboardText
#define SDL_SetCursor ::gui::gSdl.SetCursor
#define SDL_SetHint ::gui::gSdl.SetHint
#define SDL_SetWindowAlwaysOnTop ::gui::gSdl.SetWindowAlwaysOnTop
#define SDL_SetWindowHitTest ::gui::gSdl.SetWindowHitTest
#define SDL_SetWindowInputFocus ::gui::gSdl.SetWindowInputFocus
#define SDL_SetWindowPosition ::gui::gSdl.SetWindowPosition
#define SDL_SetWindowShape ::gui::gSdl.SetWindowShape
#define SDL_SetWindowSize ::gui::gSdl.SetWindowSize
#define SDL_SetWindowTitle ::gui::gSdl.SetWindowTitle
#define SDL_ShowCursor ::gui::gSdl.ShowCursor
#define SDL_ShowWindow ::gui::gSdl.ShowWindow
#define SDL_StartTextInput ::gui::gSdl.StartTextInput
#define SDL_UnlockSurface ::gui::gSdl.UnlockSurface
#define SDL_UpdateWindowSurfaceRects ::gui::gSdl.UpdateWindowSurfaceRects
#define SDL_WaitEvent ::gui::gSdl.WaitEvent
#define SDL_WaitEventTimeout ::gui::gSdl.WaitEventTimeout
#define SDL_free ::gui::gSdl.free
#define SDL_getenv ::gui::gSdl.getenv
#define SDL_memset ::gui::gSdl.memset
