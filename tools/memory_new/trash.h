#pragma once
// The desktop's trash (the freedesktop.org trash specification): a folder
// moved there can be restored by the file manager, with its place and date.
#include <filesystem>
#include <string>

namespace mem::make {

// Moves `path` into the user's trash, or into the trash at the top of its
// file system when that is another (files/ and an info/*.trashinfo record);
// false with the reason in `error`, and then `path` is left where it was.
bool move_to_trash(const std::filesystem::path& path, std::string& error);

}  // namespace mem::make
