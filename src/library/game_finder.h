#pragma once
// Where games live and which games are there: the bundled games beside the
// program, the user's own games and those of the system's data folders. A
// game is a folder with one definition file at its top, or a package.
#include <functional>
#include <string>
#include <vector>

namespace mem::library {

struct GamePlace {
    std::string folder;
    bool own = false;  // the user's games: games can be added and removed
};

// The value of an environment variable, or null when it is not set.
using Environment = std::function<const char*(const char*)>;

// The folders to look in, in this order: the bundled games
// (PROGRAM_DIR/games), the user's games ($XDG_DATA_HOME/memory/games,
// ~/.local/share by default), then memory/games under each of
// $XDG_DATA_DIRS (/usr/local/share:/usr/share by default). Relative XDG
// entries are ignored, as the base directory rules ask; a folder named
// twice is looked in once.
std::vector<GamePlace> game_places(const std::string& program_dir, const Environment& environment);

// The folder the user's games are added to.
std::string own_games_folder(const Environment& environment);
// The folder miniatures are kept in: $XDG_CACHE_HOME/memory/thumbnails.
std::string thumbnail_folder(const Environment& environment);

struct GameEntry {
    std::string path;        // the game's folder or package
    std::string definition;  // the definition file; empty for a package or when there is none
    std::string title;
    bool own = false;
    bool package = false;
    std::string problem;  // why the game cannot be played, or empty
};

// Every game in the places, sorted by title. A folder that cannot be read,
// holds no definition or more than one is listed with its problem.
std::vector<GameEntry> find_games(const std::vector<GamePlace>& places);

// Sorted by title ignoring letter case; equal titles by path.
void sort_by_title(std::vector<GameEntry>& games);

// The title= of a definition's [application] section, else the
// definition's file name without its extension.
std::string definition_title(const std::string& definition);

}  // namespace mem::library
