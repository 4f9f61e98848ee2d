// The floor of the benchmark: the least an SDL2 program does to show the
// game's board. It opens a borderless window that covers the desktop with
// SDL's default renderer, decodes the same pictures as the game (as 32-bit
// RGBA surfaces, like the game), draws the background and one card back,
// and waits for events. With --timer it paints again once a second, as a
// counting clock would.
//
//   floor [--timer] [--decode-time] CARD_X CARD_Y BACKGROUND CARD_BACK [PICTURES...]
//
// --decode-time prints the time spent decoding to standard error. Built
// with -DFLOOR_MIXER it also opens the sound output through SDL2_mixer the
// way the game did (falling back to the silent driver); with
// -DFLOOR_SDL_AUDIO it only starts SDL's audio subsystem.
#include <SDL.h>
#include <SDL_image.h>
#ifdef FLOOR_MIXER
#include <SDL_mixer.h>
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static SDL_Surface* decode(const char* path) {
    SDL_Surface* loaded = IMG_Load(path);
    if (!loaded) {
        fprintf(stderr, "floor: %s: %s\n", path, IMG_GetError());
        exit(1);
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    return rgba;
}

static void open_sound(void) {
#ifdef FLOOR_MIXER
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024);
#elif defined(FLOOR_SDL_AUDIO)
    SDL_InitSubSystem(SDL_INIT_AUDIO);
#endif
}

int main(int argc, char** argv) {
    int timer = 0, decode_time = 0, a = 1;
    for (; a < argc && !strncmp(argv[a], "--", 2); ++a) {
        if (!strcmp(argv[a], "--timer")) timer = 1;
        else if (!strcmp(argv[a], "--decode-time")) decode_time = 1;
    }
    if (argc - a < 4) {
        fprintf(stderr, "usage: floor [--timer] [--decode-time] CARD_X CARD_Y BACKGROUND CARD_BACK [PICTURES...]\n");
        return 2;
    }
    const int card_x = atoi(argv[a]), card_y = atoi(argv[a + 1]);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return 2;
    open_sound();
    SDL_DisplayMode mode;
    SDL_GetDesktopDisplayMode(0, &mode);
    SDL_Window* window = SDL_CreateWindow("Floor", 0, 0, mode.w, mode.h, SDL_WINDOW_BORDERLESS);
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (!window || !renderer) return 2;

    const Uint64 t0 = SDL_GetPerformanceCounter();
    SDL_Surface* background = decode(argv[a + 2]);
    SDL_Surface* back = decode(argv[a + 3]);
    for (int i = a + 4; i < argc; ++i) SDL_FreeSurface(decode(argv[i]));
    if (decode_time)
        fprintf(stderr, "decode_ms=%.2f\n",
                (double)(SDL_GetPerformanceCounter() - t0) * 1000.0 / (double)SDL_GetPerformanceFrequency());

    SDL_Texture* background_texture = SDL_CreateTextureFromSurface(renderer, background);
    SDL_Texture* back_texture = SDL_CreateTextureFromSurface(renderer, back);
    const SDL_Rect card = {card_x, card_y, back->w, back->h};
    for (;;) {
        SDL_RenderCopy(renderer, background_texture, NULL, NULL);
        SDL_RenderCopy(renderer, back_texture, NULL, &card);
        SDL_RenderPresent(renderer);
        SDL_Event event;
        const Uint64 next = SDL_GetTicks64() + 1000;
        for (;;) {
            const Sint64 left = (Sint64)(next - SDL_GetTicks64());
            if (timer && left <= 0) break;
            if (!SDL_WaitEventTimeout(&event, timer ? (int)left : -1)) continue;
            if (event.type == SDL_QUIT || event.type == SDL_KEYDOWN) return 0;
        }
    }
}
