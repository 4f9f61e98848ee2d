#include "game/deals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace mem {
namespace {

TEST(Deals, PermutationForManySeedsAndSizes) {
    for (int32_t n : {1, 2, 3, 4, 7, 16, 31, 64}) {
        for (uint32_t seed = 0; seed < 50; ++seed) {
            std::mt19937 gen(seed);
            std::uniform_real_distribution<double> dist(0.0, 1.0);
            auto slots = memDealPermutation(n, [&] { return dist(gen); });
            ASSERT_EQ(static_cast<int32_t>(slots.size()), n);
            std::sort(slots.begin(), slots.end());
            std::vector<int32_t> expected(static_cast<size_t>(n));
            std::iota(expected.begin(), expected.end(), 0);
            EXPECT_EQ(slots, expected) << "n=" << n << " seed=" << seed;
        }
    }
}

TEST(Deals, RepeatsAreDrawnAgainAndTopValuesStayInRange) {
    // 0.0 twice (second rejected), then a value whose product rounds up to n.
    std::vector<double> draws = {0.0, 0.0, 0.99999999, 0.5};
    size_t at = 0;
    auto slots = memDealPermutation(2, [&] { return draws[at++]; });
    EXPECT_EQ(slots, (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(memDealPermutation(0, [] { return 0.0; }).empty());
}

}  // namespace
}  // namespace mem
