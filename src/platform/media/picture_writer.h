#pragma once
// Writes small pictures made of other pictures (the library's miniatures)
// as PNG files; needs no window.
#include <string>
#include <vector>

#include "platform/types.h"

namespace mem {

struct PicturePlacement {
    PictureRef picture;  // decoded by the picture reader
    Rect place;          // on the new picture; the picture is scaled to it
};

// A picture of `size` filled with `background`, the placements drawn on it
// in order, saved as PNG at `path` (written beside it first, then moved
// there). False with the reason in `error` when it cannot be written.
bool write_png_picture(const std::string& path, Size size, Colour background,
                       const std::vector<PicturePlacement>& placements, std::string& error);

}  // namespace mem
