#include "platform/sdl/image_decoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/files.h"

namespace mem {

PictureRef decode_picture(const std::string& path, std::string& error) {
    SDL_Surface* loaded = IMG_Load(native_path(path).c_str());
    if (!loaded) {
        error = IMG_GetError();
        return nullptr;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) {
        error = SDL_GetError();
        return nullptr;
    }
    std::shared_ptr<void> pixels(rgba, [](void* s) { SDL_FreeSurface(static_cast<SDL_Surface*>(s)); });
    error.clear();
    return std::make_shared<Picture>(path, rgba->w, rgba->h, std::move(pixels));
}

}  // namespace mem
