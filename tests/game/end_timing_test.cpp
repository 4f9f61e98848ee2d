#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/text_game_fixture.h"

namespace mem::test {
namespace {

using EndTiming = TextGameTest;

// Moves the clock, 10 ms at a time, until just after the next clock tick.
void to_next_tick(TextGameTest& t) {
    const PlayerRecord& player = t.game().memPlayer[0];
    const float time = player.Time, countdown = player.Countdown;
    for (int i = 0; i < 110 && player.Time == time && player.Countdown == countdown; ++i) t.advance(10);
}

int end_sounds_played(const TextGameTest& t) {
    int n = 0;
    for (const DeviceCommand& c : t.platform().device_commands)
        n += c.command == "play" && (c.file.ends_with("sfx/good.wav") || c.file.ends_with("sfx/bad.wav"));
    return n;
}

// A clock tick that falls on the last try of a one-player game, in each of
// its stages: the end is judged on the board as it is once that try is
// settled, and made once.
TEST_F(EndTiming, TickDuringTheLastTry) {
    struct Case {
        const char* name;
        bool text;
        PlayOptions play;
        TextListOptions list;
        // Plays the game's last try; returns when the game is over.
        std::function<void()> last_try;
        bool good;
        int cards_left;
    };
    PlayOptions one_pair;
    one_pair.cards_x = 2;
    one_pair.cards_y = 1;
    auto with = [one_pair](auto change) {
        PlayOptions o = one_pair;
        change(o);
        return o;
    };
    // The last pair's first card, then its second.
    auto pair = [this](bool at_tick) {
        return [this, at_tick] {
            if (at_tick) to_next_tick(*this);
            const auto [a, b] = pair_positions(0);
            click_card(a);
            ASSERT_TRUE(run_until_free());
            click_card(b);
            advance(5000);
        };
    };
    // The first try takes card and text 0; the last, card first, takes 1.
    auto texts = [this](bool at_tick) {
        return [this, at_tick] {
            ASSERT_TRUE(try_pair(0, 0));
            if (at_tick) to_next_tick(*this);
            click_card(position_of(1));
            ASSERT_TRUE(run_until_quiet());
            click_text(text_of(1));
            advance(5000);
        };
    };
    const TextListOptions long_text{.text_ms = 2500};
    // Synchronised with a tick, the last try is settled within the next
    // second: its pause takes in the following tick, which fires in the
    // first step of the removal.
    const Case cases[] = {
        {"countdown out during the last pair's sounds: bad, the pair in hand",
         false, with([](PlayOptions& o) {
             o.countdown = 4;
             o.card_ms = 2500;
         }),
         {}, pair(false), false, 2},
        {"countdown out during the last pair's removal: the pair is taken, the good end once",
         false, with([](PlayOptions& o) {
             o.countdown = 2;
             o.dissapear = 2;
         }),
         {}, pair(true), true, 0},
        {"timer during the last text's sounds: scored, then the good end", true,
         with([](PlayOptions& o) { o.timer = 999; }), long_text, texts(false), true, 0},
        {"timer during the last card's removal: the good end once", true, with([](PlayOptions& o) {
             o.timer = 999;
             o.dissapear = 3;
         }),
         {}, texts(true), true, 0},
        {"countdown out during the last text's sounds: bad, the card in hand", true,
         with([](PlayOptions& o) { o.countdown = 5; }), long_text, texts(false), false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart_text(c.play, c.list);
        ASSERT_EQ(c.text ? start_text() : start(), std::nullopt);
        wait_for_status_tick();
        c.last_try();
        ASSERT_EQ(game().memGameOver, True);
        ASSERT_TRUE(game().pic_End.picture());
        EXPECT_EQ(game().pic_End.picture()->path().ends_with("good.bmp"), c.good);
        EXPECT_EQ(end_sounds_played(*this), 1);
        EXPECT_EQ(game().memCardsLeft, c.cards_left);
        // Cards taken and scored add up; a try left in hand is not scored.
        double made = 0;
        for (const PlayerRecord& p : game().memPlayer) made += p.CardsMade;
        EXPECT_EQ(made, card_count() - c.cards_left);
    }
}

}  // namespace
}  // namespace mem::test
