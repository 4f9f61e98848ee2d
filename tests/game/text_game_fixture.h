#pragma once
// A small text game on the headless backend: the whole-game fixture's card game with a list file added, and
// helpers to choose texts and wait for a try.
#include <tuple>

#include "support/play_fixture.h"

namespace mem::test {

struct TextListOptions {
    bool destroy = true;
    bool click_sound = true;  // the text labels' click sound
    bool text_sounds = true;  // each text's own sound
    int click_ms = 50, text_ms = 150;
};

// Colours of the text labels.
constexpr Colour kRestColour = 111, kSelectColour = 222, kDimTextColour = 333;

class TextGameTest : public PlayTest {
protected:
    // Starts the card game of `options` with the text list of `texts`, in a column right of the cards.
    std::optional<int> start_text() {
        const TextListOptions& t = texts;
        options.extra_definition = "listfile=list.txt\n";
        options.extra_global = "[text list]\nactive=1\nforecolor=" + std::to_string(kRestColour) + "\nselectcolor=" +
                               std::to_string(kSelectColour) + "\ndimcolor=" + std::to_string(kDimTextColour) +
                               "\ndestroy=" + (t.destroy ? "1" : "0") + "\ntop=40\nleft=640\nwidth=120\nspace=8\n";
        if (t.click_sound) {
            options.extra_global += "sound=click.wav\n";
            write_wave(dir / "sfx" / "click.wav", t.click_ms);
        }
        std::string list;
        for (int i = 0; i < options.cards_x * options.cards_y; ++i) {
            const std::string wave = "t" + std::to_string(i) + ".wav";
            list += "T" + std::to_string(i) + "\t" + (t.text_sounds ? wave : "") + "\n";
            if (t.text_sounds) write_wave(dir / "card" / wave, t.text_ms);
        }
        write("card/list.txt", list);
        return start();
    }
    void restart_text(const PlayOptions& play, const TextListOptions& list) {
        restart(play);
        texts = list;
    }

    // The label showing list line r (0-based).
    int16_t text_of(int r) const {
        const auto& slots = game().memInterface.TextList.Display;
        for (int16_t j = 0; j < static_cast<int16_t>(slots.size()); ++j)
            if (memNearest16(slots[static_cast<size_t>(j)].Reference) == r) return j;
        ADD_FAILURE() << "no label shows text " << r;
        return 0;
    }
    // Clicks a label as the pointer would; true when the label took it.
    bool click_text(int16_t label) { return platform().click("lbl_Text", label); }

    // No half of a try is chosen, the board is free and no link waits.
    bool run_until_settled() {
        const TextGameState& text = game().memTextGame;
        return run_until([&] { return quiet() && text.CardChosen == False && text.TextChosen == False; });
    }
    // The chains of the half chosen so far have ended.
    bool run_until_quiet() { return run_until([this] { return quiet(); }); }
    // One try of card line `card` and list line `text`, in either order, each half's chain waited for; false when
    // the try stalled.
    bool try_pair(int card, int text, bool card_first = true) {
        const int16_t c = position_of(card), t = text_of(text);
        card_first ? click_card(c) : click_text(t);
        if (!run_until_quiet()) return false;
        card_first ? click_text(t) : click_card(c);
        return run_until_settled();
    }

    // What holds whenever no try is in hand: the card game's counters, and no card turned and no text selected.
    void check_text_invariants() const {
        check_invariants();
        const frm_MemoryGame& g = game();
        int turned = 0, selected = 0;
        for (int16_t i = 0; i < card_count(); ++i) turned += g.memDisplayCard[static_cast<size_t>(i)].Turned != False;
        for (const TextDisplay& slot : g.memInterface.TextList.Display) selected += slot.Selected != False;
        EXPECT_EQ(std::tuple(turned, selected), std::tuple(0, 0));
        EXPECT_TRUE(g.memGameOver != False || settled());
    }
    // The files played after the mark, relative to the set's folder.
    std::vector<std::string> plays_since(size_t mark) const {
        std::vector<std::string> out;
        for (const std::string& c : commands_since(mark))
            if (c.starts_with("play ")) out.push_back(c.substr(5));
        return out;
    }

    TextListOptions texts;

private:
    bool quiet() const { return game().memProcessing == False && game().memLinkPending == False; }
};

}  // namespace mem::test
