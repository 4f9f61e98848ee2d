#pragma once
// Moving a file or folder to the desktop's trash, as the freedesktop trash
// specification describes: into $XDG_DATA_HOME/Trash/files with a
// .trashinfo beside it in Trash/info, so the file manager can put it back.
// Nothing is ever deleted: when it cannot be moved, it stays.
#include <string>

#include "library/game_finder.h"

namespace mem::library {

// False with the reason in `error` when it stays where it is.
bool move_to_trash(const std::string& path, const Environment& environment, std::string& error);

}  // namespace mem::library
