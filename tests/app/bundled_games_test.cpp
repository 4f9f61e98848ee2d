// Every bundled game, played by the pointer to its good end at every screen
// size the board knows, without a single message box on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/pointer_play.h"

namespace mem {
namespace {

namespace fs = std::filesystem;

// The bundled games: games/NAME/NAME.ini under the source folder.
std::vector<std::string> bundled_games() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(MEMORY_SOURCE_DIR) / "games")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && fs::exists(entry.path() / (name + ".ini"))) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BundledGames, EachIsPlayedToItsGoodEndAtEveryScreenSize) {
    const std::vector<std::string> games = bundled_games();
    ASSERT_GE(games.size(), 3u);
    for (const std::string& name : games) {
        for (const Screen& screen : kScreens) {
            SCOPED_TRACE(name + " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height));
            PointerGame run(MEMORY_SOURCE_DIR, "games/" + name + "/" + name + ".ini", screen);
            play_to_good_end(run);
        }
    }
}

}  // namespace
}  // namespace mem
