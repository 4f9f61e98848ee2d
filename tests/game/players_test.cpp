#include <gtest/gtest.h>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

using Players = PlayTest;

constexpr Colour kName = 16777215, kScore = 65535, kDim = 8421504;

// A try of two cards that are no pair: card lines 2m and 2m+2... whichever lie face down.
std::pair<int16_t, int16_t> no_pair(PlayTest& t) {
    const auto& cards = t.game().memDisplayCard;
    for (int16_t i = 0; i < t.card_count(); ++i)
        for (int16_t j = static_cast<int16_t>(i + 1); j < t.card_count(); ++j) {
            const int ri = memNearest16(cards[static_cast<size_t>(i)].Reference) / 2;
            const int rj = memNearest16(cards[static_cast<size_t>(j)].Reference) / 2;
            if (ri != rj && t.game().img_Card[i].visible() && t.game().img_Card[j].visible()) return {i, j};
        }
    ADD_FAILURE() << "no two cards without a pair are left";
    return {0, 1};
}

TEST_F(Players, TurnPassesToTheNextPlayerWhoIsIn) {
    options.players = 3;
    options.cards_x = 3;
    options.cards_y = 2;
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    game().memPlayer[1].Out = True;
    game().lbl_PlayerName[1].set_fore_color(123);
    auto [a, b] = no_pair(*this);
    click_card(a);
    ASSERT_TRUE(run_until_free());
    click_card(b);
    // A click that arrives while the turn passes (the turn change lets the
    // window handle its events when it skips a player who is out).
    const auto [c, d] = pair_positions(memNearest16(game().memDisplayCard[static_cast<size_t>(a)].Reference) / 2 == 0 ? 1 : 0);
    (void)d;
    platform().schedule(platform().now_ms() + 100 + 200 + 300 + 1, [this, c] { click_card(c); }, this);
    ASSERT_TRUE(run_until_free());
    EXPECT_TRUE(settled());
    EXPECT_TRUE(game().img_Card[c].enabled()) << "the click during the turn change was ignored";
    EXPECT_EQ(game().memDisplayCard[static_cast<size_t>(c)].Turned, False);
    EXPECT_EQ(game().memCurrentPlayer, 2);
    EXPECT_EQ(game().memPlayer[0].TriesMade, 0) << "the tries-made group is not active";
    EXPECT_EQ(game().lbl_PlayerName[2].fore_color(), kName);
    EXPECT_EQ(game().lbl_PlayerScore[2].fore_color(), kScore);
    EXPECT_EQ(game().lbl_PlayerName[0].fore_color(), kDim);
    EXPECT_EQ(game().lbl_PlayerName[1].fore_color(), 123) << "the labels of a player who is out stay";
    for (int16_t p : {a, b}) EXPECT_FALSE(card_face_up(p));

    // Player 2's try without a pair goes round to player 0.
    auto [e, f] = no_pair(*this);
    ASSERT_TRUE(try_cards(e, f));
    EXPECT_EQ(game().memCurrentPlayer, 0);
}

TEST_F(Players, OnePlayerKeepsTheTurnAndTheColours) {
    options.tries_made = 99;
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    game().lbl_PlayerName[0].set_fore_color(42);
    auto [a, b] = no_pair(*this);
    ASSERT_TRUE(try_cards(a, b));
    EXPECT_EQ(game().memCurrentPlayer, 0);
    EXPECT_EQ(game().lbl_PlayerName[0].fore_color(), 42);
    EXPECT_EQ(game().memPlayer[0].TriesMade, 1) << "the try was counted";
    EXPECT_EQ(game().memGameOver, False);
}

struct EndSeen {
    bool over;
    bool good;
};

EndSeen end_of(PlayTest& t) {
    const frm_MemoryGame& g = t.game();
    if (g.memGameOver == False) return {false, false};
    EXPECT_TRUE(g.pic_End.visible());
    const PictureRef& picture = g.pic_End.picture();
    if (!picture) return {true, false};
    const bool good = picture->path().ends_with("good.bmp");
    EXPECT_EQ(g.pic_End.left(), (g.inner_width() - picture->width()) / 2);
    EXPECT_EQ(g.pic_End.top(), (g.inner_height() - picture->height()) / 2);
    bool sound = false;
    for (const DeviceCommand& c : t.platform().device_commands)
        if (c.command == "play" && c.file.ends_with(good ? "sfx/good.wav" : "sfx/bad.wav")) sound = true;
    EXPECT_TRUE(sound) << "the end sound of the same kind plays";
    return {true, good};
}

TEST_F(Players, LimitsPutPlayersOutAndEndTheGame) {
    struct Case {
        const char* name;
        PlayOptions options;
        // Plays until just before the limit, then to it.
        std::function<void(PlayTest&)> before, reach;
        bool good;
        int cards_left;
    };
    auto tries = [](int n) {
        return [n](PlayTest& t) {
            for (int i = 0; i < n; ++i) {
                auto [a, b] = no_pair(t);
                ASSERT_TRUE(t.try_cards(a, b));
            }
        };
    };
    auto take_pair = [](int m) {
        return [m](PlayTest& t) {
            auto [a, b] = t.pair_positions(m);
            ASSERT_TRUE(t.try_cards(a, b));
        };
    };
    auto wait = [](uint64_t ms) { return [ms](PlayTest& t) { t.advance(ms); }; };
    PlayOptions six;
    six.cards_x = 3;
    six.cards_y = 2;
    auto with = [six](auto change) {
        PlayOptions o = six;
        change(o);
        return o;
    };
    const Case cases[] = {
        {"timer 30", with([](PlayOptions& o) { o.timer = 30; }), wait(29'000), wait(1000), false, 6},
        {"countdown 3", with([](PlayOptions& o) { o.countdown = 3; }), wait(2000), wait(1000), false, 6},
        {"tries made 0: out at the first test", with([](PlayOptions& o) { o.tries_made = 0; }), wait(0), tries(1),
         false, 6},
        {"tries left 5, fifth try without a pair", with([](PlayOptions& o) { o.tries_left = 5; }), tries(4), tries(1),
         false, 6},
        {"tries left 5, fifth try a pair", with([](PlayOptions& o) { o.tries_left = 5; }), tries(4), take_pair(0),
         false, 4},
        {"tries left 2, the last pair with the second try",
         [] {
             PlayOptions o;
             o.tries_left = 2;
             return o;
         }(),
         take_pair(0), take_pair(1), true, 0},
        {"tries made 2, the last pair with the second try",
         [] {
             PlayOptions o;
             o.tries_made = 2;
             return o;
         }(),
         take_pair(0), take_pair(1), true, 0},
        {"two players, both out by tries left", with([](PlayOptions& o) {
             o.players = 2;
             o.tries_left = 1;
         }),
         tries(1), tries(1), false, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart(c.options);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        c.before(*this);
        EXPECT_EQ(game().memGameOver, False);
        c.reach(*this);
        run_until_free();
        const EndSeen end = end_of(*this);
        EXPECT_TRUE(end.over);
        EXPECT_EQ(end.good, c.good);
        EXPECT_EQ(game().memCardsLeft, c.cards_left);
        check_invariants();
        if (c.options.timer) {
            EXPECT_EQ(game().memPlayer[0].Time, *c.options.timer);
        }
    }
}

TEST_F(Players, OnlyTheCurrentPlayerSpendsTime) {
    options.players = 2;
    options.timer = 10;
    ASSERT_EQ(start(), std::nullopt);
    advance(10'000);
    // Player 0 is out at 10 s but keeps the turn until a try without a pair.
    EXPECT_EQ(game().memPlayer[0].Out, True);
    EXPECT_EQ(game().memGameOver, False);
    EXPECT_EQ(game().lbl_PlayerName[0].fore_color(), kDim);
    EXPECT_EQ(game().memCurrentPlayer, 0);
    advance(2000);
    EXPECT_EQ(game().memPlayer[0].Time, 12) << "time counts on past the limit";
    EXPECT_EQ(game().memPlayer[1].Time, 0);
    auto [a, b] = no_pair(*this);
    ASSERT_TRUE(try_cards(a, b));
    EXPECT_EQ(game().memCurrentPlayer, 1);
    EXPECT_EQ(game().lbl_PlayerName[1].fore_color(), kName);
    // Player 1 clears the board before their own limit: the good end.
    for (int m = 0; m < 2; ++m) {
        auto [c, d] = pair_positions(m);
        ASSERT_TRUE(try_cards(c, d));
    }
    EXPECT_LT(game().memPlayer[1].Time, 10);
    const EndSeen end = end_of(*this);
    EXPECT_TRUE(end.over);
    EXPECT_TRUE(end.good);
    const float time = game().memPlayer[1].Time;
    advance(3000);
    EXPECT_EQ(game().memPlayer[1].Time, time) << "the clock stops at the end";
}

TEST_F(Players, AfterTheEndOnlyTheEndPictureEscapeAndQuitAct) {
    enum class How { EndPicture, Escape, Quit };
    for (How how : {How::EndPicture, How::Escape, How::Quit}) {
        SCOPED_TRACE(static_cast<int>(how));
        restart(PlayOptions{});
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        for (int m = 0; m < 2; ++m) {
            auto [a, b] = pair_positions(m);
            ASSERT_TRUE(try_cards(a, b));
        }
        ASSERT_EQ(game().memGameOver, True);
        for (int16_t p = 0; p < card_count(); ++p) EXPECT_FALSE(game().img_Card[p].enabled());
        const size_t mark = command_mark();
        try {
            switch (how) {
                case How::EndPicture:
                    platform().click("pic_End");
                    break;
                case How::Escape:
                    platform().press_key(27);
                    break;
                case How::Quit:
                    game().img_Quit_Click();
                    break;
            }
            ADD_FAILURE() << "the program did not end";
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(ended.status, kExitNormal);
        }
        // The end picture ends at once, without closing the device first.
        EXPECT_EQ(commands_since(mark).empty(), how == How::EndPicture);
    }
}

TEST_F(Players, EndPictureThatCannotBeShownIsReportedOnceAndTheEndGoesOn) {
    for (const char* kind : {"missing", "undecodable"}) {
        SCOPED_TRACE(kind);
        PlayOptions o;
        o.end_pictures = kind;
        // The last pair also reaches the limit: the end is made twice.
        o.tries_left = 2;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        for (int m = 0; m < 2; ++m) {
            auto [a, b] = pair_positions(m);
            ASSERT_TRUE(try_cards(a, b));
        }
        ASSERT_EQ(game().memGameOver, True);
        ASSERT_EQ(platform().message_boxes.size(), 1u);
        EXPECT_EQ(platform().message_boxes[0].title, "Error in application (#106)");
        EXPECT_EQ(platform().message_boxes[0].text,
                  "End picture file ''" + path("gfx") + "good.bmp'' does not exist.\r\rContinue?");
        EXPECT_FALSE(game().pic_End.visible());
        advance(2000);
        try {
            platform().press_key(27);
            ADD_FAILURE() << "Escape did not end the program";
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(ended.status, kExitNormal);
        }
    }
}

}  // namespace
}  // namespace mem::test
