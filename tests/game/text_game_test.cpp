#include <bit>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using TextGame = TextGameTest;

// Card line n matches list line n. A try without a match turns both back and the same player plays on,
// uncounted; a match takes the card and hides or dims its text for good.
TEST_F(TextGame, TriesOfATextGame) {
    struct Case {
        const char* app;
        bool destroy, card_first;
        bool flies = false;  // a short match sound ends while the card flies away: the try is settled once
    };
    for (const Case c : {Case{"memory", true, true}, {"memory", false, false}, {"match", false, true},
                         {"match", true, false}, {"memory", true, true, true}, {"memory", false, false, true}}) {
        SCOPED_TRACE(std::string(c.app) + (c.destroy ? ", destroy, " : ", dim, ") +
                     (c.card_first ? "card first" : "text first") + (c.flies ? ", flies away" : ""));
        // Without the trace the memory game shows its cards face down.
        restart_text({.app = c.app, .cards_x = 3, .cards_y = 1, .players = 2, .debug = false,
                      .dissapear = c.flies ? 2 : 1, .tries_made = 9, .result_ms = c.flies ? 20 : 300},
                     {.destroy = c.destroy});
        ASSERT_EQ(start_text(), std::nullopt);
        wait_for_status_tick();
        const frm_MemoryGame& g = game();
        const int16_t card = position_of(0), taken = text_of(0), free = text_of(1);
        EXPECT_FALSE(g.lbl_Text.exists(static_cast<int16_t>(card_count()))) << "one label a card";
        game().memReady = False;
        click_text(free);
        EXPECT_EQ(g.memTextGame.TextChosen, False) << "no text is chosen before the window is ready";
        game().memReady = True;
        uint64_t t0 = platform().now_ms();
        ASSERT_TRUE(try_pair(0, 1, c.card_first));
        // Both halves' sounds last half a second at least, then the two stay in view for another half.
        EXPECT_GE(platform().now_ms() - t0, 1000u);
        t0 = platform().now_ms();
        ASSERT_TRUE(try_pair(0, 0, !c.card_first));
        EXPECT_GE(platform().now_ms() - t0, 1000u);
        advance(1000);
        EXPECT_TRUE(c.flies || !g.img_Card[card].visible()) << "a card that flew away is off the board";

        // A taken text cannot be chosen, even by a click that reaches the routine, and stays dim.
        click_card(position_of(2));
        ASSERT_TRUE(run_until_quiet());
        EXPECT_EQ(g.img_Card[position_of(2)].picture(), g.memCardHolder[2].Picture) << "the chosen card shows its face";
        EXPECT_FALSE(click_text(taken));
        int16_t index = taken;
        game().memTextClick(index);
        EXPECT_EQ(g.memTextGame.TextChosen, False);
        click_text(free);
        ASSERT_TRUE(run_until_settled());
        EXPECT_TRUE(c.destroy || g.lbl_Text[taken].fore_color() == kDimTextColour);
        EXPECT_EQ(std::tuple(g.lbl_Text[taken].enabled(), g.lbl_Text[free].enabled()), std::tuple(false, true));
        check_record();
    }
}

// The sounds of a try in both orders, with and without each sound. A card chosen while the text's chain plays
// cuts it short after its first sound and settles the try once; a text sound that ends while the card is turned
// leaves the try to the card's own sounds. A second choice of a half before the try is settled is ignored.
TEST_F(TextGame, SoundsOfATry) {
    struct Case {
        bool card_first, click_sound, text_sounds, result_sounds, match;
        int text_ms = 150;
        bool hurry = false;  // text first, the card chosen at once
        char intruder = 0;   // a second choice, 'c' a card or 't' a text, during the first half's sounds
        bool wait = false;   // or after them
    };
    // Every two of the first five settings meet in all four combinations (a half of all 32).
    std::vector<Case> cases;
    for (int bits = 0; bits < 16; ++bits) {
        const bool match = std::popcount(static_cast<unsigned>(bits)) % 2 != 0;
        const Case c = cases.emplace_back((bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, match);
        if (c.card_first || !c.text_sounds) continue;
        cases.push_back({false, c.click_sound, true, c.result_sounds, !match, 150, true});
        if (!c.click_sound) cases.push_back({false, false, true, c.result_sounds, match, 0, true});
    }
    for (const bool wait : {false, true}) {
        cases.push_back({true, true, true, true, true, 150, false, 'c', wait});
        cases.push_back({false, true, true, true, true, 150, false, 't', wait});
    }
    cases.push_back({true, true, true, true, true, 150, false, 't', false});
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - cases.data() << ", card first " << c.card_first
                                          << ", sounds " << c.click_sound << c.text_sounds << c.result_sounds);
        restart_text({.result_sounds = c.result_sounds},
                     {.click_sound = c.click_sound, .text_sounds = c.text_sounds, .text_ms = c.text_ms});
        ASSERT_EQ(start_text(), std::nullopt);
        // A text game without a click sound starts with a warning.
        for (const auto& box : platform().message_boxes)
            if (c.click_sound || box.title != "Error in application (#204)") ADD_FAILURE() << box.title;
        wait_for_status_tick();
        const int text_line = c.match ? 3 : 1;
        const size_t mark = command_mark();
        if (c.hurry) {
            click_text(text_of(text_line));
            click_card(position_of(3));
            ASSERT_TRUE(run_until_settled());
            record_text_try(position_of(3), 3, text_of(text_line), text_line);
        } else if (c.intruder != 0) {
            const int16_t card = position_of(3), text = text_of(text_line);
            c.card_first ? click_card(card) : click_text(text);
            ASSERT_TRUE(!c.wait || run_until_quiet());
            c.intruder == 'c' ? click_card(position_of(1)) : click_text(c.card_first ? text : text_of(1));
            // Nothing of the second choice shows.
            EXPECT_EQ(game().memDisplayCard[static_cast<size_t>(position_of(1))].Turned, False);
            EXPECT_EQ(game().lbl_Text[text_of(1)].fore_color(), kRestColour);
            EXPECT_EQ(game().memTextGame.TextChosen, to_flag(!c.card_first));
            ASSERT_TRUE(run_until_quiet());
            c.card_first ? click_text(text) : click_card(card);
            ASSERT_TRUE(run_until_settled());
            record_text_try(card, 3, text, text_line);
        } else {
            ASSERT_TRUE(try_pair(3, text_line, c.card_first));
        }
        const std::vector<std::string> card_half = {"sfx/turn.wav", "card/s3.wav"};
        std::vector<std::string> text_half;
        if (c.click_sound) text_half.push_back("sfx/click.wav");
        if (c.text_sounds) text_half.push_back("card/t" + std::to_string(text_line) + ".wav");
        if (c.hurry) text_half.resize(1);
        std::vector<std::string> expected = c.card_first ? card_half : text_half;
        const auto& second = c.card_first ? text_half : card_half;
        expected.insert(expected.end(), second.begin(), second.end());
        if (c.result_sounds) expected.push_back(c.match ? "sfx/match.wav" : "sfx/nomatch.wav");
        EXPECT_EQ(plays_since(mark), expected);
        const size_t after = command_mark();  // nothing more is played or settled; the board takes the next try
        advance(2000);
        EXPECT_TRUE(plays_since(after).empty());
        check_record();
        ASSERT_TRUE(try_pair(0, 0));
    }
}

// A try settled while no known player is at turn scores nobody, and reads no record past the players'.
TEST_F(TextGame, ATryForNoKnownPlayerScoresNobody) {
    ASSERT_EQ(start_text(), std::nullopt);
    wait_for_status_tick();
    game().memCurrentPlayer = static_cast<int16_t>(game().memPlayer.size());
    click_card(position_of(0));
    ASSERT_TRUE(run_until_quiet());
    click_text(text_of(0));
    ASSERT_TRUE(run_until_settled());
    for (const PlayerRecord& p : game().memPlayer) EXPECT_EQ(p.CardsMade, 0);
}

// A text whose sound file has gone is settled without it, and the chain goes on to the result.
TEST_F(TextGame, ATextWhoseSoundIsGoneIsSettledWithoutIt) {
    spoil = [](const std::filesystem::path& d) { std::filesystem::remove(d / "card" / "t1.wav"); };
    ASSERT_EQ(start_text(), std::nullopt);
    wait_for_status_tick();
    const size_t mark = command_mark();
    ASSERT_TRUE(try_pair(1, 1));
    EXPECT_EQ(plays_since(mark), (std::vector<std::string>{"sfx/turn.wav", "card/s1.wav", "sfx/click.wav", "sfx/match.wav"}));
    check_record();
}

}  // namespace
}  // namespace mem::test
