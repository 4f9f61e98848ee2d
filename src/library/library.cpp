#include "library/library.h"

#include "library/game_look.h"

namespace mem::library {

void run_library(Platform& platform, const LibraryOptions& options, const Environment& environment) {
    ProcessRunner runner;
    GameLooks looks(platform, platform.program_dir(), thumbnail_folder(environment));
    frm_Library library(platform, find_games(game_places(platform.program_dir(), environment)), std::ref(looks), runner,
                        options);
    platform.show_modal(library);
}

}  // namespace mem::library
