// The board's arithmetic: its geometry on each screen, the match line's ends, and the moves of a card flying away or
// shrinking.
#include <gtest/gtest.h>

#include <tuple>

#include "board/geometry.h"
#include "board/match_line.h"
#include "board/removal_motion.h"

namespace mem {
namespace {

TEST(BoardGeometry, DerivesBoardAreaGapsAndCardPlaces) {
    struct Case {
        const char* name;
        int screen_w, screen_h;
        std::vector<int> rows_with_picture;
        float cards_x, cards_y, card_w, card_h;
        // The screen row: index, width, height; the layout: picture row, left, top, width, height; play area left,
        // top, width, height; gaps across and down.
        std::vector<int> expected;
        std::vector<int> lefts, tops;
    };
    const std::vector<int> all = {0, 1, 2, 3, 4};
    const Case cases[] = {
        {"800x600 with its own picture", 800, 600, {1}, 4, 4, 80, 80,
         {1, 800, 600, 1, 0, 0, 800, 600, 121, 16, 663, 535, 48, 29}, {169, 345, 521, 697}, {45, 183, 321, 459}},
        {"640x480 with six by four cards", 640, 480, {0}, 6, 4, 60, 80,
         {0, 640, 480, 0, 0, 0, 640, 480, 121, 16, 503, 415, 14, 12}, {135, 223, 311, 399, 487, 575},
         {28, 132, 236, 340}},
        {"1920x1080 fits 1280x1024", 1920, 1080, all, 4, 4, 80, 80,
         {4, 1280, 1024, 4, 0, 0, 1280, 1024, 121, 16, 1143, 959, 116, 90}, {}, {}},
        {"1280x720 is too low for 1024x768", 1280, 720, all, 4, 4, 80, 80,
         {1, 800, 600, 1, 0, 0, 800, 600, 121, 16, 663, 535, 48, 29}, {}, {}},
        {"a display smaller than every row measures as row 0", 600, 400, {0, 1}, 4, 4, 80, 80,
         {0, 640, 480, 0, 0, 0, 640, 480, 121, 16, 503, 415, 25, 12}, {}, {}},
        {"1024x768 falls back to the 800 board", 1024, 768, {0, 1}, 4, 4, 80, 80,
         {2, 1024, 768, 1, 112, 84, 800, 600, 121, 16, 663, 535, 48, 29}, {}, {}},
        {"no picture for any row: row 0", 1280, 1024, {}, 2, 2, 50, 50,
         {4, 1280, 1024, 0, 320, 272, 640, 480, 121, 16, 503, 415, 79, 62}, {}, {}},
        {"cards wider than the area overlap", 640, 480, {0}, 5, 1, 120, 80,
         {0, 640, 480, 0, 0, 0, 640, 480, 121, 16, 503, 415, -14, 82}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoardGeometryInput in{
            .screen_width_units = c.screen_w * 15, .screen_height_units = c.screen_h * 15,
            .sizes = {{{0, 640, 480}, {1, 800, 600}, {2, 1024, 768}, {3, 1152, 864}, {4, 1280, 1024}}},
            .layout_picture = static_cast<int16_t>(c.rows_with_picture.empty() ? 6 : 3),  // the row before
            .cards_x = c.cards_x, .cards_y = c.cards_y, .card_width = c.card_w, .card_height = c.card_h};
        for (int row : c.rows_with_picture) in.pictures[static_cast<size_t>(row)] = "bk.bmp";
        const BoardGeometry out = memBoardGeometry(in);
        const Layout& l = out.layout;
        EXPECT_EQ((std::vector<int>{out.screen.Index, out.screen.Width, out.screen.Height, l.Picture, l.Left, l.Top,
                                    l.Width, l.Height, l.AreaLeft, l.AreaTop, l.AreaWidth, l.AreaHeight, l.SpaceX,
                                    l.SpaceY}),
                  c.expected);
        for (size_t i = 0; i < c.lefts.size(); ++i)
            EXPECT_EQ(memCardPlace(out.layout, c.card_w, c.card_h, 1, static_cast<int>(i) + 1).left, c.lefts[i]);
        for (size_t i = 0; i < c.tops.size(); ++i)
            EXPECT_EQ(memCardPlace(out.layout, c.card_w, c.card_h, static_cast<int>(i) + 1, 1).top, c.tops[i]);
    }
}

TEST(MatchLine, EndsBetweenTheFacingEdges) {
    struct Case {
        const char* name;
        CardBox a, b;
        int pen;
        LineEnds line;
    };
    const Case cases[] = {
        {"same row, a on the left", {100, 50, 80, 60}, {300, 50, 80, 60}, 4, {182, 78, 298, 78}},
        {"same row, a on the right", {300, 50, 80, 60}, {100, 50, 80, 60}, 4, {298, 78, 182, 78}},
        {"same column, a above", {100, 50, 80, 60}, {100, 200, 80, 60}, 4, {140, 112, 140, 198}},
        {"a below and left of b", {100, 200, 80, 60}, {300, 50, 80, 60}, 4, {140, 198, 340, 112}},
        {"pen 3 keeps 1 clear", {100, 50, 80, 60}, {300, 50, 80, 60}, 3, {181, 79, 299, 79}},
        // Odd sizes: the mid-height and centres round half to even.
        {"odd size, same row", {10, 10, 65, 51}, {100, 10, 65, 51}, 4, {77, 34, 98, 34}},
        {"odd size, rows", {10, 10, 65, 51}, {10, 100, 65, 51}, 1, {42, 61, 42, 100}},
    };
    for (const Case& c : cases) {
        const LineEnds got = memMatchLineEnds(c.a, c.b, c.pen);
        EXPECT_EQ(std::tuple(got.x1, got.y1, got.x2, got.y2), std::tuple(c.line.x1, c.line.y1, c.line.x2, c.line.y2))
            << c.name;
    }
}

TEST(FlyAway, ThirdSpeedAndEndOfTheFlight) {
    // Card start and size, play area start and size, the third the card's centre lies in.
    const std::tuple<int, int, int16_t, int16_t, int16_t> thirds[] = {
        {69, 60, 10, 300, 1},   // thirds of 100: centre 89 in
        {80, 60, 10, 300, 2},   // centre 100 in: the middle third starts
        {250, 60, 10, 300, 3},  // centre 270 in
        {0, 6, 0, 1, 4},        // a 1-pixel area still has a third of 1
        {196, 10, 0, 302, 2},   // thirds of nearest(100.67) = 101: centre 201 in
    };
    for (const auto& [start, size, area_start, area_size, third] : thirds)
        EXPECT_EQ(memCardThird(start, size, area_start, memAreaThird(area_size)), third) << start << " " << area_size;
    // Outer thirds leave through the nearer side at 15 to 25 pixels a frame. The middle third goes the way of the
    // one sign drawn for both axes (so diagonally) at 10 to 30, even numbers only. A centre outside the thirds
    // moves by its third number. Third, sign, then the speed of the lowest draw and the step between draws.
    const std::tuple<int16_t, int16_t, int, int> speeds[] = {{1, 20, -25, 1}, {1, -20, -25, 1}, {3, 20, 15, 1},
                                                             {2, 20, 10, 2},  {2, -20, -30, 2}, {4, 20, 4, 0}};
    for (const auto& [third, sign, lowest, step] : speeds) {
        // Eleven draws, one in each eleventh of [0, 1): the random whole number from -5 to 5.
        std::vector<int> got, expected;
        for (int k = 0; k < 11; ++k) {
            got.push_back(memFlyVelocity(third, (k + 0.5) / 11.0, sign));
            expected.push_back(lowest + k * step);
        }
        EXPECT_EQ(got, expected) << "third " << third << ", sign " << sign;
    }
    const std::pair<double, int16_t> signs[] = {{0.0, 20}, {0.4999, 20}, {0.5, -20}, {0.9999, -20}};
    for (const auto& [draw, sign] : signs) EXPECT_EQ(memFlySign(draw), sign) << draw;
    // A 60 x 40 card on an 800 x 600 board: the left and top of each case, and whether it is gone.
    const std::tuple<int, int, bool> ends[] = {{801, 100, true},  {800, 100, false}, {-61, 100, true},
                                               {-60, 100, false}, {100, 601, true},  {100, 600, false},
                                               {100, -41, true},  {100, -40, false}};
    for (const auto& [left, top, outside] : ends)
        EXPECT_EQ(memWhollyOutside(left, top, 60, 40, 800, 600), outside) << left << "," << top;
}

// The moves of a shrink: the rectangle of each move, until the card goes.
std::vector<ShrinkBox> shrink_moves(ShrinkBox box) {
    std::vector<ShrinkBox> moves;
    const int16_t step = memShrinkStep(box.width, box.height);
    while (memShrinkGoesOn(box) && moves.size() < 1000) {
        moves.push_back(box);
        memShrinkOnce(box, step);
    }
    return moves;
}

TEST(Shrink, StepsTowardsTheCentreUntilASideIsSixOrLess) {
    // A 66 x 50 card: a step of 2, the whole part of (66 + 50) / 40; 22 moves keeping its centre, until its height
    // would be 6.
    const auto moves = shrink_moves({100, 200, 66, 50});
    ASSERT_EQ(moves.size(), 22u);
    EXPECT_EQ(std::tuple(moves[21].left, moves[21].top, moves[21].width, moves[21].height),
              std::tuple(121, 221, 24, 8));
    // Six pixels or less on either side: no move at all.
    EXPECT_TRUE(shrink_moves({0, 0, 6, 50}).empty() && shrink_moves({0, 0, 80, 5}).empty());
    // Width and height under 40 in all: one pixel a step, so it ends.
    EXPECT_EQ(shrink_moves({10, 10, 10, 10}).size(), 4u);
    // An odd step moves left and top by a half, rounded half to even.
    ShrinkBox box{10, 11, 60, 60};
    memShrinkOnce(box, 3);
    EXPECT_EQ(std::tuple(box.left, box.top, box.width), std::tuple(12, 12, 57));  // 11.5 and 12.5
}

}  // namespace
}  // namespace mem
