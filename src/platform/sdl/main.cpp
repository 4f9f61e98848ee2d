// The memory game: reads its options, finds its definition and plays it in
// a window that covers the desktop (or in a window of its own).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/keyboard_help.h"
#include "app/program.h"
#include "library/library.h"
#include "package/package.h"
#include "platform/files.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/translation.h"

namespace {

using mem::executable_dir;
using mem::executable_path;
using mem::tr;

void print_usage(std::FILE* out) {
    std::fprintf(out,
                 // TRANSLATORS: the first %s is the program's directory, the second the system-wide
                 // directory, the third the keys while playing (a text of its own).
                 tr("Usage: memory [--window] [--speak] [DEFINITION | PACKAGE.memorygame]\n"
                    "       memory --library [--window] [DEFINITION | PACKAGE.memorygame]\n"
                    "       memory --install FOLDER-PACKAGE-OR-PICTURES...\n"
                    "Plays the memory game described by the definition file DEFINITION, or the\n"
                    "game package PACKAGE.memorygame (unpacked once into ~/.cache/memory/packages).\n"
                    "\n"
                    "Options:\n"
                    "  --library   show every game found as a tile and play the one chosen\n"
                    "  --install   add a game folder or package to your games, or make one of pictures\n"
                    "  --window    start in a resizable window instead of full screen (F11 switches)\n"
                    "  --speak     say aloud what happens, through speech-dispatcher (F2 switches)\n"
                    "  --help      show this help and end\n"
                    "  --version   show the version and end\n"
                    "\n"
                    "Without DEFINITION, memory.ini is looked for beside the program (%s),\n"
                    "then in %s. A relative DEFINITION is taken from the current directory when it\n"
                    "is there, else from the program's directory.\n"
                    "\n"
                    "%s"
                    "\n"
                    "Exit status: 0 after a normal end, 1 after an error in the definition\n"
                    "(or Cancel on a question), 2 on a usage error or when no display can be opened.\n"),
                 executable_dir().c_str(), MEMORY_SYSTEM_DIR, tr(mem::kKeyboardHelp));
}

}  // namespace

int main(int argc, char** argv) {
    mem::start_translations(executable_dir());
    const mem::library::Environment environment = [](const char* name) { return std::getenv(name); };
    std::string arguments;
    bool windowed = false;
    bool library = false;
    bool speak = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            print_usage(stdout);
            return mem::kExitNormal;
        }
        if (argument == "--version") {
            std::printf("memory %s\n", MEMORY_VERSION);
            return mem::kExitNormal;
        }
        if (argument == "--window") {
            windowed = true;
            continue;
        }
        if (argument == "--install") {
            if (i + 1 >= argc) {
                std::fputs(tr("memory: --install needs a game folder, package or pictures\n"), stderr);
                return mem::kExitNoDisplay;
            }
            return mem::library::install(std::vector<std::string>(argv + i + 1, argv + argc), executable_dir(),
                                         environment);
        }
        if (argument == "--library") {
            library = true;
            continue;
        }
        if (argument == "--speak") {
            speak = true;
            continue;
        }
        if (argument.rfind("--", 0) == 0) {
            std::fprintf(stderr, tr("memory: unknown option %s\n"), argument.c_str());
            print_usage(stderr);
            return mem::kExitNoDisplay;
        }
        if (!arguments.empty()) arguments += ' ';
        arguments += argument;
    }
    mem::SdlPlatform platform(arguments, executable_dir(), MEMORY_SYSTEM_DIR);
    platform.set_windowed(windowed);
    std::string error;
    if (!platform.start(error)) {
        std::fprintf(stderr, tr("Memory: cannot open the display: %s\n"), error.c_str());
        return mem::kExitNoDisplay;
    }
    // A file given with --library (the desktop opening a package) is played at once.
    if (library && arguments.empty()) {
        mem::library::run_library(platform, executable_path(), windowed, environment);
        platform.end_program(mem::kExitNormal);
    }
    mem::Program program(platform);
    program.speak = speak;
    program.packageCache = mem::package::default_cache_root();
    program.run();
    // The game window closed without an end of its own: the start failed.
    platform.end_program(program.memStartFailed ? mem::kExitFailure : mem::kExitNormal);
}
