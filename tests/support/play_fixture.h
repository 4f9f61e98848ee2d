#pragma once
// A whole small game on the headless backend, played by clicks and the clock, its trace and sound commands read.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "platform/headless/headless_media_device.h"
#include "support/folder_fixtures.h"
#include "support/pointer_play.h"

namespace mem::test {

constexpr Colour kNameColour = 16777215, kScoreColour = 65535, kDimColour = 8421504;
constexpr Colour kRestColour = 111, kSelectColour = 222, kDimTextColour = 333;
// What a card's own sound is when the game is played.
enum class CardSound {
    Present,        // a wave file that plays
    Empty,          // no sound named
    MissingAtLoad,  // named but absent when the definition is read (error 203, then no sound)
    Vanished,       // present when the definition is read, gone when the card is turned
    Undecodable,    // a file that exists but is not a wave file
};

struct PlayOptions {
    std::string app = "memory";  // or "match"
    int cards_x = 2, cards_y = 2;
    int players = 1;
    bool debug = true;
    bool turn_sound = true;
    bool result_sounds = true;  // match and no-match sounds named and present
    bool undecodable_match_sound = false;
    CardSound card_sound = CardSound::Present;  // every card
    std::map<int, CardSound> card_sound_of;     // by card line (0-based), over card_sound
    bool match_line = false;
    int dissapear = 1;                                            // removal: hide at once
    std::optional<int> timer, countdown, tries_made, tries_left;  // panel groups shown, by condition; cards left always
    std::string end_pictures = "ok";                              // or "missing" or "undecodable"
    std::string extra_main, extra_global, extra_definition;       // lines added to main, global and [gamefiles]
    int turn_ms = 100, card_ms = 200, result_ms = 300;            // sound lengths; the end sounds last 400 ms
};

class PlayTest : public FolderTest {
public:
    void SetUp() override {
        dir = fresh_folder("play", platform());
        platform().screen_info = {800, 600, 15};
    }
    void TearDown() override { program.reset(), FolderTest::TearDown(); }

    // Writes the set for `options` and starts the game: load and activation. Gives the exit status when it ended.
    std::optional<int> start() {
        write_definition();
        if (spoil) spoil(dir);
        program = std::make_unique<Program>(platform());
        program->memDebug = True;
        program->speak = speak;
        if (const auto status = exit_status([this] { program->memStartUp(path("data") + "memory.ini"); })) return status;
        const auto players = static_cast<size_t>(std::max(options.players, 1));
        seen = {0, std::vector<int>(players), std::vector<int>(players), std::vector<bool>(players), {}};
        for (int card = 0; card < options.cards_x * options.cards_y; ++card)
            if (sound_of(card) == CardSound::Vanished) std::filesystem::remove(dir / "card" / card_sound_file(card));
        return std::nullopt;
    }
    // Starts again from nothing, for the next case of a table.
    void restart(const PlayOptions& next) {
        TearDown();
        headless = std::make_unique<HeadlessPlatform>();
        options = next;
        PlayTest::SetUp();
    }

    frm_MemoryGame& game() const { return *program->game(); }
    int card_count() const { return static_cast<int>(game().memCardCount); }
    HeadlessPlatform& platform() const { return *headless; }
    HeadlessMediaDevice& device() const { return static_cast<HeadlessMediaDevice&>(*game().mmc_Sound); }
    // The board position holding card definition r.
    int16_t position_of(int r) const {
        const int16_t at = mem::position_of(game(), r);
        EXPECT_TRUE(at >= 0 && at < card_count()) << "no position holds card " << r;
        return std::max<int16_t>(at, 0);
    }
    std::pair<int16_t, int16_t> pair_positions(int m) const { return {position_of(2 * m), position_of(2 * m + 1)}; }
    // Clicks the middle of what shows of a card (the board clips one that reaches past its edge) as the pointer
    // would; true when the card's picture or caption took the click.
    bool click_card(int16_t position) {
        const Rect shown = intersected(game().img_Card[position].window_rect(), game().pic_Background.window_rect());
        const int x = shown.left + shown.width / 2, y = shown.top + shown.height / 2;
        Control* target = game().control_at(x, y);
        if (!platform().click_at(x, y) || !target) return false;
        return target->index() == position && (target->name() == "img_Card" || target->name() == "lbl_Card");
    }
    void advance(uint64_t ms) { platform().advance(ms); }
    void wait_for_status_tick() {
        const int before = platform().status_ticks;
        for (int i = 0; i < 100 && platform().status_ticks == before; ++i) advance(10);
    }
    bool settled() const { return game().memProcessing == False && game().memCardStatus == -1; }
    // Moves the clock until `done` holds or the game is over; false when that does not happen within 5 s.
    bool run_until(const std::function<bool()>& done) {
        for (int waited = 0; waited <= 5000; waited += 10, advance(10))
            if (game().memGameOver != False || done()) return true;
        return false;
    }
    bool run_until_free() { return run_until([this] { return game().memProcessing == False; }); }
    // One try of two cards, each waited for and checked against the record; false when it stalled.
    bool try_cards(int16_t a, int16_t b) {
        const bool was_over = game().memGameOver != False;
        EXPECT_TRUE(click_card(a)) << "card " << a;
        const int first = line_or_deal(a);
        if (!run_until_free()) return false;
        EXPECT_TRUE(click_card(b)) << "card " << b;
        const int second = line_or_deal(b);
        if (!run_until_free()) return false;
        EXPECT_TRUE(game().memGameOver != False || settled());
        if (!was_over) record_try(a, first, b, second);
        return true;
    }
    // The card line whose face card `position` shows (from the face's file name), -1 when it shows none.
    int line_shown(int16_t position) const {
        const PictureRef& shown = game().img_Card[position].picture();
        const std::string name = shown ? std::filesystem::path(shown->path()).filename().string() : "";
        return name.size() > 5 && name[0] == 'f' ? std::stoi(name.substr(1)) : -1;
    }
    // The line shown, or for a face that could not be loaded the line dealt there.
    int line_or_deal(int16_t position) const {
        const int shown = line_shown(position);
        return shown >= 0 ? shown : memNearest16(game().memDisplayCard[static_cast<size_t>(position)].Reference);
    }

    // What the test saw and did, kept apart from the game's records. After each try the board must show it: the
    // faces, the cards that take clicks, the panel, the players' labels and, at the end, the end picture.
    struct Record {
        int player = 0;
        std::vector<int> tries, made;  // per player
        std::vector<bool> out;
        std::set<int16_t> taken;  // positions
    } seen;
    // The try of the cards of lines `la` at `a` and `lb` at `b` (the first card of a pair is even, the second odd).
    void record_try(int16_t a, int la, int16_t b, int lb) {
        const auto p = static_cast<size_t>(seen.player);
        const bool pair = la >= 0 && (la ^ 1) == lb;
        ++seen.tries[p];
        if (pair) seen.made[p] += 2, seen.taken.insert({a, b});
        if ((options.tries_made && seen.tries[p] >= *options.tries_made) ||
            (options.tries_left && *options.tries_left - seen.tries[p] <= 0))
            seen.out[p] = true;
        for (int step = 1; !pair && options.players > 1 && step <= options.players; ++step)
            if (!seen.out[static_cast<size_t>(seen.player = (seen.player + 1) % options.players)]) break;
        check_record();
        if (pair || game().memGameOver != False) return;
        for (const auto& [at, line] : {std::pair{a, la}, {b, lb}})
            EXPECT_EQ(line_shown(at), options.app == "match" ? line : -1) << "the face of a card tried without a pair";
    }
    // The text try of card line `card` at `position` and text label `label`, showing list line `text`.
    void record_text_try(int16_t position, int card, int16_t label, int text) {
        const bool match = card >= 0 && card == text;
        if (match) ++seen.made[0], seen.taken.insert(position);
        check_record();
        if (!match && game().memGameOver == False) {
            EXPECT_EQ(line_shown(position), options.app == "match" ? card : -1) << "the face of a card tried in vain";
        }
        const Label& shown = game().lbl_Text[label];
        EXPECT_EQ(std::tuple(shown.enabled(), shown.visible()), std::tuple(!match, !match || !texts_destroyed))
            << "text " << text;
        if (!match || !texts_destroyed) { EXPECT_EQ(shown.fore_color(), match ? kDimTextColour : kRestColour); }
    }
    void check_record() const {
        const frm_MemoryGame& g = game();
        const int cards = card_count(), left = cards - static_cast<int>(seen.taken.size());
        const bool someone_in = std::ranges::count(seen.out, false) > 0;
        const bool over = left == 0 || !someone_in;
        ASSERT_EQ(g.memGameOver != False, over) << left << " cards left";
        if (over && options.end_pictures == "ok") { EXPECT_EQ(end_picture(), left == 0 ? "good.bmp" : "bad.bmp"); }
        // Once over, the board ignores every click (the cards of a last try without a pair are enabled again).
        for (int16_t p = 0; p < cards && !over; ++p) EXPECT_EQ(g.img_Card[p].enabled(), !seen.taken.contains(p)) << p;
        check_counts();
        for (int16_t p = static_cast<int16_t>(options.players); p < 4; ++p) EXPECT_FALSE(g.img_Player[p].visible()) << p;
        const auto lit = std::tuple(kNameColour, kScoreColour), dim = std::tuple(kDimColour, kDimColour);
        for (int16_t p = 0; p < static_cast<int16_t>(seen.made.size()) && p < 4 && options.players > 1; ++p)
            EXPECT_TRUE(seen.out[static_cast<size_t>(p)] ||
                        std::tuple(g.lbl_PlayerName[p].fore_color(), g.lbl_PlayerScore[p].fore_color()) ==
                            (p == seen.player ? lit : dim))
                << "player " << p << " lit or dimmed wrongly";
    }
    // The players' scores and the panel's counters as the record has them; without `all` only cards left (the
    // current player's counters may wait for a turn on its way). The clock's captions are checked where time is.
    void check_counts(bool all = true) const {
        const auto cur = static_cast<size_t>(seen.player);
        for (const auto& [group, slot] : panel_slots) {
            if (group == "timer" || group == "countdown" || (!all && group != "cards left")) continue;
            const int value = group == "cards left"   ? card_count() - static_cast<int>(seen.taken.size())
                              : group == "cards made" ? seen.made[cur]
                              : group == "tries made" ? seen.tries[cur]
                                                      : *options.tries_left - seen.tries[cur];
            EXPECT_EQ(number(game().lbl_Control[slot]), std::to_string(value)) << group;
        }
        for (size_t p = 0; p < seen.made.size() && p < 4; ++p)
            EXPECT_EQ(number(game().lbl_PlayerScore[static_cast<int16_t>(p)]), std::to_string(seen.made[p])) << p;
    }
    // The number a label shows, without the blanks around it.
    static std::string number(const Label& label) {
        std::string text = label.caption();
        return std::erase(text, ' '), text;
    }
    // The end picture shown ("good.bmp", "bad.bmp"), "" when none or before the end.
    std::string end_picture() const {
        const PictureRef& shown = game().pic_End.picture();
        return game().memGameOver == False || !shown ? "" : std::filesystem::path(shown->path()).filename().string();
    }
    // The trace's lines after the first `mark`.
    std::vector<std::string> trace_since(size_t mark) const {
        std::ifstream in(dir / "system" / "memory.log", std::ios::binary);
        std::vector<std::string> lines;
        size_t n = 0;
        for (std::string line; std::getline(in, line); ++n)
            if (n >= mark) lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
        return lines;
    }
    size_t trace_mark() const { return trace_since(0).size(); }
    int count_trace(const std::string& line, size_t mark = 0) const {
        return static_cast<int>(std::ranges::count(trace_since(mark), line));
    }
    size_t command_mark() const { return platform().device_commands.size(); }
    // Device commands after the mark: "open sfx/turn.wav" (the file relative to the folder) for open and play,
    // else just the command.
    std::vector<std::string> commands_since(size_t mark) const {
        std::vector<std::string> out;
        const std::string root = dir.string() + "/";
        for (size_t i = mark; i < platform().device_commands.size(); ++i) {
            const DeviceCommand& c = platform().device_commands[i];
            std::string file = c.file.rfind(root, 0) == 0 ? c.file.substr(root.size()) : c.file;
            out.push_back(c.command == "open" || c.command == "play" ? c.command + " " + file : c.command);
        }
        return out;
    }

    PlayOptions options;
    std::map<std::string, int16_t> panel_slots;  // the panel's slot of each group shown
    bool texts_destroyed = false;
    bool speak = false;  // started with --speak
    // Changes the written set before the game starts (to break a file).
    std::function<void(const std::filesystem::path& dir)> spoil;
    std::unique_ptr<HeadlessPlatform> headless = std::make_unique<HeadlessPlatform>();
    std::unique_ptr<Program> program;

private:
    static std::string card_sound_file(int card) { return "s" + std::to_string(card) + ".wav"; }
    CardSound sound_of(int card) const {
        const auto it = options.card_sound_of.find(card);
        return it == options.card_sound_of.end() ? options.card_sound : it->second;
    }
    void write_definition() {
        const PlayOptions& o = options;
        write("data/memory.ini", "[application]\napp=" + o.app + "\ndebug=" + (o.debug ? "1" : "0") +
                                     "\n[paths]\ngfx=" + path("gfx") + "\ncard=" + path("card") + "\nsfx=" +
                                     path("sfx") + "\ndata=" + path("data") +
                                     "\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n" +
                                     o.extra_definition);
        for (const auto& [name, width, height] : {std::tuple{"board.bmp", 64, 48}, {"quit.bmp", 90, 40},
                                                  {"player.bmp", 120, 30}, {"back.bmp", 60, 60}, {"panel.bmp", 90, 50}})
            write_bmp(dir / "gfx" / name, width, height);
        for (const std::string end : {"good", "bad"}) {
            if (o.end_pictures == "ok") write_bmp(dir / "gfx" / (end + ".bmp"), 200, 100);
            if (o.end_pictures == "undecodable") write("gfx/" + end + ".bmp", "not a picture");
            write_wave(dir / "sfx" / (end + ".wav"), 400);
        }
        std::string main = "[interface]\npictures=board.bmp\tboard.bmp\tboard.bmp\tboard.bmp\tboard.bmp\nbackcolor=0\n"
                           "quitpicture=quit.bmp\nendgoodpicture=good.bmp\nendbadpicture=bad.bmp\n"
                           "endgoodsound=good.wav\nendbadsound=bad.wav\n";
        if (o.result_sounds) main += "matchsound=match.wav\nnomatchsound=nomatch.wav\n";
        if (o.result_sounds && o.undecodable_match_sound) write("sfx/match.wav", "not a wave");
        else if (o.result_sounds) write_wave(dir / "sfx" / "match.wav", o.result_ms);
        if (o.result_sounds) write_wave(dir / "sfx" / "nomatch.wav", o.result_ms);
        if (o.match_line) main += "[line]\nactive=1\ncolor=255\nwidth=3\n";
        main += "[players]\nplayers=" + std::to_string(o.players) +
                "\ndefaultname=Player\npicture=player.bmp\nnameforecolor=" + std::to_string(kNameColour) +
                "\nscoreforecolor=" + std::to_string(kScoreColour) + "\ndimcolor=" + std::to_string(kDimColour) + "\n";
        int16_t order = 0;
        panel_slots.clear();
        for (const auto& [name, condition] : {std::pair<std::string, std::optional<int>>{"timer", o.timer},
                                              {"countdown", o.countdown}, {"tries made", o.tries_made},
                                              {"tries left", o.tries_left}, {"cards left", 0}, {"cards made", 0}})
            if (condition)
                main += "[" + name + "]\nactive=1\norder=" + std::to_string((panel_slots[name] = order++) + 1) +
                        "\npicture=panel.bmp\ncondition=" + std::to_string(*condition) + "\nforecolor=16777215\n";
        write("data/main.ini", main + o.extra_main);
        std::string global = "[cards]\ncardsx=" + std::to_string(o.cards_x) + "\ncardsy=" +
                             std::to_string(o.cards_y) + "\ncardwidth=60\ncardheight=60\npicture=back.bmp\n"
                             "dissapear=" + std::to_string(o.dissapear) + "\n";
        if (o.turn_sound) global += "turnsound=turn.wav\n", write_wave(dir / "sfx" / "turn.wav", o.turn_ms);
        write("data/global.ini", global + o.extra_global);
        std::string cards;
        for (int i = 0; i < o.cards_x * o.cards_y; ++i) {
            const std::string face = "f" + std::to_string(i) + ".bmp", wave = card_sound_file(i);
            const CardSound sound = sound_of(i);
            write_bmp(dir / "card" / face, 60, 60);
            if (sound == CardSound::Present || sound == CardSound::Vanished) write_wave(dir / "card" / wave, o.card_ms);
            if (sound == CardSound::Undecodable) write("card/" + wave, "not a wave");
            cards += "card" + std::to_string(i) + "\t" + face + "\tC" + std::to_string(i) + "\t" +
                     (sound == CardSound::Empty ? "" : wave) + "\n";
        }
        write("data/cards.txt", cards);
    }
};

struct TextListOptions {
    bool destroy = true;
    bool click_sound = true;  // the text labels' click sound
    bool text_sounds = true;  // each text's own sound
    int click_ms = 50, text_ms = 150;
};

class TextGameTest : public PlayTest {
protected:
    // Starts the card game of `options` with the text list of `texts`, in a column right of the cards.
    std::optional<int> start_text() {
        const TextListOptions& t = texts;
        options.extra_definition = "listfile=list.txt\n";
        options.extra_global = "[text list]\nactive=1\nforecolor=" + std::to_string(kRestColour) + "\nselectcolor=" +
                               std::to_string(kSelectColour) + "\ndimcolor=" + std::to_string(kDimTextColour) +
                               "\ndestroy=" + (t.destroy ? "1" : "0") + "\ntop=40\nleft=640\nwidth=120\nspace=8\n";
        if (t.click_sound) options.extra_global += "sound=click.wav\n", write_wave(dir / "sfx" / "click.wav", t.click_ms);
        std::string list;
        for (int i = 0; i < options.cards_x * options.cards_y; ++i) {
            const std::string wave = "t" + std::to_string(i) + ".wav";
            list += "T" + std::to_string(i) + "\t" + (t.text_sounds ? wave : "") + "\n";
            if (t.text_sounds) write_wave(dir / "card" / wave, t.text_ms);
        }
        write("card/list.txt", list);
        texts_destroyed = t.destroy;
        return start();
    }
    void restart_text(const PlayOptions& play, const TextListOptions& list) { restart(play), texts = list; }
    // The label showing list line r (0-based).
    int16_t text_of(int r) const {
        const auto& slots = game().memInterface.TextList.Display;
        for (int16_t j = 0; j < static_cast<int16_t>(slots.size()); ++j)
            if (memNearest16(slots[static_cast<size_t>(j)].Reference) == r) return j;
        ADD_FAILURE() << "no label shows text " << r;
        return 0;
    }
    bool click_text(int16_t label) { return platform().click("lbl_Text", label); }
    // No half of a try is chosen, the board is free and no link waits.
    bool run_until_settled() {
        const TextGameState& text = game().memTextGame;
        return run_until([&] { return quiet() && text.CardChosen == False && text.TextChosen == False; });
    }
    // The chains of the half chosen so far have ended.
    bool run_until_quiet() { return run_until([this] { return quiet(); }); }
    // One try of card line `card` and list line `text`, in either order, each half's chain waited for; false when
    // the try stalled. The try is checked against the record, by the face and the text shown.
    bool try_pair(int card, int text, bool card_first = true) {
        const bool was_over = game().memGameOver != False;
        const int16_t c = position_of(card), t = text_of(text);
        const std::string caption = game().lbl_Text[t].caption();
        EXPECT_TRUE(card_first ? click_card(c) : click_text(t));
        int face = line_shown(c);
        if (!run_until_quiet()) return false;
        EXPECT_TRUE(card_first ? click_text(t) : click_card(c));
        face = std::max(face, line_shown(c));
        if (!run_until_settled()) return false;
        if (!was_over) record_text_try(c, face, t, caption.starts_with('T') ? std::stoi(caption.substr(1)) : -1);
        return true;
    }
    // The files played after the mark, relative to the set's folder.
    std::vector<std::string> plays_since(size_t mark) const {
        std::vector<std::string> out;
        for (const std::string& c : commands_since(mark))
            if (c.starts_with("play ")) out.push_back(c.substr(5));
        return out;
    }
    bool quiet() const { return game().memProcessing == False && game().memLinkPending == False; }

    TextListOptions texts;
};

}  // namespace mem::test
