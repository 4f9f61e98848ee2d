#include "soak/random_games.h"

#include <random>
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
        unscored_ = 0;
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
        } catch (const ProgramEnded&) {
            ++report.quits;
        }
        platform().during_yield = nullptr;
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
        else if (what < 900) platform().click_at(pick(800), pick(600));
        else if (what == 998) platform().press_key(27);  // Escape
        else if (what == 999) platform().click("img_Quit");
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

    // Cards taken and left add up to the board; the scores add up to the cards taken. A game that a limit ends
    // while a matched try is still in hand has counted that try's cards as taken but not yet scored them.
    void check_counters(const std::string& when, int unscored = 0) {
        const frm_MemoryGame& g = game();
        const int taken = g.memTurnedCards - unscored;
        if (taken + g.memCardsLeft != card_count())
            fault(when + ": cards taken " + std::to_string(taken) + " + left " + std::to_string(g.memCardsLeft));
        double made = 0;
        for (const PlayerRecord& p : g.memPlayer) made += p.CardsMade;
        if (made != taken) fault(when + ": scores add up to " + std::to_string(made));
    }

    // The end is good exactly when the board was emptied (its last try settled) or a player is in.
    void check_end() {
        const frm_MemoryGame& g = game();
        if (!settled_now() && g.memLastResult == memRESULTMATCH) {
            unscored_ = text_game_ ? 1 : 2;
            ++report_->ends_in_a_try;
        }
        check_counters("at the end", unscored_);
        bool someone_in = false;
        for (size_t p = 0; p < static_cast<size_t>(g.memPlayers) && p < g.memPlayer.size(); ++p)
            someone_in |= g.memPlayer[p].Out == False;
        const std::string should_be = g.memCardsLeft == 0 || someone_in ? "good.bmp" : "bad.bmp";
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
                check_counters("after a settled try");
            }
            was_busy = busy;
            if (step % 4 == 3 && !busy) help();
        }
        if (!over()) return fault("the game did not end");
        check_end();
        advance(3000);  // sounds and ticks after the end change nothing
        check_counters("after the end", unscored_);
    }

    uint32_t seed_ = 0;
    std::mt19937 rng_;
    bool text_game_ = false, in_yield_ = false;
    int unscored_ = 0;
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
