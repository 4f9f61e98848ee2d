// memory-new: makes a game from a folder of pictures.
#include <clocale>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include "platform/translation.h"

#include "memory_new.h"

int main(int argc, char** argv) {
    // Pictures are taken in the order of their names in the user's language.
    std::setlocale(LC_COLLATE, "");
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    mem::start_translations(error ? std::filesystem::current_path().string() : exe.parent_path().string());
    for (int i = 1; i < argc && std::string(argv[i]) != "--"; ++i)
        if (std::string(argv[i]) == "--version") {
            std::cout << "memory-new " << MEMORY_VERSION << "\n";
            return 0;
        }
    mem::make::Environment environment;
    environment.system_dir = MEMORY_SYSTEM_DIR;
    return mem::make::memory_new_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                      environment);
}
