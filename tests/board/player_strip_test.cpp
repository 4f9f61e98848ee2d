#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace mem::test {
namespace {

using PlayerStrip = BoardTest;

TEST_F(PlayerStrip, ShowsAtMostFourSlots) {
    struct Case {
        int16_t players;
        int16_t count_after;
        int shown;
    };
    const Case cases[] = {{0, 1, 0}, {1, 1, 1}, {3, 3, 3}, {5, 5, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.players);
        SetUp();
        game->memPlayers = c.players;
        game->memPlayer.resize(static_cast<size_t>(std::max<int>(c.players, 1)));
        for (size_t p = 0; p < game->memPlayer.size(); ++p) game->memPlayer[p].Name = "P" + std::to_string(p);
        game->memNameFont = make_font("Arial", 10);
        game->memScoreFont = make_font("Arial", 14);
        game->memNameForeColor = 11;
        game->memScoreForeColor = 22;
        build();
        EXPECT_EQ(game->memPlayers, c.count_after);
        EXPECT_TRUE(platform.message_boxes.empty());
        for (int16_t p = 0; p < 4; ++p) {
            const bool shown = p < c.shown;
            const Label& name = game->lbl_PlayerName[p];
            const Label& score = game->lbl_PlayerScore[p];
            const Image& strip = game->img_Player[p];
            EXPECT_EQ(name.visible(), shown) << p;
            EXPECT_EQ(score.visible(), shown) << p;
            EXPECT_EQ(strip.picture() != nullptr, shown) << p;
            if (!shown) continue;
            EXPECT_EQ(strip.top(), 600 - 33);
            EXPECT_EQ(strip.height(), 33);
            EXPECT_EQ(name.caption(), " P" + std::to_string(p));
            EXPECT_EQ(score.caption(), "0 ");
            EXPECT_EQ(name.font(), game->memNameFont);
            EXPECT_EQ(score.font(), game->memScoreFont);
            EXPECT_EQ(name.fore_color(), 11);
            EXPECT_EQ(score.fore_color(), 22);
            EXPECT_EQ(name.top(), static_cast<int>(std::nearbyint((33 - name.height()) / 2.0 + strip.top())));
            EXPECT_EQ(score.top(), static_cast<int>(std::nearbyint((33 - score.height()) / 2.0 + strip.top())));
            EXPECT_EQ(name.left(), 120 + 128 * p);
            EXPECT_EQ(score.left(), 208 + 128 * p);
        }
    }
}

}  // namespace
}  // namespace mem::test
