#pragma once
// Randomized whole games on the headless backend: every kind of game, 1 to 4 players, every limit, sounds that
// play, are missing, empty, vanish or cannot be decoded, failing device commands, and a player who clicks anywhere
// at any time (also while the game lets events through during a try), double clicks, and now and then presses
// Escape or clicks the quit picture.
#include <cstdint>
#include <string>
#include <vector>

namespace mem::test {

struct RandomGamesReport {
    int games = 0, memory_games = 0, match_games = 0, text_games = 0;
    int good_ends = 0, bad_ends = 0, quits = 0, ends_in_a_try = 0;
    long settled_tries = 0;
    std::vector<std::string> faults;  // one line per broken rule: "seed N: what"
};

// Plays `games` games, seeded first_seed, first_seed + 1, ...
RandomGamesReport play_random_games(uint32_t first_seed, int games);
// A few lines for a person: counts, ends and the first faults.
std::string describe(const RandomGamesReport& report);

}  // namespace mem::test
