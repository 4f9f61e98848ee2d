// The deal: a uniformly random permutation of the card lines over the board, different for every seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "game/deals.h"
#include "support/play_fixture.h"

namespace mem::test {
namespace {

using Deal = PlayTest;

constexpr int kCards = 6;

// The card line at each board position.
std::vector<int> dealt(const frm_MemoryGame& g) {
    std::vector<int> lines;
    for (int16_t p = 0; p < memNearest16(g.memCardCount); ++p)
        lines.push_back(memNearest16(g.memDisplayCard[static_cast<size_t>(p)].Reference));
    return lines;
}

// Over 3000 seeds every line lands at every position about equally often: the chi-square of the 6 x 6 table
// (25 degrees of freedom) stays below 52.6, its 0.1 % bound; the fixed seeds make the figure the same every run.
TEST_F(Deal, EveryLineIsEquallyLikelyAtEveryPosition) {
    restart({.cards_x = 3, .cards_y = 2});
    ASSERT_EQ(start(), std::nullopt);
    std::array<std::array<int, kCards>, kCards> count{};
    constexpr int kDeals = 3000;
    for (uint32_t seed = 1; seed <= kDeals; ++seed) {
        platform().seed = seed;
        platform().seed_from_clock();
        game().memDealCards();
        std::vector<int> lines = dealt(game());
        for (size_t p = 0; p < kCards; ++p) ++count[p][static_cast<size_t>(lines[p])];
        std::ranges::sort(lines);
        ASSERT_EQ(lines, (std::vector<int>{0, 1, 2, 3, 4, 5})) << "seed " << seed;
    }
    double chi_square = 0;
    for (const auto& row : count)
        for (const int n : row) chi_square += (n - 500.0) * (n - 500.0) / 500.0;
    EXPECT_LT(chi_square, 52.6);
}

// Two games started with different seeds deal the board differently.
TEST_F(Deal, TwoSeedsDealDifferently) {
    std::vector<std::vector<int>> deals;
    for (const uint32_t seed : {7u, 8u}) {
        restart({.cards_x = 4, .cards_y = 2});
        platform().seed = seed;
        ASSERT_EQ(start(), std::nullopt);
        deals.push_back(dealt(game()));
    }
    EXPECT_NE(deals[0], deals[1]);
}

TEST(Deals, RepeatsAndDrawsPastTheLastEntryAreDrawnAgain) {
    // 0.0 twice (the second is a repeat), then a value whose product rounds up to n.
    const std::vector<double> draws = {0.0, 0.0, 0.99999999, 0.5};
    size_t at = 0;
    EXPECT_EQ(memDealPermutation(2, [&] { return draws[at++]; }), (std::vector<int32_t>{0, 1}));
    for (int32_t none : {0, -1}) EXPECT_TRUE(memDealPermutation(none, [] { return 0.0; }).empty()) << none;
}

}  // namespace
}  // namespace mem::test
