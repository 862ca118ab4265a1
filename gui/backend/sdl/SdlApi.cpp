#include "gui/backend/sdl/SdlApi.h"

#include <dlfcn.h>

#include <type_traits>

#include "platform/SdlLibrary.h"

namespace gui {

SdlVideoApi gSdl;

namespace {

void* loadedFrom = nullptr;  // the handle gSdl was filled from

}  // namespace

bool LoadSdlVideoApi(std::string& why) {
    void* handle = platform::SdlLibrary::Open();
    if (!handle) {
        why = "SDL2 (libSDL2-2.0.so.0) kann nicht geladen werden: " + platform::SdlLibrary::Error() +
              ". Ohne SDL2 l\xC3\xA4uft das Programm nur mit --headless.";
        return false;
    }
    if (handle == loadedFrom) return true;
    SdlVideoApi api;
    std::string missing;
    auto find = [&](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(handle, name));
        if (!slot) missing += (missing.empty() ? "" : ", ") + std::string(name);
    };
#define CDMENU_SDL_FIND(name) find(api.name, "SDL_" #name);
    CDMENU_SDL_VIDEO_FUNCTIONS(CDMENU_SDL_FIND)
#undef CDMENU_SDL_FIND
    find(api.GetWindowWMInfo, "SDL_GetWindowWMInfo");
    if (!missing.empty()) {
        why = "Die geladene SDL2-Bibliothek ist zu alt (es fehlt " + missing +
              "). Ohne passende SDL2 l\xC3\xA4uft das Programm nur mit --headless.";
        return false;
    }
    gSdl = api;
    loadedFrom = handle;
    return true;
}

}  // namespace gui
