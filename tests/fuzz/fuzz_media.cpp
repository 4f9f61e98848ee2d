// Arbitrary bytes through the project's own readers of media bytes: the wave header reader (as a file on disk), the
// picture header reader, and the text encoding check that every caption passes before it is drawn.
#include <unistd.h>

#include <fstream>

#include "platform/media/picture_size.h"
#include "platform/media/wave_info.h"
#include "platform/sdl/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/memory-fuzz-media-" + std::to_string(::getpid()) + ".wav";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary) << bytes;
    if (auto length = mem::wave_length_ms(path); length && *length < 0) __builtin_trap();
    if (auto claimed = mem::claimed_picture_size(bytes); claimed && (claimed->width < 0 || claimed->height < 0))
        __builtin_trap();
    (void)mem::png_complete(bytes);
    if (!mem::is_valid_utf8(mem::to_utf8(bytes))) __builtin_trap();
    return 0;
}
