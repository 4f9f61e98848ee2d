#include "platform/media/image_decoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>

#include "platform/files.h"
#include "platform/media/exif_orientation.h"
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

// The reason to refuse a picture before decoding it, or empty.
std::string refuse(const std::string& file, PictureFormat format) {
    // Mended: a format whose size cannot be read before decoding is refused, not
    // left to a decoder that would allocate whatever its header claims.
    if (format == PictureFormat::kUnknown) return "the file is not a picture in a format the game reads";
    if (!png_complete(file)) return "the PNG file ends before its last chunk";
    const auto size = claimed_picture_size(file, format);
    if (!size || size->width <= 0 || size->height <= 0) return "the picture's header is cut off or unreadable";
    if (size->width > kMaxPictureSide || size->height > kMaxPictureSide ||
        size->width * size->height > kMaxPicturePixels)
        return "the picture claims to be " + std::to_string(size->width) + " x " + std::to_string(size->height) +
               " pixels, more than a game can use";
    if (file.size() > INT_MAX) return "the file is too large";
    return "";
}

// Only the decoder of the format whose header was checked reads the file.
SDL_Surface* decode(const std::string& file, PictureFormat format) {
    SDL_RWops* bytes = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (!bytes) return nullptr;
    SDL_Surface* (*const decoder)(SDL_RWops*) = [format] {
        switch (format) {
            case PictureFormat::kBmp: return IMG_LoadBMP_RW;
            case PictureFormat::kGif: return IMG_LoadGIF_RW;
            case PictureFormat::kJpeg: return IMG_LoadJPG_RW;
            case PictureFormat::kLbm: return IMG_LoadLBM_RW;
            case PictureFormat::kPcx: return IMG_LoadPCX_RW;
            case PictureFormat::kPng: return IMG_LoadPNG_RW;
            case PictureFormat::kPnm: return IMG_LoadPNM_RW;
            case PictureFormat::kQoi: return IMG_LoadQOI_RW;
            case PictureFormat::kTga: return IMG_LoadTGA_RW;
            case PictureFormat::kTiff: return IMG_LoadTIF_RW;
            case PictureFormat::kWebp: return IMG_LoadWEBP_RW;
            case PictureFormat::kXcf: return IMG_LoadXCF_RW;
            case PictureFormat::kUnknown: break;
        }
        return static_cast<SDL_Surface* (*)(SDL_RWops*)>(nullptr);
    }();
    SDL_Surface* picture = decoder ? decoder(bytes) : nullptr;
    SDL_RWclose(bytes);
    return picture;
}

// The pixels in the format the painter draws: 32-bit RGB without alpha when
// every pixel is opaque (drawn as a plain copy), else 32-bit RGBA. A picture
// without alpha or a transparent colour goes straight to RGB.
SDL_Surface* drawable(SDL_Surface* picture) {
    if (!picture->format->Amask && !picture->format->palette && !SDL_HasColorKey(picture))
        return SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_RGB888, 0);
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_RGBA32, 0);
    if (rgba && opaque(rgba)) {
        if (SDL_Surface* rgb = SDL_ConvertSurfaceFormat(rgba, SDL_PIXELFORMAT_RGB888, 0)) {
            SDL_FreeSurface(rgba);
            return rgb;
        }
    }
    return rgba;
}

}  // namespace

PictureRef decode_picture(const std::string& path, std::string& error) {
    const std::string native = native_path(path);
    const std::optional<std::string> file = read_text_file(native);
    if (!file) {
        error = "the file cannot be read";
        return nullptr;
    }
    // Mended: a header claiming a giant picture, a cut-off PNG, or a format
    // whose header cannot be checked is refused before decoding.
    const PictureFormat format = picture_format(*file, native);
    error = refuse(*file, format);
    if (!error.empty()) return nullptr;
    SDL_Surface* loaded = decode(*file, format);
    if (!loaded) {
        error = IMG_GetError();
        return nullptr;
    }
    // Mended: a camera's picture is turned upright as its Exif orientation says.
    SDL_Surface* upright =
        oriented_surface(loaded, exif_orientation(reinterpret_cast<const uint8_t*>(file->data()), file->size()));
    if (upright != loaded) SDL_FreeSurface(loaded);
    SDL_Surface* pixels = upright ? drawable(upright) : nullptr;
    if (upright) SDL_FreeSurface(upright);
    if (!pixels) {
        error = SDL_GetError();
        return nullptr;
    }
    std::shared_ptr<void> owner(pixels, [](void* s) { SDL_FreeSurface(static_cast<SDL_Surface*>(s)); });
    error.clear();
    return std::make_shared<Picture>(path, pixels->w, pixels->h, std::move(owner));
}

}  // namespace mem
