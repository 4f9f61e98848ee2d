#include "library/library.h"

#include <unistd.h>

#include <cstdio>

#include "library/game_look.h"
#include "library/install.h"
#include "platform/translation.h"

namespace mem::library {

void run_library(Platform& platform, const std::string& program, bool windowed, const Environment& environment) {
    const std::vector<GamePlace> places = game_places(platform.program_dir(), environment);
    LibraryOptions options{program, windowed, platform.program_dir() + "/memory-new", own_games_folder(environment),
                           [places] { return find_games(places); }};
    ProcessRunner runner;
    GameLooks looks(platform, platform.program_dir(), thumbnail_folder(environment));
    frm_Library library(platform, find_games(places), std::ref(looks), runner, options);
    platform.show_modal(library);
}

int install(const std::vector<std::string>& sources, const std::string& program_dir, const Environment& environment) {
    const InstallPlan plan = plan_install(sources);
    const std::string own = own_games_folder(environment);
    std::string error;
    if (plan.kind != InstallPlan::Kind::Pictures) {
        const std::string installed = copy_game(plan, own, error);
        if (installed.empty()) {
            std::fprintf(stderr, "memory: %s\n", error.c_str());
            return 1;
        }
        std::printf(tr("Added to your games: %s\n"), installed.c_str());
        return 0;
    }
    // Pictures become a game by memory-new, which says what it makes.
    ProcessRunner runner;
    if (!runner.start(memory_new_command(plan, program_dir + "/memory-new", own), error)) {
        std::fprintf(stderr, tr("memory: memory-new cannot be started: %s\n"), error.c_str());
        return 1;
    }
    std::optional<GameEnd> end;
    while (!(end = runner.poll())) ::usleep(20000);
    return end->failed ? 1 : 0;
}

}  // namespace mem::library
