#pragma once
// The Exif orientation of camera and phone pictures: the pixels are stored as
// the sensor saw them, and a tag says how to turn them to show them upright.
#include <SDL.h>

#include <cstddef>
#include <cstdint>

namespace mem {

// The orientation tag (1 to 8) of a JPEG file's Exif block, in either byte
// order; 1 (as stored) when there is none or it cannot be read.
int exif_orientation(const std::uint8_t* data, std::size_t size);

// A new surface with `picture` turned and flipped as `orientation` says, as
// picture viewers show it; `picture` itself for 1 (or a value outside 1 to 8),
// null when no surface can be made. The caller keeps `picture`.
SDL_Surface* oriented_surface(SDL_Surface* picture, int orientation);

}  // namespace mem
