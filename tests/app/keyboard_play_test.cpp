// Every bundled game played by the pointer to its good end at every screen size, without a single message box; the
// bundled text game by keys alone; keys while a try's sounds play, the frame beside the pointer, the mute key, and
// speech.
#include <deque>

#include "game/speech_texts.h"
#include "support/play_fixture.h"

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
    const Shape& outline = frame.outline();
    const int d = FocusFrame::kWidth;
    return frame.visible() && outline.left() == c.left() - d && outline.top() == c.top() - d &&
           outline.width() == c.width() + 2 * d && outline.height() == c.height() + 2 * d;
}
// What speech says of card position k on a board two cards wide, before the card's state.
std::string place(int k) { return "row " + std::to_string(k / 2 + 1) + ", column " + std::to_string(k % 2 + 1) + ", "; }

TEST(BundledGames, EachIsPlayedToItsGoodEndAtEveryScreenSize) {
    const std::vector<std::string> games = bundled_games(MEMORY_SOURCE_DIR);
    ASSERT_GE(games.size(), 3u);
    for (const std::string& name : games) {
        for (const Screen& screen : kScreens) {
            SCOPED_TRACE(name + " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height));
            PointerGame run(MEMORY_SOURCE_DIR, "games/" + name + "/" + name + ".ini", screen);
            play_to_good_end(run);
        }
    }
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
    keys.key_down(kKeyF2);
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
        // A card without caption or sound is said by its name.
        EXPECT_EQ(keys.spoken.back(), g.memCardHolder[static_cast<size_t>(r)].Name);
        ASSERT_TRUE(run.settle(false));
        // Tab to the texts, Down to the card's text, Space, and Tab back to the cards.
        keys.key_down(kKeyTab);
        // Back to the cards and to the texts again: the frame stays on the top text, still free.
        if (r == 0) { keys.key_down(kKeyTab), keys.key_down(kKeyTab); EXPECT_EQ(g.memFocusText, 0); }
        for (int n = 0; n < cards && g.memFocusText != text; ++n) keys.key_down(kKeyDown);
        ASSERT_EQ(g.memFocusText, text);
        EXPECT_TRUE(frame_around(g.shp_Focus, g.lbl_Text[text]));
        EXPECT_EQ(keys.spoken.back(), g.memInterface.TextList.Item[static_cast<size_t>(r)].Text);
        // A text with a sound of its own is heard, not said.
        const size_t said = keys.spoken.size();
        keys.key_down(kKeySpace);
        EXPECT_EQ(keys.spoken.size(), said);
        ASSERT_TRUE(run.settle(true));
        keys.key_down(kKeyTab);
    }
    ASSERT_NE(g.memGameOver, False);
    EXPECT_EQ(g.memTurnedCards, cards);
    EXPECT_EQ(keys.spoken.back(), "Well done! Reader 1 has " + std::to_string(cards) + " pairs");
    EXPECT_FALSE(g.shp_Focus.visible());
    // The focus waits on the end picture; Return there ends the program, unless it was pressed before the end.
    EXPECT_TRUE(frame_around(g.shp_EndFocus, g.pic_End));
    keys.input_made_at = g.memEndMadeAt - 1;
    EXPECT_EQ(test::exit_status([&] { keys.key_down(kKeyReturn); }), std::nullopt);
    keys.input_made_at.reset();
    EXPECT_EQ(test::exit_status([&] { keys.key_down(kKeyReturn); }), kExitNormal);
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
    // A click turns the framed card; while its sounds play the board is held and the card in hand takes no second turn.
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

// Return on a card that has left the board moves the focus on, and says where it went.
TEST_F(KeyboardPlay, ReturnOnATakenCardSaysWhereTheFocusWent) {
    ASSERT_FALSE(start());
    wait_for_status_tick();
    key(kKeyF2);
    key(kKeyUp);
    const auto [a, b] = pair_positions(0);
    for (const int16_t card : {a, b}) {
        ASSERT_NO_FATAL_FAILURE(focus(card));
        key(kKeyReturn);
        ASSERT_TRUE(run_until_free());
    }
    ASSERT_TRUE(run_until([&] { return settled(); }));
    ASSERT_FALSE(game().img_Card[b].shown());
    key(kKeyReturn);
    const int16_t to = game().memFocusCard;
    EXPECT_NE(to, b);
    EXPECT_EQ(platform().spoken.back(), place(to) + "face down");
    // Stray states are said without reading past the records: a face the card file lacks, a focus past the board.
    auto& card = game().memDisplayCard[static_cast<size_t>(to)];
    card.Turned = True, card.Reference = 99;
    game().memSayFocus();
    EXPECT_EQ(platform().spoken.back(), place(to));
    game().memFocusCard = static_cast<int16_t>(card_count());
    key(kKeyReturn);
    EXPECT_LT(game().memFocusCard, card_count());
}

// Playing by ear, step by step: what each key or try says last. A face-down card is never named, a card with its own
// sound is named only when muted, and speech switched off says nothing.
TEST_F(KeyboardPlay, SaysWhereTheFocusIsWhatTurnsAndHowTheGameGoes) {
    options = {.players = 2, .card_sound = test::CardSound::Empty,
               .card_sound_of = {{2, test::CardSound::Present}, {3, test::CardSound::Present}}, .tries_made = 99};
    ASSERT_FALSE(start());
    wait_for_status_tick();
    const std::vector<std::string>& spoken = platform().spoken;
    const auto [p0, p1] = pair_positions(0);
    const auto [p2, p3] = pair_positions(1);
    auto turn = [&](int16_t k) { focus(k), key(kKeyReturn); };
    auto settle = [&] { ASSERT_TRUE(run_until([&] { return settled(); })); };
    const struct { std::function<void()> act; std::vector<std::string> last_said; } steps[] = {
        {[&] { key(kKeyUp); }, {}},  // speech is off
        {[&] { key(kKeyF2); }, {"speech on"}},
        {[&] { key(kKeyDown); }, {"row 2, column 1, face down"}},
        {[&] { turn(p0); }, {"C0"}},
        {[&] { ASSERT_TRUE(run_until_free()); turn(p2); }, {place(p2) + "face down"}},
        {settle, {"no pair", "Player2's turn"}},
        {[&] { focus(p1); focus(p0); key(kKeyTab); }, {place(p0) + "face down", place(p0) + "face down"}},
        {[&] { key('S'); }, {"Player1 0, Player2 0; 4 cards left; 0 tries made"}},
        {[&] { key('R'); }, {"Player1 0, Player2 0; 4 cards left; 0 tries made"}},
        {[&] { turn(p3); }, {place(p3) + "face down"}},  // its own sound is its voice
        {[&] { ASSERT_TRUE(run_until_free()); key('M'); turn(p2); }, {"C2"}},
        {settle, {"pair"}},
        {[&] { key(kKeyF2); key('H'); key('R'); }, {"speech off"}},
        {[&] { key(kKeyF2); key('H'); }, {"speech on", say_text(Said::Keys)}},
        {[&] { turn(p0); ASSERT_TRUE(run_until_free()); turn(p1); settle(); },
         {"pair", "Well done! Player2 wins with 2 pairs"}},
        {[&] { key(kKeyUp); }, {"Well done! Player2 wins with 2 pairs"}},  // the focus waits on the end
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("step " + std::to_string(&step - steps));
        const size_t mark = spoken.size();
        step.act();
        // Nothing said where nothing is expected; else the expected words come last.
        ASSERT_GE(spoken.size() - mark, step.last_said.size());
        if (step.last_said.empty()) { EXPECT_EQ(spoken.size(), mark); }
        const auto n = static_cast<std::ptrdiff_t>(step.last_said.size());
        EXPECT_EQ(std::vector(spoken.end() - n, spoken.end()), step.last_said);
    }
    // The winner, a tie and one player alone.
    const struct { int16_t players; std::vector<float> made; std::string said; } ends[] = {{2, {2, 4}, "Game over. Player2 wins with 2 pairs"},
                {3, {4, 4, 4}, "Game over. Player1, Player2 and Player3 tie with 2 pairs each"},
                {1, {6, 8}, "Game over. Player1 has 3 pairs"},
                {1, {2}, "Game over. Player1 has 1 pair"}};
    for (const auto& end : ends) {
        game().memPlayers = end.players;
        game().memPlayer.resize(end.made.size());
        for (size_t p = 0; p < end.made.size(); ++p) {
            game().memPlayer[p].Name = "Player" + std::to_string(p + 1);
            game().memPlayer[p].CardsMade = end.made[p];
        }
        game().memSayEnd(false);
        EXPECT_EQ(spoken.back(), end.said);
    }
}

TEST_F(KeyboardPlay, StartedToSpeakItSpeaksFromTheStart) {
    speak = true;
    ASSERT_FALSE(start());
    key(kKeyDown);
    EXPECT_EQ(platform().spoken, (std::vector<std::string>{"speech on", "row 1, column 1, face down"}));
}

}  // namespace
}  // namespace mem
