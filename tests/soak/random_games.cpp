#include "soak/random_games.h"

#include <random>
#include <sstream>

#include "game/text_game_fixture.h"

namespace mem::test {
namespace {

constexpr int kKeyEscape = 27;
// Longest a try may stay in hand: three sounds, ticks after failed
// commands, the pause and the removal.
constexpr uint64_t kLongestTryMs = 5000;

class RandomGame : public TextGameTest {
public:
    void TestBody() override {}

    void play(uint32_t seed, RandomGamesReport& report) {
        seed_ = seed;
        unscored_ = 0;
        rng_.seed(seed);
        const int kind = pick(3);  // memory, match, text
        PlayOptions o;
        o.app = kind == 1 || (kind == 2 && pick(2)) ? "match" : "memory";
        o.cards_x = 2 + pick(2);
        o.cards_y = 2;
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
        TextListOptions t;
        t.destroy = pick(2);
        t.click_sound = pick(3) != 0;
        t.text_sounds = pick(3) != 0;
        t.click_ms = 50 + pick(200);
        t.text_ms = 50 + pick(300);
        restart_text(o, t);
        text_game_ = kind == 2;
        platform().seed = seed;
        (kind == 0 ? report.memory_games : kind == 1 ? report.match_games : report.text_games)++;
        ++report.games;
        report_ = &report;

        if (const auto status = text_game_ ? start_text() : start()) {
            fault("the game did not start (status " + std::to_string(*status) + ")");
            return;
        }
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
        return !in_hand() && g.memCardStatus == -1 && g.memTextGame.CardChosen == False &&
               g.memTextGame.TextChosen == False;
    }
    int16_t any_position() { return static_cast<int16_t>(pick(card_count())); }

    // One thing a player might do at any moment.
    void act() {
        const int what = pick(1000);
        int16_t position = any_position();
        if (what < 400) click_card(position);
        else if (what < 500) game().img_Card_Click(position);
        else if (what < 550) game().lbl_Card_Click(position);
        else if (what < 650) platform().double_click("img_Card", position);
        else if (what < 850 && text_game_) click_text(static_cast<int16_t>(pick(card_count())));
        else if (what < 900) platform().click_at(pick(800), pick(600));
        else if (what == 998) platform().press_key(kKeyEscape);
        else if (what == 999) platform().click("img_Quit");
    }

    // Clicks that finish a pair or a text try, since clicks at random
    // rarely find the last ones.
    void help() {
        const frm_MemoryGame& g = game();
        if (text_game_) {
            if (g.memTextGame.CardChosen != False && g.memTextGame.TextChosen == False) {
                click_text(label_of(g.memTextGame.CardReference));
            } else if (g.memTextGame.CardChosen == False) {
                for (int16_t p = 0; p < card_count(); ++p)
                    if (g.img_Card[p].enabled() && g.img_Card[p].shown()) {
                        click_card(p);
                        break;
                    }
            }
            return;
        }
        if (g.memCardStatus == 0) {
            const int16_t first = g.memCardsTurned[0];
            const int r = memNearest16(g.memDisplayCard[static_cast<size_t>(first)].Reference);
            click_card(holding(r ^ 1));
            return;
        }
        for (int16_t p = 0; p < card_count(); ++p)
            if (g.img_Card[p].enabled()) {
                click_card(p);
                return;
            }
    }
    int16_t holding(int reference) const {
        for (int16_t i = 0; i < card_count(); ++i)
            if (memNearest16(game().memDisplayCard[static_cast<size_t>(i)].Reference) == reference) return i;
        return 0;
    }
    int16_t label_of(int reference) const {
        const auto& slots = game().memInterface.TextList.Display;
        for (int16_t j = 0; j < static_cast<int16_t>(slots.size()); ++j)
            if (memNearest16(slots[static_cast<size_t>(j)].Reference) == reference) return j;
        return 0;
    }

    // Cards taken and left add up to the board; the scores add up to the
    // cards taken.
    // A game that a limit ends while a matched try is still in hand has
    // counted that try's cards as taken but not yet scored them.
    void check_counters(const char* when, int unscored = 0) {
        const frm_MemoryGame& g = game();
        if (g.memTurnedCards - unscored + g.memCardsLeft != card_count())
            fault(std::string(when) + ": cards taken " + std::to_string(g.memTurnedCards) + " + left " +
                  std::to_string(g.memCardsLeft) + " != " + std::to_string(card_count()));
        double made = 0;
        for (const PlayerRecord& p : g.memPlayer) made += p.CardsMade;
        if (made != g.memTurnedCards - unscored)
            fault(std::string(when) + ": scores add up to " + std::to_string(made) + ", cards taken " +
                  std::to_string(g.memTurnedCards));
    }

    // The end is good exactly when the board was emptied (its last try
    // settled) or a player is in.
    void check_end() {
        const frm_MemoryGame& g = game();
        if (!settled_now() && g.memLastResult == memRESULTMATCH) {
            unscored_ = text_game_ ? 1 : 2;
            ++report_->ends_in_a_try;
        }
        check_counters("at the end", unscored_);
        bool someone_in = false;
        for (int16_t p = 0; p < g.memPlayers && static_cast<size_t>(p) < g.memPlayer.size(); ++p)
            someone_in |= g.memPlayer[static_cast<size_t>(p)].Out == False;
        const bool should_be_good = g.memCardsLeft == 0 || someone_in;
        const PictureRef& shown = g.pic_End.picture();
        const bool good = shown && shown->path().ends_with("good.bmp");
        if (!shown) fault("the end shows no picture");
        else if (good != should_be_good) fault(std::string("the end is ") + (good ? "good" : "bad") + " but should be " +
                                                (should_be_good ? "good" : "bad"));
        (good ? report_->good_ends : report_->bad_ends)++;
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
            if (busy && platform().now_ms() - busy_since > kLongestTryMs) {
                fault("a try was in hand for more than 5 s");
                return;
            }
            if (!busy && was_busy && settled_now()) {
                ++report_->settled_tries;
                check_counters("after a settled try");
            }
            was_busy = busy;
            if (step % 4 == 3 && !busy) help();
        }
        if (!over()) {
            fault("the game did not end");
            return;
        }
        check_end();
        // Sounds and ticks after the end change nothing.
        advance(3000);
        check_counters("after the end", unscored_);
    }

    uint32_t seed_ = 0;
    std::mt19937 rng_;
    bool text_game_ = false;
    bool in_yield_ = false;
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
        << " ended by Escape or the quit picture, " << r.ends_in_a_try << " ended by a limit with a matched try in hand; "
        << r.settled_tries << " tries settled; " << r.faults.size()
        << " faults\n";
    for (size_t i = 0; i < r.faults.size() && i < 20; ++i) out << "  " << r.faults[i] << "\n";
    if (r.faults.size() > 20) out << "  ...\n";
    return out.str();
}

}  // namespace mem::test
