// memory-pack: one game as one file to send.
#include <iostream>
#include <string>
#include "platform/files.h"
#include "platform/tool_start.h"

#include "pack_game.h"

int main(int argc, char** argv) {
    if (!mem::start_tool(argc, argv, "memory-pack " MEMORY_VERSION)) return 0;
    return mem::pack::memory_pack_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                       mem::executable_dir(), MEMORY_SYSTEM_DIR);
}
