#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using Turning = PlayTest;

TEST_F(Turning, PairsAreCardLinesTwoMAndTwoMPlusOne) {
    struct Case {
        int a, b;
        bool pair;
    };
    for (const Case c : {Case{6, 7, true}, Case{7, 8, false}, Case{0, 1, true}, Case{1, 2, false}}) {
        SCOPED_TRACE(std::to_string(c.a) + " and " + std::to_string(c.b));
        PlayOptions o;
        o.cards_x = 6;
        o.cards_y = 2;
        o.players = 2;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        const size_t trace = trace_mark();
        const int16_t pa = position_of(c.a), pb = position_of(c.b);
        ASSERT_TRUE(try_cards(pa, pb));
        EXPECT_EQ(count_trace(c.pair ? "--> memCheckCardStatus: Match!" : "--> memCheckCardStatus: Ingen match...", trace), 1);
        EXPECT_EQ(game().memTurnedCards, c.pair ? 2 : 0);
        EXPECT_EQ(game().memCardsLeft, c.pair ? 10 : 12);
        EXPECT_EQ(game().memPlayer[0].CardsMade, c.pair ? 2 : 0);
        EXPECT_EQ(game().memCurrentPlayer, c.pair ? 0 : 1) << "a pair keeps the turn";
        if (c.pair) {
            EXPECT_EQ(game().lbl_PlayerScore[0].caption(), " 2 ");
        }
        // A pair leaves the board; cards without a pair lie face down again.
        for (int16_t p : {pa, pb}) {
            EXPECT_EQ(game().img_Card[p].visible(), !c.pair);
            if (!c.pair) {
                EXPECT_FALSE(card_face_up(p));
                EXPECT_TRUE(game().img_Card[p].enabled());
            }
        }
    }
}

TEST_F(Turning, PausesAfterATryHalfASecondForAPairASecondOtherwise) {
    for (bool pair : {true, false}) {
        SCOPED_TRACE(pair ? "pair" : "no pair");
        PlayOptions o;
        o.result_sounds = false;
        o.card_sound = CardSound::Empty;
        o.turn_ms = 100;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        click_card(position_of(0));
        ASSERT_TRUE(run_until_free());
        const uint64_t t0 = platform().now_ms();
        click_card(position_of(pair ? 1 : 2));
        // The turn sound, then the pause; the clock moves in steps of 10 ms.
        ASSERT_TRUE(run_until_free());
        const uint64_t took = platform().now_ms() - t0;
        EXPECT_GE(took, 100u + (pair ? 500 : 1000));
        EXPECT_LE(took, 100u + (pair ? 500 : 1000) + 20);
    }
}

TEST_F(Turning, ClicksThatAreIgnored) {
    struct Case {
        const char* name;
        // Brings the game to the moment of the click and gives the position to click.
        std::function<int16_t(PlayTest&)> before;
        bool caption = false;  // click the caption label instead of the picture
    };
    const Case cases[] = {
        {"a face-up card", [](PlayTest& t) {
             const int16_t p = t.position_of(0);
             t.click_card(p);
             t.run_until_free();
             return p;
         }},
        {"while the first card's sounds play", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             return t.position_of(2);
         }},
        {"before the window is active", [](PlayTest& t) {
             t.game().memReady = False;
             return t.position_of(0);
         }},
        {"the caption of a pair taken off the board", [](PlayTest& t) {
             auto [a, b] = t.pair_positions(0);
             t.try_cards(a, b);
             return a;
         }, true},
        {"after the end", [](PlayTest& t) {
             t.try_cards(t.position_of(0), t.position_of(1));
             t.try_cards(t.position_of(2), t.position_of(3));
             t.try_cards(t.position_of(4), t.position_of(5));
             return t.position_of(0);
         }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayOptions o;
        o.cards_x = 3;
        o.cards_y = 2;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        const int16_t position = c.before(*this);
        const int16_t status = game().memCardStatus;
        const int16_t turned = game().memTurnedCards;
        const size_t commands = command_mark();
        const size_t trace = trace_mark();
        if (c.caption) {
            game().lbl_Card_Click(position);
        } else {
            game().img_Card_Click(position);
        }
        EXPECT_EQ(count_trace("=> memCardClick(" + std::to_string(position) + ") <=", trace), 1);
        EXPECT_EQ(trace_since(trace).size(), 1u) << "nothing beyond the entry line";
        EXPECT_TRUE(commands_since(commands).empty());
        EXPECT_EQ(game().memCardStatus, status);
        run_until_free();
        EXPECT_EQ(game().memTurnedCards, turned);
        check_invariants();
    }
}

TEST_F(Turning, DoubleClickTurnsTheCardOnce) {
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    const int16_t p = position_of(0);
    const size_t trace = trace_mark();
    ASSERT_TRUE(click_card(p));
    game().img_Card_DblClick(p);
    ASSERT_TRUE(run_until_free());
    EXPECT_EQ(game().memCardStatus, 0);
    EXPECT_EQ(count_trace("=> memCardClick(" + std::to_string(p) + ") <=", trace), 1);
    EXPECT_TRUE(card_face_up(p));
}

TEST_F(Turning, PairJoinedByTheLineStaysButCannotBeTurnedAgain) {
    options.match_line = true;
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    auto [a, b] = pair_positions(0);
    ASSERT_TRUE(try_cards(a, b));
    EXPECT_TRUE(game().img_Card[a].visible());
    for (int16_t p : {a, b}) {
        game().lbl_Card_Click(p);
        EXPECT_EQ(game().memCardStatus, -1);
    }
    EXPECT_EQ(game().memTurnedCards, 2);
    check_invariants();
}

TEST_F(Turning, MatchGameShowsFacesAndPicksWithoutTurning) {
    options.app = "match";
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    auto [a, b] = pair_positions(0);
    const PictureRef face = game().img_Card[a].picture();
    ASSERT_TRUE(face);
    ASSERT_TRUE(try_cards(a, position_of(2)));
    EXPECT_EQ(game().img_Card[a].picture(), face) << "a match game never shows the back";
    ASSERT_TRUE(try_cards(a, b));
    EXPECT_EQ(game().memTurnedCards, 2);
}

}  // namespace
}  // namespace mem::test
