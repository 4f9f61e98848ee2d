// The sound chains of a try on the headless device: each link's commands and
// fallbacks, failed commands, and completions that come when nothing waits.
#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using SoundChains = PlayTest;
using Commands = std::vector<std::string>;

Commands cat(std::initializer_list<Commands> parts) {
    Commands all;
    for (const Commands& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}
Commands played(const std::string& file) { return {"close", "open " + file, "play " + file}; }

// One half of a try: the commands its click gives the device until the
// chain ends, waiting for completions (after the first status tick) or not.
TEST_F(SoundChains, EachChainGivesItsCommandsAndEndsTheTry) {
    using enum CardSound;
    struct Case {
        bool waiting, result_sounds;
        CardSound sound;
        int second;  // 0: first card only; 1: second card a pair; 2: second card no pair
        Commands commands;
    };
    const Commands rewound = {"prev", "play sfx/turn.wav"}, idle = {"close", "open sfx/turn.wav"};
    const Commands turn = played("sfx/turn.wav"), match = played("sfx/match.wav"), miss = played("sfx/nomatch.wav");
    const Commands s0 = played("card/s0.wav"), s1 = played("card/s1.wav"), s2 = played("card/s2.wav");
    const Case cases[] = {
        // After the first status tick every link waits for its completion.
        {true, true, Present, 0, cat({rewound, s0, {"close"}})},
        {true, false, Present, 0, cat({rewound, s0, idle, idle})},
        {true, true, Present, 1, cat({turn, s1, match, idle})},
        {true, true, Present, 2, cat({turn, s2, miss, idle})},
        {true, false, Present, 1, cat({rewound, s1, idle})},
        // No sound named, or named but missing when the definition is read (error 203).
        {true, true, Empty, 0, cat({rewound, idle, idle})},
        {true, true, Empty, 1, cat({rewound, match, idle})},
        {true, false, Empty, 2, cat({rewound, idle})},
        {true, true, MissingAtLoad, 1, cat({rewound, match, idle})},
        // The file went away, or the device cannot play it.
        {true, false, Vanished, 0, cat({rewound, idle, idle})},
        {true, true, Vanished, 2, cat({rewound, miss, idle})},
        {true, false, Vanished, 1, cat({rewound, idle})},
        {true, false, Undecodable, 0, cat({rewound, s0, idle})},
        {true, true, Undecodable, 1, cat({rewound, s1, match, idle})},
        // Before the first status tick nothing waits, and only a card without a sound has a result sound.
        {false, true, Present, 0, cat({rewound, s0})},
        {false, true, Present, 1, cat({{"play card/s0.wav"}, s1})},
        {false, false, Present, 2, cat({{"play card/s0.wav"}, s2})},
        {false, true, Empty, 1, cat({rewound, match})},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("row " + std::to_string(i));
        PlayOptions o;
        o.cards_x = 3;
        o.cards_y = 2;
        o.players = 2;
        o.result_sounds = c.result_sounds;
        o.card_sound = c.sound;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        EXPECT_EQ(platform().message_boxes.empty(), c.sound != MissingAtLoad);
        if (c.waiting) wait_for_status_tick();
        if (c.second != 0) {
            click_card(position_of(0));
            ASSERT_TRUE(run_until_free());
            ASSERT_EQ(game().memCardStatus, 0);
        }
        const size_t commands = command_mark(), trace = trace_mark();
        ASSERT_TRUE(click_card(position_of(c.second)));
        EXPECT_EQ(game().memProcessing != False, c.waiting) << "the chain waits for the device";
        ASSERT_TRUE(run_until_free());
        EXPECT_EQ(commands_since(commands), c.commands);
        if (c.second == 0) {
            EXPECT_EQ(game().memCardStatus, 0);
            continue;
        }
        // Settled once, the turn passed on after a miss; later completions change nothing.
        EXPECT_EQ(count_trace("--> memCheckCardStatus: Match!", trace), c.second == 1 ? 1 : 0);
        EXPECT_EQ(count_trace("--> memCheckCardStatus: Ingen match...", trace), c.second == 2 ? 1 : 0);
        EXPECT_TRUE(settled());
        EXPECT_EQ(game().memCurrentPlayer, c.second == 1 ? 0 : 1);
        check_invariants();
        const size_t later = trace_mark();
        advance(2000);
        EXPECT_EQ(count_trace("=> memCheckCardStatus <=", later), 0);
    }
}

// A pair found with long turn and match sounds (2 s each, card sounds 0.1 s):
// a link whose command fails ends at the next status tick, a turn sound that
// vanished is left out, and the links that did not fail are waited for.
TEST_F(SoundChains, FailedOrVanishedSoundEndsItsLink) {
    struct Case {
        const char* fails;  // "play" fails for the file with this ending
        bool undecodable_match, turn_vanished;
        uint64_t played_ms;  // the links that play to their end
    };
    const Case cases[] = {
        {"turn.wav", false, false, 200 + 2000},
        {"", true, false, 2 * 2000 + 200},
        {"match.wav", false, false, 2 * 2000 + 200},
        {"", false, true, 200 + 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fails) + (c.undecodable_match ? "undecodable match" : "") +
                     (c.turn_vanished ? "turn vanished" : ""));
        PlayOptions o;
        o.undecodable_match_sound = c.undecodable_match;
        o.turn_ms = 2000;
        o.card_ms = 100;
        o.result_ms = 2000;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        const std::string fails = c.fails;
        if (!fails.empty())
            device().fail_when = [fails](const std::string& cmd, const std::string& file) {
                return cmd == "play" && file.ends_with(fails);
            };
        if (c.turn_vanished) std::filesystem::remove(dir / "sfx" / "turn.wav");
        auto [a, b] = pair_positions(0);
        const uint64_t t0 = platform().now_ms();
        ASSERT_TRUE(try_cards(a, b));
        // Less the pause after a pair; a failed link ends within a tick (250 ms).
        const uint64_t took = platform().now_ms() - t0 - 500;
        EXPECT_GE(took, c.played_ms) << took;

        EXPECT_LT(took, c.played_ms + 2 * 250 + 100);
        EXPECT_EQ(game().memTurnedCards, 2);
    }
}

TEST_F(SoundChains, CompletionsWithoutATryChangeNothing) {
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    int16_t code = 1;
    // Before the first card, and after the end.
    for (int played = 0; played < 2; ++played) {
        for (int m = 0; played && m < 2; ++m) {
            ASSERT_TRUE(try_cards(pair_positions(m).first, pair_positions(m).second));
        }
        EXPECT_EQ(game().memGameOver != False, played == 1);
        const size_t mark = command_mark(), trace = trace_mark();
        for (int16_t kind : {-1, 0, 1, 5, 6}) {
            game().memSoundKind = kind;
            game().mmc_Sound_Done(code);
        }
        EXPECT_EQ(game().memProcessing, False);
        EXPECT_TRUE(commands_since(mark).empty());
        EXPECT_EQ(count_trace("=> memCheckCardStatus <=", trace), 0);
    }
}

}  // namespace
}  // namespace mem::test
