#include "platform/media/image_decoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/files.h"
#include "platform/media/picture_size.h"

namespace mem {
namespace {

bool opaque(const SDL_Surface* rgba) {
    for (int y = 0; y < rgba->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(rgba->pixels) + static_cast<ptrdiff_t>(y) * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x)
            if (row[4 * x + 3] != 255) return false;
    }
    return true;
}

}  // namespace

// The reason to refuse a picture before decoding it, or empty.
static std::string refuse(const std::string& native) {
    const std::string file = read_text_file(native).value_or("");
    if (!png_complete(file)) return "the PNG file ends before its last chunk";
    const auto size = claimed_picture_size(file);
    if (!size) return "";
    if (size->width > kMaxPictureSide || size->height > kMaxPictureSide ||
        size->width * size->height > kMaxPicturePixels)
        return "the picture claims to be " + std::to_string(size->width) + " x " + std::to_string(size->height) +
               " pixels, more than a game can use";
    return "";
}

PictureRef decode_picture(const std::string& path, std::string& error) {
    // Mended: a header claiming a giant picture, or a cut-off PNG, is refused
    // before decoding.
    error = refuse(native_path(path));
    if (!error.empty()) return nullptr;
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
    if (opaque(rgba)) {
        // The format of a window's own surface: drawing it is a plain copy.
        if (SDL_Surface* rgb = SDL_ConvertSurfaceFormat(rgba, SDL_PIXELFORMAT_RGB888, 0)) {
            SDL_FreeSurface(rgba);
            rgba = rgb;
        }
    }
    std::shared_ptr<void> pixels(rgba, [](void* s) { SDL_FreeSurface(static_cast<SDL_Surface*>(s)); });
    error.clear();
    return std::make_shared<Picture>(path, rgba->w, rgba->h, std::move(pixels));
}

}  // namespace mem
