#include "game/speech_texts.h"

#include <array>
#include <string_view>

namespace mem {

namespace {

struct Entry {
    Said what;
    std::string_view text;
};

constexpr std::array kTexts{
    Entry{Said::SpeechOn, "speech on"},
    Entry{Said::SpeechOff, "speech off"},
    Entry{Said::Place, "row %1, column %2"},
    Entry{Said::FaceDown, "face down"},
    Entry{Said::Taken, "taken"},
    Entry{Said::Pair, "pair"},
    Entry{Said::NoPair, "no pair"},
    Entry{Said::Turn, "%1's turn"},
    Entry{Said::Score, "%1 %2"},
    Entry{Said::CardsLeft, "%1 cards left"},
    Entry{Said::Time, "time %1"},
    Entry{Said::Countdown, "countdown %1"},
    Entry{Said::TriesMade, "%1 tries made"},
    Entry{Said::TriesLeft, "%1 tries left"},
    Entry{Said::GoodEnd, "Well done!"},
    Entry{Said::BadEnd, "Game over."},
    Entry{Said::Wins, "%1 wins with %2 pairs"},
    Entry{Said::Tie, "%1 tie with %2 pairs each"},
    Entry{Said::Has, "%1 has %2 pairs"},
    Entry{Said::And, " and "},
    Entry{Said::Comma, ", "},
    Entry{Said::Semicolon, "; "},
    Entry{Said::Keys,
          "Arrow keys move, Return turns the card, Tab goes between the cards and the texts, "
          "S says the scores, R repeats, H says the keys, F2 switches speech off, "
          "M switches the sounds off, Escape ends the game."},
};

}  // namespace

std::string say_text(Said what, const std::vector<std::string>& values) {
    std::string_view format;
    for (const Entry& entry : kTexts)
        if (entry.what == what) format = entry.text;
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        const size_t n = i + 1 < format.size() ? static_cast<size_t>(format[i + 1] - '1') : values.size();
        if (format[i] == '%' && n < values.size()) {
            out += values[n];
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace mem
