// Players: the turn, dropping out at a limit, the clock, and the end of the game (also of random games).
#include "soak/random_games.h"
#include "support/play_fixture.h"

namespace mem::test {
namespace {

using Players = TextGameTest;

TEST_F(Players, TurnPassesToTheNextPlayerWhoIsIn) {
    restart({.cards_x = 3, .players = 3});
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    game().memPlayer[1].Out = True;
    seen.out[1] = true;
    game().lbl_PlayerName[1].set_fore_color(123);
    const int16_t a = position_of(0), b = position_of(2), c = position_of(4);
    click_card(a);
    ASSERT_TRUE(run_until_free());
    click_card(b);
    // A click that arrives while the turn passes (and skips a player who is out) is not lost.
    platform().schedule(platform().now_ms() + 100 + 200 + 300 + 1, [this, c] { click_card(c); }, this);
    ASSERT_TRUE(run_until_free());
    EXPECT_TRUE(settled());
    record_try(a, 0, b, 2);
    EXPECT_TRUE(game().img_Card[c].enabled()) << "the click during the turn change turned a third card";
    EXPECT_EQ(game().memDisplayCard[static_cast<size_t>(c)].Turned, False);
    EXPECT_EQ(game().lbl_PlayerName[1].fore_color(), 123) << "the labels of a player who is out stay";
    ASSERT_TRUE(try_cards(position_of(0), position_of(2)));  // player 2's try without a pair: round to player 0
}

// A player who reaches a limit while others play on drops out: dimmed and struck out by red lines 3 pixels apart
// across the player's picture (30 pixels high); alone, the labels stay as they are.
TEST_F(Players, DroppingOutAtALimit) {
    for (const int players : {1, 2}) {
        restart({.cards_x = 3, .players = players, .tries_left = 1});
        ASSERT_EQ(start(), std::nullopt);
        game().lbl_PlayerName[0].set_fore_color(42);
        ASSERT_TRUE(try_cards(position_of(0), position_of(2)));  // no pair
        EXPECT_EQ(std::tuple(game().lbl_PlayerName[0].fore_color(), game().lbl_PlayerScore[0].fore_color()),
                  players == 2 ? std::tuple(kDimColour, kDimColour) : std::tuple(Colour{42}, kScoreColour));
        const auto& lines = game().pic_Background.lines();
        const Image& strip = game().img_Player[0];
        ASSERT_EQ(lines.size(), players == 2 ? 10u : 0u);
        for (size_t i = 0; i < lines.size(); ++i) {
            const int y = strip.top() + 1 + 3 * static_cast<int>(i);
            EXPECT_EQ(std::tuple(lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2, lines[i].colour),
                      std::tuple(strip.left(), y, strip.left() + 120, y, 255));
        }
    }
}

// Every limit at its edge, one player: in one step before it, out at it, and the game over with the bad end. Pairs
// and misses both count as tries; the clock counts whole seconds.
TEST_F(Players, EveryLimitAtItsEdge) {
    struct Case {
        const char* name;
        PlayOptions play;
        std::vector<bool> pairs;  // the tries, a pair or a miss; none: the clock runs
        const char* group;
        const char *before, *at;  // the group's caption one step before the limit and at it
    };
    const Case cases[] = {
        {"timer 3", {.timer = 3}, {}, "timer", "2", "3"},
        {"countdown 3", {.countdown = 3}, {}, "countdown", "1", "0"},
        {"tries made 2, pair first", {.tries_made = 2}, {true, false}, "tries made", "1", "2"},
        {"tries made 2, miss first", {.tries_made = 2}, {false, true}, "tries made", "1", "2"},
        {"tries left 2, pair first", {.tries_left = 2}, {true, false}, "tries left", "1", "0"},
        {"tries left 2, miss first", {.tries_left = 2}, {false, true}, "tries left", "1", "0"},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        c.play.cards_x = 3;
        c.play.cards_y = 2;
        restart(c.play);
        ASSERT_EQ(start(), std::nullopt);
        const auto caption = [&] { return number(game().lbl_Control[panel_slots.at(c.group)]); };
        const auto step = [&](size_t i) {
            if (c.pairs.empty()) return advance(i == 0 ? 2500 : 1000);
            ASSERT_TRUE(c.pairs[i] ? try_cards(position_of(2 * i), position_of(2 * i + 1))
                                   : try_cards(position_of(4), position_of(2)));
        };
        step(0);
        EXPECT_EQ(std::tuple(caption(), game().memGameOver), std::tuple(c.before, False));
        step(1);
        EXPECT_EQ(std::tuple(caption(), game().memGameOver, end_picture()), std::tuple(c.at, True, "bad.bmp"));
    }
}

// Only four players have labels: a fifth plays by the rules and takes a pair without one.
TEST_F(Players, AFifthPlayerPlaysWithoutALabel) {
    restart({.cards_x = 3, .players = 5, .extra_main = "[players]\nnamefont=Serif\nnamefontsize=21\nscorefont=Mono\n"});
    ASSERT_EQ(start(), std::nullopt);
    ASSERT_TRUE(game().lbl_PlayerName[3].font() && game().lbl_PlayerScore[3].font());
    EXPECT_EQ(std::tuple(game().lbl_PlayerName[3].font()->name, game().lbl_PlayerName[3].font()->size,
                         game().lbl_PlayerScore[3].font()->name),
              std::tuple("Serif", 21.0f, "Mono"));
    for (int miss = 0; miss < 4; ++miss) ASSERT_TRUE(try_cards(position_of(0), position_of(2)));
    ASSERT_TRUE(try_cards(position_of(0), position_of(1)));
    EXPECT_EQ(seen.made[4], 2);
}

// A player out by the clock plays on until a try without a pair; time counts only for the player whose turn it
// is and stops at the end, where only the end picture, Escape and the quit picture act. An end picture that cannot
// be shown is reported once (the last pair also reaches the limit: the end is made twice); the end goes on.
TEST_F(Players, ClockAndTheEnd) {
    // The end pictures, and how the program is ended: the end picture, Escape, the quit picture.
    const std::pair<std::string, std::function<void(HeadlessPlatform&)>> cases[] = {
        {"ok", [](HeadlessPlatform& p) { p.click("pic_End"); }},
        {"missing", [](HeadlessPlatform& p) { p.press_key(27); }},
        {"undecodable", [](HeadlessPlatform& p) { p.click("img_Quit"); }}};
    for (const auto& [pictures, end] : cases) {
        SCOPED_TRACE(pictures);
        restart({.players = 2, .timer = 10, .tries_left = 2, .end_pictures = pictures});
        ASSERT_EQ(start(), std::nullopt);
        advance(12'000);
        EXPECT_EQ(std::tuple(game().memPlayer[0].Out, game().memGameOver, game().lbl_PlayerName[0].fore_color()),
                  std::tuple(True, False, kDimColour));
        EXPECT_EQ(std::tuple(game().memPlayer[0].Time, game().memPlayer[1].Time), std::tuple(12, 0));
        ASSERT_TRUE(try_cards(position_of(0), position_of(2)));  // no pair
        // Player 1 clears the board, reaching the tries limit with the last pair: the good end.
        ASSERT_TRUE(try_cards(position_of(0), position_of(1)));
        ASSERT_TRUE(try_cards(position_of(2), position_of(3)));
        ASSERT_EQ(game().memGameOver, True);
        for (int16_t p = 0; p < card_count(); ++p) EXPECT_FALSE(game().img_Card[p].enabled());
        const bool ok = pictures == "ok";
        EXPECT_EQ(game().pic_End.visible(), ok);
        ASSERT_EQ(platform().message_boxes.size(), ok ? 0u : 1u);
        if (ok) {
            ASSERT_EQ(end_picture(), "good.bmp");
            // 200 x 100 in the middle of the 800 x 600 window.
            EXPECT_EQ(std::tuple(game().pic_End.left(), game().pic_End.top()), std::tuple(300, 250));
        } else {
            EXPECT_EQ(platform().message_boxes[0].title, "Error in application (#106)");
            EXPECT_EQ(platform().message_boxes[0].text,
                      "End picture file ''" + path("gfx") + "good.bmp'' does not exist.\r\rContinue?");
        }
        const float time = game().memPlayer[1].Time;
        advance(2000);
        EXPECT_EQ(game().memPlayer[1].Time, time);
        const size_t mark = command_mark();
        EXPECT_EQ(exit_status([&] { end(platform()); }), kExitNormal);
        EXPECT_EQ(commands_since(mark).empty(), ok) << "the end picture ends without closing";
    }
}

// A countdown that runs out while a card is being turned ends the game there: none of the turn's sounds follow.
TEST_F(Players, TheEndDuringATurnPlaysNoneOfItsSounds) {
    restart({.cards_y = 1, .countdown = 2});
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    platform().during_yield = [this] {
        platform().during_yield = nullptr;
        advance(3000);
    };
    const size_t mark = command_mark();
    click_card(position_of(0));
    advance(5000);
    EXPECT_EQ(end_picture(), "bad.bmp");
    EXPECT_EQ(plays_since(mark), std::vector<std::string>{"sfx/bad.wav"});
}

// Stray indices are ignored, never read past the records: a try's card outside the board plays no sound, a clock
// tick for no player counts nothing.
TEST_F(Players, StrayIndicesAreIgnored) {
    restart({.timer = 99});
    ASSERT_EQ(start(), std::nullopt);
    int16_t past = static_cast<int16_t>(game().memDisplayCard.size());
    // A place the deal did not fill.
    game().img_Card.create(past), game().lbl_Card.create(past), game().memCardClick(past);
    game().memCardStatus = 0;
    game().memCardsTurned[0] = static_cast<int16_t>(game().memDisplayCard.size());
    const size_t mark = command_mark();
    game().memPlayCardSound();
    EXPECT_EQ(plays_since(mark), std::vector<std::string>{});
    game().memCurrentPlayer = 9;
    advance(2000);
    EXPECT_EQ(game().memPlayer[0].Time, 0);
    // The preview leaves out a face past the card file.
    game().memDisplayCard[0].Reference = static_cast<float>(game().memCardHolder.size());
    game().memStartPreview();
}

// A few hundred of the soak's randomized games (every kind, timed text games among them): no try stalls, every
// game ends, the counters and the scores agree after every settled try and after the end, and the end is good
// exactly when it should be.
TEST(RandomPlay, NoTryStallsAndEveryGameEndsAsItShould) {
    const RandomGamesReport report = play_random_games(1, 200);
    EXPECT_GT(report.text_games, 40);
    EXPECT_TRUE(report.faults.empty()) << describe(report);
}

}  // namespace
}  // namespace mem::test
