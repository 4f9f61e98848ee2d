#pragma once
// What the game says aloud, in the user's language. Names are filled in from
// `values`, counts from `count` (which also picks the plural form).
#include <string>
#include <vector>

namespace mem {

enum class Said {
    SpeechOn,
    SpeechOff,
    Place,      // values: row, column
    FaceDown,
    Taken,
    Pair,
    NoPair,
    Turn,       // values: the player
    Score,      // values: the player; count: cards made
    CardsLeft,  // the counters: count is the value
    Time,
    Countdown,
    TriesMade,
    TriesLeft,
    GoodEnd,
    BadEnd,
    Wins,       // values: the player; count: pairs
    Tie,        // values: the names joined; count: pairs each
    Has,        // values: the player; count: pairs (one player)
    And,        // values: the names but the last, the last name
    Comma,      // between the items of a list
    Semicolon,  // between the parts of what is said
    Keys,
};

// The text of `what` with `values` and `count` filled in.
std::string say_text(Said what, const std::vector<std::string>& values = {}, long count = 0);

}  // namespace mem
