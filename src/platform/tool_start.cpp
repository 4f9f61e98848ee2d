#include "platform/tool_start.h"

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/translation.h"

namespace mem {

bool start_tool(int argc, char** argv, const char* name_version, bool dashes_end_options) {
    for (int i = 1; i < argc && !(dashes_end_options && std::string(argv[i]) == "--"); ++i)
        if (std::string(argv[i]) == "--version") {
            std::printf("%s\n", name_version);
            return false;
        }
    start_translations(executable_dir());
    return true;
}

}  // namespace mem
