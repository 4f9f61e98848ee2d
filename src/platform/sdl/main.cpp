// The memory game: finds its definition and plays it in a window that
// covers the desktop.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/program.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// The directory of the running executable.
std::string executable_dir() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
    std::string arguments;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) arguments += ' ';
        arguments += argv[i];
    }
    mem::SdlPlatform platform(arguments, executable_dir(), MEMORY_SYSTEM_DIR);
    std::string error;
    if (!platform.start(error)) {
        std::fprintf(stderr, "Memory: cannot open the display: %s\n", error.c_str());
        return mem::kExitNoDisplay;
    }
    mem::Program program(platform);
    program.run();
    // The game window closed without an end of its own: the start failed.
    platform.end_program(program.memStartFailed ? mem::kExitFailure : mem::kExitNormal);
}
