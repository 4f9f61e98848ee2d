#pragma once
// memory --library: finds the games and shows the library until Escape;
// memory --install: adds a game to the user's own from a terminal.
#include <string>
#include <vector>

#include "library/game_finder.h"
#include "library/library_window.h"

namespace mem::library {

// Shows the library until it is closed. `program` is this program.
void run_library(Platform& platform, const std::string& program, bool windowed, const Environment& environment);

// Adds the game folder, package or pictures to the user's games, saying
// on `out` where it went; the exit status.
int install(const std::vector<std::string>& sources, const std::string& program_dir, const Environment& environment);

}  // namespace mem::library
