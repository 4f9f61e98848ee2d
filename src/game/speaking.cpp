// Playing by ear: what the game says when the focus moves, a card turns, a
// try is settled, the turn passes and the game ends, and on the keys S, R
// and H. The texts come from say_text; the platform's speech service says
// them without holding up the game.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/game_window.h"
#include "board/geometry.h"
#include "definition/syntax.h"
#include "game/speech_texts.h"

namespace mem {

namespace {

long number(float value) { return static_cast<long>(std::nearbyint(value)); }

std::string joined(const std::vector<std::string>& parts, Said separator) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : say_text(separator)) + part;
    return out;
}

// The players of the game (the records may hold more).
std::vector<PlayerRecord> playing(const std::vector<PlayerRecord>& players, int16_t count) {
    return {players.begin(), players.begin() + std::clamp<std::ptrdiff_t>(count, 0, std::ssize(players))};
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void frm_MemoryGame::memSwitchSpeech(bool on) {
    if (on && !memSpeech) memSpeech = platform().open_speech();
    if (on) memSpeaking = true;
    memSay(say_text(on ? Said::SpeechOn : Said::SpeechOff));
    memSpeaking = on;
}

void frm_MemoryGame::memSay(const std::string& text) {
    if (!memSpeaking || !memSpeech || text.empty()) return;
    memLastSaid = text;
    memSpeech->say(text);
}

void frm_MemoryGame::memSayAgain() {
    if (memSpeaking && memSpeech && !memLastSaid.empty()) memSpeech->say(memLastSaid);
}

namespace {

// The caption of a card, or its name from the card file when it has none.
std::string card_words(const std::vector<CardDefinition>& cards, int16_t r) {
    if (!has_index(cards, r)) return "";
    const CardDefinition& card = cards[static_cast<size_t>(r)];
    return card.Text.empty() ? card.Name : card.Text;
}

}  // namespace

void frm_MemoryGame::memSayFocus() {
    if (!memSpeaking) return;
    if (memFocusArea == FocusArea::Texts) {
        if (lbl_Text.exists(memFocusText)) memSay(trimmed(lbl_Text[memFocusText].caption()));
        return;
    }
    if (memFocusArea == FocusArea::End) {
        memSayAgain();
        return;
    }
    const std::vector<FocusCell> cells = memFocusCells();
    const int16_t k = memFocusCard;
    if (!has_index(cells, k) || !img_Card.exists(k) || !has_index(memDisplayCard, k)) return;
    const DisplayCard& card = memDisplayCard[static_cast<size_t>(k)];
    std::string state;
    if (!img_Card[k].shown() || (!img_Card[k].enabled() && card.Turned == False)) {
        state = say_text(Said::Taken);
    } else if (card.Turned != False || memAppType != 0) {
        // Face up: in hand, or a match game's card, which lies face up.
        state = card_words(memCardHolder, memNearest16(card.Reference));
    } else {
        state = say_text(Said::FaceDown);
    }
    const FocusCell& cell = cells[static_cast<size_t>(k)];
    memSay(say_text(Said::Place, {std::to_string(cell.row + 1), std::to_string(cell.column + 1)}) +
           say_text(Said::Comma) + state);
}

// A card or text whose sound plays is heard; a muted one is not, so the
// words stand in for it.
bool frm_MemoryGame::memHeardOwnSound(const std::string& name) const {
    return !name.empty() && !mmc_Sound->muted() && memFileExists(memPaths.Card + name) != False;
}

void frm_MemoryGame::memSayTurnedCard(int16_t Index) {
    if (!memSpeaking || !has_index(memDisplayCard, Index)) return;
    const int16_t r = memNearest16(memDisplayCard[static_cast<size_t>(Index)].Reference);
    if (!has_index(memCardHolder, r)) return;
    if (!memHeardOwnSound(memCardHolder[static_cast<size_t>(r)].Sound)) memSay(card_words(memCardHolder, r));
}

void frm_MemoryGame::memSayChosenText(int16_t Index) {
    const auto& display = memInterface.TextList.Display;
    const auto& items = memInterface.TextList.Item;
    if (!memSpeaking || !has_index(display, Index)) return;
    const int16_t r = memNearest16(display[static_cast<size_t>(Index)].Reference);
    if (!has_index(items, r)) return;
    if (!memHeardOwnSound(items[static_cast<size_t>(r)].Sound)) memSay(items[static_cast<size_t>(r)].Text);
}

void frm_MemoryGame::memSayResult(bool pair) { memSay(say_text(pair ? Said::Pair : Said::NoPair)); }

void frm_MemoryGame::memSayTurn() {
    if (memPlayers > 1 && has_index(memPlayer, memCurrentPlayer))
        memSay(say_text(Said::Turn, {memPlayer[static_cast<size_t>(memCurrentPlayer)].Name}));
}

void frm_MemoryGame::memSayScores() {
    std::vector<std::string> scores;
    for (const PlayerRecord& player : playing(memPlayer, memPlayers)) scores.push_back(say_text(Said::Score, {player.Name}, number(player.CardsMade)));
    std::vector<std::string> parts{joined(scores, Said::Comma), say_text(Said::CardsLeft, {}, number(memCardsLeft))};
    if (has_index(memPlayer, memCurrentPlayer)) {
        const PlayerRecord& player = memPlayer[static_cast<size_t>(memCurrentPlayer)];
        const std::pair<int, std::pair<Said, float>> counters[] = {
            {kGroupTimer, {Said::Time, player.Time}},
            {kGroupCountdown, {Said::Countdown, player.Countdown}},
            {kGroupTriesMade, {Said::TriesMade, player.TriesMade}},
            {kGroupTriesLeft, {Said::TriesLeft, player.TriesLeft}}};
        for (const auto& [group, counter] : counters)
            if (memControl[static_cast<size_t>(group)].Active != False)
                parts.push_back(say_text(counter.first, {}, number(counter.second)));
    }
    memSay(joined(parts, Said::Semicolon));
}

void frm_MemoryGame::memSayEnd(bool good) {
    // A card game scores two cards a pair, a text game one card and its text.
    const float per_pair = memInterface.TextList.Active != False ? 1.0f : 2.0f;
    const std::vector<PlayerRecord> players = playing(memPlayer, memPlayers);
    float most = 0;
    for (const PlayerRecord& player : players) most = std::max(most, player.CardsMade);
    std::vector<std::string> best;
    for (const PlayerRecord& player : players)
        if (player.CardsMade == most) best.push_back(player.Name);
    std::string who;
    const long pairs = number(most / per_pair);
    if (players.size() == 1) {
        who = say_text(Said::Has, {best.front()}, pairs);
    } else if (best.size() == 1) {
        who = say_text(Said::Wins, {best.front()}, pairs);
    } else if (!best.empty()) {
        const std::string last = best.back();
        best.pop_back();
        who = say_text(Said::Tie, {say_text(Said::And, {joined(best, Said::Comma), last})}, pairs);
    }
    memSay(say_text(good ? Said::GoodEnd : Said::BadEnd) + (who.empty() ? "" : " " + who));
}

}  // namespace mem
