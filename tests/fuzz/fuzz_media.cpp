// Arbitrary bytes through the project's own readers of media bytes: the
// wave header reader (as a file on disk), the picture header reader, and
// the text encoding check that every caption passes before it is drawn.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/sdl/picture_size.h"
#include "platform/sdl/text_encoding.h"
#include "platform/sdl/wave_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/memory-fuzz-media-" + std::to_string(::getpid()) + ".wav";
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    if (auto length = mem::wave_length_ms(path); length && *length < 0) __builtin_trap();

    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto claimed = mem::claimed_picture_size(text); claimed && (claimed->width < 0 || claimed->height < 0))
        __builtin_trap();
    (void)mem::png_complete(text);

    const std::string utf8 = mem::to_utf8(text);
    if (!mem::is_valid_utf8(utf8)) __builtin_trap();
    return 0;
}
