// The deal: a uniformly random permutation of the card lines over the board, different for every seed.
#include <algorithm>
#include <array>
#include <random>

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

// Two games started with different seeds deal the board differently. Over 3000 seeds every line lands at every
// position about equally often: the chi-square of the 6 x 6 table (25 degrees of freedom) stays below 52.6, its
// 0.1 % bound; the fixed seeds make the figure the same every run.
TEST_F(Deal, EveryLineIsEquallyLikelyAtEveryPosition) {
    std::vector<std::vector<int>> deals;
    for (const uint32_t seed : {7u, 8u}) {
        restart({.cards_x = 3, .cards_y = 2});
        platform().seed = seed;
        ASSERT_EQ(start(), std::nullopt);
        deals.push_back(dealt(game()));
    }
    EXPECT_NE(deals[0], deals[1]);
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

TEST(Deals, RepeatsAndDrawsPastTheLastEntryAreDrawnAgain) {
    // 0.0 twice (the second is a repeat), a stray negative value, then one whose product rounds up to n.
    const std::vector<double> draws = {0.0, 0.0, -0.5, 0.99999999, 0.5};
    size_t at = 0;
    EXPECT_EQ(memDealPermutation(2, [&] { return draws[at++]; }), (std::vector<int32_t>{0, 1}));
    for (int32_t none : {0, -1}) EXPECT_TRUE(memDealPermutation(none, [] { return 0.0; }).empty()) << none;
}

// Every choice of 3 pairs of 6 equally likely (a chi-square bound over many seeds of the game's generator), each a
// set of distinct pairs in file order; with no more pairs than the board, all of them and no draw.
TEST(Deals, DrawnPairsAreEquallyLikelyAndDistinct) {
    constexpr int kSeeds = 20000;
    std::map<std::vector<int32_t>, int> seen;
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        std::mt19937 generator(seed);
        const auto drawn = memDrawPairs(6, 3, [&] { return static_cast<double>(generator() >> 8) / 16777216.0; });
        ASSERT_EQ(drawn.size(), 3u);
        ASSERT_TRUE(drawn[0] >= 0 && drawn[0] < drawn[1] && drawn[1] < drawn[2] && drawn[2] < 6) << seed;
        ++seen[drawn];
    }
    ASSERT_EQ(seen.size(), 20u);  // 6 choose 3
    const double expected = kSeeds / 20.0;
    double chi_square = 0;
    for (const auto& [pairs, count] : seen) chi_square += (count - expected) * (count - expected) / expected;
    EXPECT_LT(chi_square, 43.8);  // 19 degrees of freedom, p = 0.001
    const auto no_draw = []() -> double { throw "drawn"; };
    for (const auto& [available, wanted] : {std::pair{4, 4}, {3, 5}, {0, 2}})
        EXPECT_EQ(memDrawPairs(available, wanted, no_draw).size(), static_cast<size_t>(available));
    // A draw in [0, 1) takes an entry when below its chance: 0.5 against 2 of 4 is not, against 2 of 3 it is.
    EXPECT_EQ(memDrawPairs(4, 2, [] { return 0.5; }), (std::vector<int32_t>{1, 3}));
}

}  // namespace
}  // namespace mem::test
