#pragma once
// The look of a game's tile: its miniature (the background of the smallest
// board it offers with its card backs at their places), the line of its
// kind and players, and the first error met when it is read. The game is
// read with the game's own code on the headless backend, so a broken game
// shows the message the game itself would show. Looks are kept in the
// thumbnail folder and made again when a file of the game changes.
#include <optional>
#include <string>

#include "library/game_finder.h"
#include "library/library_window.h"

namespace mem::library {

// The miniature's size in pixels: 4:3, sharp when a tile is scaled up.
constexpr Size kMiniatureSize{384, 288};

class GameLooks {
public:
    // `display` loads the kept miniatures; `program_dir` is what %apppath%
    // stands for; `cache` is the thumbnail folder (made when needed).
    GameLooks(Platform& display, std::string program_dir, std::string cache);

    std::optional<GameLook> operator()(const GameEntry& game, bool cached_only);

private:
    GameLook make(const GameEntry& game, const std::string& key);

    Platform& display_;
    std::string program_dir_;
    std::string cache_;
};

// Names the state of a game's files: the same name while no file of the
// game changed (name, size and time of each file in its folder).
std::string look_key(const GameEntry& game);

}  // namespace mem::library
