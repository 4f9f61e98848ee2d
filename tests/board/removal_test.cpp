// Matched cards leaving the board, and the match line, in played games.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "board/match_line.h"
#include "board/removal_motion.h"
#include "support/play_fixture.h"

namespace mem::test {
namespace {

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

Bounds bounds_of(const Control& c) { return {c.left(), c.top(), c.width(), c.height()}; }

class Removal : public PlayTest {
protected:
    // Runs `look` at the first yield after every millisecond of the virtual
    // clock: once per frame inside the fly-away, where the clock moves only
    // by its sleeps.
    void watch(std::function<void()> look) {
        look_ = std::move(look);
        rewatch();
    }

    // Starts a match game (faces and captions up) with the given removal.
    void start_game(int dissapear, int columns = 2, int rows = 2, const std::string& extra_global = "") {
        PlayOptions o;
        o.app = "match";
        o.cards_x = columns;
        o.cards_y = rows;
        o.dissapear = dissapear;
        o.extra_global = extra_global;
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
    }

private:
    void rewatch() {
        platform().schedule(platform().now_ms() + 1, [this] {
            look_();
            rewatch();
        }, this);
    }
    std::function<void()> look_;
};

TEST_F(Removal, EachSettingInAPlayedPair) {
    struct Case {
        int dissapear;
        bool pictures_shown, captions_shown, on_board, animated;
    };
    const Case cases[] = {
        {0, true, true, true, false},   {4, true, true, true, false},  {-1, true, true, true, false},
        {1, false, true, true, false},  {2, true, true, false, true},  {3, false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("dissapear " + std::to_string(c.dissapear));
        start_game(c.dissapear);
        const auto [a, b] = pair_positions(0);
        const auto [other, _] = pair_positions(1);
        const Bounds card_a = bounds_of(game().img_Card[a]);
        const Bounds caption_a = bounds_of(game().lbl_Card[a]);

        bool wiping_seen = false;
        bool clicked = false;
        watch([&, other = other] {
            if (game().memWiping == False) return;
            wiping_seen = true;
            if (!clicked) {
                clicked = true;
                click_card(other);
            }
        });
        ASSERT_TRUE(try_cards(a, b));

        EXPECT_EQ(wiping_seen, c.animated);
        EXPECT_EQ(game().memWiping, False);
        // A click during the animation turned nothing.
        EXPECT_EQ(game().memDisplayCard[static_cast<size_t>(other)].Turned, False);
        EXPECT_TRUE(game().img_Card[other].enabled());
        EXPECT_EQ(game().memCardStatus, -1);
        // The pair is scored whatever it looks like.
        EXPECT_EQ(game().memPlayer[0].CardsMade, 2);
        EXPECT_EQ(game().memCardsLeft, 2);

        const frm_MemoryGame& g = game();
        for (int16_t p : {a, b}) {
            EXPECT_EQ(g.img_Card[p].visible(), c.pictures_shown);
            EXPECT_EQ(g.lbl_Card[p].visible(), c.captions_shown);
            const Image& card = g.img_Card[p];
            const bool outside = memWhollyOutside(card.left(), card.top(), card.width(), card.height(),
                                                  static_cast<int16_t>(g.pic_Background.inner_width()),
                                                  static_cast<int16_t>(g.pic_Background.inner_height()));
            EXPECT_EQ(outside, !c.on_board);
        }
        if (c.dissapear != 2 && c.dissapear != 3) {
            EXPECT_EQ(bounds_of(g.img_Card[a]), card_a);
            EXPECT_EQ(bounds_of(g.lbl_Card[a]), caption_a);
        }
        // The other pair can still be played.
        const auto [c1, c2] = pair_positions(1);
        ASSERT_TRUE(try_cards(c1, c2));
        EXPECT_EQ(game().memPlayer[0].CardsMade, 4);
    }
}

TEST_F(Removal, FlyAwayLeavesByTheNearerSideInFramesOf50Ms) {
    // A 4 x 4 board: position 0 lies in the left column and top row,
    // position 5 in the middle third across and down.
    start_game(2, 4, 4);
    frm_MemoryGame& g = game();
    const int16_t fw = static_cast<int16_t>(g.pic_Background.inner_width());
    const int16_t fh = static_cast<int16_t>(g.pic_Background.inner_height());
    const int16_t cards[2] = {0, 5};
    Bounds start[2], caption[2];
    for (int i = 0; i < 2; ++i) {
        start[i] = bounds_of(g.img_Card[cards[i]]);
        caption[i] = bounds_of(g.lbl_Card[cards[i]]);
    }
    const Bounds bystander = bounds_of(g.img_Card[1]);
    g.memCardsTurned = {cards[0], cards[1], 0};

    // Seen at the first yield of every frame after the first, just after
    // the first card's move of that frame.
    std::vector<std::array<Bounds, 2>> seen;
    bool in_front = false;
    watch([&] {
        if (g.memWiping == False) return;
        seen.push_back({bounds_of(g.img_Card[cards[0]]), bounds_of(g.img_Card[cards[1]])});
        in_front = g.controls().back() == &g.img_Card[cards[1]];
    });
    const uint64_t t0 = platform().now_ms();
    g.memWipeOutCards();
    const uint64_t took = platform().now_ms() - t0;

    EXPECT_EQ(g.memWiping, False);
    ASSERT_GT(took, 0u);
    ASSERT_EQ(took % 50, 0u) << "whole frames of 50 ms";
    const int frames = static_cast<int>(took / 50);
    ASSERT_EQ(static_cast<int>(seen.size()), frames - 1) << "the clock moves only by the frames' sleeps";
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(in_front) << "the flying pictures lie in front";

    int longest = 0;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("card " + std::to_string(cards[i]));
        const Bounds end = bounds_of(g.img_Card[cards[i]]);
        // The speed per frame: frames 2 and 3 saw the first card after 2 and 3
        // moves, the second after 1 and 2.
        const int vx = seen[1][i].left - seen[0][i].left, vy = seen[1][i].top - seen[0][i].top;
        ASSERT_NE(vx, 0);
        const int n = (end.left - start[i].left) / vx;
        EXPECT_EQ(start[i].left + n * vx, end.left);
        EXPECT_EQ(start[i].top + n * vy, end.top);
        EXPECT_EQ(seen[0][i].left, start[i].left + (i == 0 ? 2 : 1) * vx);
        // Done on the move that took it wholly off the board.
        EXPECT_TRUE(memWhollyOutside(end.left, end.top, end.width, end.height, fw, fh));
        EXPECT_FALSE(memWhollyOutside(end.left - vx, end.top - vy, end.width, end.height, fw, fh));
        longest = std::max(longest, n);
        // Position 0 lies in the left column and top row: out through the top-left corner.
        EXPECT_TRUE(i != 0 || (vx < 0 && vy < 0));
        EXPECT_EQ(end.width, start[i].width);
        EXPECT_TRUE(g.img_Card[cards[i]].visible()) << "left outside, not hidden";
        // The caption flew along at its offset from the picture.
        const Bounds label = bounds_of(g.lbl_Card[cards[i]]);
        EXPECT_EQ(label.left - end.left, caption[i].left - start[i].left);
        EXPECT_EQ(label.top - end.top, caption[i].top - start[i].top);
        EXPECT_TRUE(g.lbl_Card[cards[i]].visible());
    }
    EXPECT_EQ(longest, frames) << "the flight ends with the last card out";
    EXPECT_EQ(bounds_of(g.img_Card[1]), bystander);
}

TEST_F(Removal, FlyAwayInATextGameMovesTheChosenCardOnly) {
    start_game(2, 4, 4);
    frm_MemoryGame& g = game();
    g.memInterface.TextList.Active = True;
    g.memTextGame.CardIndex = 6;
    g.memCardsTurned = {1, 2, 0};
    const Bounds card = bounds_of(g.img_Card[6]);
    const Bounds caption = bounds_of(g.lbl_Card[6]);
    const Bounds others[2] = {bounds_of(g.img_Card[1]), bounds_of(g.img_Card[2])};
    g.memWipeOutCards();
    const Bounds end = bounds_of(g.img_Card[6]);
    EXPECT_NE(end, card);
    EXPECT_EQ(g.lbl_Card[6].left() - end.left, caption.left - card.left);
    EXPECT_EQ(g.lbl_Card[6].top() - end.top, caption.top - card.top);
    EXPECT_EQ(bounds_of(g.img_Card[1]), others[0]);
    EXPECT_EQ(bounds_of(g.img_Card[2]), others[1]);
}

TEST_F(Removal, ShrinkTowardsTheCentreThenHide) {
    struct Case {
        int size;
        int last_size;  // of the last move; the size itself when no move is made
    };
    // 60: a step of 3, the last move above 6 at 9. 10: a step of 1 ends at 7.
    // 6: hidden at once.
    for (const Case c : {Case{60, 9}, Case{10, 7}, Case{6, 6}}) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        const std::string size = std::to_string(c.size);
        start_game(3, 2, 2, "cardwidth=" + size + "\ncardheight=" + size + "\n");
        frm_MemoryGame& g = game();
        ASSERT_EQ(g.img_Card[0].width(), c.size);
        const Bounds before[2] = {bounds_of(g.img_Card[0]), bounds_of(g.img_Card[3])};
        g.memCardsTurned = {0, 3, 0};

        bool caption_hidden_first = true;
        watch([&] {
            if (g.memWiping != False && g.lbl_Card[0].visible()) caption_hidden_first = false;
        });
        const uint64_t t0 = platform().now_ms();
        g.memWipeOutCards();
        EXPECT_EQ(platform().now_ms(), t0) << "no sleep in the shrink";
        EXPECT_EQ(g.memWiping, False);
        EXPECT_TRUE(caption_hidden_first);
        int i = 0;
        for (int16_t p : {int16_t{0}, int16_t{3}}) {
            const Bounds end = bounds_of(g.img_Card[p]);
            EXPECT_FALSE(g.img_Card[p].visible());
            EXPECT_FALSE(g.lbl_Card[p].visible());
            EXPECT_EQ(end.width, c.last_size);
            EXPECT_EQ(end.height, c.last_size);
            // Inside its old place; half steps round to even, so an odd step
            // drifts right and down.
            EXPECT_GE(end.left, before[i].left);
            EXPECT_GE(end.top, before[i].top);
            EXPECT_LE(end.left + end.width, before[i].left + before[i].width);
            EXPECT_LE(end.top + end.height, before[i].top + before[i].height);
            ++i;
        }
    }
}

TEST_F(Removal, MatchLineJoinsThePairsWhichStay) {
    PlayOptions o;
    o.app = "match";
    o.cards_x = 4;
    o.cards_y = 2;
    o.match_line = true;  // colour 255, width 3
    o.dissapear = 2;
    restart(o);
    ASSERT_EQ(start(), std::nullopt);
    wait_for_status_tick();
    frm_MemoryGame& g = game();
    auto box = [&](int16_t p) {
        const Image& c = g.img_Card[p];
        return CardBox{double(c.left()), double(c.top()), double(c.width()), double(c.height())};
    };

    bool wiping_seen = false;
    watch([&] { wiping_seen |= g.memWiping != False; });
    std::vector<LineEnds> expected;
    for (int m = 0; m < 3; ++m) {
        SCOPED_TRACE("pair " + std::to_string(m));
        auto [a, b] = pair_positions(m);
        if (m == 1) std::swap(a, b);  // the first card of the try is where the line starts
        const Bounds card_a = bounds_of(g.img_Card[a]);
        expected.push_back(memMatchLineEnds(box(a), box(b), 3));
        ASSERT_TRUE(try_cards(a, b));
        EXPECT_TRUE(g.img_Card[a].visible());
        EXPECT_TRUE(g.img_Card[b].visible());
        EXPECT_EQ(bounds_of(g.img_Card[a]), card_a);
        EXPECT_FALSE(g.img_Card[a].enabled()) << "a joined card takes no more clicks";
        EXPECT_EQ(g.memPlayer[0].CardsMade, 2 * (m + 1));

        const auto& lines = g.pic_Background.lines();
        ASSERT_EQ(lines.size(), expected.size()) << "one line per pair, none erased";
        for (size_t k = 0; k < lines.size(); ++k) {
            const DrawnLine& l = lines[k];
            EXPECT_EQ(std::tuple(l.x1, l.y1, l.x2, l.y2, l.colour, l.width),
                      std::tuple(expected[k].x1, expected[k].y1, expected[k].x2, expected[k].y2, 255, 3));
        }
    }
    EXPECT_FALSE(wiping_seen) << "no removal animation with the line";
    EXPECT_EQ(g.memCardsLeft, 2);
}

}  // namespace
}  // namespace mem::test
