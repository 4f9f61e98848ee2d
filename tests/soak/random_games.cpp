#include "soak/random_games.h"

#include <random>
#include <set>
#include <sstream>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

class RandomGame : public TextGameTest {
public:
    void TestBody() override {}

    void play(uint32_t seed, RandomGamesReport& report) {
        report_ = &report;
        seed_ = seed;
        taken_.clear();
        texts_taken_.clear();
        rng_.seed(seed);
        const int kind = pick(3);  // memory, match, text
        PlayOptions o;
        o.app = kind == 1 || (kind == 2 && pick(2)) ? "match" : "memory";
        o.cards_x = 2 + pick(2);
        o.players = 1 + pick(4);
        o.debug = pick(8) == 0;
        o.result_sounds = pick(2);
        o.turn_sound = pick(4) != 0;
        o.turn_ms = 50 + pick(300);
        o.card_ms = 50 + pick(300);
        o.result_ms = 50 + pick(300);
        o.match_line = pick(5) == 0;
        o.dissapear = pick(4);
        const CardSound sounds[] = {CardSound::Present, CardSound::Empty, CardSound::MissingAtLoad,
                                    CardSound::Vanished, CardSound::Undecodable};
        for (int c = 0; c < o.cards_x * o.cards_y; ++c) o.card_sound_of[c] = sounds[pick(5)];
        planted_end_ = false;
        if (pick(3) == 0) o.timer = 5 + pick(40);
        if (pick(3) == 0) o.countdown = 5 + pick(40);
        if (pick(4) == 0) o.tries_made = 2 + pick(8);
        if (pick(3) == 0) o.tries_left = 2 + pick(8);
        restart_text(o, {.destroy = pick(2) != 0, .click_sound = pick(3) != 0, .text_sounds = pick(3) != 0,
                         .click_ms = 50 + pick(200), .text_ms = 50 + pick(300)});
        text_game_ = kind == 2;
        platform().seed = seed;
        (kind == 0 ? report.memory_games : kind == 1 ? report.match_games : report.text_games)++;
        ++report.games;
        if (const auto status = text_game_ ? start_text() : start())
            return fault("the game did not start (status " + std::to_string(*status) + ")");
        // Some device commands fail; the player also acts while the game lets events through.
        const int fail_percent = pick(3) * 10;
        device().fail_when = [this, fail_percent](const std::string& command, const std::string&) {
            return command != "close" && pick(100) < fail_percent;
        };
        platform().during_yield = [this] {
            if (in_yield_ || pick(4) != 0) return;
            in_yield_ = true;
            act();
            in_yield_ = false;
        };
        try {
            run();
        } catch (const ProgramEnded& ended) {
            ++report.quits;
            if (!planted_end_ || ended.status != kExitNormal)
                fault("the program ended with status " + std::to_string(ended.status) + " unasked");
        }
        platform().during_yield = nullptr;
        check_message_boxes(o, kind == 2);
    }

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    void fault(const std::string& what) { report_->faults.push_back("seed " + std::to_string(seed_) + ": " + what); }
    bool over() const { return game().memGameOver != False; }
    bool in_hand() const { return game().memProcessing != False || game().memLinkPending != False; }
    bool settled_now() const {
        const frm_MemoryGame& g = game();
        return !in_hand() && g.memCardStatus == -1 && !g.memTextGame.CardChosen && !g.memTextGame.TextChosen;
    }

    // One thing a player might do at any moment: clicks anywhere, double clicks, now and then Escape or quit.
    void act() {
        const int what = pick(1000);
        const auto position = static_cast<int16_t>(pick(card_count()));
        if (what < 400) click_card(position);
        else if (what < 500) game().img_Card_Click(position);
        else if (what < 550) game().lbl_Card_Click(position);
        else if (what < 650) platform().double_click("img_Card", position);
        else if (what < 850 && text_game_) click_text(static_cast<int16_t>(pick(card_count())));
        else if (what < 900) click_anywhere(pick(800), pick(600));
        else if (what == 998) planted_end_ = true, platform().press_key(27);  // Escape
        else if (what == 999) planted_end_ = true, platform().click("img_Quit");
    }

    // A click at (x, y), which ends the program on the quit or the end picture.
    void click_anywhere(int x, int y) {
        const Control* front = game().control_at(x, y);
        planted_end_ |= front && (front->name() == "img_Quit" || front->name() == "pic_End");
        platform().click_at(x, y);
    }

    // Clicks that finish a pair or a text try, since clicks at random rarely find the last ones.
    void help() {
        const frm_MemoryGame& g = game();
        if (text_game_ && g.memTextGame.CardChosen && !g.memTextGame.TextChosen) {
            click_text(text_of(g.memTextGame.CardReference));
        } else if (!text_game_ && g.memCardStatus == 0) {
            const auto first = static_cast<size_t>(g.memCardsTurned[0]);
            click_card(position_of(memNearest16(g.memDisplayCard[first].Reference) ^ 1));
        } else if (!text_game_ || !g.memTextGame.CardChosen) {
            int16_t p = 0;
            while (p < card_count() && !(g.img_Card[p].enabled() && (!text_game_ || g.img_Card[p].shown()))) ++p;
            if (p < card_count()) click_card(p);
        }
    }

    // Every message box reports a fault this game planted: a card sound missing when the game is read, no turn
    // sound, a text game without a click sound.
    void check_message_boxes(const PlayOptions& o, bool text_game) {
        for (const MessageBoxRecord& box : platform().message_boxes) {
            bool planted = false;
            for (const auto& [card, sound] : o.card_sound_of)
                planted |= sound == CardSound::MissingAtLoad && box.title == "Error in application (#203)";
            planted |= !o.turn_sound && box.title == "Error in application (#202)";
            planted |= text_game && !texts.click_sound && box.title == "Error in application (#204)";
            if (!planted) fault("a message box nobody planted: " + box.title + ": " + box.text);
        }
    }

    // The soak's own record, read off the board: a card that takes no click while no try is in hand is taken. A
    // settled try takes nothing, or a pair by the faces shown (a card and the text of its line); the panel's cards
    // left and the players' scores show what was taken.
    void check_taken() {
        const frm_MemoryGame& g = game();
        std::vector<int16_t> cards, labels;
        for (int16_t p = 0; p < card_count(); ++p)
            if (!g.img_Card[p].enabled() && !taken_.contains(p)) cards.push_back(p);
        for (int16_t t = 0; text_game_ && t < card_count(); ++t)
            if (!g.lbl_Text[t].enabled() && !texts_taken_.contains(t)) labels.push_back(t);
        // More than one try may have been settled since the last look: what they took must be whole pairs.
        std::multiset<int> card_lines, text_lines;
        for (const int16_t p : cards) card_lines.insert(line_shown(p));
        for (const int16_t t : labels) text_lines.insert(std::stoi(g.lbl_Text[t].caption().substr(1)));
        if (!text_game_)
            for (const int line : card_lines) text_lines.insert(line ^ 1);
        if (card_lines != text_lines || card_lines.contains(-1))
            fault("the tries took " + std::to_string(cards.size()) + " cards and " + std::to_string(labels.size()) +
                  " texts, not whole pairs");
        taken_.insert(cards.begin(), cards.end());
        texts_taken_.insert(labels.begin(), labels.end());
        const auto taken = static_cast<int>(taken_.size());
        const std::string left = number(g.lbl_Control[panel_slots.at("cards left")]);
        if (left != std::to_string(card_count() - taken)) fault("cards left shows " + left + " after " +
                                                                 std::to_string(taken) + " taken");
        int scores = 0;
        for (int16_t p = 0; p < options.players; ++p) scores += std::stoi(g.lbl_PlayerScore[p].caption());
        if (scores != taken) fault("the scores add up to " + std::to_string(scores) + ", " + std::to_string(taken) +
                                   " cards taken");
    }

    // The end is good exactly when the board was emptied: with the cards hidden when taken, every card is hidden;
    // else the game's count, less a matched try that a limit ended while it was in hand.
    void check_end() {
        const frm_MemoryGame& g = game();
        const bool in_hand_match = !settled_now() && g.memLastResult == memRESULTMATCH;
        report_->ends_in_a_try += in_hand_match;
        bool emptied = g.memCardsLeft == 0 && !in_hand_match;
        if (options.dissapear == 1 && !options.match_line) {
            emptied = true;
            for (int16_t p = 0; p < card_count(); ++p) emptied &= !g.img_Card[p].visible();
        }
        const std::string should_be = emptied ? "good.bmp" : "bad.bmp";
        if (end_picture() != should_be) fault("the end shows '" + end_picture() + "', not " + should_be);
        (end_picture() == "good.bmp" ? report_->good_ends : report_->bad_ends)++;
    }

    void run() {
        uint64_t busy_since = 0;
        bool was_busy = false;
        for (int step = 0; step < 6000 && !over(); ++step) {
            act();
            advance(static_cast<uint64_t>(pick(400)));
            if (over()) break;
            const bool busy = in_hand();
            if (busy && !was_busy) busy_since = platform().now_ms();
            // Three sounds, ticks after failed commands, the pause and the removal fit in 5 s.
            if (busy && platform().now_ms() - busy_since > 5000) return fault("a try was in hand for more than 5 s");
            if (!busy && was_busy && settled_now()) {
                ++report_->settled_tries;
                check_taken();
            }
            was_busy = busy;
            if (step % 4 == 3 && !busy) help();
        }
        if (!over()) return fault("the game did not end");
        check_end();
        const auto shown = [this] {
            std::string all = end_picture();
            for (int16_t p = 0; p < options.players; ++p) all += game().lbl_PlayerScore[p].caption();
            for (const auto& [group, slot] : panel_slots) all += game().lbl_Control[slot].caption();
            return all;
        };
        const std::string at_end = shown();
        advance(3000);  // sounds and ticks after the end change nothing
        if (shown() != at_end) fault("the board changed after the end: " + at_end + " became " + shown());
    }

    uint32_t seed_ = 0;
    std::mt19937 rng_;
    bool text_game_ = false, in_yield_ = false, planted_end_ = false;
    std::set<int16_t> taken_, texts_taken_;
    RandomGamesReport* report_ = nullptr;
};

}  // namespace

RandomGamesReport play_random_games(uint32_t first_seed, int games) {
    RandomGamesReport report;
    RandomGame game;
    game.SetUp();
    for (int i = 0; i < games; ++i) game.play(first_seed + static_cast<uint32_t>(i), report);
    game.TearDown();
    return report;
}

std::string describe(const RandomGamesReport& r) {
    std::ostringstream out;
    out << r.games << " games (" << r.memory_games << " memory, " << r.match_games << " match, " << r.text_games
        << " text): " << r.good_ends << " good ends, " << r.bad_ends << " bad ends, " << r.quits
        << " ended by Escape or quit, " << r.ends_in_a_try << " ended by a limit with a matched try in hand; "
        << r.settled_tries << " tries settled; " << r.faults.size() << " faults\n";
    for (size_t i = 0; i < r.faults.size() && i < 20; ++i) out << "  " << r.faults[i] << "\n";
    return out.str();
}

}  // namespace mem::test
