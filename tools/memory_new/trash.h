#pragma once
// The desktop's trash (the freedesktop.org trash specification): a folder
// moved there can be restored by the file manager, with its place and date.
#include <filesystem>
#include <string>

namespace mem::make {

// The user's trash: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
std::filesystem::path home_trash();

// Moves `path` into `trash` (files/ and its info/*.trashinfo record); false
// with the reason in `error`, and then `path` is left where it was.
bool move_to_trash(const std::filesystem::path& path, const std::filesystem::path& trash, std::string& error);

}  // namespace mem::make
