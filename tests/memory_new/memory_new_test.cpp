// memory-new: games made from generated pictures are checked clean by the checker's code and played to their good
// end at every screen size; bad input is refused with a message.
#include <SDL_image.h>
#include <SDL_ttf.h>

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
#include "support/pointer_play.h"
#include "tones.h"

namespace mem::make {
namespace {

namespace fs = std::filesystem;

class MemoryNewTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "pictures");
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);  // a replaced game goes to this trash
    }

    // memory-new with `args`; its status and what it said (standard error, then output).
    std::pair<int, std::string> tool(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = memory_new_main(args, out, err, {speaker, (dir / "system").string() + "/"});
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

    const test::ScratchDir scratch{"memory-new"};
    const fs::path& dir = scratch.path;
    std::string speaker = "no-such-speech-program";
};

TEST_F(MemoryNewTest, MadeGamesCheckCleanAndPlayToTheGoodEndOnEveryScreen) {
    // The pictures besides the one with a sound (those of earlier rows stay); the cards made, the limits asked for or
    // 0; a part of what it says; the players' names in the game.
    struct Row { const char* name; int pictures; std::vector<std::string> options; int cards, countdown, tries;
                 const char* said; std::vector<std::string> players; };
    const Row rows[] = {
        // Every board holds it, and --pairs asks for no more than there are: no note.
        {"two", 1, {"--pairs", "2"}, 4, 0, 0, " pixels.\nPictures used:\n  card01.png \"Grüne Äpfel und Birnen\" from ",
         {"Player 1"}},
        {"six", 5, {}, 12, 0, 0, "(larger screens show the 1024 x 768 board scaled up", {"Player 1"}},
        {"Seven with blanks", 6, {"--kind", "match", "--players", "3", "--removal", "line", "--theme", "night",
         "--speak"}, 14, 0, 0, "--speak needs no-such-speech-program, which is not installed",
         {"Player 1", "Player 2", "Player 3"}},
        // Names as typed: blanks around them and double quotes dropped, a tab a blank, the number of players theirs.
        // Fewer cards asked for than pictures: drawn at random, for no other reason.
        {"words", 6, {"--kind", "text", "--removal", "hide", "--names", " Anna,\"Ben\"\tB. ,Zoë,Dan", "--pairs", "6"}, 6,
         0, 0, "7 pictures, 6 cards a game, dealt at random\n", {"Anna", "Ben B.", "Zoë", "Dan"}},
        // Three counters leave room beside the board for 17 names; every picture is kept and dealt at random.
        {"many_words", 17, {"--kind", "text", "--timer", "--no-captions"}, 17, 0, 0,
         "18 pictures, 17 cards a game, dealt at random (the list beside the board holds no more names)", {"Player 1"}},
        {"Ålands_fåglar", 19, {"--timer", "--countdown", "32767", "--tries", "000999", "--removal", "shrink"}, 36,
         32767, 999, "20 pictures, 18 pairs a game, dealt at random (a board holds at most 18 pairs)", {"Player 1"}},
        {"four_pairs", 0, {"--pairs", "4", "--preview", "2", "--players", "1", "--names", "Solo", "--pack"}, 8, 0, 0,
         "20 pictures, 4 pairs a game, dealt at random\n", {"Solo"}},
    };
    // A caption with blanks and letters beyond ASCII, with its own sound; files that are no picture (a video, a cut-off
    // HEIF photo), each skipped with why.
    test::write_bmp(dir / "pictures" / "Grüne_Äpfel und Birnen.bmp", 50, 50);
    std::ofstream(dir / "pictures" / "Grüne_Äpfel und Birnen.WAV") << wave_file(synthesise(Tone::Click));
    const std::string no_format = "(the file is not a picture in a format the game reads)", box("\0\0\0\x18" "ftyp", 8);
    const std::tuple<const char*, std::string, std::string> skipped[] = {{"notes.png", "not a picture", no_format},
        {"clip.mp4", box + "isom", no_format}, {"cut.heic", box + "heic", "(Invalid input"}};
    for (const auto& [file, bytes, why] : skipped) std::ofstream(dir / "pictures" / file) << bytes;
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
        for (const auto& [file, bytes, why] : skipped)
            EXPECT_NE(said.find(file + ("\": not a picture it can read " + why)), std::string::npos) << said;
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        for (const char* never : {" but only ", "subfolder"}) EXPECT_EQ(said.find(never), std::string::npos) << said;
        const bool random = std::string(row.said).find("at random") != std::string::npos;
        EXPECT_EQ(said.find("at random") != std::string::npos, random) << said;  // only when not all fit

        const fs::path game = dir / "games" / row.name;
        const std::string definition = (game / (std::string(row.name) + ".ini")).string();
        expect_clean(definition);
        EXPECT_EQ(fs::exists(game.string() + ".memorygame"), std::ranges::count(row.options, "--pack") == 1);  // packed
        const std::string cards = read_text_file((game / "data" / "cards.txt").string()).value_or("");
        EXPECT_NE(cards.find("Grüne Äpfel und Birnen"), std::string::npos) << cards;
        EXPECT_TRUE(fs::exists(game / "cards" / "card01.wav"));  // its sound, though named .WAV
        const int made = pictures * (row.options.size() > 1 && row.options[1] == "text" ? 1 : 2);  // cards
        EXPECT_EQ(std::ranges::count(cards, '\n'), made);
        EXPECT_EQ(cards.find("card10.png") != std::string::npos, pictures >= 10);
        EXPECT_EQ(fs::file_size(game / "sfx" / "good.wav"), 44 + 2 * 22491u);  // 1.02 s of 16-bit samples
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
            std::vector<std::string> players;
            for (int p = 0; p < std::max<int>(g.memPlayers, 1); ++p)
                players.push_back(g.memPlayer[static_cast<size_t>(p)].Name);
            EXPECT_EQ(players, row.players);
            EXPECT_EQ(std::tuple(g.memRandomPairs != False, g.memPreview, g.memMatchLine != False),
                      std::tuple(row.cards < made, row.name == std::string("four_pairs") ? 2 : 0,
                                 std::ranges::count(row.options, "line") == 1));
        }
    }
}

TEST_F(MemoryNewTest, BadInputIsRefusedWithAMessage) {
    // The program answers --version before anything else, up to a "--" that ends the options.
    EXPECT_TRUE(test::output_of(MEMORY_NEW_PROGRAM " --version; " MEMORY_NEW_PROGRAM " -- --version 2>&1")
                    .starts_with("memory-new " MEMORY_VERSION "\nmemory-new: no pictures given\n"));
    test::write_bmp(dir / "pictures" / "one.bmp", 20, 20);
    std::ofstream(dir / "pictures" / "two.png") << "GIF89a but not really";
    // A photo that is broken when read again for the larger cards two.png leaves: once a JPEG, then a cut-off one.
    const std::string fifo = (dir / "photo.jpg").string(), jpeg = (dir / "red.jpg").string();
    const std::string feed = "cat " + jpeg + " >" + fifo + "; sleep 1; printf '\\377\\330\\377\\340' >" + fifo;
    const auto start = "mkfifo " + fifo + " && convert xc:red " + jpeg + " && (timeout 20 sh -c \"" + feed + "\" &)";
    ASSERT_EQ(std::system(start.c_str()), 0);
    // The arguments, the pictures folder following; status 1: not made, 2: bad usage.
    struct Row { std::vector<std::string> args; int status; std::string message; };
    const Row rows[] = {
        // A picture named by itself and in its folder counts once.
        {{"game", (dir / "pictures" / "one.bmp").string()}, 1, "1 usable picture; a game needs at least 2"},
        {{"game", fifo}, 1, "cannot read " + fifo + " again: "},
        {{}, 2, "no pictures given"},
        {{"--players", "5", "game"}, 2, "--players wants a whole number from 1 to 4"},
        {{"--tries", "0", "game"}, 2, "--tries wants a whole number from 1 to 32767"},
        {{"--tries", "1x", "game"}, 2, "--tries wants a whole number from 1 to 32767"},
        {{"--kind", "puzzle", "game"}, 2, "--kind is memory, match or text"},
        {{"--kind", "text", "--removal", "line", "game"}, 2, "a text game takes one card"},
        {{"--theme", "pink", "game"}, 2, "the themes are ocean, forest, sunset, night"},
        {{"--fast", "game"}, 2, "unknown option --fast"},
        {{"--pairs", "19", "game"}, 2, "--pairs wants a whole number from 2 to 18"},
        {{"--names", "Anna,,Ben", "game"}, 2, "--names wants 1 to 4 names separated by commas, none of them empty"},
        {{"--names", "A,B,C,D,E", "game"}, 2, "--names gives 5 names; a game has at most 4 players"},
        {{"--players", "3", "--names", "Anna,Ben", "game"}, 2, "--players 3 but --names gives 2 names"},
        {{"--kind", "match", "--preview", "3", "game"}, 2, "a match game's lie face up"},
        {{"a/b"}, 2, "cannot name a folder"},
        {{""}, 2, "cannot name a folder"},
        // The pictures' folder as the game's, or the game inside it: refused, even with --force.
        {{"--output", dir.string(), "--force", "pictures"}, 1, "lies inside the game's folder"},
        {{"--output", (dir / "pictures" / "games").string(), "game"}, 1, "would lie inside"},
    };
    EXPECT_TRUE(tool({"game", "pictures", "--kind"}).second.starts_with("memory-new: --kind needs a value\n"));
    EXPECT_TRUE(tool({"-h"}).second.starts_with("usage: memory-new [options] NAME"));
    for (const Row& row : rows) {
        const auto [status, said] = make(row.args);
        EXPECT_EQ(status, row.status) << row.message;
        EXPECT_NE(said.find(row.message), std::string::npos) << said;
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
    // The old game lies in the trash, with where it came from.
    EXPECT_TRUE(fs::exists(dir / "data" / "Trash" / "files" / "game" / "mine.txt"));
    const std::string info = read_text_file((dir / "data" / "Trash" / "info" / "game.trashinfo").string()).value_or("");
    const std::string record = "[Trash Info]\nPath=" + (dir / "games" / "game").string() + "\nDeletionDate=2";
    EXPECT_NE(info.find(record), std::string::npos) << info;
    // A name exactly as wide as the list's column is listed at full size, one too wide at every size at the smallest.
    std::string exact;
    ASSERT_EQ(TTF_Init(), 0);
    if (Fonts fonts; fonts.ok())
        for (std::string i; i.size() < 20 && exact.empty(); i += 'i')
            for (char c = 'A'; c <= 'Z' && exact.empty(); ++c)
                if (fonts.width(c + i, 16) == 97) exact = c + i;  // 12 points are 16 pixels
    TTF_Quit();
    ASSERT_FALSE(exact.empty());
    for (const auto& [name, points] : {std::pair{exact, 12}, {"Ein Name, der in keiner Größe daneben passt", 7}}) {
        test::write_bmp(dir / "pictures" / (name + ".bmp"), 20, 20);
        ASSERT_EQ(make({"--force", "--kind", "text", "wide"}).first, 0) << name;
        const std::string global = read_text_file((dir / "games/wide/data/global.ini").string()).value_or("");
        EXPECT_NE(global.find("[text list]\nactive=1\nfontname=DejaVu Sans\nfontsize=" + std::to_string(points) + "\n"),
                  std::string::npos) << name;
    }
    // A card that cannot be written, for a folder stands in its place: said, and nothing is left of the game.
    const fs::path late = dir / "games" / (".late.making-" + std::to_string(getpid())) / "cards" / "card01.png";
    std::atomic<bool> made = false;
    std::thread blocker([&] {
        while (!made && !fs::exists(late.parent_path())) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (std::error_code error; !made) fs::create_directory(late, error);
    });
    const auto [unwritten, why] = make({"late"});
    made = true;
    blocker.join();
    EXPECT_EQ(std::tuple(unwritten, fs::exists(dir / "games" / "late")), std::tuple(1, false));
    EXPECT_NE(why.find("cannot write " + late.string() + ": "), std::string::npos) << why;
}

// --speak: each card says its name with the speech program found (by name on PATH, or by path); a name it cannot
// say keeps the picture's own sound, else none; a speaker that is no program is not installed.
TEST_F(MemoryNewTest, SpokenNamesComeFromTheSpeechProgramFound) {
    const fs::path voice = dir / "voice.wav";
    std::ofstream(voice) << wave_file(synthesise(Tone::Good));
    std::ofstream(dir / "pictures" / "mute.wav") << wave_file(synthesise(Tone::Click));
    // A hidden file is no picture of the game.
    for (const char* name : {"apple", "mute", "pear", ".hidden"})
        test::write_bmp(dir / "pictures" / (name + std::string(".bmp")), 40, 40);
    // Called as: -v en -s 140 -w FILE -- WORDS.
    std::ofstream(dir / "say") << "#!/bin/sh\n[ \"$8\" = mute ] && exit 1\n/bin/cp '" << voice.string() << "' \"$6\"\n";
    std::ofstream(dir / "not-a-program") << "#!/bin/sh\n";
    fs::permissions(dir / "say", fs::perms::owner_all);
    const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", ("/no/such/folder:" + dir.string()).c_str(), 1);
    const std::string said_card = "card01.png\t\tcard01.wav\n", mute_card = "card02.png\t\tcard02.wav\n";
    struct Row { std::string speaker, said; bool spoken; };
    const Row rows[] = {{"say", "say could not speak \"mute\"", true},
                        {(dir / "say").string(), "could not speak \"mute\"", true},
                        {"not-a-program", "--speak needs not-a-program, which is not installed", false},
                        {(dir / "not-a-program").string(), "which is not installed", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.speaker);
        speaker = row.speaker;
        const auto [status, said] = make({"--force", "--speak", "--pairs", "4", "spoken"});
        ASSERT_EQ(status, 0) << said;
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        EXPECT_NE(said.find("--pairs 4 but only 3 pictures"), std::string::npos) << said;
        const fs::path game = dir / "games" / "spoken";
        const std::string cards = read_text_file((game / "data" / "cards.txt").string()).value_or("");
        EXPECT_EQ(cards.find(said_card) != std::string::npos, row.spoken) << cards;
        EXPECT_NE(cards.find(mute_card), std::string::npos) << cards;
        EXPECT_TRUE(read_text_file((game / "cards" / "card01.wav").string()) ==
                    (row.spoken ? read_text_file(voice.string()) : std::nullopt));
        EXPECT_TRUE(read_text_file((game / "cards" / "card02.wav").string()) ==
                    read_text_file((dir / "pictures" / "mute.wav").string()));
        expect_clean(game / "spoken.ini");
    }
    setenv("PATH", old_path.c_str(), 1);
}

// A photo is said to be enlarged only when both its sides are under half the card's photo.
TEST_F(MemoryNewTest, OnlyAPhotoUnderHalfTheCardIsSaidToLookBlurred) {
    BoardPlan plan;
    ASSERT_TRUE(plan_board(4, plan));
    const FaceSize face = face_size(plan);
    ASSERT_EQ(face.room_width % 2, 0);
    test::write_bmp(dir / "pictures" / "big.bmp", face.room_width, face.room_height);
    for (const auto& [width, blurred] : {std::pair{face.room_width / 2, false}, {face.room_width / 2 - 1, true}}) {
        test::write_bmp(dir / "pictures" / "small.bmp", width, 2);
        const auto [status, said] = make({"--force", "sizes"});
        ASSERT_EQ(status, 0) << said;
        EXPECT_EQ(said.find("looks blurred") != std::string::npos, blurred) << said;
    }
}

// Pixels found: their count and bounding box.
struct Found {
    int count = 0, left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    void add(int x, int y) {
        ++count, left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
};
// The pixels of a card picture that `wanted` picks by their colour and whether they lie in its lowest quarter.
template <typename Wanted>
Found find_pixels(const fs::path& picture, Wanted wanted) {
    Found found;
    SDL_Surface* loaded = IMG_Load(picture.c_str());
    SDL_Surface* card = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    for (int y = 0; card && y < card->h; ++y)
        for (int x = 0; x < card->w; ++x) {
            const uint8_t* p = static_cast<const uint8_t*>(card->pixels) + y * card->pitch + 4 * x;
            if (wanted(p[0], p[1], p[2], y * 4 > card->h * 3)) found.add(x, y);
        }
    SDL_FreeSurface(card);
    SDL_FreeSurface(loaded);
    return found;
}
// A pixel of a canvas, ARGB.
uint32_t pixel(const Canvas& c, int x, int y) {
    return static_cast<const uint32_t*>(c.surface()->pixels)[y * c.surface()->pitch / 4 + x];
}
bool red(int r, int g, int b, bool) { return r > 150 && g < 90 && b < 90; }
bool blue(int r, int g, int b, bool) { return b > 150 && r < 90 && g < 90; }
bool vivid(int r, int g, int b, bool low) { return low && std::max({r, g, b}) - std::min({r, g, b}) > 100; }

// Photos as people have them, each row's made by ImageMagick (a HEIC then by heif-enc) and moved into a folder of its
// own: what memory-new says, and the cards it draws; each game made checks clean and plays to its good end.
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
            ASSERT_TRUE(r.count > 0 && b.count > 0);
            EXPECT_LT(r.top + r.bottom, b.top + b.bottom);  // the middles of their boxes
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
        {"twins", {{"a/cat.png", grey}, {"b/cat.png", grey}, {"c/cat_2.png", grey}}, {"--kind", "text", "--recursive"},
         0, "b/cat.png\" is named \"cat 3\": an earlier picture is named \"cat\"",
         [](const fs::path& cards) {
             EXPECT_EQ(read_text_file((cards.parent_path() / "data" / "words.txt").string()), "cat\ncat 3\ncat 2\n");
             // The names stand in the list, never on the cards: the cards of the same photo are the same.
             EXPECT_TRUE(read_text_file((cards / "card01.png").string()) ==
                         read_text_file((cards / "card02.png").string()));
         }},
        {"nested", {{"a/x.png", grey}, {"b/y.png", grey}}, {}, 1,
         "holds 2 subfolders and no files; --recursive takes the pictures in subfolders too", nullptr},
        // A tab and a double quote, which a card line cannot hold, are drawn as the blank and apostrophe it has.
        {"quotes", {{"say\t\"hi\".png", grey}, {"say_'hi'.png", grey}}, {}, 0, "card01.png", [](const fs::path& c) {
             EXPECT_TRUE(read_text_file((c / "card01.png").string()) == read_text_file((c / "card02.png").string())); }},
        {"icon", {{"icon.png", "-size 3x2 xc:red"}, {"z.png", grey}}, {}, 0,
         "icon.png\" is 3 x 2 pixels, smaller than the card", nullptr},
        // The cat's face only comes in colour below the grey photo; the ink is grey too.
        {"emoji", {{"Katze_\xF0\x9F\x90\xB1.png", grey}, {"z.png", grey}}, {"--theme", "night"}, 0,
         ".png \"Katze \xF0\x9F\x90\xB1\"", [](const fs::path& c) {
             EXPECT_GT(find_pixels(c / "card01.png", vivid).count + find_pixels(c / "card02.png", vivid).count, 20);
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
            const fs::path made = (dir / "made").replace_extension(heif ? ".png" : fs::path(file).extension());
            ASSERT_EQ(std::system(("convert " + magick + " '" + made.string() + "'").c_str()), 0) << magick;
            const std::string encode = "heif-enc -o '" + (photos / file).string() + "' '" + made.string() + "' >/dev/null";
            if (heif) ASSERT_EQ(std::system(encode.c_str()), 0);
            else fs::rename(made, photos / file);
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
    BoardPlan none;
    EXPECT_FALSE(plan_board(0, none));
    for (int cards = 2; cards <= 36; cards += cards < 18 ? 1 : 2) {
        BoardPlan plan;
        ASSERT_TRUE(plan_board(cards, plan)) << cards;
        EXPECT_EQ(plan.cards_x * plan.cards_y, cards);
        EXPECT_TRUE(plan.boards[0] && cards_fit(plan, 0)) << cards;
        BoardPlan wider = plan, taller = plan;
        ++wider.card_width, ++taller.card_height;
        EXPECT_TRUE(!cards_fit(wider, 0) || wider.card_width > 1.4 * wider.card_height) << cards;
        EXPECT_TRUE(!cards_fit(taller, 0) || taller.card_height > 1.4 * taller.card_width) << cards;
        for (int row = 1; row < kScreenRows; ++row) {
            EXPECT_TRUE(!plan.boards[row] || (cards_fit(plan, row) && 6 * plan.card_height >= screen_height(row)));
            EXPECT_TRUE((cards != 4 || plan.boards[row]) && (cards != 36 || !plan.boards[row])) << row;
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
// The words memory-new draws, in long forms of the languages it speaks, stay whole inside their pictures' frames: a
// word too wide at full size shrinks only as far as it must, one that fits keeps its full size.
TEST(DrawnWords, CaptionsAndTheArtworkWordsOfEveryLanguageStayWholeInsideTheirPictures) {
    ASSERT_EQ(TTF_Init(), 0);
    {
        Fonts fonts;
        CaptionWriter writer(fonts);
        const int largest = 30, line = TTF_FontLineSkip(fonts.get(largest));
        EXPECT_EQ(fonts.get(largest), fonts.get(largest));  // opened once, closed with the fonts
        const std::pair<std::string, int> rows[] = {{"A cat", line}, {"Müllabfuhr-Besuch am Donnerstag früh", 2 * line},
            {"Donaudampfschifffahrtsgesellschaftskapitänsmütze", 2 * line},
            {"\xF0\x9F\x90\xB1\xF0\x9F\x90\xB1", line}};
        for (const auto& [text, most_height] : rows) {
            const std::unique_ptr<Canvas> caption = writer.write(text, 120, largest, Rgb{});
            ASSERT_TRUE(caption) << text;
            EXPECT_LE(caption->height(), most_height) << text;
            for (int y = 0; y < caption->height(); ++y)
                for (int x : {0, caption->width() - 1})
                    EXPECT_EQ(pixel(*caption, x, y) >> 24, 0u) << text;
        }
        // Exactly as wide as the room: kept at its size. Blanks alone are no caption.
        EXPECT_EQ(writer.write("A cat", fonts.width("A cat", largest), largest, Rgb{})->height(), line);
        EXPECT_EQ(writer.write("  ", 120, largest, Rgb{}), nullptr);
        // A name cut off inside a character shows the broken bytes, not nothing.
        auto ink = [&](const std::string& text) {
            const std::unique_ptr<Canvas> c = writer.write(text, 120, largest, Rgb{});
            const auto* p = static_cast<const uint32_t*>(c->surface()->pixels);
            return std::count_if(p, p + c->width() * c->height(), [](uint32_t v) { return v != 0; });
        };
        EXPECT_GT(ink("A cat\xF0\x9F\x90"), ink("A cat"));

        const Theme& theme = *find_theme("ocean");
        const std::pair<DrawnWords, const char*> languages[] = {
            {{"Quit", "Well done!", "Game over", "Click here to finish"}, "Cards left"},
            {{"Beenden", "Gut gemacht!", "Spiel vorbei", "Hier klicken zum Beenden"}, "Versuche übrig"},
            {{"Quitter", "Bien joué !", "Partie terminée", "Cliquez ici pour terminer"}, "Cartes restantes"},
            {{"Salir", "¡Bien hecho!", "Fin del juego", "Haz clic aquí para terminar"}, "Intentos restantes"},
            {{"Esci", "Ben fatto!", "Partita terminata", "Fai clic qui per terminare"}, "Tentativi rimasti"},
            {{"Afsluiten", "Goed gedaan!", "Spel voorbij", "Klik hier om het spel af te sluiten"},
             "Resterende pogingen"},
            {{"Zakończ", "Dobra robota!", "Koniec gry", "Kliknij tutaj, aby zakończyć grę"}, "Pozostałe próby"},
            {{"Sair", "Muito bem!", "Fim de jogo", "Clique aqui para terminar a partida"}, "Tentativas restantes"},
        };
        const DrawnWords none;
        auto end = [&](bool good, const DrawnWords& words) { return draw_end(fonts, theme, good, words); };
        // The text's pixels: where the picture differs from the one drawn without words, in rows top to bottom.
        auto text_box = [](const Canvas& with, const Canvas& without, int top, int bottom) {
            Found found;
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < with.width(); ++x)
                    if (pixel(with, x, y) != pixel(without, x, y)) found.add(x, y);
            return found;
        };
        for (const auto& [words, label] : languages) {
            SCOPED_TRACE(words.quit);
            // Rows of the text, the frame's width, full size in pixels.
            struct Place { std::unique_ptr<Canvas> with, without; int top, bottom, frame, largest; std::string word; };
            const Place places[] = {
                {draw_quit(fonts, theme, words), draw_quit(fonts, theme, none), 0, kQuitHeight, 4, 18, words.quit},
                {draw_panel(fonts, theme, label), draw_panel(fonts, theme, ""), 32, kPanelHeight, 4, 12, label},
                {end(true, words), end(true, none), 90, 165, 8, 44, words.well_done},
                {end(false, words), end(false, none), 90, 165, 8, 44, words.game_over},
                {end(true, words), end(true, none), 165, kEndHeight, 8, 20, words.finish},
            };
            for (const Place& place : places) {
                SCOPED_TRACE(place.word);
                const Found box = text_box(*place.with, *place.without, place.top, place.bottom);
                const int width = place.with->width(), room = width - 2 * place.frame;
                ASSERT_GT(box.count, 0);
                EXPECT_GE(box.left, place.frame);
                EXPECT_LT(box.right, width - place.frame);
                // Full size, less the glyphs' side bearings, or most of the room.
                const int full = fonts.width(place.word, place.largest), drawn = box.right - box.left + 1;
                EXPECT_GE(drawn, std::min(full - place.largest / 4, room * 3 / 4));
            }
        }
    }
    TTF_Quit();
}

// Shapes on a 6 x 4 canvas: a pixel wholly inside is covered, an edge pixel by the share of its nine samples inside
// ('r': two thirds), nothing past the canvas is drawn. Scaling repeats pixels up and averages them down ('m').
TEST(Canvas, ShapesCoverTheirPixelsAndScalingRepeatsOrAverages) {
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    Canvas rb(2, 1);  // red, blue
    rb.round_rect(0, 0, 1, 1, 0, red, 255), rb.round_rect(1, 0, 2, 1, 0, blue, 255);
    const std::pair<std::function<void(Canvas&)>, const char*> rows[] = {
        {[&](Canvas& c) { c.round_rect(1, 1, 4, 3, 0, red, 255); }, "......\n.RRR..\n.RRR..\n......\n"},
        {[&](Canvas& c) { c.round_rect(1.5, 0, 6, 4, 0, red, 255); }, ".rRRRR\n.rRRRR\n.rRRRR\n.rRRRR\n"},
        {[&](Canvas& c) { c.round_rect(3, 1, 3.9, 3, 0, red, 255); }, "......\n...R..\n...R..\n......\n"},
        {[&](Canvas& c) { c.round_rect(-9, 1, -4, 3, 0, red, 255), c.round_rect(1, 6, 4, 9, 0, red, 255); },
         "......\n......\n......\n......\n"},
        {[&](Canvas& c) { c.draw_scaled(rb, 0, 0, 4, 2), c.draw_scaled(rb, 4, 2, 1, 1), c.draw_scaled(rb, 5, 3, 2, 2); },
         "RRBB..\nRRBB..\n....m.\n.....R\n"},
        // A frame's corners are rounded, a line's ends too ('?': partly covered); a line of no length is a dot.
        {[&](Canvas& c) { c.round_frame(0, 0, 6, 4, 1, 1, red, 255); }, "?RRRR?\nR....R\nR....R\n?RRRR?\n"},
        {[&](Canvas& c) { c.line(1, 1.5, 5, 1.5, 1, red, 255); }, "......\n?RRRR?\n......\n......\n"},
        {[&](Canvas& c) { c.ring(2, 2, 2, 1, red, 255), c.line(5, 2, 5, 2, 1.5, red, 255); }, "????..\n??????\n??????\n????..\n"},
    };
    const std::map<uint32_t, char> names = {
        {0, '.'}, {0xFFFF0000, 'R'}, {0xAAFF0000, 'r'}, {0xFF0000FF, 'B'}, {0xFF800080, 'm'}};
    for (const auto& [draw, expected] : rows) {
        Canvas canvas(6, 4);
        draw(canvas);
        std::string shown;
        for (int y = 0; y < canvas.height(); ++y, shown += '\n')
            for (int x = 0; x < canvas.width(); ++x) {
                const auto found = names.find(pixel(canvas, x, y));
                shown += found == names.end() ? '?' : found->second;
            }
        EXPECT_EQ(shown, expected);
    }
    // A background fades from the top row's colour to the bottom row's.
    Canvas fade(1, 3);
    fade.gradient(red, blue);
    EXPECT_EQ(std::tuple(pixel(fade, 0, 0), pixel(fade, 0, 2)), std::tuple(0xFFFF0000u, 0xFF0000FFu));
    // The player's picture is framed in the theme's colour at both ends of its middle row; a card's face alike.
    const Rgb accent = find_theme("ocean")->accent;
    const std::unique_ptr<Canvas> player = draw_player(*find_theme("ocean"));
    for (const int x : {0, kPlayerWidth - 2})
        EXPECT_EQ(pixel(*player, x, kPlayerHeight / 2), 0xFF000000u | accent.r << 16 | accent.g << 8 | accent.b) << x;
    BoardPlan plan;
    ASSERT_TRUE(plan_board(4, plan));
    const std::unique_ptr<Canvas> card = draw_card_face(*find_theme("ocean"), Canvas(2, 2), face_size(plan), nullptr);
    EXPECT_EQ(pixel(*card, 0, card->height() / 2), pixel(*card, card->width() - 2, card->height() / 2));
}

// Pictures in the order a reader expects, under the C locale: numbers as numbers, letter case and accents set aside,
// names equal so in byte order; under a German locale, its order: "Æ" as "ae".
TEST(NameOrder, NumbersAsNumbersAndAccentedLettersBesideTheirOwn) {
    const std::vector<std::string> expected = {"2 cats", "10 cats", "Abby", "Ādam", "Äpfel", "apple", "Banana", "Émile",
                                               "Eve", "img2", "img010", "img10", "Img11", "Zoë", "zoe2"};
    std::vector<std::string> names(expected.rbegin(), expected.rend());
    std::sort(names.begin(), names.end(), natural_less);
    EXPECT_EQ(names, expected);
    for (const std::string& name : expected) EXPECT_FALSE(natural_less(name, name)) << name;
    if (!std::setlocale(LC_COLLATE, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    EXPECT_TRUE(natural_less("Ærø", "Afrika"));
    std::setlocale(LC_COLLATE, "C");
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
