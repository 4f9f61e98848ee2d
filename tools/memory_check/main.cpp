// memory-check: the definition checker for game authors.
#include <iostream>
#include <string>
#include "platform/files.h"
#include "platform/tool_start.h"

#include "checker.h"

int main(int argc, char** argv) {
    if (!mem::start_tool(argc, argv, "memory-check " MEMORY_VERSION)) return 0;
    return mem::check::memory_check_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                         mem::executable_dir(), MEMORY_SYSTEM_DIR);
}
