#include <gtest/gtest.h>

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
        {"a face-up card", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             EXPECT_TRUE(t.run_until_free());
             return t.position_of(0);
         }},
        {"the second click of a double click", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             return t.position_of(0);
         }, Click::Double},
        // Clicks stay ignored while a try is in hand and settled.
        {"while the first card's sounds play", [](PlayTest& t) {
             t.click_card(t.position_of(0));
             return t.position_of(2);
         }},
        {"before the window is active", [](PlayTest& t) {
             t.game().memReady = False;
             return t.position_of(0);
         }},
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

}  // namespace
}  // namespace mem::test
