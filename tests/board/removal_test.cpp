// Matched cards leaving the board, and the match line, in played match games.
#include <gtest/gtest.h>

#include <array>
#include <utility>
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
    // A match game (faces and captions up), started and past its first status tick.
    void start_game(PlayOptions o) {
        o.app = "match";
        restart(o);
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
    }
    bool outside(const Bounds& b) const {
        return memWhollyOutside(b.left, b.top, b.width, b.height, memNearest16(game().pic_Background.inner_width()),
                                memNearest16(game().pic_Background.inner_height()));
    }
};

// Both pairs of a 2 x 2 board played, the second from its other card.
TEST_F(Removal, EachSettingInPlayedPairs) {
    struct Case {
        int dissapear;
        bool match_line, pictures_shown, captions_shown, on_board, animated;
    };
    const Case cases[] = {
        {0, false, true, true, true, false},  {-1, false, true, true, true, false},
        {1, false, false, true, true, false}, {2, false, true, true, false, true},
        {3, false, false, false, true, true},
        {2, true, true, true, true, false},  // the line (colour 255, width 3) instead of the fly-away
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("dissapear " + std::to_string(c.dissapear) + (c.match_line ? " with the line" : ""));
        start_game({.match_line = c.match_line, .dissapear = c.dissapear});
        frm_MemoryGame& g = game();
        bool wiping_seen = false, clicked = false;
        const int16_t other = pair_positions(1).first;
        platform().during_yield = [&] {
            if (g.memWiping == False || std::exchange(wiping_seen, true)) return;
            clicked = click_card(other);
        };
        auto box = [&](int16_t p) {
            const Bounds i = bounds_of(g.img_Card[p]);
            return CardBox{double(i.left), double(i.top), double(i.width), double(i.height)};
        };
        std::vector<LineEnds> lines;
        for (int m = 0; m < 2; ++m) {
            auto [a, b] = pair_positions(m);
            if (m == 1) std::swap(a, b);  // the first card of the try is where the line starts
            const Bounds card = bounds_of(g.img_Card[a]), caption = bounds_of(g.lbl_Card[a]);
            if (c.match_line) lines.push_back(memMatchLineEnds(box(a), box(b), 3));
            ASSERT_TRUE(try_cards(a, b));
            EXPECT_EQ(wiping_seen, c.animated);
            // A click during the fly-away turned nothing.
            EXPECT_TRUE(m == 1 || g.memDisplayCard[static_cast<size_t>(other)].Turned == False);
            // The pair is scored whatever it looks like, and takes no more clicks.
            EXPECT_EQ(g.memPlayer[0].CardsMade, 2 * (m + 1));
            for (int16_t p : {a, b}) {
                EXPECT_EQ(g.img_Card[p].visible(), c.pictures_shown);
                EXPECT_EQ(g.lbl_Card[p].visible(), c.captions_shown);
                EXPECT_EQ(outside(bounds_of(g.img_Card[p])), !c.on_board);
                EXPECT_FALSE(g.img_Card[p].enabled());
            }
            EXPECT_TRUE(c.animated || (bounds_of(g.img_Card[a]) == card && bounds_of(g.lbl_Card[a]) == caption));
            // One line for each pair that stays, none erased.
            const auto& drawn = g.pic_Background.lines();
            ASSERT_EQ(drawn.size(), lines.size());
            for (size_t k = 0; k < drawn.size(); ++k) {
                const DrawnLine& l = drawn[k];
                EXPECT_EQ(std::tuple(l.x1, l.y1, l.x2, l.y2, l.colour, l.width),
                          std::tuple(lines[k].x1, lines[k].y1, lines[k].x2, lines[k].y2, 255, 3));
            }
        }
        EXPECT_EQ(clicked, c.animated);
    }
}

// Positions 0 and 5 of a 4 x 4 board fly off in frames of 50 ms, each by the
// nearer side: 0 lies in the left column and top row, 5 in the middle third.
TEST_F(Removal, FlyAwayLeavesByTheNearerSideInFramesOf50Ms) {
    start_game({.cards_x = 4, .cards_y = 4, .dissapear = 2});
    frm_MemoryGame& g = game();
    const int16_t cards[2] = {0, 5};  // the removed pair
    const Bounds start[2] = {bounds_of(g.img_Card[0]), bounds_of(g.img_Card[5])};
    const Bounds caption[2] = {bounds_of(g.lbl_Card[0]), bounds_of(g.lbl_Card[5])};
    g.memCardsTurned = {0, 5, 0};
    // The cards at the first yield of every frame, just after the first card's move.
    std::vector<std::array<Bounds, 2>> seen;
    uint64_t last = 0;
    platform().during_yield = [&] {
        if (g.memWiping == False || (!seen.empty() && platform().now_ms() == last)) return;
        last = platform().now_ms();
        seen.push_back({bounds_of(g.img_Card[0]), bounds_of(g.img_Card[5])});
    };
    const uint64_t t0 = platform().now_ms();
    g.memWipeOutCards();
    const uint64_t took = platform().now_ms() - t0;
    ASSERT_EQ(took % 50, 0u) << "whole frames of 50 ms";
    ASSERT_EQ(seen.size(), took / 50) << "the clock moves only by the frames' sleeps";
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(g.controls().back(), &g.img_Card[5]) << "the flying pictures lie in front";
    size_t longest = 0;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("card " + std::to_string(cards[i]));
        const Bounds end = bounds_of(g.img_Card[cards[i]]);
        const int vx = seen[1][i].left - seen[0][i].left, vy = seen[1][i].top - seen[0][i].top;
        ASSERT_NE(vx, 0);
        const int n = (end.left - start[i].left) / vx;
        EXPECT_EQ(Bounds(start[i].left + n * vx, start[i].top + n * vy, start[i].width, start[i].height), end);
        // Done on the move that took it wholly off the board, and left there shown.
        EXPECT_TRUE(outside(end) && !outside({end.left - vx, end.top - vy, end.width, end.height}));
        EXPECT_TRUE(g.img_Card[cards[i]].visible());
        longest = std::max(longest, static_cast<size_t>(n));
        // The caption flew along at its offset from the picture.
        EXPECT_EQ(bounds_of(g.lbl_Card[cards[i]]),
                  Bounds(caption[i].left + n * vx, caption[i].top + n * vy, caption[i].width, caption[i].height));
    }
    EXPECT_TRUE(seen[1][0].left < seen[0][0].left && seen[1][0].top < seen[0][0].top) << "0 leaves by the top left";
    EXPECT_EQ(longest, seen.size()) << "the flight ends with the last card out";
}

TEST_F(Removal, ShrinkTowardsTheCentreThenHide) {
    // 60: a step of 3, the last move above 6 at 9. 10: a step of 1 ends at 7. 6: hidden at once.
    for (const auto& [size, last_size] : std::vector<std::pair<int, int>>{{60, 9}, {10, 7}, {6, 6}}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string s = std::to_string(size);
        start_game({.dissapear = 3, .extra_global = "cardwidth=" + s + "\ncardheight=" + s + "\n"});
        frm_MemoryGame& g = game();
        const Bounds b = bounds_of(g.img_Card[3]);
        g.memCardsTurned = {0, 3, 0};
        const uint64_t t0 = platform().now_ms();
        g.memWipeOutCards();
        EXPECT_EQ(platform().now_ms(), t0) << "no sleep in the shrink";
        for (int16_t card : {0, 3}) {
            const Bounds end = bounds_of(g.img_Card[card]);
            EXPECT_FALSE(g.img_Card[card].visible() || g.lbl_Card[card].visible());
            EXPECT_EQ(std::pair(end.width, end.height), std::pair(last_size, last_size));
            if (card == 0) continue;
            // Inside its old place; half steps round to even, so an odd step drifts right and down.
            EXPECT_TRUE(end.left >= b.left && end.top >= b.top && end.left + end.width <= b.left + b.width &&
                        end.top + end.height <= b.top + b.height);
        }
    }
}

}  // namespace
}  // namespace mem::test
