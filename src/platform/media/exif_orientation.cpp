#include "platform/media/exif_orientation.h"

#include <algorithm>
#include <cstring>

namespace mem {
namespace {

// Byte readers within [data, data + size); every caller checks the range first.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    bool little_endian = false;

    std::uint32_t u16(std::size_t at) const {
        return little_endian ? data[at] | data[at + 1] << 8 : data[at] << 8 | data[at + 1];
    }
    std::uint32_t u32(std::size_t at) const {
        return little_endian ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    }
};

// The orientation entry of the first directory of an Exif block's TIFF data.
int tiff_orientation(Bytes tiff) {
    if (tiff.size < 8) return 1;
    if (std::memcmp(tiff.data, "II*\0", 4) == 0) tiff.little_endian = true;
    else if (std::memcmp(tiff.data, "MM\0*", 4) != 0) return 1;
    const std::uint64_t directory = tiff.u32(4);
    if (directory + 2 > tiff.size) return 1;
    const std::uint32_t entries = tiff.u16(directory);
    for (std::uint64_t entry = directory + 2, n = 0; n < entries && entry + 12 <= tiff.size; ++n, entry += 12) {
        constexpr std::uint32_t kOrientationTag = 0x0112, kShortType = 3;
        if (tiff.u16(entry) != kOrientationTag) continue;
        if (tiff.u16(entry + 2) != kShortType || tiff.u32(entry + 4) != 1) return 1;
        const std::uint32_t value = tiff.u16(entry + 8);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

}  // namespace

int exif_orientation(const std::uint8_t* data, std::size_t size) {
    const Bytes file{data, size};
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return 1;
    // The Exif block is an APP1 segment among those before the picture data.
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return 1;
        const std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return 1;  // the picture data, or the end
        const std::size_t length = file.u16(at + 2);
        if (length < 2) return 1;
        const std::size_t begin = at + 4, end = std::min(size, at + 2 + length);
        if (marker == 0xE1 && end - begin >= 6 && std::memcmp(data + begin, "Exif\0\0", 6) == 0)
            return tiff_orientation({data + begin + 6, end - begin - 6});
        at += 2 + length;
    }
    return 1;
}

SDL_Surface* oriented_surface(SDL_Surface* picture, int orientation) {
    if (orientation < 2 || orientation > 8) return picture;
    if (picture->format->BitsPerPixel < 8) {
        // Pixels smaller than a byte: turned as 32-bit ones.
        SDL_Surface* whole_bytes = SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_RGBA32, 0);
        if (!whole_bytes) return nullptr;
        SDL_Surface* turned = oriented_surface(whole_bytes, orientation);
        SDL_FreeSurface(whole_bytes);
        return turned;
    }
    const int w = picture->w, h = picture->h;
    const bool sideways = orientation >= 5;  // turned a quarter: width and height change places
    SDL_Surface* turned = SDL_CreateRGBSurfaceWithFormat(0, sideways ? h : w, sideways ? w : h,
                                                         picture->format->BitsPerPixel, picture->format->format);
    if (!turned) return nullptr;
    if (picture->format->palette) SDL_SetSurfacePalette(turned, picture->format->palette);
    std::uint32_t key = 0;
    if (SDL_GetColorKey(picture, &key) == 0) SDL_SetColorKey(turned, SDL_TRUE, key);
    SDL_BlendMode blend = SDL_BLENDMODE_NONE;
    SDL_GetSurfaceBlendMode(picture, &blend);
    SDL_SetSurfaceBlendMode(turned, blend);
    if (SDL_LockSurface(picture) != 0) {
        SDL_FreeSurface(turned);
        return nullptr;
    }
    const int bytes = picture->format->BytesPerPixel;
    const auto* from = static_cast<const std::uint8_t*>(picture->pixels);
    auto* to = static_cast<std::uint8_t*>(turned->pixels);
    for (int y = 0; y < turned->h; ++y) {
        for (int x = 0; x < turned->w; ++x) {
            // The stored pixel shown at (x, y).
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x, sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y, sy = x; break;
                case 6: sx = y, sy = h - 1 - x; break;
                case 7: sx = w - 1 - y, sy = h - 1 - x; break;
                case 8: sx = w - 1 - y, sy = x; break;
            }
            std::memcpy(to + static_cast<std::ptrdiff_t>(y) * turned->pitch + x * bytes,
                        from + static_cast<std::ptrdiff_t>(sy) * picture->pitch + sx * bytes, bytes);
        }
    }
    SDL_UnlockSurface(picture);
    return turned;
}

}  // namespace mem
