#pragma once
// Checks made on a picture file's bytes before it is decoded: a header
// claiming a giant picture is refused instead of making the decoder
// allocate gigabytes, and a cut-off PNG instead of letting it read for ever.
#include <optional>
#include <string>

namespace mem {

struct ClaimedSize {
    long long width = 0, height = 0;
};

// The size claimed by a BMP, PNG, GIF or JPEG header in `head` (the file's
// first bytes); nothing for other formats or a header too short to tell.
std::optional<ClaimedSize> claimed_picture_size(const std::string& head);

// False for a PNG whose chunks stop before its end chunk (the decoder would
// read on past the end of the file for ever); true for anything else.
bool png_complete(const std::string& file);

// Larger pictures are refused: no board needs them, and decoding one takes
// more memory than a game should.
constexpr long long kMaxPicturePixels = 16LL * 1024 * 1024;
constexpr long long kMaxPictureSide = 16384;

}  // namespace mem
