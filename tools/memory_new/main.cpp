// memory-new: makes a game from a folder of pictures.
#include <clocale>
#include <iostream>
#include <string>
#include "platform/tool_start.h"

#include "memory_new.h"

int main(int argc, char** argv) {
    // Pictures are taken in the order of their names in the user's language.
    std::setlocale(LC_COLLATE, "");
    if (!mem::start_tool(argc, argv, "memory-new " MEMORY_VERSION, true)) return 0;
    mem::make::Environment environment;
    environment.system_dir = MEMORY_SYSTEM_DIR;
    return mem::make::memory_new_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                      environment);
}
