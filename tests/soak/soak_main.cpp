// make soak: many randomized games, then a summary and the speed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "soak/random_games.h"

int main(int argc, char** argv) {
    // Every game writes its files: a memory-backed folder keeps that quick.
    if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    const int games = argc > 1 ? std::atoi(argv[1]) : 10000;
    const auto first_seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
    const auto begin = std::chrono::steady_clock::now();
    const mem::test::RandomGamesReport report = mem::test::play_random_games(first_seed, games);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::cout << mem::test::describe(report);
    std::printf("%.1f s, %.0f games per second\n", seconds, seconds > 0 ? report.games / seconds : 0.0);
    return report.faults.empty() ? 0 : 1;
}
