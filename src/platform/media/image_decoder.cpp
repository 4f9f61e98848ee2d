#include "platform/media/image_decoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/media/exif_orientation.h"
#include "platform/media/picture_size.h"
#include "platform/translation.h"

namespace mem {
namespace {

// True when every pixel of a 32-bit surface with alpha is fully opaque.
bool opaque(const SDL_Surface* picture) {
    const uint32_t alpha = picture->format->Amask;
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(picture->pixels) +
                                                            static_cast<ptrdiff_t>(y) * picture->pitch);
        for (int x = 0; x < picture->w; ++x)
            if ((row[x] & alpha) != alpha) return false;
    }
    return true;
}

// The file's bytes, read at its size. Mended: a file larger than any picture
// is not read into memory at all.
std::optional<std::string> read_picture_file(const std::string& native, std::string& error) {
    std::error_code failed;
    const std::uintmax_t size = std::filesystem::file_size(native, failed);
    error = tr("the file cannot be read");
    if (failed || !can_open_for_reading(native)) return std::nullopt;
    if (size > kMaxPictureFileBytes) {
        error = tr("the file is larger than any picture a game can use");
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    if (!std::ifstream(native, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    error.clear();
    return bytes;
}

using Decoder = SDL_Surface* (*)(SDL_RWops*);

Decoder decoder_of(PictureFormat format) {
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
    return nullptr;
}

// Only the decoder of the format whose header was checked reads the file.
SDL_Surface* decode(const std::string& file, PictureFormat format) {
    const Decoder decoder = decoder_of(format);
    SDL_RWops* bytes = decoder ? SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())) : nullptr;
    if (!bytes) return nullptr;
    SDL_Surface* picture = decoder(bytes);
    SDL_RWclose(bytes);
    return picture;
}

// The pixels in the format the painter draws: 32-bit RGB without alpha when
// every pixel is opaque (drawn as a plain copy), else 32-bit RGBA. Each is
// made straight from the decoded picture where it can be, so that no third
// copy of a large picture is held.
SDL_Surface* drawable(SDL_Surface* picture) {
    const SDL_PixelFormat* format = picture->format;
    const bool rgba32 = format->BytesPerPixel == 4 && format->Amask;
    if ((!format->Amask && !format->palette && !SDL_HasColorKey(picture)) || (rgba32 && opaque(picture)))
        return SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_RGB888, 0);
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_RGBA32, 0);
    if (!rgba32 && rgba && opaque(rgba)) {
        // A palette or a transparent colour that no pixel uses.
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
    const std::optional<std::string> file = read_picture_file(native, error);
    if (!file) return nullptr;
    // Mended: a header claiming a giant picture, a cut-off PNG, or a format
    // whose header cannot be checked is refused before decoding, and only the
    // decoder of the checked format reads the file.
    const PictureFormat format = picture_format(*file, native);
    error = picture_refusal(*file, format);
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
