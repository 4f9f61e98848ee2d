#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/text_game_fixture.h"

namespace mem::test {
namespace {

using TextGame = TextGameTest;

const char* order_name(bool card_first) { return card_first ? "card first" : "text first"; }

TEST_F(TextGame, CardLineThreeMatchesListLineThree) {
    struct Case {
        bool destroy;
        bool card_first;
    };
    const Case cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.destroy ? "destroy" : "dim") + ", " + order_name(c.card_first));
        restart_text(PlayOptions{}, TextListOptions{.destroy = c.destroy});
        ASSERT_EQ(start_text(), std::nullopt);
        EXPECT_TRUE(platform().message_boxes.empty());
        wait_for_status_tick();
        const int16_t card = position_of(2);
        const int16_t text = text_of(2);
        ASSERT_TRUE(try_pair(2, 2, c.card_first));

        const frm_MemoryGame& g = game();
        EXPECT_FALSE(g.img_Card[card].visible());
        const Label& label = g.lbl_Text[text];
        EXPECT_EQ(label.visible(), !c.destroy);
        EXPECT_FALSE(label.enabled());
        if (!c.destroy) {
            EXPECT_EQ(label.fore_color(), kDimTextColour);
        }
        EXPECT_EQ(g.memPlayer[0].CardsMade, 1);
        EXPECT_EQ(g.lbl_PlayerScore[0].caption(), " 1 ");
        EXPECT_EQ(g.memTurnedCards, 1);
        EXPECT_EQ(g.memCardsLeft, 3);
        EXPECT_EQ(g.lbl_Control[0].caption(), "  3  ");
        EXPECT_EQ(g.memGameOver, False);
        check_text_invariants();
    }
}

TEST_F(TextGame, MatchedDimmedTextStaysTaken) {
    restart_text(PlayOptions{}, TextListOptions{.destroy = false});
    ASSERT_EQ(start_text(), std::nullopt);
    wait_for_status_tick();
    ASSERT_TRUE(try_pair(2, 2));
    const int16_t taken = text_of(2);

    // The pointer cannot take it, nor can a click that reaches the routine.
    EXPECT_FALSE(click_text(taken));
    int16_t index = taken;
    game().memTextClick(index);
    EXPECT_EQ(game().memTextGame.TextChosen, False);
    EXPECT_EQ(game().lbl_Text[taken].fore_color(), kDimTextColour);

    // A try of a free card with it, then one that fails: the text stays dim.
    click_card(position_of(0));
    ASSERT_TRUE(run_until_quiet());
    EXPECT_FALSE(click_text(taken));
    EXPECT_EQ(game().memTextGame.TextChosen, False);
    click_text(text_of(1));
    ASSERT_TRUE(run_until_settled());
    EXPECT_EQ(game().lbl_Text[taken].fore_color(), kDimTextColour);
    EXPECT_FALSE(game().lbl_Text[taken].enabled());
    EXPECT_TRUE(game().lbl_Text[text_of(1)].enabled());
    check_text_invariants();
}

TEST_F(TextGame, SecondChoiceOfAHalfBeforeSettlementIsIgnored) {
    enum class Second { CardWhileFirstSounds, CardAfterFirstSounded, TextWhileFirstSounds, TextAfterFirstSounded,
                        TextWhileCardSounds };
    struct Case {
        const char* name;
        Second second;
    };
    const Case cases[] = {
        {"second card while the first card's sounds play", Second::CardWhileFirstSounds},
        {"second card after the first card's sounds", Second::CardAfterFirstSounded},
        {"second text while the first text's sounds play", Second::TextWhileFirstSounds},
        {"second text after the first text's sounds", Second::TextAfterFirstSounded},
        {"a text while the card's sounds play", Second::TextWhileCardSounds},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart_text(PlayOptions{}, TextListOptions{});
        ASSERT_EQ(start_text(), std::nullopt);
        wait_for_status_tick();
        const int16_t card = position_of(1), other_card = position_of(3);
        const int16_t text = text_of(1), other_text = text_of(3);
        const frm_MemoryGame& g = game();

        switch (c.second) {
            case Second::CardWhileFirstSounds:
            case Second::CardAfterFirstSounded:
                click_card(card);
                if (c.second == Second::CardAfterFirstSounded) {
                    ASSERT_TRUE(run_until_quiet());
                }
                click_card(other_card);
                EXPECT_EQ(g.memTextGame.CardIndex, card);
                EXPECT_EQ(g.memDisplayCard[static_cast<size_t>(other_card)].Turned, False);
                EXPECT_TRUE(g.img_Card[other_card].enabled());
                ASSERT_TRUE(run_until_quiet());
                click_text(text);
                break;
            case Second::TextWhileFirstSounds:
            case Second::TextAfterFirstSounded:
                click_text(text);
                if (c.second == Second::TextAfterFirstSounded) {
                    ASSERT_TRUE(run_until_quiet());
                }
                click_text(other_text);
                EXPECT_EQ(g.memTextGame.TextIndex, text);
                EXPECT_EQ(g.memInterface.TextList.Display[static_cast<size_t>(other_text)].Selected, False);
                EXPECT_EQ(g.lbl_Text[other_text].fore_color(), kRestColour);
                EXPECT_EQ(g.lbl_Text[text].fore_color(), kSelectColour);
                ASSERT_TRUE(run_until_quiet());
                click_card(card);
                break;
            case Second::TextWhileCardSounds:
                click_card(card);
                click_text(text);
                EXPECT_EQ(g.memTextGame.TextChosen, False);
                EXPECT_EQ(g.lbl_Text[text].fore_color(), kRestColour);
                ASSERT_TRUE(run_until_quiet());
                click_text(text);
                break;
        }
        ASSERT_TRUE(run_until_settled());
        // The first choices made the try, and it matched.
        EXPECT_EQ(g.memPlayer[0].CardsMade, 1);
        EXPECT_FALSE(g.img_Card[card].visible());
        EXPECT_TRUE(g.img_Card[other_card].visible());
        EXPECT_FALSE(g.lbl_Text[text].visible());
        EXPECT_EQ(g.lbl_Text[other_text].fore_color(), kRestColour);
        check_text_invariants();
    }
}

TEST_F(TextGame, TryWithoutMatchRestoresBothAndKeepsThePlayer) {
    struct Case {
        const char* app;
        bool card_first;
    };
    const Case cases[] = {{"memory", true}, {"memory", false}, {"match", true}, {"match", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.app) + ", " + order_name(c.card_first));
        // Without the trace the memory game shows its cards face down.
        restart_text(PlayOptions{.app = c.app, .players = 2, .debug = false, .tries_made = 9}, TextListOptions{});
        ASSERT_EQ(start_text(), std::nullopt);
        wait_for_status_tick();
        const int16_t card = position_of(0);
        const int16_t text = text_of(1);
        const PictureRef face = game().memCardHolder[0].Picture;
        ASSERT_TRUE(try_pair(0, 1, c.card_first));

        const frm_MemoryGame& g = game();
        EXPECT_EQ(g.img_Card[card].picture(), std::string(c.app) == "memory" ? g.memCardBack : face);
        EXPECT_TRUE(g.img_Card[card].enabled());
        EXPECT_TRUE(g.img_Card[card].visible());
        EXPECT_EQ(g.lbl_Text[text].fore_color(), kRestColour);
        EXPECT_TRUE(g.lbl_Text[text].enabled());
        // The same player plays on, and no try is counted.
        EXPECT_EQ(g.memCurrentPlayer, 0);
        EXPECT_EQ(g.memPlayer[0].TriesMade, 0);
        EXPECT_EQ(g.memPlayer[0].CardsMade, 0);
        EXPECT_EQ(g.memTurnedCards, 0);
        check_text_invariants();

        // Both can be chosen again, and now with their right partners.
        ASSERT_TRUE(try_pair(0, 0, c.card_first));
        ASSERT_TRUE(try_pair(1, 1, !c.card_first));
        EXPECT_EQ(g.memPlayer[0].CardsMade, 2);
        EXPECT_EQ(g.memCurrentPlayer, 0);
        check_text_invariants();
    }
}

TEST_F(TextGame, LastMatchEndsTheGameWell) {
    // Three cards in a row, taken in mixed orders after a failed try.
    restart_text(PlayOptions{.cards_x = 3, .cards_y = 1}, TextListOptions{});
    ASSERT_EQ(start_text(), std::nullopt);
    wait_for_status_tick();
    struct Try {
        int card, text;
        bool card_first;
    };
    const Try tries[] = {{0, 2, true}, {2, 2, false}, {0, 0, true}, {1, 1, false}};
    for (const Try& t : tries) {
        SCOPED_TRACE("card " + std::to_string(t.card) + ", text " + std::to_string(t.text));
        EXPECT_EQ(game().memGameOver, False);
        const size_t mark = command_mark();
        ASSERT_TRUE(try_pair(t.card, t.text, t.card_first));
        check_text_invariants();
        if (game().memGameOver != False) {
            const auto commands = commands_since(mark);
            EXPECT_NE(std::find(commands.begin(), commands.end(), "play sfx/good.wav"), commands.end());
        }
    }
    const frm_MemoryGame& g = game();
    EXPECT_EQ(g.memGameOver, True);
    EXPECT_EQ(g.memTurnedCards, 3);
    EXPECT_EQ(g.memCardsLeft, 0);
    EXPECT_TRUE(g.pic_End.visible());
    ASSERT_NE(g.pic_End.picture(), nullptr);
    EXPECT_EQ(g.pic_End.width(), 200);  // the good end picture
    EXPECT_EQ(g.memPlayer[0].Out, False);
}

TEST_F(TextGame, ChainsOfBothOrdersWithAndWithoutTextSounds) {
    struct Case {
        bool card_first;
        bool click_sound;
        bool text_sounds;
        bool result_sounds;
        bool match;
    };
    std::vector<Case> cases;
    for (bool card_first : {true, false})
        for (bool click_sound : {true, false})
            for (bool text_sounds : {true, false})
                for (bool result_sounds : {true, false})
                    for (bool match : {true, false}) cases.push_back({card_first, click_sound, text_sounds, result_sounds, match});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(order_name(c.card_first)) + (c.click_sound ? ", click sound" : "") +
                     (c.text_sounds ? ", text sounds" : "") + (c.result_sounds ? ", result sounds" : "") +
                     (c.match ? ", match" : ", no match"));
        restart_text(PlayOptions{.result_sounds = c.result_sounds},
                     TextListOptions{.click_sound = c.click_sound, .text_sounds = c.text_sounds});
        ASSERT_EQ(start_text(), std::nullopt);
        // A text game without a click sound starts with a warning.
        for (const auto& box : platform().message_boxes)
            if (c.click_sound || box.title != "Error in application (#204)") ADD_FAILURE() << box.title << ": " << box.text;
        wait_for_status_tick();
        const int text_line = c.match ? 3 : 1;
        const size_t mark = command_mark();
        ASSERT_TRUE(try_pair(3, text_line, c.card_first));

        const std::vector<std::string> card_half = {"sfx/turn.wav", "card/s3.wav"};
        std::vector<std::string> text_half;
        if (c.click_sound) text_half.push_back("sfx/click.wav");
        if (c.text_sounds) text_half.push_back("card/t" + std::to_string(text_line) + ".wav");
        std::vector<std::string> expected = c.card_first ? card_half : text_half;
        const auto& second = c.card_first ? text_half : card_half;
        expected.insert(expected.end(), second.begin(), second.end());
        if (c.result_sounds) expected.push_back(c.match ? "sfx/match.wav" : "sfx/nomatch.wav");
        EXPECT_EQ(plays_since(mark), expected);

        EXPECT_EQ(game().memPlayer[0].CardsMade, c.match ? 1 : 0);
        check_text_invariants();
        // Nothing more is played and nothing is settled again.
        const size_t after = command_mark();
        advance(2000);
        EXPECT_TRUE(plays_since(after).empty());
        EXPECT_EQ(game().memPlayer[0].CardsMade, c.match ? 1 : 0);
        check_text_invariants();
    }
}

TEST_F(TextGame, CardChosenWhileTheTextSoundsTakesOverTheChain) {
    // A text click does not hold the board: the card's chain cuts the
    // text's chain short and settles the try once.
    struct Case {
        bool click_sound;
        bool result_sounds;
        bool match;
        std::vector<std::string> plays;
    };
    const Case cases[] = {
        {true, true, true, {"sfx/click.wav", "sfx/turn.wav", "card/s3.wav", "sfx/match.wav"}},
        {true, false, false, {"sfx/click.wav", "sfx/turn.wav", "card/s3.wav"}},
        {false, true, false, {"card/t1.wav", "sfx/turn.wav", "card/s3.wav", "sfx/nomatch.wav"}},
        {false, false, true, {"card/t3.wav", "sfx/turn.wav", "card/s3.wav"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.click_sound ? "click sound" : "text sound") +
                     (c.result_sounds ? ", result sounds" : "") + (c.match ? ", match" : ", no match"));
        restart_text(PlayOptions{.result_sounds = c.result_sounds}, TextListOptions{.click_sound = c.click_sound});
        ASSERT_EQ(start_text(), std::nullopt);
        wait_for_status_tick();
        const size_t mark = command_mark();
        click_text(text_of(c.match ? 3 : 1));
        advance(20);
        click_card(position_of(3));
        ASSERT_TRUE(run_until_settled());
        EXPECT_EQ(plays_since(mark), c.plays);
        EXPECT_EQ(game().memPlayer[0].CardsMade, c.match ? 1 : 0);
        check_text_invariants();
        advance(2000);
        EXPECT_EQ(game().memPlayer[0].CardsMade, c.match ? 1 : 0);
        check_text_invariants();
    }
}

TEST_F(TextGame, TextSoundEndingWhileTheCardTurnsLeavesTheTryToTheCard) {
    // The text's sound ends at once, so its completion arrives while the
    // card's face is being painted.
    for (bool match : {true, false}) {
        SCOPED_TRACE(match ? "match" : "no match");
        restart_text(PlayOptions{}, TextListOptions{.click_sound = false, .text_ms = 0});
        ASSERT_EQ(start_text(), std::nullopt);
        wait_for_status_tick();
        click_text(text_of(2));
        click_card(position_of(match ? 2 : 0));
        ASSERT_TRUE(run_until_settled());
        EXPECT_EQ(game().memPlayer[0].CardsMade, match ? 1 : 0);
        EXPECT_EQ(game().memTurnedCards, match ? 1 : 0);
        check_text_invariants();
        // The board takes the next try.
        ASSERT_TRUE(try_pair(1, 1));
        EXPECT_EQ(game().memPlayer[0].CardsMade, match ? 2 : 1);
        check_text_invariants();
    }
}

TEST_F(TextGame, SoundEndingWhileTheCardFliesAwaySettlesOnce) {
    // The match sound is short and the card flies off the board, yielding
    // to the event loop while the try is settled.
    for (bool card_first : {true, false}) {
        SCOPED_TRACE(order_name(card_first));
        restart_text(PlayOptions{.dissapear = 2, .result_ms = 20}, TextListOptions{});
        ASSERT_EQ(start_text(), std::nullopt);
        wait_for_status_tick();
        ASSERT_TRUE(try_pair(0, 0, card_first));
        advance(1000);
        EXPECT_EQ(game().memPlayer[0].CardsMade, 1);
        EXPECT_EQ(game().memCardsLeft, 3);
        check_text_invariants();
    }
}

}  // namespace
}  // namespace mem::test
