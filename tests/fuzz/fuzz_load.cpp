// The whole load step on the headless backend. One input is split at form feeds into the definition file, the main,
// global, card and list files; the game's folders hold small valid pictures and sounds so that the load goes past
// them. Every continuable error is answered OK; a fatal error or the program's end is a normal outcome.
#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "support/folder_fixtures.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Made once: p0.bmp .. p3.bmp and s0.wav .. s3.wav in each of gfx, card and sfx.
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / ("memory-fuzz-load-" + std::to_string(::getpid()));
        fs::remove_all(d);
        for (const char* sub : {"data", "system", "gfx", "card", "sfx"}) fs::create_directories(d / sub);
        for (const char* sub : {"gfx", "card", "sfx"})
            for (int i = 0; i < 4; ++i) {
                mem::test::write_bmp(d / sub / ("p" + std::to_string(i) + ".bmp"), 8 + 8 * i, 8 + 4 * i);
                mem::test::write_wave(d / sub / ("s" + std::to_string(i) + ".wav"), 20 + 20 * i);
            }
        return d;
    }();
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (const char* name : {"memory.ini", "main.ini", "global.ini", "cards.txt", "list.txt"}) {
        const size_t end = std::min(input.find('\f', start), input.size());
        std::ofstream(dir / "data" / name, std::ios::binary) << input.substr(start, end - start);
        start = std::min(end + 1, input.size());
    }
    fs::remove(dir / "system" / "memory.log");

    mem::HeadlessPlatform platform;
    platform.program_directory = dir.string();
    platform.system_directory = (dir / "system").string() + "/";
    platform.screen_info = {800, 600, 15};
    mem::Program program(platform);
    program.memDebug = mem::True;
    try {
        program.memStartUp((dir / "data" / "memory.ini").string());
    } catch (const mem::ProgramEnded&) {
    }
    return 0;
}
