#pragma once
// Decodes picture files with SDL2_image; needs no window.
#include <string>

#include "platform/types.h"

namespace mem {

// The picture, or null with the decoder's reason in `error`. The pixels are
// an SDL_Surface in 32-bit RGBA.
PictureRef decode_picture(const std::string& path, std::string& error);

}  // namespace mem
