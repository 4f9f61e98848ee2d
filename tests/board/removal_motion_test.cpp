#include "board/removal_motion.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace mem {
namespace {

// Eleven draws, one in each eleventh of [0, 1): every value of the random
// whole number from -5 to 5 once.
std::set<int> velocities(int16_t third, int16_t sign) {
    std::set<int> out;
    for (int k = 0; k < 11; ++k) out.insert(memFlyVelocity(third, (k + 0.5) / 11.0, sign));
    return out;
}

std::set<int> range(int from, int to, int step = 1) {
    std::set<int> out;
    for (int v = from; v <= to; v += step) out.insert(v);
    return out;
}

TEST(FlyAway, SpeedsPerThird) {
    // Outer thirds leave through the nearer side at 15 to 25 pixels a frame.
    EXPECT_EQ(velocities(1, 20), range(-25, -15));
    EXPECT_EQ(velocities(1, -20), range(-25, -15));
    EXPECT_EQ(velocities(3, 20), range(15, 25));
    // The middle third goes the way of the one sign drawn for both axes (so
    // diagonally) at 10 to 30, even numbers only.
    EXPECT_EQ(velocities(2, 20), range(10, 30, 2));
    EXPECT_EQ(velocities(2, -20), range(-30, -10, 2));
    // A centre outside the thirds moves by its third number.
    EXPECT_EQ(velocities(4, 20), std::set<int>{4});
    EXPECT_EQ(memFlyVelocity(1, 0.0, 20), -25);
    EXPECT_EQ(memFlyVelocity(3, 0.9999999, 20), 25);
    const std::pair<double, int16_t> signs[] = {{0.0, 20}, {0.4999, 20}, {0.5, -20}, {0.9999, -20}};
    for (const auto& [draw, sign] : signs) EXPECT_EQ(memFlySign(draw), sign) << draw;
}

TEST(FlyAway, ThirdOfTheCardCentre) {
    struct Case {
        int start, size;
        int16_t area_start, area_size;
        int16_t third;
    };
    // A play area from 10, 300 wide: thirds of 100.
    const Case cases[] = {
        {10, 60, 10, 300, 1},   // centre 30 in
        {69, 60, 10, 300, 1},   // centre 89 in
        {80, 60, 10, 300, 2},   // centre 100 in: the middle third starts
        {250, 60, 10, 300, 3},  // centre 270 in
        {0, 6, 0, 1, 4},        // a 1-pixel area still has a third of 1
        {0, 6, 0, 0, 4},        // and so has an empty one
        {5, 60, 10, 301, 1},    // thirds of nearest(100.33) = 100
        {196, 10, 0, 302, 2},   // thirds of nearest(100.67) = 101: centre 201 in
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        EXPECT_EQ(memCardThird(c.start, c.size, c.area_start, memAreaThird(c.area_size)), c.third);
    }
    EXPECT_EQ(memAreaThird(450), 150);
}

TEST(FlyAway, DoneWhenWhollyOutside) {
    // A 60 x 40 card on an 800 x 600 board: the left and top of each case, and whether it is gone.
    const std::tuple<int, int, bool> cases[] = {{801, 100, true},  {800, 100, false}, {-61, 100, true},
                                                {-60, 100, false}, {100, 601, true},  {100, 600, false},
                                                {100, -41, true},  {100, -40, false}};
    for (const auto& [left, top, outside] : cases)
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

TEST(Shrink, A66By50CardMoves22TimesTowardsItsCentre) {
    const auto moves = shrink_moves({100, 200, 66, 50});
    ASSERT_EQ(moves.size(), 22u);
    for (int k = 0; k < 22; ++k) {
        const ShrinkBox& m = moves[static_cast<size_t>(k)];
        EXPECT_EQ(std::tuple(m.left, m.top, m.width, m.height), std::tuple(100 + k, 200 + k, 66 - 2 * k, 50 - 2 * k));
    }
}

TEST(Shrink, StepIsTheWholePartOfAFortiethAndAtLeastOne) {
    const std::tuple<int, int, int> steps[] = {{66, 50, 2}, {60, 60, 3}, {79, 80, 3}, {100, 100, 5}, {20, 19, 1}};
    for (const auto& [width, height, step] : steps)
        EXPECT_EQ(memShrinkStep(width, height), step) << width << "x" << height;
    // Six pixels or less on either side: no move at all.
    EXPECT_TRUE(shrink_moves({0, 0, 6, 50}).empty());
    EXPECT_TRUE(shrink_moves({0, 0, 80, 5}).empty());
    // Width and height under 40 in all: one pixel a step, so it ends.
    const auto moves = shrink_moves({10, 10, 10, 10});
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves.back().width, 7);
    // An odd step moves left and top by a half, rounded half to even.
    ShrinkBox box{10, 11, 60, 60};
    memShrinkOnce(box, 3);
    EXPECT_EQ(std::tuple(box.left, box.top, box.width), std::tuple(12, 12, 57));  // 11.5 and 12.5
}

}  // namespace
}  // namespace mem
