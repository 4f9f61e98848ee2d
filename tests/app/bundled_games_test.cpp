// Every bundled game, played by the pointer to its good end at every screen
// size the board knows, without a single message box on the way.
#include "support/pointer_play.h"

namespace mem {
namespace {

TEST(BundledGames, EachIsPlayedToItsGoodEndAtEveryScreenSize) {
    const std::vector<std::string> games = bundled_games(MEMORY_SOURCE_DIR);
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
