#include "game/deals.h"

#include <gtest/gtest.h>

namespace mem {
namespace {

TEST(Deals, RepeatsAndDrawsPastTheLastEntryAreDrawnAgain) {
    // 0.0 twice (the second is a repeat), then a value whose product rounds up to n.
    const std::vector<double> draws = {0.0, 0.0, 0.99999999, 0.5};
    size_t at = 0;
    EXPECT_EQ(memDealPermutation(2, [&] { return draws[at++]; }), (std::vector<int32_t>{0, 1}));
    for (int32_t none : {0, -1}) EXPECT_TRUE(memDealPermutation(none, [] { return 0.0; }).empty()) << none;
}

}  // namespace
}  // namespace mem
