#include "soak/random_games.h"

#include <climits>
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
        report_ = &report, seed_ = seed;
        SCOPED_TRACE("seed " + std::to_string(seed));
        texts_taken_.clear(), rng_.seed(seed);
        const int kind = pick(3);  // memory, match, text
        PlayOptions o;
        o.app = kind == 1 || (kind == 2 && pick(2)) ? "match" : "memory";
        o.cards_x = 2 + pick(2);
        o.players = 1 + pick(4);
        o.debug = pick(8) == 0;
        o.result_sounds = pick(2);
        o.turn_sound = pick(4) != 0;
        o.turn_ms = 50 + pick(300), o.card_ms = 50 + pick(300), o.result_ms = 50 + pick(300);
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
        clocks_.assign(static_cast<size_t>(o.players), {});
        clocks_[0].turns = 1, time_of_ = {0}, time_caption_ = time_shown(), ticked_ = false;
        looked_at_ = platform().now_ms();
        // A game ended by a click during a yield leaves the flag set.
        was_settled_ = true, in_yield_ = false;
        // Some device commands fail; the player also acts while the game lets events through.
        const int fail_percent = pick(3) * 10;
        device().fail_when = [this, fail_percent](const std::string& command, const std::string&) {
            return command != "close" && pick(100) < fail_percent;
        };
        platform().during_yield = [this] {
            if (in_yield_ || pick(4) != 0) return;
            in_yield_ = true, act(), in_yield_ = false;
        };
        if (const std::optional<int> ended = exit_status([this] { run(); })) {
            ++report.quits;
            if (!planted_end_ || *ended != kExitNormal)
                fault("the program ended with status " + std::to_string(*ended) + " unasked");
        }
        platform().during_yield = nullptr;
        check_message_boxes(o, kind == 2);
    }
private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    void fault(const std::string& what) { report_->faults.push_back("seed " + std::to_string(seed_) + ": " + what); }
    bool over() const { return game().memGameOver != False; }
    bool settled_now() const {
        const frm_MemoryGame& g = game();
        return quiet() && g.memCardStatus == -1 && !g.memTextGame.CardChosen && !g.memTextGame.TextChosen;
    }
    // One thing a player might do at any moment: clicks anywhere, double clicks, now and then Escape or quit.
    void act() {
        look();
        planted_end_ |= over();  // after the end a click may land on the end picture
        const int what = pick(1000);
        const auto position = static_cast<int16_t>(pick(card_count()));
        // A card on its way off the board may lie over the quit picture.
        const Rect card = game().img_Card[position].window_rect();
        const Rect shown = intersected(card, game().pic_Background.window_rect());
        if (what < 400 || (what >= 550 && what < 650))
            for (const Rect& r : {card, shown}) planted_end_ |= ends_at(r.left + r.width / 2, r.top + r.height / 2);
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
    void click_anywhere(int x, int y) { planted_end_ |= ends_at(x, y), platform().click_at(x, y); }
    bool ends_at(int x, int y) const {
        const Control* front = game().control_at(x, y);
        return front && (front->name() == "img_Quit" || front->name() == "pic_End");
    }
    // Clicks that finish a pair or a text try, since clicks at random rarely find the last ones.
    void help() {
        look();
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
    // What the try took, read off the board: a card that takes no click while no try is in hand is taken. A settled
    // try takes nothing, or a pair by the faces shown (a card and the text of its line).
    int check_taken() {
        const frm_MemoryGame& g = game();
        std::vector<int16_t> cards, labels;
        for (int16_t p = 0; p < card_count(); ++p)
            if (!g.img_Card[p].enabled() && !seen.taken.contains(p)) cards.push_back(p);
        for (int16_t t = 0; text_game_ && t < card_count(); ++t)
            if (!g.lbl_Text[t].enabled() && !texts_taken_.contains(t)) labels.push_back(t);
        // What the try took must be a whole pair.
        std::multiset<int> card_lines, text_lines;
        for (const int16_t p : cards) card_lines.insert(line_shown(p));
        for (const int16_t t : labels) text_lines.insert(std::stoi(g.lbl_Text[t].caption().substr(1)));
        if (!text_game_)
            for (const int line : card_lines) text_lines.insert(line ^ 1);
        if (card_lines != text_lines || card_lines.contains(-1))
            fault("the tries took " + std::to_string(cards.size()) + " cards and " + std::to_string(labels.size()) +
                  " texts, not whole pairs");
        seen.taken.insert(cards.begin(), cards.end());
        texts_taken_.insert(labels.begin(), labels.end());
        return static_cast<int>(cards.size());
    }
    // Beside the fixture's record (tries, cards made, out by a limit or seen passed over at a turn, whose turn it
    // is), the clock time each player held the turn, how often the turn came to them and how often the clock started
    // again for them (after a try without a pair).
    struct Clock { int turns = 0, restarts = 0; uint64_t held_ms = 0; };
    // The ticks the clock can have counted for player `q`: each turn and each restart may lose or add up to two.
    std::pair<int, int> seconds(size_t q) const {
        const Clock& c = clocks_[q];
        const auto held = static_cast<int>(c.held_ms / 1000);
        return {held - 2 * (c.restarts + c.turns) - 1, held + 2 * c.turns + 1};
    }
    // 1 out by the record, 0 in, -1 when the clock may or may not have reached a time limit.
    int out(size_t q) const {
        const int limit = std::min(options.timer.value_or(INT_MAX), options.countdown.value_or(INT_MAX));
        if (seen.out[q] || seconds(q).first >= limit) return 1;
        return seconds(q).second < limit ? 0 : -1;
    }
    // The player whose name is lit, -1 when none is.
    int lit() const {
        for (int16_t p = 0; p < options.players && p < 4; ++p)
            if (game().lbl_PlayerName[p].fore_color() == kNameColour) return p;
        return -1;
    }
    // Until the first tick both the timer and the countdown show 0.
    std::string time_shown() const {
        std::string shown;
        for (const char* group : {"timer", "countdown"})
            if (panel_slots.contains(group)) shown += game().lbl_Control[panel_slots.at(group)].caption() + "/";
        return shown;
    }
    // Before every click and after every step of the clock: the time passed goes to the player who has the turn;
    // a try settled since the last look (one at most) is the current player's, and the board must show the record.
    void look() {
        const uint64_t now = platform().now_ms();
        clocks_[static_cast<size_t>(seen.player)].held_ms += now - looked_at_;
        looked_at_ = now;
        // The clock's captions show the time of the player who had the turn at the last tick.
        if (time_shown() != time_caption_) time_of_ = {seen.player}, ticked_ = true;
        time_caption_ = time_shown();
        const bool settled = settled_now();
        if (settled && !was_settled_) {
            ++report_->settled_tries;
            record_try(over() ? -1 : check_taken());
        }
        was_settled_ = settled;
    }
    // `taken`: the cards the try took, -1 when it ended the game (whose board then takes no clicks).
    void record_try(int taken) {
        const auto cur = static_cast<size_t>(seen.player);
        if (!text_game_) {
            const int tries = ++seen.tries[cur];
            seen.out[cur] = seen.out[cur] || (options.tries_made && tries >= *options.tries_made) ||
                            (options.tries_left && tries >= *options.tries_left);
        }
        if (taken < 0) return;
        seen.made[cur] += taken;
        if (!text_game_ && taken == 0) ++clocks_[cur].restarts, pass_turn();
        const bool later = over() || in_yield_;  // inside a yield the end may be on its way
        check_counts(!later);
        if (later) return;
        bool all_out = true;
        for (size_t q = 0; q < clocks_.size(); ++q) all_out &= out(q) == 1;
        if (all_out) fault("every player is out by the record, and the game goes on");
        for (const auto& [group, slot] : panel_slots) {
            if (!ticked_ || (group != "timer" && group != "countdown")) continue;
            const int shown = std::stoi(number(game().lbl_Control[slot]));
            const int ticks = group == "timer" ? shown : *options.countdown - shown;
            bool fits = false;
            for (const int q : time_of_)
                fits |= ticks >= seconds(static_cast<size_t>(q)).first - 1 &&
                        ticks <= seconds(static_cast<size_t>(q)).second;
            if (!fits) fault(group + " shows " + std::to_string(shown) + " after " +
                             std::to_string(clocks_[static_cast<size_t>(seen.player)].held_ms) +
                             " ms of the player's turns");
        }
    }
    // After a try without a pair the turn goes to the next player not out; one the clock may have put out may be
    // passed over, which the lit name tells.
    void pass_turn() {
        const int players = options.players, shown = lit();
        if (players < 2 || over()) return;
        int next = -1;
        for (int step = 1; step <= players; ++step) {
            const int q = (seen.player + step) % players;
            const int state = out(static_cast<size_t>(q));
            if (q == shown || (shown < 0 && state != 1)) { next = q; break; }
            if (state == 0) return fault("the turn passed over player " + std::to_string(q) + ", who is in");
            seen.out[static_cast<size_t>(q)] = true;
        }
        if (next < 0) return fault("the turn went to player " + std::to_string(shown) + ", who is out");
        seen.player = next, time_of_.insert(next);
        ++clocks_[static_cast<size_t>(next)].turns;
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
        for (size_t p = 0; !emptied && p < clocks_.size(); ++p)
            if (out(p) == 0) fault("the game ended while player " + std::to_string(p) + " is in by the record");
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
            const bool busy = !quiet();
            if (busy && !was_busy) busy_since = platform().now_ms();
            // Three sounds, ticks after failed commands, the pause and the removal fit in 5 s.
            if (busy && platform().now_ms() - busy_since > 5000) return fault("a try was in hand for more than 5 s");
            look();
            was_busy = busy;
            if (step % 4 == 3 && !busy) help();
        }
        if (!over()) return fault("the game did not end");
        look();
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
    bool text_game_ = false, in_yield_ = false, planted_end_ = false, was_settled_ = true;
    std::vector<Clock> clocks_;
    std::set<int> time_of_;  // who may have had the turn at the tick that wrote the clock's captions
    std::string time_caption_;
    bool ticked_ = false;
    uint64_t looked_at_ = 0;
    std::set<int16_t> texts_taken_;
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
