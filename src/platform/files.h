#pragma once
// Text files. Paths may use "\" as the separator, as definition files do;
// it is mapped to "/" before the file system is touched.
#include <optional>
#include <string>
#include <vector>

namespace mem {

std::string native_path(const std::string& path);
// The whole file, or nothing when it cannot be opened for reading (missing,
// a directory, access denied).
std::optional<std::string> read_text_file(const std::string& path);
// True when the file can be opened for reading; never true for a directory.
bool can_open_for_reading(const std::string& path);
// True when the path names a directory.
bool directory_exists(const std::string& path);
// The process's working directory, without a trailing separator.
std::string current_directory();
// The running program, its links resolved ("" when /proc cannot tell), and its directory (then the working one).
std::string executable_path();
std::string executable_dir();
// From now on only files inside `folder` (after links and ".." are followed)
// can be opened for reading; an empty folder lifts the limit.
void confine_reading_to(const std::string& folder);
// From now on every path found readable is added to `paths` (a tool's list
// of the files a game uses); null stops it.
void record_readable_files(std::vector<std::string>* paths);
// Appends `line` and a carriage return and line feed, creating the file.
bool append_line(const std::string& path, const std::string& line);

}  // namespace mem
