#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using SoundChains = PlayTest;
using Commands = std::vector<std::string>;

// One half of a try: the commands its click gives the device until the
// chain ends, waiting for completions (after the first status tick) or not.
TEST_F(SoundChains, EachChainGivesItsCommandsAndEndsTheTry) {
    struct Case {
        const char* name;
        bool waiting;
        bool result_sounds;
        CardSound sound;
        int second;  // 0: first card only; 1: second card a pair; 2: second card no pair
        Commands commands;
    };
    const Commands turn_rewound = {"prev", "play sfx/turn.wav"};
    const Commands turn_reopened = {"close", "open sfx/turn.wav", "play sfx/turn.wav"};
    const Commands card0 = {"close", "open card/s0.wav", "play card/s0.wav"};
    auto cat = [](std::initializer_list<Commands> parts) {
        Commands all;
        for (const Commands& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    auto second_card = [](int r) {
        const std::string f = "card/s" + std::to_string(r) + ".wav";
        return Commands{"close", "open " + f, "play " + f};
    };
    const Commands idle = {"close", "open sfx/turn.wav"};
    const Commands match = {"close", "open sfx/match.wav", "play sfx/match.wav"};
    const Commands nomatch = {"close", "open sfx/nomatch.wav", "play sfx/nomatch.wav"};
    const Case cases[] = {
        // After the first status tick every link waits for its completion.
        {"first card, result sounds", true, true, CardSound::Present, 0, cat({turn_rewound, card0, {"close"}})},
        {"first card, no result sounds", true, false, CardSound::Present, 0, cat({turn_rewound, card0, idle, idle})},
        {"pair, result sounds", true, true, CardSound::Present, 1,
         cat({turn_reopened, second_card(1), match, idle})},
        {"no pair, result sounds", true, true, CardSound::Present, 2,
         cat({turn_reopened, second_card(2), nomatch, idle})},
        {"pair, no result sounds", true, false, CardSound::Present, 1, cat({turn_rewound, second_card(1), idle})},
        // Fallback B: no sound named.
        {"empty, first card, result sounds", true, true, CardSound::Empty, 0, cat({turn_rewound, idle, idle})},
        {"empty, pair, result sounds", true, true, CardSound::Empty, 1, cat({turn_rewound, match, idle})},
        {"empty, no pair, no result sounds", true, false, CardSound::Empty, 2, cat({turn_rewound, idle})},
        {"reported missing at load, pair", true, true, CardSound::MissingAtLoad, 1, cat({turn_rewound, match, idle})},
        // Fallback A: the file went away, or the device cannot play it.
        {"vanished, first card, no result sounds", true, false, CardSound::Vanished, 0,
         cat({turn_rewound, idle, idle})},
        {"vanished, no pair, result sounds", true, true, CardSound::Vanished, 2, cat({turn_rewound, nomatch, idle})},
        {"vanished, pair, no result sounds", true, false, CardSound::Vanished, 1, cat({turn_rewound, idle})},
        {"undecodable, first card, no result sounds", true, false, CardSound::Undecodable, 0,
         cat({turn_rewound, card0, idle})},
        {"undecodable, pair, result sounds", true, true, CardSound::Undecodable, 1,
         cat({turn_rewound, second_card(1), match, idle})},
        // Before the first status tick nothing waits and no result sound follows.
        {"no tick, first card", false, true, CardSound::Present, 0, cat({turn_rewound, card0})},
        {"no tick, pair", false, true, CardSound::Present, 1, cat({{"play card/s0.wav"}, second_card(1)})},
        {"no tick, no pair, no result sounds", false, false, CardSound::Present, 2,
         cat({{"play card/s0.wav"}, second_card(2)})},
        {"no tick, empty, pair: the result sound, not waited for", false, true, CardSound::Empty, 1,
         cat({{"prev", "play sfx/turn.wav"}, match})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayOptions o;
        o.cards_x = 3;
        o.cards_y = 2;
        o.players = 2;
        o.result_sounds = c.result_sounds;
        o.card_sound = c.sound;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        if (c.sound == CardSound::MissingAtLoad) {
            ASSERT_FALSE(platform().message_boxes.empty());
            EXPECT_EQ(platform().message_boxes[0].title, "Error in application (#203)");
        } else {
            EXPECT_TRUE(platform().message_boxes.empty());
        }
        if (c.waiting) wait_for_status_tick();
        const int16_t first = position_of(0);
        if (c.second != 0) {
            click_card(first);
            if (c.waiting) {
                ASSERT_TRUE(run_until_free());
            }
            ASSERT_EQ(game().memProcessing, False);
            ASSERT_EQ(game().memCardStatus, 0);
        }
        const size_t commands = command_mark();
        const size_t trace = trace_mark();
        const int16_t clicked = c.second == 0 ? first : position_of(c.second);
        ASSERT_TRUE(click_card(clicked));
        if (c.waiting) {
            EXPECT_EQ(game().memProcessing, True) << "the chain waits for the device";
            ASSERT_TRUE(run_until_free());
        }
        EXPECT_EQ(game().memProcessing, False);
        EXPECT_EQ(commands_since(commands), c.commands);

        const std::string wave = card_sound_file(c.second == 0 ? 0 : c.second);
        const std::string sound_line = "--> memPlayCardSound: '" + wave + "', (" + path("card") + wave + ")";
        const bool has_file = c.sound == CardSound::Present || c.sound == CardSound::Undecodable;
        EXPECT_EQ(count_trace(sound_line, trace), has_file ? 1 : 0);
        if (c.second == 0) {
            EXPECT_EQ(game().memCardStatus, 0);
            EXPECT_EQ(game().memCurrentPlayer, 0);
        } else {
            // Settled once, and only once.
            EXPECT_EQ(count_trace("--> memCheckCardStatus: Match!", trace), c.second == 1 ? 1 : 0);
            EXPECT_EQ(count_trace("--> memCheckCardStatus: Ingen match...", trace), c.second == 2 ? 1 : 0);
            EXPECT_TRUE(settled());
            EXPECT_EQ(game().memCurrentPlayer, c.second == 1 ? 0 : 1);
            check_invariants();
            // Late completions of sounds the try no longer waits for change nothing.
            const size_t later = trace_mark();
            advance(2000);
            EXPECT_EQ(count_trace("=> memCheckCardStatus <=", later), 0);
        }
    }
}

TEST_F(SoundChains, FailedCommandEndsItsLinkAtTheNextStatusTick) {
    struct Case {
        const char* name;
        std::function<bool(const std::string&, const std::string&)> fail;
        bool undecodable_match;
    };
    const Case cases[] = {
        {"turn sound does not play", [](const std::string& c, const std::string& f) {
             return c == "play" && f.ends_with("turn.wav");
         }, false},
        {"match sound cannot be opened", nullptr, true},
        {"match sound does not play", [](const std::string& c, const std::string& f) {
             return c == "play" && f.ends_with("match.wav");
         }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayOptions o;
        o.undecodable_match_sound = c.undecodable_match;
        // Long sounds, so that a link ended by a tick is told from one ended by its sound.
        o.turn_ms = 2000;
        o.card_ms = 100;
        o.result_ms = 2000;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        device().fail_when = c.fail;
        auto [a, b] = pair_positions(0);
        const uint64_t t0 = platform().now_ms();
        ASSERT_TRUE(try_cards(a, b));
        // Two turn sounds and one result sound would take 6 s; a failed one ends within a tick.
        const uint64_t took = platform().now_ms() - t0 - 500;  // less the pause after a pair
        EXPECT_LT(took, 4000u + 2 * 100 + 300);
        EXPECT_GE(took, 2000u + 2 * 100) << "the links that did not fail were waited for";
        EXPECT_EQ(game().memTurnedCards, 2);
    }
}

TEST_F(SoundChains, CompletionEventsWithoutATryChangeNothing) {
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    int16_t code = 1;
    const size_t mark = command_mark();
    // Before the first card (the kind is still the turn sound's from the start).
    EXPECT_EQ(game().memSoundKind, 0);
    game().mmc_Sound_Done(code);
    EXPECT_EQ(game().memProcessing, False);
    EXPECT_EQ(game().memCardStatus, -1);
    EXPECT_TRUE(commands_since(mark).empty());

    // After the end.
    for (int m = 0; m < 2; ++m) {
        auto [a, b] = pair_positions(m);
        ASSERT_TRUE(try_cards(a, b));
    }
    ASSERT_EQ(game().memGameOver, True);
    const size_t end = command_mark();
    const size_t trace = trace_mark();
    for (int16_t kind : {-1, 0, 1, 5, 6}) {
        game().memSoundKind = kind;
        game().mmc_Sound_Done(code);
    }
    EXPECT_TRUE(commands_since(end).empty());
    EXPECT_EQ(count_trace("=> memCheckCardStatus <=", trace), 0);
}

TEST_F(SoundChains, TurnSoundThatVanishedDoesNotStallTheTry) {
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    std::filesystem::remove(dir / "sfx" / "turn.wav");
    auto [a, b] = pair_positions(0);
    const size_t mark = command_mark();
    ASSERT_TRUE(try_cards(a, b));
    EXPECT_EQ(game().memTurnedCards, 2);
    EXPECT_TRUE(game().memTurnSoundFile.empty());
    for (const std::string& c : commands_since(mark)) EXPECT_NE(c, "play sfx/turn.wav");
}

}  // namespace
}  // namespace mem::test
