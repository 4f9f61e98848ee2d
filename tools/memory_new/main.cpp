// memory-new: makes a game from a folder of pictures.
#include <clocale>
#include <iostream>
#include <string>

#include "memory_new.h"

int main(int argc, char** argv) {
    // Pictures are taken in the order of their names in the user's language.
    std::setlocale(LC_COLLATE, "");
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
