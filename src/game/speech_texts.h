#pragma once
// What the game says aloud. Every text goes through one table, so that a
// translation can replace the English later; "%1" and "%2" are filled in.
#include <string>
#include <vector>

namespace mem {

enum class Said {
    SpeechOn,
    SpeechOff,
    Place,      // row %1, column %2
    FaceDown,
    Taken,
    Pair,
    NoPair,
    Turn,       // %1's turn
    Score,      // %1 (a player) %2 (cards made)
    CardsLeft,  // the counters: %1 is the value
    Time,
    Countdown,
    TriesMade,
    TriesLeft,
    GoodEnd,
    BadEnd,
    Wins,       // %1 wins with %2 pairs
    Tie,        // %1 (names) tie with %2 pairs each
    Has,        // %1 has %2 pairs (one player)
    And,        // between the last two names of a tie
    Comma,      // between the items of a list
    Semicolon,  // between the parts of what is said
    Keys,
};

// The text of `what` with %1, %2, ... replaced by `values` in order.
std::string say_text(Said what, const std::vector<std::string>& values = {});

}  // namespace mem
