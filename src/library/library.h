#pragma once
// memory --library: finds the games and shows the library until Escape.
#include "library/game_finder.h"
#include "library/library_window.h"

namespace mem::library {

// Shows the library until it is closed.
void run_library(Platform& platform, const LibraryOptions& options, const Environment& environment);

}  // namespace mem::library
