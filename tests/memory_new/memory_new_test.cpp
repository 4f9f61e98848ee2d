// memory-new: games made from generated pictures are checked clean by the checker's code and played to their good
// end at every screen size; bad input is refused with a message.
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <sstream>

#include "artwork.h"
#include "board_plan.h"
#include "caption.h"
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
        // A replaced game goes to this trash.
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(dir); }

    // memory-new with `args`; its status and what it said (standard error, then output).
    std::pair<int, std::string> tool(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = memory_new_main(args, out, err, {"no-such-speech-program", (dir / "system").string() + "/"});
        return {status, err.str() + out.str()};
    }
    // memory-new with `args` and the pictures folder, making the game in games/.
    std::pair<int, std::string> make(std::vector<std::string> args) {
        args.insert(args.begin(), {"--output", (dir / "games").string()});
        args.push_back((dir / "pictures").string());
        return tool(args);
    }
    void expect_clean(const fs::path& definition) {
        const check::CheckResult result =
            check::check_definition({definition.string(), dir.string(), (dir / "system").string() + "/"});
        for (const check::Problem& problem : result.problems) ADD_FAILURE() << check::format_problem(problem);
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
        // Every board holds it: no note.
        {"two", 1, {}, 4, 0, 0, " pixels.\nPictures used:\n  card01.png \"Grüne Äpfel und Birnen\" from "},
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
        EXPECT_EQ(said.find("but only"), std::string::npos) << said;  // no row asks more pairs than it has

        const fs::path game = dir / "games" / row.name;
        const std::string definition = (game / (std::string(row.name) + ".ini")).string();
        expect_clean(definition);
        const std::string cards = read_text_file((game / "data" / "cards.txt").string()).value_or("");
        EXPECT_NE(cards.find("Grüne Äpfel und Birnen"), std::string::npos) << cards;
        const bool text_game = row.options.size() > 1 && row.options[1] == "text";
        EXPECT_EQ(std::ranges::count(cards, '\n'), pictures * (text_game ? 1 : 2));
        // Seven short names fit the list in its largest font.
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
            EXPECT_EQ(g.caption(), row.name);  // the title the game was made with
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
        {{"--tries", "1x", "game"}, 2, "--tries wants a whole number from 1 to 32767"},
        {{"--kind", "puzzle", "game"}, 2, "--kind is memory, match or text"},
        {{"--kind", "text", "--removal", "line", "game"}, 2, "a text game takes one card"},
        {{"--theme", "pink", "game"}, 2, "the themes are ocean, forest, sunset, night"},
        {{"--fast", "game"}, 2, "unknown option --fast"},
        {{"--pairs", "19", "game"}, 2, "--pairs wants a whole number from 2 to 18"},
        {{"--kind", "match", "--preview", "3", "game"}, 2, "a match game's lie face up"},
        {{"a/b"}, 2, "cannot name a folder"},
        {{""}, 2, "cannot name a folder"},
        // The pictures' folder as the game's, or the game inside it: refused, even with --force.
        {{"--output", dir.string(), "--force", "pictures"}, 1, "lies inside the game's folder"},
        {{"--output", (dir / "pictures" / "games").string(), "game"}, 1, "would lie inside"},
    };
    for (const Row& row : rows) {
        const auto [status, said] = make(row.args);
        EXPECT_EQ(status, row.status) << row.message;
        EXPECT_NE(said.find(row.message), std::string::npos) << said;
        EXPECT_FALSE(fs::exists(dir / "games" / "game"));
        EXPECT_TRUE(fs::exists(dir / "pictures" / "one.bmp"));
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
    // The old game lies in the trash, with where it came from.
    EXPECT_TRUE(fs::exists(dir / "data" / "Trash" / "files" / "game" / "mine.txt"));
    const std::string info = read_text_file((dir / "data" / "Trash" / "info" / "game.trashinfo").string()).value_or("");
    const std::string record = "[Trash Info]\nPath=" + (dir / "games" / "game").string() + "\nDeletionDate=2";
    EXPECT_NE(info.find(record), std::string::npos) << info;
}

// --speak: each card plays its name as the speech program said it; a name it cannot say leaves its card silent.
TEST_F(MemoryNewTest, SpokenNamesAreTheSpeechProgramsWaves) {
    const std::string said_wave = wave_file(synthesise(Tone::Good));
    std::ofstream(dir / "said.wav", std::ios::binary) << said_wave;
    const fs::path speaker = dir / "speaker";
    std::ofstream(speaker) << "#!/bin/sh\nwhile [ \"$1\" != -w ]; do shift; done\nout=$2; shift 3\n"
                              "[ \"$1\" = Mute ] && exit 1\ncp '" + (dir / "said.wav").string() + "' \"$out\"\n";
    fs::permissions(speaker, fs::perms::owner_all);
    for (const char* name : {"Cat", "Mute"}) test::write_bmp(dir / "pictures" / (std::string(name) + ".bmp"), 40, 40);
    std::ostringstream out, err;
    const int status = memory_new_main({"--output", (dir / "games").string(), "--speak", "game",
                                        (dir / "pictures").string()},
                                       out, err, {speaker.string(), (dir / "system").string() + "/"});
    ASSERT_EQ(status, 0) << err.str();
    EXPECT_NE(err.str().find("could not speak \"Mute\""), std::string::npos) << err.str();
    const fs::path game = dir / "games" / "game";
    const std::string cards = read_text_file((game / "data" / "cards.txt").string()).value_or("");
    EXPECT_NE(cards.find("Cat\tcard01.png\t\tcard01.wav"), std::string::npos) << cards;
    EXPECT_EQ(cards.find("card02.wav"), std::string::npos) << cards;
    EXPECT_EQ(read_text_file((game / "cards" / "card01.wav").string()), said_wave);
    EXPECT_FALSE(fs::exists(game / "cards" / "card02.wav"));
}

// The pixels of a card picture of `game` that `wanted` picks: their count and the middle of their bounding box.
struct Found {
    int count = 0, left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    double middle_y() const { return (top + bottom) / 2.0; }
};
template <typename Wanted>
Found find_pixels(const fs::path& picture, Wanted wanted) {
    Found found;
    SDL_Surface* loaded = IMG_Load(picture.c_str());
    SDL_Surface* card = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    for (int y = 0; card && y < card->h; ++y) {
        for (int x = 0; x < card->w; ++x) {
            const uint8_t* p = static_cast<const uint8_t*>(card->pixels) + y * card->pitch + 4 * x;
            if (!wanted(p[0], p[1], p[2], y * 4 > card->h * 3)) continue;
            ++found.count;
            found.left = std::min(found.left, x);
            found.right = std::max(found.right, x);
            found.top = std::min(found.top, y);
            found.bottom = std::max(found.bottom, y);
        }
    }
    SDL_FreeSurface(card);
    SDL_FreeSurface(loaded);
    return found;
}
bool red(int r, int g, int b, bool) { return r > 150 && g < 90 && b < 90; }
bool blue(int r, int g, int b, bool) { return b > 150 && r < 90 && g < 90; }

// Photos as people have them, each row's made with ImageMagick in a folder of its own (a HEIC from a PNG with
// heif-enc): what memory-new says, and the cards it draws; each game made checks clean and plays to its good end.
TEST_F(MemoryNewTest, PhotosAsPeopleHaveThemBecomeUprightCardsWithCaptionsBelow) {
    const std::string grey = "-size 60x40 xc:gray50";
    struct Row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;  // file, ImageMagick's arguments
        std::vector<std::string> options;
        int status;
        const char* said;
        std::function<void(const fs::path& cards)> check;
        int orientation = 0;  // an Exif orientation given to the row's first file, a JPEG
    };
    // Red above blue, on a photo taller than wide or not.
    auto red_above_blue = [](bool standing) {
        return [standing](const fs::path& cards) {
            const Found r = find_pixels(cards / "card01.png", red), b = find_pixels(cards / "card01.png", blue);
            ASSERT_GT(r.count, 0);
            ASSERT_GT(b.count, 0);
            EXPECT_LT(r.middle_y(), b.middle_y());
            EXPECT_EQ(b.bottom - r.top > b.right - r.left, standing);
        };
    };
    const Row rows[] = {
        // Stored lying, red left of blue; its Exif data turns it a quarter clockwise.
        {"upright", {{"lying.jpg", "-size 40x40 xc:red xc:blue +append"}, {"z.png", grey}}, {}, 0,
         "card01.png \"lying\"", red_above_blue(true), 6},
        {"iphone", {{"photo.heic", "-size 64x48 gradient:red-blue"}, {"z.png", grey}}, {}, 0, "card01.png \"photo\"",
         red_above_blue(false)},
        // Printers' inks, as Adobe's programs store them.
        {"print", {{"red.jpg", "-size 40x40 xc:red -colorspace CMYK"}, {"z.png", grey}}, {}, 0, "card01.png \"red\"",
         [](const fs::path& cards) { EXPECT_GT(find_pixels(cards / "card01.png", red).count, 1000); }},
        {"twins", {{"a/cat.png", grey}, {"b/cat.png", grey}, {"c/cat_2.png", grey}},
         {"--kind", "text", "--recursive"}, 0,
         "b/cat.png\" is named \"cat 3\": an earlier picture is named \"cat\"",
         [this](const fs::path& cards) {
             EXPECT_EQ(read_text_file((cards.parent_path() / "data" / "words.txt").string()), "cat\ncat 3\ncat 2\n");
             // The names stand in the list, never on the cards: --no-captions draws the same cards.
             const fs::path plain = dir / "plain";
             ASSERT_EQ(tool({"--kind", "text", "--recursive", "--no-captions", "--output", plain.string(), "twins",
                             (dir / "twins").string()}).first, 0);
             for (const char* card : {"card01.png", "card02.png"})
                 EXPECT_EQ(read_text_file((cards / card).string()),
                           read_text_file((plain / "twins" / "cards" / card).string()));
             // Short names fit the list in its largest font.
             const auto global = read_text_file((cards.parent_path() / "data" / "global.ini").string());
             EXPECT_NE(global.value_or("").find("fontsize=12"), std::string::npos);
         }},
        {"nested", {{"a/x.png", grey}, {"b/y.png", grey}}, {}, 1,
         "holds 2 subfolders and no files; --recursive takes the pictures in subfolders too", nullptr},
        {"icon", {{"icon.png", "-size 3x2 xc:red"}, {"z.png", grey}}, {}, 0,
         "icon.png\" is 3 x 2 pixels, smaller than the card", nullptr},
        // The cat's face only comes in colour below the grey photo; the ink is grey too.
        {"emoji", {{"\xF0\x9F\x90\xB1_Katze.png", grey}, {"z.png", grey}}, {"--theme", "night"}, 0,
         ".png \"\xF0\x9F\x90\xB1 Katze\"",
         [](const fs::path& cards) {
             auto coloured = [](int r, int g, int b, bool low) {
                 return low && std::max({r, g, b}) - std::min({r, g, b}) > 100;
             };
             const Found one = find_pixels(cards / "card01.png", coloured);
             EXPECT_GT(one.count + find_pixels(cards / "card02.png", coloured).count, 20);
         }},
    };
    const bool heif_encoder = std::system("command -v heif-enc >/dev/null") == 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path photos = dir / row.name;
        if (row.files[0].first.ends_with(".heic") && !heif_encoder) {
            std::cout << "No HEIC encoder (heif-enc of libheif-examples): the HEIC row is skipped.\n";
            continue;
        }
        for (const auto& [file, magick] : row.files) {
            fs::create_directories((photos / file).parent_path());
            const bool heif = file.ends_with(".heic");
            const fs::path made = heif ? dir / "heif-source.png" : photos / file;
            ASSERT_EQ(std::system(("convert " + magick + " '" + made.string() + "'").c_str()), 0) << magick;
            if (heif) {
                const std::string encode = "heif-enc -o '" + (photos / file).string() + "' '" + made.string() + "'";
                ASSERT_EQ(std::system((encode + " >/dev/null").c_str()), 0);
            }
        }
        if (row.orientation) {
            // An Exif block after the start of the JPEG: a little-endian TIFF header and one tag, 0x112.
            const fs::path jpeg = photos / row.files[0].first;
            std::string bytes = read_text_file(jpeg.string()).value_or("");
            const char exif[] = "\xFF\xE1\x00\x22" "Exif\0\0" "II*\0\x08\0\0\0" "\x01\0" "\x12\x01\x03\0\x01\0\0\0";
            const std::string tag = std::string(exif, sizeof exif - 1) + static_cast<char>(row.orientation);
            bytes.insert(2, tag + std::string(7, '\0'));
            std::ofstream(jpeg, std::ios::binary) << bytes;
        }
        std::vector<std::string> args = row.options;
        args.insert(args.end(), {"--output", (dir / "games").string(), row.name, photos.string()});
        const auto [status, said] = tool(args);
        EXPECT_EQ(status, row.status) << said;
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        if (status != 0) continue;
        const fs::path game = dir / "games" / row.name, definition = game / (std::string(row.name) + ".ini");
        if (row.check) row.check(game / "cards");
        expect_clean(definition);
        PointerGame play(dir.string(), definition.string(), kScreens[0]);
        play_to_good_end(play);
    }
}

// Pairs of 2 to 18 pictures, or one card each in a text game. The cards fill the smallest board's play area: one
// pixel wider or taller no longer fits (or makes the card too long one way). A larger board is offered only while the
// cards keep a sixth of its height: every board for 2 x 2 cards, the smallest alone for 6 x 6.
TEST(BoardPlan, CardsFillTheSmallestBoardAndLargerBoardsOnlyWhileTheyStayLarge) {
    for (int cards = 2; cards <= 36; cards += cards < 18 ? 1 : 2) {
        BoardPlan plan;
        ASSERT_TRUE(plan_board(cards, plan)) << cards;
        EXPECT_EQ(plan.cards_x * plan.cards_y, cards);
        EXPECT_TRUE(plan.boards[0] && cards_fit(plan, 0)) << cards;
        BoardPlan wider = plan, taller = plan;
        ++wider.card_width;
        ++taller.card_height;
        EXPECT_TRUE(!cards_fit(wider, 0) || wider.card_width > 1.4 * wider.card_height) << cards;
        EXPECT_TRUE(!cards_fit(taller, 0) || taller.card_height > 1.4 * taller.card_width) << cards;
        for (int row = 1; row < kScreenRows; ++row) {
            EXPECT_TRUE(!plan.boards[row] || (cards_fit(plan, row) && 6 * plan.card_height >= screen_height(row)));
            EXPECT_TRUE(cards != 4 || plan.boards[row]) << row;
            EXPECT_TRUE(cards != 36 || !plan.boards[row]) << row;
        }
    }
    // Beside the panel the 640 x 480 board's play area is 503 x 415 pixels; n cards a row leave n + 3 gaps of at
    // least a pixel each.
    const std::array<int, 5> sizes[] = {{4, 2, 2, 249, 205}, {36, 6, 6, 82, 67}};
    for (const auto& [cards, across, down, width, height] : sizes) {
        BoardPlan plan;
        ASSERT_TRUE(plan_board(cards, plan));
        EXPECT_EQ(std::tuple(plan.cards_x, plan.cards_y, plan.card_width, plan.card_height),
                  std::tuple(across, down, width, height)) << cards;
    }
}

// A caption takes at most two lines and shrinks until it is whole: nothing reaches the edges, where a cut would show.
TEST(CaptionWriter, LongNamesWrapOnTwoLinesAndShrinkUntilWhole) {
    ASSERT_EQ(TTF_Init(), 0);
    {
        Fonts fonts;
        CaptionWriter writer(fonts);
        const int largest = 30, line = TTF_FontLineSkip(fonts.get(largest));
        const std::pair<std::string, int> rows[] = {{"Cat", line}, {"Müllabfuhr-Besuch am Donnerstag früh", 2 * line},
            {"Donaudampfschifffahrtsgesellschaftskapitänsmütze", 2 * line},
            {"\xF0\x9F\x90\xB1\xF0\x9F\x90\xB1", line}};
        for (const auto& [text, most_height] : rows) {
            const std::unique_ptr<Canvas> caption = writer.write(text, 120, largest, Rgb{});
            ASSERT_TRUE(caption) << text;
            EXPECT_LE(caption->height(), most_height) << text;
            EXPECT_TRUE(text != "Cat" || caption->height() == line);
            const SDL_Surface* s = caption->surface();
            for (int y = 0; y < s->h; ++y)
                for (int x : {0, s->w - 1})
                    EXPECT_EQ(static_cast<const uint32_t*>(s->pixels)[y * s->pitch / 4 + x] >> 24, 0u) << text;
        }
        // A name exactly as wide as the room keeps the largest size.
        int cat_width = 0;
        ASSERT_EQ(TTF_SizeUTF8(fonts.get(largest), "Cat", &cat_width, nullptr), 0);
        const std::unique_ptr<Canvas> exact = writer.write("Cat", cat_width, largest, Rgb{});
        ASSERT_TRUE(exact);
        EXPECT_EQ(exact->height(), line);
    }
    TTF_Quit();
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
