// memory-new: games made from generated pictures are checked clean by the
// checker's code and played to their good end at every screen size; bad
// input is refused with a message.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "board_plan.h"
#include "checker.h"
#include "definition/syntax.h"
#include "game_files.h"
#include "memory_new.h"
#include "platform/files.h"
#include "support/pointer_play.h"
#include "tones.h"

namespace mem::make {
namespace {

namespace fs = std::filesystem;

struct Made {
    int status;
    std::string out, err;
};

class MemoryNewTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("memory-new-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "pictures");
    }
    void TearDown() override { fs::remove_all(dir); }

public:
    // A picture of stripes, so that scaling shows; the extension picks the format.
    void picture(const std::string& name, int width, int height) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_TRUE(s);
        for (int y = 0; y < height; ++y) {
            SDL_Rect row{0, y, width, 1};
            SDL_FillRect(s, &row, SDL_MapRGB(s->format, static_cast<Uint8>(y * 7), static_cast<Uint8>(name.size() * 40), 90));
        }
        const std::string path = (dir / "pictures" / name).string();
        const bool bmp = path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0;
        EXPECT_EQ(bmp ? SDL_SaveBMP(s, path.c_str()) : IMG_SavePNG(s, path.c_str()), 0) << path;
        SDL_FreeSurface(s);
    }
    void file(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / "pictures" / name, std::ios::binary) << bytes;
    }

    Made make(std::vector<std::string> args, Environment environment = {}) {
        args.insert(args.begin(), {"--output", (dir / "games").string()});
        environment.system_dir = (dir / "system").string() + "/";
        std::ostringstream out, err;
        const int status = memory_new_main(args, out, err, environment);
        return {status, out.str(), err.str()};
    }

    // Pictures of every shape: landscape, portrait, tiny and one huge.
    void add_pictures(int count) {
        const int sizes[][2] = {{120, 80}, {60, 140}, {3, 2}, {200, 200}, {90, 30}};
        for (int i = 0; i < count; ++i) {
            const bool huge = i == 3;
            picture("picture_" + std::to_string(100 + i) + (i % 4 == 1 ? ".bmp" : ".png"),
                    huge ? 2400 : sizes[i % 5][0], huge ? 1800 : sizes[i % 5][1]);
        }
    }

    fs::path dir;
};


TEST_F(MemoryNewTest, MadeGamesCheckCleanAndPlayToTheGoodEndOnEveryScreen) {
    struct Row {
        const char* name;
        int pictures;  // besides the one with a sound
        std::vector<std::string> options;
        int cards;
    };
    const Row rows[] = {
        {"two", 1, {}, 4},
        {"Seven with blanks", 6, {"--kind", "match", "--players", "3", "--removal", "line", "--theme", "night"}, 14},
        {"Ålands_fåglar", 17, {"--timer", "--countdown", "3000", "--tries", "999", "--removal", "shrink"}, 36},
        {"words", 6, {"--kind", "text", "--removal", "hide", "--players", "2"}, 7},
        // Three counters leave room beside the board for 17 names.
        {"many_words", 17, {"--kind", "text", "--timer", "--no-captions"}, 17},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(dir / "pictures");
        fs::create_directories(dir / "pictures");
        add_pictures(row.pictures);
        // A caption with blanks and letters beyond ASCII, its own sound, and a file that is no picture.
        picture("Grüne_Äpfel und Birnen.png", 50, 50);
        file("Grüne_Äpfel und Birnen.wav", wave_file(synthesise(Tone::Click)));
        file("notes.png", "not a picture");
        std::vector<std::string> args = row.options;
        args.push_back(row.name);
        args.push_back((dir / "pictures").string());
        const Made run = make(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("skipped \"" + (dir / "pictures" / "notes.png").string() + "\""), std::string::npos)
            << run.err;

        const std::string definition = (dir / "games" / row.name / (std::string(row.name) + ".ini")).string();
        check::CheckOptions check;
        check.definition = definition;
        check.program_dir = dir.string();
        check.system_dir = (dir / "system").string() + "/";
        const check::CheckResult result = check::check_definition(check);
        for (const check::Problem& problem : result.problems) ADD_FAILURE() << check::format_problem(problem);

        const std::string cards = read_text_file((dir / "games" / row.name / "data" / "cards.txt").string()).value_or("");
        EXPECT_NE(cards.find("Grüne Äpfel und Birnen"), std::string::npos) << cards;
        for (const Screen& screen : kScreens) {
            SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height));
            PointerGame game(dir.string(), definition, screen);
            play_to_good_end(game);
            if (::testing::Test::HasFatalFailure()) return;
            EXPECT_EQ(memNearest16(game.game().memCardCount), row.cards);
        }
    }
}

TEST_F(MemoryNewTest, BadInputIsRefusedWithAMessage) {
    picture("one.png", 20, 20);
    file("two.png", "GIF89a but not really");
    const std::string pictures = (dir / "pictures").string();
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {{"game", pictures}, 1, "1 usable picture; a game needs at least 2"},
        {{"game"}, 2, "no pictures given"},
        {{"--players", "5", "game", pictures}, 2, "--players wants a whole number from 1 to 4"},
        {{"--kind", "puzzle", "game", pictures}, 2, "--kind is memory, match or text"},
        {{"--kind", "text", "--removal", "line", "game", pictures}, 2, "a text game takes one card"},
        {{"--theme", "pink", "game", pictures}, 2, "the themes are ocean, forest, sunset, night"},
        {{"--fast", "game", pictures}, 2, "unknown option --fast"},
        {{"a/b", pictures}, 2, "cannot name a folder"},
        {{"", pictures}, 2, "cannot name a folder"},
    };
    for (const Row& row : rows) {
        const Made run = make(row.args);
        EXPECT_EQ(run.status, row.status) << row.message;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / "games" / "game"));
    }
}

TEST_F(MemoryNewTest, AnExistingGameIsReplacedOnlyWithForce) {
    picture("a.png", 20, 20);
    picture("b.png", 20, 20);
    const std::string pictures = (dir / "pictures").string();
    ASSERT_EQ(make({"game", pictures}).status, 0);
    std::ofstream(dir / "games" / "game" / "mine.txt") << "kept";
    const Made again = make({"game", pictures});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("exists already; --force replaces it"), std::string::npos) << again.err;
    EXPECT_TRUE(fs::exists(dir / "games" / "game" / "mine.txt"));
    EXPECT_EQ(make({"--force", "game", pictures}).status, 0);
    EXPECT_FALSE(fs::exists(dir / "games" / "game" / "mine.txt"));
}

TEST_F(MemoryNewTest, MorePicturesThanABoardHoldsAndNoSpeechProgramAreSaid) {
    add_pictures(20);
    Environment no_speech;
    no_speech.speech_program = "no-such-speech-program";
    const Made run = make({"--speak", "game", (dir / "pictures").string()}, no_speech);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("used 18 of 20 pictures"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--speak needs no-such-speech-program, which is not installed"), std::string::npos) << run.err;
}

TEST(BoardPlan, EveryCardCountOfTwoToEighteenPicturesHasAPlanForTheSmallestBoard) {
    // Pairs of 2 to 18 pictures, or one card each in a text game.
    for (int cards = 2; cards <= 36; ++cards) {
        if (cards > 18 && cards % 2 == 1) continue;
        BoardPlan plan;
        ASSERT_TRUE(plan_board(cards, plan)) << cards;
        EXPECT_EQ(plan.cards_x * plan.cards_y, cards);
        EXPECT_TRUE(plan.boards[0]) << cards;
        EXPECT_GE(std::min(plan.card_width, plan.card_height), 24) << cards;
        // Up to four across and down every board holds the cards.
        if (plan.cards_x <= 4 && plan.cards_y <= 4) {
            for (int row = 0; row < kScreenRows; ++row) EXPECT_TRUE(plan.boards[row]) << cards << " row " << row;
        }
    }
}

TEST(ItemLine, TheReaderGetsBackWhatWasMeant) {
    const std::pair<std::string, std::string> rows[] = {
        {"defaultname=Player ", "defaultname=Player "},
        {"cards=Bread, butter\tcard01.png", "cards=Bread, butter\tcard01.png"},
        {" leading", " leading"},
        {"say \"hi\"", "say 'hi'"},
        {"plain=value", "plain=value"},
    };
    for (const auto& [meant, read] : rows) {
        ItemReader reader(item_line(meant) + "\n");
        EXPECT_EQ(reader.next(), read);
        EXPECT_TRUE(reader.at_end()) << meant;
    }
}

}  // namespace
}  // namespace mem::make
