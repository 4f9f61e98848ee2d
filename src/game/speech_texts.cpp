#include "game/speech_texts.h"

#include "platform/translation.h"

namespace mem {

// Mended: counts take the plural form their number needs ("1 pair", not "1 pairs").
std::string say_text(Said what, const std::vector<std::string>& values, long count) {
    auto value = [&](size_t i) { return i < values.size() ? values[i].c_str() : ""; };
    const unsigned long n = count < 0 ? static_cast<unsigned long>(-count) : static_cast<unsigned long>(count);
    switch (what) {
        // TRANSLATORS: spoken when speech is switched on or off (key F2).
        case Said::SpeechOn: return tr("speech on");
        case Said::SpeechOff: return tr("speech off");
        // TRANSLATORS: spoken for the card in the focus frame, before its state.
        case Said::Place: return format_text(tr("row %1$s, column %2$s"), value(0), value(1));
        // TRANSLATORS: the state of the card in the focus frame.
        case Said::FaceDown: return tr("face down");
        case Said::Taken: return tr("taken");
        // TRANSLATORS: spoken after a try: the two cards made a pair, or not.
        case Said::Pair: return tr("pair");
        case Said::NoPair: return tr("no pair");
        // TRANSLATORS: %s is a player's name.
        case Said::Turn: return format_text(tr("%s's turn"), value(0));
        // TRANSLATORS: a player's score: the player's name and the cards the player has made.
        case Said::Score: return format_text(tr("%s %ld"), value(0), count);
        case Said::CardsLeft: return format_text(tr_plural("%ld card left", "%ld cards left", n), count);
        // TRANSLATORS: the time counter (seconds).
        case Said::Time: return format_text(tr("time %ld"), count);
        // TRANSLATORS: the countdown counter (seconds left).
        case Said::Countdown: return format_text(tr("countdown %ld"), count);
        case Said::TriesMade: return format_text(tr_plural("%ld try made", "%ld tries made", n), count);
        case Said::TriesLeft: return format_text(tr_plural("%ld try left", "%ld tries left", n), count);
        case Said::GoodEnd: return tr("Well done!");
        // TRANSLATORS: spoken at a lost game's end (the screen shows the game's own picture).
        case Said::BadEnd: return tr("Game over.");
        // TRANSLATORS: %s is a player's name, %ld the pairs the player made.
        case Said::Wins: return format_text(tr_plural("%s wins with %ld pair", "%s wins with %ld pairs", n), value(0), count);
        case Said::Tie:
            // TRANSLATORS: %s is a list of players' names ("Anna, Ben and Carl").
            return format_text(tr_plural("%s tie with %ld pair each", "%s tie with %ld pairs each", n), value(0), count);
        // TRANSLATORS: the end of a game of one player: the name and the pairs made.
        case Said::Has: return format_text(tr_plural("%s has %ld pair", "%s has %ld pairs", n), value(0), count);
        // TRANSLATORS: the end of a list of names: "Anna, Ben" and "Carl".
        case Said::And: return format_text(tr("%1$s and %2$s"), value(0), value(1));
        // TRANSLATORS: between the items of a spoken list (the players' scores, names).
        case Said::Comma: return tr(", ");
        // TRANSLATORS: between the parts of the spoken scores (scores; cards left; counters).
        case Said::Semicolon: return tr("; ");
        case Said::Keys:
            return tr("Arrow keys move, Return turns the card, Tab goes between the cards and the texts, "
                      "S says the scores, R repeats, H says the keys, F2 switches speech off, "
                      "M switches the sounds off, Escape ends the game.");
    }
    return "";
}

}  // namespace mem
