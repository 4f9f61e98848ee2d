#pragma once
// Decodes picture files with SDL2_image; needs no window.
#include <string>

#include "platform/types.h"

namespace mem {

// The picture, or null with the decoder's reason in `error`. The pixels are
// an SDL_Surface in 32-bit RGBA, or in 32-bit RGB without alpha when every
// pixel is opaque: such a picture is then copied, not blended, when drawn.
PictureRef decode_picture(const std::string& path, std::string& error);

}  // namespace mem
