#include <gtest/gtest.h>

#include "soak/random_games.h"

// A few hundred of the soak's randomized games (every kind, timed text games
// among them): no try stalls, every game ends, the counters and the scores
// agree after every settled try and after the end, and the end is good
// exactly when it should be.
TEST(RandomPlay, NoTryStallsAndEveryGameEndsAsItShould) {
    const mem::test::RandomGamesReport report = mem::test::play_random_games(1, 200);
    EXPECT_GT(report.text_games, 40);
    EXPECT_TRUE(report.faults.empty()) << mem::test::describe(report);
}
