// The whole load step on the headless backend. One input is split at form
// feeds into the definition file, the main, global, card and list files;
// the game directories hold small valid pictures and sounds so that the
// load goes past them. Every continuable error is answered OK; a fatal
// error or the program's end is a normal outcome.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/headless/headless_platform.h"

namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A 24-bit BMP of one colour.
std::string bmp(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4, data = row * height;
    std::string out = "BM";
    auto u32 = [&out](uint32_t v) { for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF); };
    auto u16 = [&out](uint16_t v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>(v >> 8); };
    u32(static_cast<uint32_t>(54 + data)), u32(0), u32(54), u32(40);
    u32(static_cast<uint32_t>(width)), u32(static_cast<uint32_t>(height)), u16(1), u16(24);
    u32(0), u32(static_cast<uint32_t>(data)), u32(2835), u32(2835), u32(0), u32(0);
    return out + std::string(static_cast<size_t>(data), '\x40');
}

// 8-bit mono silence.
std::string wave(int ms) {
    const uint32_t rate = 8000, bytes = rate * static_cast<uint32_t>(ms) / 1000;
    std::string out = "RIFF";
    auto u32 = [&out](uint32_t v) { for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF); };
    auto u16 = [&out](uint16_t v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>(v >> 8); };
    u32(36 + bytes);
    out += "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(rate), u32(rate), u16(1), u16(8);
    out += "data";
    u32(bytes);
    return out + std::string(bytes, '\x80');
}

// The game's folders, made once: p0.bmp .. p3.bmp and s0.wav .. s3.wav in
// each of gfx, card and sfx.
const fs::path& game_folder() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("memory-fuzz-load-" + std::to_string(::getpid()));
        fs::remove_all(d);
        for (const char* sub : {"gfx", "card", "sfx", "data", "system"}) fs::create_directories(d / sub);
        for (const char* sub : {"gfx", "card", "sfx"})
            for (int i = 0; i < 4; ++i) {
                write(d / sub / ("p" + std::to_string(i) + ".bmp"), bmp(8 + 8 * i, 8 + 4 * i));
                write(d / sub / ("s" + std::to_string(i) + ".wav"), wave(20 + 20 * i));
            }
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path& dir = game_folder();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const char* names[] = {"memory.ini", "main.ini", "global.ini", "cards.txt", "list.txt"};
    size_t start = 0;
    for (const char* name : names) {
        std::string part;
        if (start <= input.size()) {
            const size_t end = std::min(input.find('\f', start), input.size());
            part = input.substr(start, end - start);
            start = end + 1;
        }
        write(dir / "data" / name, part);
    }
    fs::remove(dir / "system" / "memory.log");

    mem::HeadlessPlatform platform;
    platform.program_directory = dir.string();
    platform.system_directory = (dir / "system").string() + "/";
    platform.screen_info = {800, 600, 15};
    mem::Program program(platform);
    try {
        program.memDebug = mem::True;
        program.memStartUp((dir / "data" / "memory.ini").string());
    } catch (const mem::ProgramEnded&) {
    }
    return 0;
}
