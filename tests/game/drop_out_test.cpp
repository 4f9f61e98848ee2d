// A player who reaches a limit drops out: dimmed and struck out when others
// play on, left as they are when they play alone.
#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using DropOut = PlayTest;

TEST_F(DropOut, OnlyAPlayerAmongOthersIsDimmedAndStruckOut) {
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        PlayOptions o;
        o.players = players;
        o.tries_left = 1;
        o.cards_x = 3;
        o.cards_y = 2;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        const int16_t a = position_of(0), b = position_of(2);
        ASSERT_TRUE(try_cards(a, b));
        ASSERT_EQ(game().memPlayer[0].Out, True);
        EXPECT_EQ(game().memGameOver, to_flag(players == 1));
        const auto& lines = game().pic_Background.lines();
        if (players == 1) {
            EXPECT_EQ(game().lbl_PlayerName[0].fore_color(), 16777215);
            EXPECT_EQ(game().lbl_PlayerScore[0].fore_color(), 65535);
            EXPECT_TRUE(lines.empty());
            continue;
        }
        EXPECT_EQ(game().lbl_PlayerName[0].fore_color(), 8421504);
        EXPECT_EQ(game().lbl_PlayerScore[0].fore_color(), 8421504);
        // Red lines 3 pixels apart across the player's picture (30 pixels high).
        const Image& strip = game().img_Player[0];
        ASSERT_EQ(lines.size(), 10u);
        for (size_t i = 0; i < lines.size(); ++i) {
            const DrawnLine& l = lines[i];
            const int y = strip.top() + 1 + 3 * static_cast<int>(i);
            EXPECT_EQ(std::tuple(l.x1, l.y1, l.x2, l.y2, l.colour), std::tuple(strip.left(), y, strip.left() + strip.width(), y, 255));
        }
    }
}

// "players=0" plays with one player; players past the fourth take part
// without a slot.
TEST_F(DropOut, PlayerRecordsAndNames) {
    for (int players : {0, 6}) {
        SCOPED_TRACE(players);
        PlayOptions o;
        o.players = players;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        EXPECT_EQ(game().memPlayers, players == 0 ? 1 : players);
        const size_t named = players == 0 ? 1 : static_cast<size_t>(players);
        ASSERT_EQ(game().memPlayer.size(), named + 1);
        for (size_t p = 0; p < named; ++p) EXPECT_EQ(game().memPlayer[p].Name, "Player" + std::to_string(p + 1));
        EXPECT_EQ(game().lbl_PlayerName[3].visible(), players == 6);
    }
}

}  // namespace
}  // namespace mem::test
