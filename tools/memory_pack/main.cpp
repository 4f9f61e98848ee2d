// memory-pack: one game as one file to send.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include "platform/translation.h"

#include "pack_game.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--version") {
            std::cout << "memory-pack " << MEMORY_VERSION << "\n";
            return 0;
        }
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string program_dir = error ? std::filesystem::current_path().string() : exe.parent_path().string();
    mem::start_translations(program_dir);
    return mem::pack::memory_pack_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                       program_dir, MEMORY_SYSTEM_DIR);
}
