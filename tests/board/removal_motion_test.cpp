#include "board/removal_motion.h"

#include <gtest/gtest.h>

#include <tuple>

namespace mem {
namespace {

TEST(FlyAway, ThirdSpeedAndEndOfTheFlight) {
    // Card start and size, play area start and size, the third the card's centre lies in.
    const std::tuple<int, int, int16_t, int16_t, int16_t> thirds[] = {
        {69, 60, 10, 300, 1},   // thirds of 100: centre 89 in
        {80, 60, 10, 300, 2},   // centre 100 in: the middle third starts
        {250, 60, 10, 300, 3},  // centre 270 in
        {0, 6, 0, 1, 4},        // a 1-pixel area still has a third of 1
        {0, 6, 0, 0, 4},        // and so has an empty one
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
    const auto small = shrink_moves({10, 10, 10, 10});
    ASSERT_EQ(small.size(), 4u);
    EXPECT_EQ(small.back().width, 7);
    // An odd step moves left and top by a half, rounded half to even.
    ShrinkBox box{10, 11, 60, 60};
    memShrinkOnce(box, 3);
    EXPECT_EQ(std::tuple(box.left, box.top, box.width), std::tuple(12, 12, 57));  // 11.5 and 12.5
}

}  // namespace
}  // namespace mem
