#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using PlayerSlotClicks = PlayTest;

// The empty player slots keep their designed place (top 448), which lies in
// the play area on boards above 640 x 480: every card must still take the
// click at its centre.
TEST_F(PlayerSlotClicks, EveryCardTakesItsClickWhateverThePlayerCount) {
    struct Case {
        int players, cards_x, cards_y, screen_width, screen_height, card_size;
    };
    const Case cases[] = {
        {1, 2, 2, 1024, 768, 80}, {2, 2, 2, 1024, 768, 80}, {1, 4, 4, 800, 600, 80},
        {3, 4, 4, 800, 600, 60},  {1, 6, 4, 1024, 768, 60}, {4, 2, 2, 1024, 768, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.players << " players, " << c.cards_x << " x " << c.cards_y << " on "
                                        << c.screen_width << " x " << c.screen_height << ", cards of " << c.card_size);
        PlayOptions next;
        next.players = c.players;
        next.cards_x = c.cards_x;
        next.cards_y = c.cards_y;
        next.extra_global = "cardwidth=" + std::to_string(c.card_size) + "\ncardheight=" + std::to_string(c.card_size) + "\n";
        restart(next);
        platform().screen_info = {c.screen_width, c.screen_height, 15};
        ASSERT_EQ(start(), std::nullopt);
        for (int16_t p = 0; p < card_count(); ++p) {
            const Image& card = game().img_Card[p];
            const int x = card.window_left() + card.width() / 2, y = card.window_top() + card.height() / 2;
            const Control* target = game().control_at(x, y);
            // A card beyond the board's edge is clipped away and takes no click.
            if (!game().pic_Background.window_rect().contains(x, y)) {
                EXPECT_EQ(target, nullptr) << "card " << p << " outside the board";
                continue;
            }
            ASSERT_NE(target, nullptr) << "card " << p;
            EXPECT_TRUE(target->index() == p && (target->name() == "img_Card" || target->name() == "lbl_Card"))
                << "card " << p << " is covered by " << target->name() << "(" << target->index() << ")";
        }
        for (int16_t p = 0; p < 4; ++p) EXPECT_EQ(game().img_Player[p].visible(), p < c.players) << "slot " << p;
    }
}

}  // namespace
}  // namespace mem::test
