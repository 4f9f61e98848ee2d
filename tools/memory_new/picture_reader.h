#pragma once
// Reads the photos a game is made from: JPEG through libjpeg-turbo at the
// smallest reduced size that still covers the card, HEIC/HEIF through
// libheif, the rest through SDL2_image; many at once on every core.
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

namespace mem::make {

struct ReadPicture {
    std::unique_ptr<Canvas> picture;  // null when it could not be read
    int width = 0, height = 0;        // the picture's full size, upright
    std::string error;                // why it could not be read
};

// The picture of `path`, upright, no larger than its fit into `box_width` x
// `box_height` (a JPEG is read reduced as far as that allows).
ReadPicture read_picture(const std::string& path, int box_width, int box_height);

// read_picture for each path, spread over every core, in the given order.
std::vector<ReadPicture> read_pictures(const std::vector<std::string>& paths, int box_width, int box_height);

}  // namespace mem::make
