#include "platform/media/picture_writer.h"

#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <cstdio>
#include "platform/translation.h"

namespace mem {

bool write_png_picture(const std::string& path, Size size, Colour background,
                       const std::vector<PicturePlacement>& placements, std::string& error) {
    SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, size.width, size.height, 32, SDL_PIXELFORMAT_RGB888);
    if (!canvas) {
        error = SDL_GetError();
        return false;
    }
    SDL_FillRect(canvas, nullptr,
                 SDL_MapRGB(canvas->format, static_cast<Uint8>(colour_red(background)),
                            static_cast<Uint8>(colour_green(background)), static_cast<Uint8>(colour_blue(background))));
    for (const PicturePlacement& p : placements) {
        if (!p.picture || !p.picture->pixels() || p.place.empty()) continue;
        auto* source = static_cast<SDL_Surface*>(p.picture->pixels().get());
        SDL_Rect target{p.place.left, p.place.top, p.place.width, p.place.height};
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
        // Linear scaling keeps a large background's detail in a small miniature.
        SDL_BlitScaled(source, nullptr, canvas, &target);
    }
    const std::string partial = path + ".part" + std::to_string(::getpid());
    const bool saved = IMG_SavePNG(canvas, partial.c_str()) == 0;
    if (!saved) error = IMG_GetError();
    SDL_FreeSurface(canvas);
    if (saved && std::rename(partial.c_str(), path.c_str()) != 0) {
        error = tr("cannot move the picture into place");
        std::remove(partial.c_str());
        return false;
    }
    if (!saved) std::remove(partial.c_str());
    return saved;
}

}  // namespace mem
