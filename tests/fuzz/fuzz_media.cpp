// Arbitrary bytes through the project's own readers of media bytes: the wave header reader (as a file on disk), the
// picture header checks of every format and the guarded decoder behind them (a picture that gets past the checks
// and takes much memory is a finding of the memory limit), the Exif orientation reader, and the text encoding check
// that every caption passes before it is drawn.
#include <unistd.h>

#include <fstream>

#include "platform/media/exif_orientation.h"
#include "platform/media/image_decoder.h"
#include "platform/media/picture_size.h"
#include "platform/media/wave_info.h"
#include "platform/sdl/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Named .tga: bytes of no other format go to the TGA header check.
    static const std::string path = "/tmp/memory-fuzz-media-" + std::to_string(::getpid()) + ".tga";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary) << bytes;
    if (auto length = mem::wave_length_ms(path); length && *length < 0) __builtin_trap();
    for (int format = 0; format <= static_cast<int>(mem::PictureFormat::kXcf); ++format) {
        // Only a PCX has signed corners.
        const auto claimed = mem::claimed_picture_size(bytes, static_cast<mem::PictureFormat>(format));
        if (claimed && format != static_cast<int>(mem::PictureFormat::kPcx) && (claimed->width < 0 || claimed->height < 0))
            __builtin_trap();
    }
    (void)mem::png_complete(bytes);
    std::string error;
    if (auto picture = mem::decode_picture(path, error);
        picture && static_cast<long long>(picture->width()) * picture->height() > mem::kMaxPicturePixels)
        __builtin_trap();
    if (const int orientation = mem::exif_orientation(data, size); orientation < 1 || orientation > 8) __builtin_trap();
    if (!mem::is_valid_utf8(mem::to_utf8(bytes))) __builtin_trap();
    return 0;
}
