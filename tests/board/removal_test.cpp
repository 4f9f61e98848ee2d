// Matched cards leaving the board, and the match line, in played match games.
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
            const Bounds card = bounds_of(g.img_Card[a]);
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

}  // namespace
}  // namespace mem::test
