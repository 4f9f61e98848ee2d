// Turning cards: the clicks that are ignored, a preview before the clock, and the sound chains of a try on the
// headless device (each link's commands and fallbacks, and links whose sound fails).
#include "support/play_fixture.h"

namespace mem::test {
namespace {

using Turning = PlayTest;

TEST_F(Turning, ClicksThatAreIgnored) {
    enum class Click { Picture, Caption, Double };
    struct Case {
        const char* name;
        // Brings the game to the moment of the click and gives the position to click.
        std::function<int16_t(PlayTest&)> before;
        Click click = Click::Picture;
        bool match_line = false;
    };
    const auto take_pair = [](PlayTest& t) {
        EXPECT_TRUE(t.try_cards(t.position_of(0), t.position_of(1)));
        return t.position_of(0);
    };
    const Case cases[] = {
        {"a face-up card", [](PlayTest& t) { t.click_card(t.position_of(0)); EXPECT_TRUE(t.run_until_free());
                                              return t.position_of(0); }},
        {"the second click of a double click", [](PlayTest& t) { return t.click_card(t.position_of(0)),
                                                                  t.position_of(0); }, Click::Double},
        // Clicks stay ignored while a try is in hand and settled.
        {"while the first card's sounds play", [](PlayTest& t) { return t.click_card(t.position_of(0)),
                                                                  t.position_of(2); }},
        {"before the window is active", [](PlayTest& t) { return t.game().memReady = False, t.position_of(0); }},
        // A taken pair's caption, or a pair joined by the line, could otherwise be scored again.
        {"the caption of a pair taken off the board", take_pair, Click::Caption},
        {"the caption of a pair joined by the line", take_pair, Click::Caption, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart({.cards_x = 3, .match_line = c.match_line});
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        int16_t position = c.before(*this);
        const int16_t status = game().memCardStatus, turned = game().memTurnedCards;
        const size_t commands = command_mark(), trace = trace_mark();
        if (c.click == Click::Double) game().img_Card_DblClick(position);
        if (c.click == Click::Caption) game().lbl_Card_Click(position);
        if (c.click == Click::Picture) game().img_Card_Click(position);
        // A click reaches the routine (which writes its entry line) and does nothing more.
        const std::string entry = "=> memCardClick(" + std::to_string(position) + ") <=";
        EXPECT_EQ(trace_since(trace), std::vector<std::string>(c.click == Click::Double ? 0 : 1, entry));
        EXPECT_TRUE(commands_since(commands).empty());
        EXPECT_EQ(game().memCardStatus, status);
        EXPECT_TRUE(run_until_free());
        EXPECT_EQ(game().memTurnedCards, turned);
    }
}

// Two cards that do not match go back to the board: each can be turned again and then taken with its partner.
TEST_F(Turning, CardsThatDidNotMatchCanBeTurnedAgain) {
    for (const char* app : {"memory", "match"}) {
        SCOPED_TRACE(app);
        restart({.app = app});
        ASSERT_EQ(start(), std::nullopt);
        EXPECT_EQ(trace_since(0), std::vector<std::string>{"=> Form_Activate <="});
        wait_for_status_tick();
        const size_t trace = trace_mark();
        const int16_t a = position_of(0), b = position_of(2);
        ASSERT_TRUE(try_cards(a, b));
        // The log has each routine's entry and the miss.
        std::vector<std::string> steps;
        for (const std::string& line : trace_since(trace))
            if (line.starts_with("=>") || line.starts_with("--> memCheckCardStatus")) steps.push_back(line);
        const std::vector<std::string> expected = {
            "=> memCardClick(" + std::to_string(a) + ") <=", "=> memCardClick(" + std::to_string(b) + ") <=",
            "=> memCheckCardStatus <=", "--> memCheckCardStatus: Ingen match..."};
        EXPECT_EQ(steps, expected);
        EXPECT_EQ(game().memTurnedCards, 0);
        // The keyboard's focus reaches them again.
        const std::vector<FocusCell> cells = game().memFocusCells();
        EXPECT_TRUE(cells[static_cast<size_t>(a)].turnable && cells[static_cast<size_t>(b)].turnable);
        ASSERT_TRUE(try_cards(position_of(2), position_of(3)));
        ASSERT_TRUE(try_cards(position_of(0), position_of(1)));
        EXPECT_EQ(game().memTurnedCards, 4);
    }
}

// With "preview" every face shows while the bar above the cards shrinks, and cards take no clicks or keys; then they
// turn face down and the clock starts. Escape and the quit picture end the program meanwhile; a match game has none.
TEST_F(Turning, APreviewShowsTheFacesBeforeTheClockStarts) {
    const PlayOptions preview{.debug = false, .timer = -1, .extra_global = "preview=2\n"};
    restart(preview);
    ASSERT_EQ(start(), std::nullopt);
    frm_MemoryGame& g = game();
    auto faces_up = [&] {
        return std::ranges::count_if(g.img_Card, [&](const auto& card) { return card->picture() != g.memCardBack; });
    };
    EXPECT_EQ(std::tuple(faces_up(), g.shp_Preview.visible(), g.tim_Timer.enabled()), std::tuple(4, true, false));
    const int full = g.shp_Preview.width();
    click_card(position_of(0));
    for (int16_t key : {kKeyReturn, kKeyReturn}) platform().key_down(key);
    EXPECT_EQ(std::tuple(g.memCardStatus, g.memFocusShown), std::tuple(int16_t{-1}, false));
    advance(1000);
    EXPECT_NEAR(g.shp_Preview.width(), full / 2, full / 10);
    advance(1000);
    EXPECT_EQ(std::tuple(faces_up(), g.shp_Preview.visible(), g.tim_Timer.enabled()), std::tuple(0, false, true));
    advance(1000);
    EXPECT_EQ(g.memPlayer[0].Time, 1.0f);
    ASSERT_TRUE(try_cards(position_of(0), position_of(1)));
    EXPECT_EQ(g.memTurnedCards, 2);

    for (const bool escape : {true, false}) {
        restart(preview);
        ASSERT_EQ(start(), std::nullopt);
        EXPECT_THROW(escape ? platform().press_key(27) : (void)platform().click("img_Quit"), ProgramEnded) << escape;
    }

    // A match game has no preview, nor has a game without "preview": the clock runs at once.
    PlayOptions match = preview;
    match.app = "match";
    for (const PlayOptions& none : {match, PlayOptions{.debug = false, .timer = -1}}) {
        restart(none);
        ASSERT_EQ(start(), std::nullopt);
        EXPECT_EQ(std::tuple(game().shp_Preview.visible(), game().tim_Timer.enabled()), std::tuple(false, true));
    }
}

using SoundChains = PlayTest;
using Commands = std::vector<std::string>;

Commands cat(std::initializer_list<Commands> parts) {
    Commands all;
    for (const Commands& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}
Commands played(const std::string& file) { return {"close", "open " + file, "play " + file}; }

// One half of a try: the commands its click gives the device until the
// chain ends, waiting for completions (after the first status tick) or not.
TEST_F(SoundChains, EachChainGivesItsCommandsAndEndsTheTry) {
    using enum CardSound;
    struct Case {
        bool waiting, result_sounds;
        CardSound sound;
        int second;  // 0: first card only; 1: second card a pair; 2: second card no pair
        Commands commands;
    };
    const Commands rewound = {"prev", "play sfx/turn.wav"}, idle = {"close", "open sfx/turn.wav"};
    const Commands turn = played("sfx/turn.wav"), match = played("sfx/match.wav"), miss = played("sfx/nomatch.wav");
    const Commands s0 = played("card/s0.wav"), s1 = played("card/s1.wav"), s2 = played("card/s2.wav");
    const Case cases[] = {
        // After the first status tick every link waits for its completion.
        {true, true, Present, 0, cat({rewound, s0, {"close"}})},
        {true, true, Present, 2, cat({turn, s2, miss, idle})},
        {true, false, Present, 1, cat({rewound, s1, idle})},
        // No sound named, or named but missing when the definition is read (error 203).
        {true, true, Empty, 1, cat({rewound, match, idle})},
        {true, false, Empty, 2, cat({rewound, idle})},
        {true, true, MissingAtLoad, 1, cat({rewound, match, idle})},
        // The file went away, or the device cannot play it.
        {true, true, Vanished, 2, cat({rewound, miss, idle})},
        {true, false, Vanished, 1, cat({rewound, idle})},
        {true, false, Undecodable, 0, cat({rewound, s0, idle})},
        {true, true, Undecodable, 1, cat({rewound, s1, match, idle})},
        // Before the first status tick nothing waits, and only a card without a sound has a result sound.
        {false, true, Present, 1, cat({{"play card/s0.wav"}, s1})},
        {false, true, Empty, 1, cat({rewound, match})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        restart({.cards_x = 3, .cards_y = 2, .players = 2, .result_sounds = c.result_sounds, .card_sound = c.sound});
        ASSERT_EQ(start(), std::nullopt);
        const auto& boxes = platform().message_boxes;  // error 203 names the card's line
        EXPECT_TRUE(c.sound == MissingAtLoad ? boxes.at(0).text.find("number 1 ") != std::string::npos : boxes.empty());
        if (c.waiting) wait_for_status_tick();
        if (c.second != 0) {
            click_card(position_of(0));
            ASSERT_TRUE(run_until_free());
            ASSERT_EQ(game().memCardStatus, 0);
        }
        const size_t commands = command_mark(), trace = trace_mark();
        const uint64_t t0 = platform().now_ms();
        ASSERT_TRUE(click_card(position_of(c.second)));
        EXPECT_EQ(game().memProcessing != False, c.waiting) << "the chain waits for the device";
        ASSERT_TRUE(run_until_free());
        EXPECT_EQ(commands_since(commands), c.commands);
        if (c.second == 0) continue;
        // The player sees the two cards for half a second after a pair, a second after a miss.
        EXPECT_GE(platform().now_ms() - t0, c.second == 1 ? 500u : 1000u);
        // Settled once, the turn passed on after a miss; later completions change nothing.
        EXPECT_EQ(count_trace("--> memCheckCardStatus: Match!", trace), c.second == 1 ? 1 : 0);
        EXPECT_EQ(count_trace("--> memCheckCardStatus: Ingen match...", trace), c.second == 2 ? 1 : 0);
        EXPECT_TRUE(settled());
        EXPECT_EQ(game().memCurrentPlayer, c.second == 1 ? 0 : 1);
        const size_t later = trace_mark();
        advance(2000);
        EXPECT_EQ(count_trace("=> memCheckCardStatus <=", later), 0);
    }
}

// A pair found with long turn and match sounds (2 s each, card sounds 0.1 s): a link whose command fails ends at the
// next status tick, a turn sound that vanished is left out, and the links that did not fail are waited for.
TEST_F(SoundChains, FailedOrVanishedSoundEndsItsLink) {
    // How a link fails ("play" of a file with this ending fails), and how long the links that play last.
    const std::pair<std::string, uint64_t> cases[] = {
        {"turn.wav", 200 + 2000}, {"match.wav", 2 * 2000 + 200}, {"undecodable match", 2 * 2000 + 200},
        {"turn vanished", 200 + 2000}};
    for (const auto& [how, played_ms] : cases) {
        SCOPED_TRACE(how);
        restart({.undecodable_match_sound = how == "undecodable match", .turn_ms = 2000, .card_ms = 100,
                 .result_ms = 2000});
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        device().fail_when = [how](const std::string& cmd, const std::string& file) {
            return cmd == "play" && file.ends_with(how);
        };
        if (how == "turn vanished") std::filesystem::remove(dir / "sfx" / "turn.wav");
        auto [a, b] = pair_positions(0);
        const uint64_t t0 = platform().now_ms();
        ASSERT_TRUE(try_cards(a, b));
        // Less the pause after a pair; a failed link ends within a tick (250 ms).
        const uint64_t took = platform().now_ms() - t0 - 500;
        EXPECT_GE(took, played_ms);
        EXPECT_LT(took, played_ms + 2 * 250 + 100);
    }
}

// With debug=1 the trace follows the whole game: the start, each click, each try's result, and Escape. A card
// without a sound stays without one (no sound of its picture's name is looked for unless asked).
TEST_F(Turning, TheTraceFollowsAWholeGame) {
    restart({.card_sound_of = {{0, CardSound::Empty}}});
    ASSERT_EQ(start(), std::nullopt);
    const std::string a = std::to_string(position_of(0)), b = std::to_string(position_of(1)),
                      c = std::to_string(position_of(2));
    EXPECT_TRUE(try_cards(position_of(0), position_of(2)));
    EXPECT_TRUE(try_cards(position_of(0), position_of(1)));
    EXPECT_THROW(platform().press_key(27), ProgramEnded);
    const auto sound = [this](const std::string& wave) {
        return "--> memPlayCardSound: '" + wave + "', (" + path("card") + wave + ")";
    };
    EXPECT_EQ(trace_since(0), (std::vector<std::string>{"=> Form_Activate <=", "=> memCardClick(" + a + ") <=",
                                                        "=> memCheckCardStatus <=", "=> memCardClick(" + c + ") <=",
                                                        sound("s2.wav"), "=> memCheckCardStatus <=",
                                                        "--> memCheckCardStatus: Ingen match...",
                                                        "=> memCardClick(" + a + ") <=", "=> memCheckCardStatus <=",
                                                        "=> memCardClick(" + b + ") <=", sound("s1.wav"),
                                                        "=> memCheckCardStatus <=", "--> memCheckCardStatus: Match!",
                                                        "=> Form_Keypress <=", "=> memDoEnd <="}));
}

// The trace printed on the board starts again at the top when it reaches the bottom.
TEST_F(Turning, TheTraceOnTheBoardStaysOnIt) {
    ASSERT_EQ(start(), std::nullopt);
    for (int k = 0; k < 300; ++k) program->memWriteLog("line");
    ASSERT_FALSE(game().printed().empty());
    for (const Window::PrintedLine& line : game().printed()) EXPECT_LE(line.y, game().inner_height());
}

}  // namespace
}  // namespace mem::test
