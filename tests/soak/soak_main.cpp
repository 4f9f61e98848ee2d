// make soak: many randomized games, then a summary and the speed. It runs as one test, so that a failure reported
// by any helper on the way fails it as well as a broken rule.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "soak/random_games.h"

namespace {

int games = 10000;
uint32_t first_seed = 1;

TEST(Soak, RandomGames) {
    const auto begin = std::chrono::steady_clock::now();
    const mem::test::RandomGamesReport report = mem::test::play_random_games(first_seed, games);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::cout << mem::test::describe(report);
    std::printf("%.1f s, %.0f games per second\n", seconds, seconds > 0 ? report.games / seconds : 0.0);
    EXPECT_EQ(report.games, games);
    EXPECT_TRUE(report.faults.empty());
}

}  // namespace

// memory_soak [GAMES [FIRST_SEED]]
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Every game writes its files: a memory-backed folder keeps that quick.
    if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    if (argc > 1) games = std::atoi(argv[1]);
    if (argc > 2) first_seed = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    return RUN_ALL_TESTS();
}
