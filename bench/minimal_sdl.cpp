// The floor for start-up on a display: an SDL2 program that opens a 640x480 window, presents one
// frame through the window surface (as the menu's SDL backend does) and ends. bench/startup.sh
// compares the menu's start-up with this.
#include <SDL.h>

#include <cstdio>

int main() {
    // The menu presents through the plain window surface; without this hint SDL would put a GPU
    // renderer behind the surface and load the GL stack, which is not the floor we compare with.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "minimal_sdl: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("minimal", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                          SDL_WINDOW_BORDERLESS);
    if (!window) {
        std::fprintf(stderr, "minimal_sdl: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0x46, 0x5F, 0x87));
        SDL_UpdateWindowSurface(window);
    }
    // Let the window system see the frame before leaving, as the menu's loop does.
    SDL_PumpEvents();
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
