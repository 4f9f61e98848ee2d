#pragma once
// The command line of memory-new.
#include <optional>
#include <string>
#include <vector>

namespace mem::make {

enum class GameKind { Memory, Match, Text };
enum class Removal { Hide, Fly, Shrink, Line };

struct Options {
    std::string name;                 // the game's folder and definition name
    std::vector<std::string> inputs;  // pictures and folders of pictures
    GameKind kind = GameKind::Memory;
    int players = 1;
    std::vector<std::string> names;  // the players' names; empty: the default names
    bool timer = false;
    int countdown = 0;  // seconds; 0: no countdown
    int tries = 0;      // tries allowed; 0: no limit (tries made are shown)
    Removal removal = Removal::Fly;
    std::string theme = "ocean";
    std::string output = ".";
    bool force = false;
    bool recursive = false;  // pictures in subfolders too
    bool captions = true;
    bool speak = false;
    bool pack = false;  // also NAME.memorygame beside NAME/
    bool help = false;
    int pairs = 0;    // pairs a game (cards in a text game); 0: as many as the board holds
    int preview = 0;  // seconds the faces show before a memory game; 0: none
};

// The options, or nothing with the reason in `error`.
std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error);

extern const char* const kUsage;

}  // namespace mem::make
