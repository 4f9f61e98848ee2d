// Every bundled game, played by the pointer to its good end at every screen
// size the board knows, without a single message box on the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/bundled_game.h"

namespace mem {
namespace {

using test::BundledGame;
using test::bundled_games;
using test::kScreens;
using test::position_of;
using test::Screen;
using test::text_slot_of;

TEST(BundledGames, EachIsPlayedToItsGoodEndAtEveryScreenSize) {
    const std::vector<std::string> games = bundled_games();
    ASSERT_GE(games.size(), 3u);
    for (const std::string& name : games) {
        for (const Screen& screen : kScreens) {
            const std::string where = name + " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
            SCOPED_TRACE(where);
            BundledGame run(name, screen);
            ASSERT_TRUE(run.start());
            frm_MemoryGame& g = run.game();
            ASSERT_TRUE(run.settle(true));
            const int cards = memNearest16(g.memCardCount);
            ASSERT_GT(cards, 0);
            const bool text_game = g.memInterface.TextList.Active != False;

            // One try: two clicks, each waited for. A refused click stops
            // the game here, naming what covered the card or text.
            int clicks = 0;
            auto play = [&](const std::string& first, int16_t a, const std::string& second, int16_t b) {
                ++clicks;
                if (auto covered = run.click(first, a)) return first + "(" + std::to_string(a) + ") covered by " + *covered;
                if (!run.settle(false)) return std::string("stalled after the first click");
                ++clicks;
                if (auto covered = run.click(second, b))
                    return second + "(" + std::to_string(b) + ") covered by " + *covered;
                if (!run.settle(true)) return std::string("stalled after the second click");
                return std::string();
            };

            std::string fault;
            if (text_game) {
                for (int r = 0; r < cards && fault.empty(); ++r) {
                    const int16_t card = position_of(g, r), text = text_slot_of(g, r);
                    ASSERT_GE(card, 0) << "card " << r;
                    ASSERT_GE(text, 0) << "text " << r;
                    fault = play("img_Card", card, "lbl_Text", text);
                }
            } else {
                for (int m = 0; 2 * m + 1 < cards && fault.empty(); ++m) {
                    const int16_t a = position_of(g, 2 * m), b = position_of(g, 2 * m + 1);
                    ASSERT_GE(a, 0) << "card " << 2 * m;
                    ASSERT_GE(b, 0) << "card " << 2 * m + 1;
                    fault = play("img_Card", a, "img_Card", b);
                }
            }
            EXPECT_EQ(fault, "");
            EXPECT_NE(g.memGameOver, False);
            // Every card was clicked once, and in a text game every text too.
            EXPECT_EQ(clicks, text_game ? 2 * cards : cards);
            EXPECT_EQ(g.memTurnedCards, cards);
            EXPECT_TRUE(g.pic_End.visible());
            ASSERT_TRUE(g.pic_End.picture());
            const std::string shown = g.pic_End.picture()->path();
            const std::string good = g.memInterface.EndGoodPicture;
            EXPECT_FALSE(good.empty());
            EXPECT_TRUE(shown.size() >= good.size() && shown.compare(shown.size() - good.size(), good.size(), good) == 0)
                << shown << " is not " << good;
            for (const MessageBoxRecord& box : run.platform().message_boxes)
                ADD_FAILURE() << "message box \"" << box.title << "\": " << box.text;
        }
    }
}

}  // namespace
}  // namespace mem
