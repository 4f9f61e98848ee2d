// memory-new: games made from generated pictures are checked clean by the checker's code and played to their good
// end at every screen size; bad input is refused with a message.
#include <sstream>

#include "board_plan.h"
#include "checker.h"
#include "definition/syntax.h"
#include "game_files.h"
#include "memory_new.h"
#include "name_order.h"
#include "platform/files.h"
#include "support/folder_fixtures.h"
#include "support/pointer_play.h"
#include "tones.h"

namespace mem::make {
namespace {

namespace fs = std::filesystem;

class MemoryNewTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "pictures");
    }
    void TearDown() override { fs::remove_all(dir); }

    // memory-new with `args` and the pictures folder; its status and what it said (standard error, then output).
    std::pair<int, std::string> make(std::vector<std::string> args) {
        args.insert(args.begin(), {"--output", (dir / "games").string()});
        args.push_back((dir / "pictures").string());
        std::ostringstream out, err;
        const int status = memory_new_main(args, out, err, {"no-such-speech-program", (dir / "system").string() + "/"});
        return {status, err.str() + out.str()};
    }

    const fs::path dir = fs::temp_directory_path() / ("memory-new-" + std::to_string(::getpid()));
};

TEST_F(MemoryNewTest, MadeGamesCheckCleanAndPlayToTheGoodEndOnEveryScreen) {
    struct Row {
        const char* name;
        int pictures;  // besides the one with a sound; those of earlier rows stay
        std::vector<std::string> options;
        int cards, countdown, tries;  // the cards made; the limits asked for, or 0
        const char* said;
    };
    // Each row adds pictures to those of the rows before.
    const Row rows[] = {
        {"two", 1, {}, 4, 0, 0, " pixels.\nPlay it with: memory "},  // every board holds it: no note
        {"Seven with blanks", 6, {"--kind", "match", "--players", "3", "--removal", "line", "--theme", "night",
         "--speak"}, 14, 0, 0, "--speak needs no-such-speech-program, which is not installed"},
        {"words", 6, {"--kind", "text", "--removal", "hide", "--players", "2"}, 7, 0, 0, ""},
        // Three counters leave room beside the board for 17 names; every picture is kept and dealt at random.
        {"many_words", 17, {"--kind", "text", "--timer", "--no-captions"}, 17, 0, 0,
         "18 pictures, 17 cards a game, dealt at random (the list beside the board holds no more names)"},
        {"Ålands_fåglar", 19, {"--timer", "--countdown", "3000", "--tries", "999", "--removal", "shrink"}, 36, 3000,
         999, "20 pictures, 18 pairs a game, dealt at random (a board holds at most 18 pairs)"},
        {"four_pairs", 0, {"--pairs", "4", "--preview", "2"}, 8, 0, 0,
         "20 pictures, 4 pairs a game, dealt at random\n"},
    };
    // A caption with blanks and letters beyond ASCII, with its own sound; a file that is no picture.
    test::write_bmp(dir / "pictures" / "Grüne_Äpfel und Birnen.bmp", 50, 50);
    std::ofstream(dir / "pictures" / "Grüne_Äpfel und Birnen.wav") << wave_file(synthesise(Tone::Click));
    std::ofstream(dir / "pictures" / "notes.png") << "not a picture";
    int pictures = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        pictures = std::max(pictures, row.pictures + 1);
        // Pictures of every shape: landscape, portrait, tiny, one huge.
        const int sizes[][2] = {{120, 80}, {60, 140}, {3, 2}, {200, 200}, {90, 30}};
        for (int i = 0; i < row.pictures; ++i)
            test::write_bmp(dir / "pictures" / ("picture_" + std::to_string(100 + i) + ".bmp"),
                            i == 3 ? 2400 : sizes[i % 5][0], i == 3 ? 1800 : sizes[i % 5][1]);
        std::vector<std::string> args = row.options;
        args.push_back(row.name);
        const auto [status, said] = make(args);
        ASSERT_EQ(status, 0) << said;
        EXPECT_NE(said.find("skipped \"" + (dir / "pictures" / "notes.png").string() + "\""), std::string::npos);
        EXPECT_NE(said.find(row.said), std::string::npos) << said;

        const fs::path game = dir / "games" / row.name;
        const std::string definition = (game / (std::string(row.name) + ".ini")).string();
        const check::CheckResult result =
            check::check_definition({definition, dir.string(), (dir / "system").string() + "/"});
        for (const check::Problem& problem : result.problems) ADD_FAILURE() << check::format_problem(problem);
        const std::string cards = read_text_file((game / "data" / "cards.txt").string()).value_or("");
        EXPECT_NE(cards.find("Grüne Äpfel und Birnen"), std::string::npos) << cards;
        const bool text_game = row.options.size() > 1 && row.options[1] == "text";
        EXPECT_EQ(std::ranges::count(cards, '\n'), pictures * (text_game ? 1 : 2));
        for (const Screen& screen : kScreens) {
            SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height));
            PointerGame play(dir.string(), definition, screen);
            play_to_good_end(play);
            if (::testing::Test::HasFatalFailure()) return;
            const frm_MemoryGame& g = play.game();
            EXPECT_EQ(memNearest16(g.memCardCount), row.cards);
            EXPECT_EQ(g.memControl[kGroupCountdown].Condition, row.countdown);
            EXPECT_EQ(g.memControl[kGroupTriesLeft].Condition, row.tries);
            // Cards lie face down on a back, except in a match game.
            EXPECT_EQ(g.memCardBackFile, g.memAppType == 0 ? "back.png" : "");
            const bool preview = row.name == std::string("four_pairs");
            EXPECT_EQ(std::tuple(g.memRandomPairs != False, g.memPreview),
                      std::tuple(row.cards < pictures * (text_game ? 1 : 2), preview ? 2 : 0));
        }
    }
}

TEST_F(MemoryNewTest, BadInputIsRefusedWithAMessage) {
    test::write_bmp(dir / "pictures" / "one.bmp", 20, 20);
    std::ofstream(dir / "pictures" / "two.png") << "GIF89a but not really";
    struct Row {
        std::vector<std::string> args;  // the pictures folder follows
        int status;                     // 1 not made, 2 bad usage
        const char* message;
    };
    const Row rows[] = {
        {{"game"}, 1, "1 usable picture; a game needs at least 2"},
        {{}, 2, "no pictures given"},
        {{"--players", "5", "game"}, 2, "--players wants a whole number from 1 to 4"},
        {{"--tries", "0", "game"}, 2, "--tries wants a whole number from 1 to 32767"},
        {{"--kind", "puzzle", "game"}, 2, "--kind is memory, match or text"},
        {{"--kind", "text", "--removal", "line", "game"}, 2, "a text game takes one card"},
        {{"--theme", "pink", "game"}, 2, "the themes are ocean, forest, sunset, night"},
        {{"--fast", "game"}, 2, "unknown option --fast"},
        {{"--pairs", "19", "game"}, 2, "--pairs wants a whole number from 2 to 18"},
        {{"--kind", "match", "--preview", "3", "game"}, 2, "a match game's lie face up"},
        {{"a/b"}, 2, "cannot name a folder"},
        {{""}, 2, "cannot name a folder"},
    };
    for (const Row& row : rows) {
        const auto [status, said] = make(row.args);
        EXPECT_EQ(status, row.status) << row.message;
        EXPECT_NE(said.find(row.message), std::string::npos) << said;
        EXPECT_FALSE(fs::exists(dir / "games" / "game"));
    }
    // A game that exists is replaced only with --force.
    test::write_bmp(dir / "pictures" / "three.bmp", 20, 20);
    ASSERT_EQ(make({"game"}).first, 0);
    std::ofstream(dir / "games" / "game" / "mine.txt") << "kept";
    const auto [status, said] = make({"game"});
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("exists already; --force replaces it"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(dir / "games" / "game" / "mine.txt"));
    EXPECT_EQ(make({"--force", "game"}).first, 0);
    EXPECT_FALSE(fs::exists(dir / "games" / "game" / "mine.txt"));
}

// Pairs of 2 to 18 pictures, or one card each in a text game. Row 0 always holds the cards; a count that can lie
// within four across and four down (8 as 4 x 2, not 8 x 1) is laid out so, and every board holds it.
TEST(BoardPlan, EveryCardCountOfTwoToEighteenPicturesHasAPlanForTheSmallestBoard) {
    for (int cards = 2; cards <= 36; cards += cards < 18 ? 1 : 2) {
        BoardPlan plan;
        ASSERT_TRUE(plan_board(cards, plan)) << cards;
        EXPECT_EQ(plan.cards_x * plan.cards_y, cards);
        EXPECT_GE(std::min(plan.card_width, plan.card_height), 24) << cards;
        bool within_four = false;
        for (int x = 1; x <= 4; ++x) within_four |= cards % x == 0 && cards / x <= 4;
        for (int row = 0; row < kScreenRows; ++row)
            EXPECT_TRUE(plan.boards[row] || (row > 0 && !within_four)) << cards << " " << row;
    }
}

// Pictures in the order a reader expects, here under the C locale: numbers as numbers, letter case and accents set
// aside, names equal so in byte order.
TEST(NameOrder, NumbersAsNumbersAndAccentedLettersBesideTheirOwn) {
    const std::vector<std::string> expected = {"2 cats", "10 cats", "Äpfel", "apple", "Banana", "Émile", "Eve",
                                               "img2", "img010", "img10", "Img11", "Zoë", "zoe2"};
    std::vector<std::string> names(expected.rbegin(), expected.rend());
    std::sort(names.begin(), names.end(), natural_less);
    EXPECT_EQ(names, expected);
}

TEST(ItemLine, TheReaderGetsBackWhatWasMeant) {
    const std::pair<std::string, std::string> rows[] = {{"defaultname=Player ", "defaultname=Player "},
        {"cards=Bread, butter\tcard01.png", "cards=Bread, butter\tcard01.png"}, {" leading", " leading"},
        {"say \"hi\"", "say 'hi'"}};
    for (const auto& [meant, read] : rows) {
        ItemReader reader(item_line(meant) + "\n");
        EXPECT_EQ(reader.next(), read);
        EXPECT_TRUE(reader.at_end()) << meant;
    }
}

}  // namespace
}  // namespace mem::make
