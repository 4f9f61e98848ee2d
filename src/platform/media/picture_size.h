#pragma once
// Checks made on a picture file's bytes before it is decoded: a header
// claiming a giant picture is refused instead of making the decoder
// allocate gigabytes, and a cut-off PNG instead of letting it read for ever.
#include <optional>
#include <string>

namespace mem {

// The formats whose size can be read from their header; anything else is
// never handed to a decoder.
enum class PictureFormat { kUnknown, kBmp, kGif, kJpeg, kLbm, kPcx, kPng, kPnm, kQoi, kTga, kTiff, kWebp, kXcf };

// The format of `file` by its first bytes, as the decoders tell theirs; a TGA
// has none and is known by its name's extension.
PictureFormat picture_format(const std::string& file, const std::string& name);

struct ClaimedSize {
    long long width = 0, height = 0;
};

// The size the header of `file` claims: for a GIF the widest and the tallest
// of its screen and every frame, for a TIFF or WebP of every size given.
// Nothing when the header is cut off or unreadable.
std::optional<ClaimedSize> claimed_picture_size(const std::string& file, PictureFormat format);

// False for a PNG whose chunks stop before its end chunk (the decoder would
// read on past the end of the file for ever); true for anything else.
bool png_complete(const std::string& file);

// Larger pictures are refused: no board needs them, and decoding one takes
// more memory than a game should.
constexpr long long kMaxPicturePixels = 16LL * 1024 * 1024;
constexpr long long kMaxPictureSide = 16384;

}  // namespace mem
