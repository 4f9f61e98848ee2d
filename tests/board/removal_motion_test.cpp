#include "board/removal_motion.h"

#include <gtest/gtest.h>

#include <set>

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
    EXPECT_EQ(velocities(0, -20), std::set<int>{0});
    // The edges of the draw.
    EXPECT_EQ(memFlyVelocity(1, 0.0, 20), -25);
    EXPECT_EQ(memFlyVelocity(3, 0.9999999, 20), 25);
}

TEST(FlyAway, SignFromOneDraw) {
    EXPECT_EQ(memFlySign(0.0), 20);
    EXPECT_EQ(memFlySign(0.4999), 20);
    EXPECT_EQ(memFlySign(0.5), -20);
    EXPECT_EQ(memFlySign(0.9999), -20);
}

TEST(FlyAway, ThirdOfTheCardCentre) {
    struct Case {
        int start, size;
        int16_t area_start, area_size;
        int16_t third;
    };
    // A play area from 10, 300 wide: thirds of 100.
    const Case cases[] = {
        {10, 60, 10, 300, 1},    // centre 30 in
        {69, 60, 10, 300, 1},    // centre 89 in
        {80, 60, 10, 300, 2},    // centre 100 in: the middle third starts
        {180, 60, 10, 300, 3},   // centre 200 in
        {250, 60, 10, 300, 3},   // centre 270 in
        {0, 6, 0, 1, 4},         // a 1-pixel area still has a third of 1
        {5, 60, 10, 301, 1},     // thirds of nearest(100.33) = 100
        {196, 10, 0, 302, 2},    // thirds of nearest(100.67) = 101: centre 201 in
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const int16_t third = memAreaThird(c.area_size);
        EXPECT_EQ(memCardThird(c.start, c.size, c.area_start, third), c.third);
    }
    EXPECT_EQ(memAreaThird(0), 1);
    EXPECT_EQ(memAreaThird(1), 1);
    EXPECT_EQ(memAreaThird(450), 150);
}

TEST(FlyAway, DoneWhenWhollyOutside) {
    struct Case {
        int left, top;
        bool outside;
    };
    // A 60 x 40 card on an 800 x 600 board.
    const Case cases[] = {
        {100, 100, false}, {801, 100, true}, {800, 100, false}, {-61, 100, true}, {-60, 100, false},
        {100, 601, true},  {100, 600, false}, {100, -41, true}, {100, -40, false}, {790, 590, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        EXPECT_EQ(memWhollyOutside(c.left, c.top, 60, 40, 800, 600), c.outside);
    }
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
    EXPECT_EQ(memShrinkStep(66, 50), 2);
    const auto moves = shrink_moves({100, 200, 66, 50});
    ASSERT_EQ(moves.size(), 22u);
    for (size_t k = 0; k < moves.size(); ++k) {
        EXPECT_EQ(moves[k].height, 50 - 2 * static_cast<int>(k));
        EXPECT_EQ(moves[k].width, 66 - 2 * static_cast<int>(k));
        EXPECT_EQ(moves[k].left, 100 + static_cast<int>(k));
        EXPECT_EQ(moves[k].top, 200 + static_cast<int>(k));
    }
    EXPECT_EQ(moves.back().height, 8);
}

TEST(Shrink, SmallCards) {
    // Six pixels or less on either side: no move at all.
    EXPECT_TRUE(shrink_moves({0, 0, 6, 50}).empty());
    EXPECT_TRUE(shrink_moves({0, 0, 80, 5}).empty());
    // Width and height under 40 in all: one pixel a step, so it ends.
    EXPECT_EQ(memShrinkStep(10, 10), 1);
    EXPECT_EQ(memShrinkStep(20, 19), 1);
    const auto moves = shrink_moves({10, 10, 10, 10});
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves.back().width, 7);
}

TEST(Shrink, StepIsTheWholePartOfAFortieth) {
    EXPECT_EQ(memShrinkStep(60, 60), 3);
    EXPECT_EQ(memShrinkStep(79, 80), 3);
    EXPECT_EQ(memShrinkStep(100, 100), 5);
    // An odd step moves left and top by a half, rounded half to even.
    ShrinkBox box{10, 11, 60, 60};
    memShrinkOnce(box, 3);
    EXPECT_EQ(box.left, 12);  // 11.5
    EXPECT_EQ(box.top, 12);   // 12.5
    EXPECT_EQ(box.width, 57);
}

}  // namespace
}  // namespace mem
