// The library screen on the headless backend: moving the focus by keys over pages of tiles, playing the chosen game
// as a program of its own, and what a failed end or a broken game leaves on its tile.
#include <gtest/gtest.h>

#include <fstream>

#include "library/library_window.h"
#include "support/scratch.h"

namespace mem::library {
namespace {

class FakeRunner : public GameRunner {
public:
    bool start(const std::vector<std::string>& arguments, std::string&) override {
        return started.push_back(arguments), running_ = true;
    }
    std::optional<GameEnd> poll() override {
        return running_ && end ? (running_ = false, std::exchange(end, std::nullopt)) : std::nullopt;
    }
    bool running() const override { return running_; }
    std::string last_line() const override { return line; }
    std::vector<std::vector<std::string>> started;
    std::string line;  // what the running program wrote last
    std::optional<GameEnd> end;  // how the running game ends at the next poll
    bool running_ = false;
};

struct LibraryRun {
    explicit LibraryRun(int count, Size screen = {1280, 1024}) {
        platform.screen_info = {screen.width, screen.height, 15};
        std::vector<GameEntry> games;
        for (int i = 0; i < count; ++i) {
            const std::string name = "g" + std::to_string(100 + i);
            games.push_back({"/games/" + name, "/games/" + name + "/" + name + ".ini", name});
        }
        games[1].problem = "The folder holds no definition file (.ini).";
        games[3].own = true;
        library = std::make_unique<frm_Library>(
            platform, games,
            [this](const GameEntry& game, bool cached_only) -> std::optional<GameLook> {
                looks_asked.push_back(game.title + (cached_only ? " cached" : ""));
                if (cached_only && game.title != "g100") return std::nullopt;
                return GameLook{nullptr, "memory · 2 players", game.title == "g102" ? "Error 105" : ""};
            },
            runner, LibraryOptions{"/bin/memory", true});
        platform.show_modal(*library);
    }
    void keys(std::initializer_list<int16_t> codes) { for (int16_t code : codes) platform.key_down(code); }
    std::string tile(int16_t slot) const {
        return platform.label("lbl_Title", slot).caption() + " | " + platform.label("lbl_Line", slot).caption() +
               (platform.label("lbl_Mark", slot).visible() ? " !" : "");
    }

    HeadlessPlatform platform;
    FakeRunner runner;
    std::vector<std::string> looks_asked;
    std::unique_ptr<frm_Library> library;
};

TEST(Library, KeysMoveOverPagesAndPlayTheChosenGame) {
    LibraryRun run(40);
    // 1280 x 1024: four columns, three rows. Only the first page is asked for, cached looks first.
    EXPECT_EQ(run.looks_asked.size(), 12u);
    EXPECT_EQ(run.looks_asked[0], "g100 cached");
    run.platform.advance(50);
    EXPECT_EQ(run.looks_asked.size(), 23u);  // the eleven missing ones, made one at a time
    EXPECT_EQ(run.tile(1) + "; " + run.tile(2) + "; " + run.tile(3),
              "g101 | The folder holds no definition file (.ini). !; g102 | Error 105 !; g103 | memory · 2 players");

    const struct { std::initializer_list<int16_t> keys; int focus, first_shown; } moves[] = {
        {{kKeyRight, kKeyRight, kKeyDown}, 6, 0},
        {{kKeyDown, kKeyDown}, 14, 4},  // a row scrolls in
        {{kKeyPageDown}, 26, 16},
        {{kKeyEnd, kKeyDown, kKeyRight}, 39, 28},
        {{kKeyTab}, 0, 0},  // Tab goes round
        {{kKeyLeft, kKeyUp}, 0, 0},
        {{kKeyPageDown, kKeyPageDown, kKeyPageDown, kKeyPageDown, kKeyHome}, 0, 0},
    };
    for (const auto& m : moves) {
        run.keys(m.keys);
        EXPECT_EQ(std::pair(run.library->focus(), run.library->first_shown()), std::pair(m.focus, m.first_shown));
    }
    run.library->on_wheel(-2);  // the wheel towards the player: two rows down
    EXPECT_EQ(run.library->focus(), 8);
    run.library->on_wheel(5);
    EXPECT_EQ(run.library->focus(), 0);
    run.keys({kKeyTab, kKeyReturn});  // a broken game is not played
    EXPECT_TRUE(run.runner.started.empty());
    // Delete: a bundled game stays without a question; one's own is asked about first.
    run.keys({kKeyDelete});
    EXPECT_EQ(run.platform.label("lbl_Status").caption(), "“g101” came with the program and cannot be removed.");
    run.platform.answers = {kAnswerCancel, kAnswerOk};
    run.keys({kKeyRight, kKeyRight, kKeyDelete, kKeyDelete});
    ASSERT_EQ(run.platform.message_boxes.size(), 2u);
    EXPECT_EQ(run.platform.message_boxes[0].text, "Move “g103” to the trash?\r\rIt can be put back from there.");
    EXPECT_EQ(run.platform.label("lbl_Status").caption(),
              "“g103” cannot be moved to the trash: /games/g103 is no longer there");
    run.keys({kKeyEnd, kKeyReturn, kKeyHome, kKeyReturn});  // keys wait while a game runs
    ASSERT_EQ(run.runner.started.size(), 1u);
    EXPECT_EQ(run.runner.started[0], (std::vector<std::string>{"/bin/memory", "--window", "/games/g139/g139.ini"}));
    run.runner.end = GameEnd{true, "Could not find main file ''x''"};
    run.platform.advance(100);
    EXPECT_EQ(run.library->focus(), 39);
    EXPECT_EQ(run.tile(39 - run.library->first_shown()), "g139 | Could not find main file ''x'' !");
    // The pointer plays the game it touches; a clean end clears the mark.
    EXPECT_TRUE(run.platform.click("img_Miniature", static_cast<int16_t>(39 - run.library->first_shown())));
    run.runner.end = GameEnd{};
    run.platform.advance(100);
    EXPECT_EQ(run.tile(39 - run.library->first_shown()), "g139 | memory · 2 players");
    EXPECT_EQ(run.runner.started.size(), 2u);
    EXPECT_EQ(test::exit_status([&] { run.platform.press_key(kKeyEscape); }), kExitNormal);
}

TEST(Library, TilesFitEveryScreenFromTheSmallestToTheLargest) {
    for (const Size screen : {Size{640, 480}, Size{1920, 1080}, Size{3840, 2160}}) {
        const Size board = library_board(screen);
        const TileLayout layout = tile_layout(board);
        const Rect last = layout.slot(layout.per_page() - 1);
        EXPECT_GE(layout.per_page(), 4) << screen.width;
        EXPECT_TRUE(last.right() <= board.width && last.bottom() <= board.height) << screen.width;
        EXPECT_NEAR(static_cast<double>(board.width) / board.height, static_cast<double>(screen.width) / screen.height, 0.01);
    }
}

// A game folder dropped on the library is copied into the user's games and its new tile takes the focus; pictures
// are handed to memory-new, and nothing is added while a program runs.
TEST(Library, DroppedGamesJoinTheUsersGames) {
    namespace fs = std::filesystem;
    const test::ScratchDir scratch("drop");
    const fs::path& root = scratch.path;
    const auto game = [&](const std::string& ini) {
        fs::create_directories((root / ini).parent_path());
        std::ofstream(root / ini) << "[application]\napp=memory\n";
    };
    game("in/Zebra/zebra.ini");
    game("own/Ant/ant.ini");
    std::ofstream(root / "in/sun.png") << "";

    HeadlessPlatform platform;
    FakeRunner runner;
    const std::vector<GamePlace> places{{(root / "own").string(), true}};
    frm_Library library(platform, find_games(places), [](const GameEntry&, bool) { return GameLook{}; }, runner,
                        {"/bin/memory", false, "/bin/memory-new", (root / "own").string(),
                         [&] { return find_games(places); }});
    platform.show_modal(library);
    library.on_drop({(root / "in/Zebra").string()});
    ASSERT_EQ(library.games().size(), 2u);
    EXPECT_EQ(library.focus(), 1);
    EXPECT_EQ(library.games()[1].path, (root / "own/Zebra").string());

    library.on_drop({(root / "in/sun.png").string()});
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0], (std::vector<std::string>{"/bin/memory-new", "--output", (root / "own").string(),
                                                          "in", (root / "in/sun.png").string()}));
    runner.line = "  card01.png \"sun\" from in/sun.png";
    platform.advance(100);
    EXPECT_EQ(platform.label("lbl_Status").caption(), runner.line) << "memory-new's progress";
    library.on_drop({(root / "in/Zebra").string()});
    EXPECT_EQ(platform.label("lbl_Status").caption(), "A game is running: drop the files again when it has ended.");
    game("own/in/in.ini");
    runner.end = GameEnd{};
    platform.advance(100);
    ASSERT_EQ(library.games().size(), 3u);
    EXPECT_EQ(library.games()[library.focus()].title, "in");
}

}  // namespace
}  // namespace mem::library
