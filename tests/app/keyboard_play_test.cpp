// Playing by keys: the bundled text game to its good end, keys while a try's
// sounds play, the frame beside the pointer, and the mute key.
#include <deque>
#include <map>
#include <vector>

#include "support/play_fixture.h"
#include "support/pointer_play.h"

namespace mem {
namespace {

// The arrow keys that take the focus from card `from` to card `to`, fewest first.
std::vector<int16_t> arrows_to(const std::vector<FocusCell>& cells, int from, int to) {
    const std::pair<int16_t, FocusMove> arrows[] = {
        {kKeyLeft, FocusMove::Left}, {kKeyRight, FocusMove::Right}, {kKeyUp, FocusMove::Up},
        {kKeyDown, FocusMove::Down}};
    std::map<int, std::pair<int, int16_t>> came_from{{from, {from, 0}}};
    for (std::deque<int> open{from}; !open.empty() && !came_from.count(to); open.pop_front())
        for (const auto& [key, move] : arrows)
            if (const int next = focus_next_cell(cells, open.front(), move);
                came_from.emplace(next, std::pair(open.front(), key)).second)
                open.push_back(next);
    std::vector<int16_t> keys;
    for (int at = to; came_from.count(to) && at != from; at = came_from[at].first)
        keys.insert(keys.begin(), came_from[at].second);
    return keys;
}

bool frame_around(const FocusFrame& frame, const Control& c) {
    const Shape& inner = frame.ring(0);
    return frame.visible() && inner.left() == c.left() - 1 && inner.top() == c.top() - 1 &&
           inner.width() == c.width() + 2 && inner.height() == c.height() + 2;
}

// The bundled text game, played to its good end by keys alone: arrows and Return
// for the cards, Tab, Down and Space for the texts.
TEST(BundledGames, TextGameIsPlayedToItsGoodEndByKeysAlone) {
    PointerGame run(MEMORY_SOURCE_DIR, "games/text/text.ini", Screen{1280, 1024});
    ASSERT_TRUE(run.start());
    frm_MemoryGame& g = run.game();
    HeadlessPlatform& keys = run.platform();
    ASSERT_TRUE(run.settle(true));
    keys.advance(300);  // past the first status tick: the sound chains wait for each sound
    const int cards = memNearest16(g.memCardCount);
    // The first key only shows the frame, on the top left card.
    keys.key_down(kKeyDown);
    EXPECT_TRUE(g.memFocusCard == 0 && frame_around(g.shp_Focus, g.img_Card[0]) && g.memDisplayCard[0].Turned == False);
    for (int r = 0; r < cards; ++r) {
        const int16_t card = position_of(g, r), text = text_slot_of(g, r);
        // Tab back to the cards moves the frame off a card that left the board.
        EXPECT_TRUE(g.memFocusCells()[static_cast<size_t>(g.memFocusCard)].turnable);
        for (int16_t key : arrows_to(g.memFocusCells(), g.memFocusCard, card)) keys.key_down(key);
        EXPECT_TRUE(frame_around(g.shp_Focus, g.img_Card[card]));
        keys.key_down(kKeyReturn);
        EXPECT_FALSE(g.memFocusCells()[static_cast<size_t>(card)].turnable) << "card " << card;
        ASSERT_TRUE(run.settle(false));
        // Tab to the texts, Down to the card's text, Space, and Tab back to the cards.
        keys.key_down(kKeyTab);
        for (int n = 0; n < cards && g.memFocusText != text; ++n) keys.key_down(kKeyDown);
        ASSERT_EQ(g.memFocusText, text);
        EXPECT_TRUE(frame_around(g.shp_Focus, g.lbl_Text[text]));
        keys.key_down(kKeySpace);
        ASSERT_TRUE(run.settle(true));
        keys.key_down(kKeyTab);
    }
    ASSERT_NE(g.memGameOver, False);
    EXPECT_EQ(g.memTurnedCards, cards);
    EXPECT_FALSE(g.shp_Focus.visible());
    // The focus waits on the end picture; Return there ends the program.
    EXPECT_TRUE(frame_around(g.shp_EndFocus, g.pic_End));
    try {
        keys.key_down(kKeyReturn);
        ADD_FAILURE() << "Return on the end picture did not end the program";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, kExitNormal);
    }
    EXPECT_TRUE(keys.message_boxes.empty());
}

class KeyboardPlay : public test::PlayTest {
public:
    void key(int16_t code) { platform().key_down(code); }
    void focus(int16_t card) {
        for (int16_t k : arrows_to(game().memFocusCells(), game().memFocusCard, card)) key(k);
        ASSERT_EQ(game().memFocusCard, card);
    }
};

TEST_F(KeyboardPlay, FrameTakesNoClickAndKeysWhileATrysSoundsPlayTurnNothing) {
    ASSERT_FALSE(start());
    wait_for_status_tick();
    key('M');  // mutes the device, and is no focus key
    EXPECT_TRUE(device().muted() && !game().shp_Focus.visible());
    const auto [a, b] = pair_positions(0);
    key(kKeyUp);
    ASSERT_NO_FATAL_FAILURE(focus(a));
    const Image& card = game().img_Card[a];
    // The rings lie beside the card: a click there reaches what lies beneath.
    for (int d = 1; d <= FocusFrame::kWidth; ++d) {
        const Control* under = game().control_at(card.window_left() - d, card.window_top() + card.height() / 2);
        EXPECT_TRUE(under && under->name().rfind("shp_", 0) != 0);
    }
    // A click turns the framed card; while its sounds play the board is held
    // and the card in hand takes no second turn.
    ASSERT_TRUE(click_card(a));
    ASSERT_NE(game().memProcessing, False);
    key(kKeyReturn);
    ASSERT_NO_FATAL_FAILURE(focus(b));
    key(kKeyReturn);
    key(kKeySpace);
    EXPECT_EQ(game().memDisplayCard[static_cast<size_t>(b)].Turned, False);
    EXPECT_EQ(game().memCardStatus, 0);
    ASSERT_TRUE(run_until_free());
    key(kKeySpace);
    EXPECT_NE(game().memDisplayCard[static_cast<size_t>(b)].Turned, False);
}

}  // namespace
}  // namespace mem
