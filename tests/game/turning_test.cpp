#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using Turning = PlayTest;

// Card lines 2m and 2m+1 are a pair: a pair is taken, a try without one turns
// the cards back (a match game keeps showing faces); either pauses before the
// next try. (The turn and the scores: the sound-chain tests and the soak.)
TEST_F(Turning, PairsAreCardLinesTwoMAndTwoMPlusOne) {
    struct Case {
        const char* app;
        int a, b;
        bool pair;
    };
    for (const Case c : {Case{"memory", 6, 7, true}, {"memory", 7, 8, false}, {"match", 2, 5, false}}) {
        SCOPED_TRACE(std::string(c.app) + " " + std::to_string(c.a) + " and " + std::to_string(c.b));
        restart({.app = c.app, .cards_x = 6, .players = 2});
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        const int16_t pa = position_of(c.a), pb = position_of(c.b);
        click_card(pa);
        ASSERT_TRUE(run_until_free());
        const uint64_t t0 = platform().now_ms();
        click_card(pb);
        ASSERT_TRUE(run_until_free());
        // The sounds (100 + 200 + 300 ms), then a pause of half a second after a pair, a second otherwise.
        const uint64_t took = platform().now_ms() - t0, expected = 600u + (c.pair ? 500 : 1000);
        EXPECT_GE(took, expected);
        EXPECT_LE(took, expected + 20);
        for (int16_t p : {pa, pb}) {
            EXPECT_EQ(game().img_Card[p].visible(), !c.pair);
            EXPECT_EQ(game().img_Card[p].enabled(), !c.pair);
            const PictureRef& face = game().memCardHolder[static_cast<size_t>(p == pa ? c.a : c.b)].Picture;
            if (!c.pair) {
                EXPECT_EQ(game().img_Card[p].picture(), c.app == std::string("match") ? face : game().memCardBack);
            }
        }
    }
}

TEST_F(Turning, ClicksThatAreIgnored) {
    enum class Click { Picture, Caption, Double };
    struct Case {
        const char* name;
        // Brings the game to the moment of the click and gives the position to click.
        std::function<int16_t(PlayTest&)> before;
        Click click = Click::Picture;
        bool match_line = false;
    };
    const auto take_pair = [](PlayTest& t) {
        t.try_cards(t.position_of(0), t.position_of(1));
        return t.position_of(0);
    };
    const Case cases[] = {
        {"a face-up card", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             t.run_until_free();
             return t.position_of(0);
         }},
        {"the second click of a double click", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             return t.position_of(0);
         }, Click::Double},
        // Clicks stay ignored while a try is in hand and settled.
        {"while the first card's sounds play", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             return t.position_of(2);
         }},
        {"before the window is active", [](PlayTest& t) {
             t.game().memReady = False;
             return t.position_of(0);
         }},
        // A taken pair's caption, or a pair joined by the line, could otherwise be scored again.
        {"the caption of a pair taken off the board", take_pair, Click::Caption},
        {"the caption of a pair joined by the line", take_pair, Click::Caption, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart({.cards_x = 3, .match_line = c.match_line});
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        int16_t position = c.before(*this);
        const int16_t status = game().memCardStatus, turned = game().memTurnedCards;
        const size_t commands = command_mark(), trace = trace_mark();
        if (c.click == Click::Double) game().img_Card_DblClick(position);
        if (c.click == Click::Caption) game().lbl_Card_Click(position);
        if (c.click == Click::Picture) game().img_Card_Click(position);
        // A click reaches the routine (which writes its entry line) and does nothing more.
        const std::string entry = "=> memCardClick(" + std::to_string(position) + ") <=";
        EXPECT_EQ(trace_since(trace), std::vector<std::string>(c.click == Click::Double ? 0 : 1, entry));
        EXPECT_TRUE(commands_since(commands).empty());
        EXPECT_EQ(game().memCardStatus, status);
        run_until_free();
        EXPECT_EQ(game().memTurnedCards, turned);
        check_invariants();
    }
}

}  // namespace
}  // namespace mem::test
