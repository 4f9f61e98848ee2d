// Matched cards leaving the board, and the match line, in played match games.
#include <array>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds&) const = default;
    Bounds moved(int dx, int dy) const { return {left + dx, top + dy, width, height}; }
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
        const auto width = memNearest16(game().pic_Background.inner_width());
        const auto height = memNearest16(game().pic_Background.inner_height());
        return b.left >= width || b.top >= height || b.left + b.width <= 0 || b.top + b.height <= 0;
    }
};

// Both pairs of a 2 x 2 board of 60 x 60 cards played, the second from its other card.
TEST_F(Removal, EachSettingInPlayedPairs) {
    struct Case {
        int dissapear;
        bool match_line, pictures_shown, captions_shown, on_board, animated;
        int size;  // of the pictures after the removal
    };
    const Case cases[] = {
        {0, false, true, true, true, false, 60},
        {1, false, false, true, true, false, 60},  // captions stay
        {2, false, true, true, false, true, 60},   // flown off the board
        {3, false, false, false, true, true, 9},   // shrunk by 3 a move, the last move above 6 at 9, then hidden
        {2, true, true, true, true, false, 60},    // the line (colour 255, width 3) instead of the fly-away
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
        // The ends, colour and width of every line drawn, and of every line expected.
        using Line = std::tuple<int, int, int, int, Colour, int>;
        std::vector<Line> lines;
        for (int m = 0; m < 2; ++m) {
            auto [a, b] = pair_positions(m);
            if (m == 1) std::swap(a, b);  // the first card of the try is where the line starts
            const Bounds card = bounds_of(g.img_Card[a]), caption = bounds_of(g.lbl_Card[a]);
            // From the first card's centre to the second's, 3 pixels wide: across the board's diagonals.
            if (c.match_line) lines.push_back(m == 0 ? Line{258, 321, 532, 159, 255, 3} : Line{258, 159, 532, 321, 255, 3});
            ASSERT_TRUE(try_cards(a, b));
            EXPECT_EQ(wiping_seen, c.animated);
            // A click during the fly-away turned nothing.
            EXPECT_TRUE(m == 1 || g.memDisplayCard[static_cast<size_t>(other)].Turned == False);
            for (int16_t p : {a, b}) {
                const Image& picture = g.img_Card[p];
                EXPECT_EQ(std::tuple(picture.visible(), g.lbl_Card[p].visible(), outside(bounds_of(picture)),
                                     picture.enabled(), picture.width(), picture.height()),
                          std::tuple(c.pictures_shown, c.captions_shown, !c.on_board, false, c.size, c.size));
            }
            EXPECT_TRUE(c.animated || (bounds_of(g.img_Card[a]) == card && bounds_of(g.lbl_Card[a]) == caption));
            // A card left on the board stays inside its place (a shrink drifts right and down, within it).
            const Bounds end = bounds_of(g.img_Card[a]);
            EXPECT_TRUE(!c.on_board || (end.left >= card.left && end.top >= card.top &&
                                        end.left + end.width <= card.left + card.width &&
                                        end.top + end.height <= card.top + card.height));
            // One line for each pair that stays, none erased.
            std::vector<Line> drawn;
            for (const DrawnLine& l : g.pic_Background.lines())
                drawn.emplace_back(l.x1, l.y1, l.x2, l.y2, l.colour, l.width);
            EXPECT_EQ(drawn, lines);
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
    ASSERT_EQ(platform().now_ms() - t0, 50 * seen.size()) << "frames of 50 ms; the clock moves only by their sleeps";
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(g.controls().back(), &g.img_Card[5]) << "the flying pictures lie in front";
    size_t longest = 0;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("card " + std::to_string(cards[i]));
        const Bounds end = bounds_of(g.img_Card[cards[i]]);
        const int vx = seen[1][i].left - seen[0][i].left, vy = seen[1][i].top - seen[0][i].top;
        ASSERT_NE(vx, 0);
        const int n = (end.left - start[i].left) / vx;
        EXPECT_EQ(start[i].moved(n * vx, n * vy), end);
        // Done on the move that took it wholly off the board, and left there shown.
        EXPECT_TRUE(outside(end) && !outside(end.moved(-vx, -vy)) && g.img_Card[cards[i]].visible());
        longest = std::max(longest, static_cast<size_t>(n));
        // The caption flew along at its offset from the picture.
        EXPECT_EQ(bounds_of(g.lbl_Card[cards[i]]), caption[i].moved(n * vx, n * vy));
    }
    EXPECT_TRUE(seen[1][0].left < seen[0][0].left && seen[1][0].top < seen[0][0].top) << "0 leaves by the top left";
    EXPECT_EQ(longest, seen.size()) << "the flight ends with the last card out";
}

}  // namespace
}  // namespace mem::test
