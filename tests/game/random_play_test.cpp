#include <gtest/gtest.h>

#include <random>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using RandomPlay = PlayTest;

// Many games with random clicks at random times, missing and undecodable
// card sounds and failing device commands: no try stalls and every game ends.
TEST_F(RandomPlay, NoTryStallsAndEveryGameEnds) {
    constexpr int kGames = 300;
    for (int seed = 1; seed <= kGames; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(static_cast<uint32_t>(seed));
        auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
        PlayOptions o;
        o.app = pick(2) ? "memory" : "match";
        o.cards_x = 2 + pick(2);
        o.cards_y = 2;
        o.players = 1 + pick(4);
        o.debug = pick(4) == 0;
        o.result_sounds = pick(2);
        o.turn_sound = pick(4) != 0;
        o.turn_ms = 50 + pick(300);
        o.card_ms = 50 + pick(300);
        o.result_ms = 50 + pick(300);
        const CardSound sounds[] = {CardSound::Present, CardSound::Empty, CardSound::Vanished, CardSound::Undecodable};
        for (int c = 0; c < o.cards_x * o.cards_y; ++c) o.card_sound_of[c] = sounds[pick(4)];
        if (pick(3) == 0) o.tries_left = 2 + pick(6);
        if (pick(4) == 0) o.timer = 5 + pick(20);
        restart(o);
        platform().seed = static_cast<uint32_t>(seed);
        ASSERT_EQ(start(), std::nullopt);
        const int fail_percent = pick(3) * 10;
        std::mt19937 fail_rng(static_cast<uint32_t>(seed) * 7919u);
        device().fail_when = [&fail_rng, fail_percent](const std::string& command, const std::string&) {
            return command != "close" && static_cast<int>(fail_rng() % 100) < fail_percent;
        };

        uint64_t busy_since = 0;
        bool was_busy = false;
        for (int step = 0; step < 4000 && game().memGameOver == False; ++step) {
            const int16_t position = static_cast<int16_t>(pick(card_count()));
            switch (pick(4)) {
                case 0:
                    game().img_Card_Click(position);
                    break;
                case 1:
                    game().lbl_Card_Click(position);
                    break;
                case 2:
                    game().img_Card_DblClick(position);
                    break;
                default:
                    break;
            }
            advance(static_cast<uint64_t>(pick(400)));
            const bool busy = game().memProcessing != False;
            if (busy && !was_busy) busy_since = platform().now_ms();
            was_busy = busy;
            // The longest try: three sounds, ticks after failures, the pause.
            ASSERT_FALSE(busy && game().memGameOver == False && platform().now_ms() - busy_since > 5000)
                << "a try stalled";
            if (!busy && game().memCardStatus == -1) {
                EXPECT_EQ(game().memTurnedCards + game().memCardsLeft, card_count());
                double made = 0;
                for (const PlayerRecord& p : game().memPlayer) made += p.CardsMade;
                EXPECT_EQ(made, game().memTurnedCards);
            }
            // Clicks at random rarely find the last pair; help the game on.
            if (step % 8 == 7 && !busy && game().memCardStatus == -1) {
                for (int m = 0; m < card_count() / 2; ++m) {
                    auto [a, b] = pair_positions(m);
                    if (game().img_Card[a].enabled() && game().img_Card[b].enabled()) {
                        game().img_Card_Click(a);
                        break;
                    }
                }
            }
        }
        ASSERT_EQ(game().memGameOver, True) << "the game did not end";
        EXPECT_LE(game().memTurnedCards, card_count());
    }
}

}  // namespace
}  // namespace mem::test
