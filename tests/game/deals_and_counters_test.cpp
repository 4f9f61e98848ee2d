#include <gtest/gtest.h>

#include "game/deals.h"
#include "game/records.h"

namespace mem {
namespace {

TEST(Deals, RepeatsAndDrawsPastTheLastEntryAreDrawnAgain) {
    // 0.0 twice (the second is a repeat), then a value whose product rounds up to n.
    const std::vector<double> draws = {0.0, 0.0, 0.99999999, 0.5};
    size_t at = 0;
    EXPECT_EQ(memDealPermutation(2, [&] { return draws[at++]; }), (std::vector<int32_t>{0, 1}));
    for (int32_t none : {0, -1}) EXPECT_TRUE(memDealPermutation(none, [] { return 0.0; }).empty()) << none;
}

// A counter stepped past the 16-bit range stops at its end instead of wrapping round.
TEST(Counters, StopAtTheEndsOfTheRange) {
    int16_t high = 32766, low = -32767;
    memIncrease(high, 5);
    memDecrease(low, 5);
    EXPECT_EQ(std::tuple(high, low), std::tuple(int16_t{32767}, int16_t{-32768}));
}

}  // namespace
}  // namespace mem
