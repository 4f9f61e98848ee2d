// The entry routine on the headless backend: where the definition is found, the log, continuable errors, error texts.
#include "app/errors.h"
#include "package/package.h"
#include "support/folder_fixtures.h"

namespace mem::test {
namespace {

// Runs the entry routine; the exit status when the program ended.
std::optional<int> run(Program& started) { return exit_status([&] { started.run(); }); }

using StartUp = DefinitionTest;

// Where the definition is looked for, its application type read from any section, and its title.
TEST_F(StartUp, FindsTheDefinitionAndItsApplicationType) {
    struct Case {
        const char *name, *at;              // at: where memory.ini lies, or null
        std::string argument, app_lines;  // app_lines: of the definition found
        int error;                          // the fatal error, 0 when the game starts
        int16_t type = 0;
        bool names_tried = false;  // standard error names the paths tried
        std::string caption = "Memory";  // the window's title
    };
    const std::string memory = "[application]\napp=memory\n";
    const Case cases[] = {
        {"beside the program", "memory.ini", "", memory, 0},
        {"in the system directory", "system/memory.ini", "", "[paths]\nAPP=Memory\n", 0},
        {"named relative to the program", nullptr, "data/game.ini", "[whatever]\napp=MATCH\ntitle=Not here\n", 0, 1},
        {"named relative to the current directory", nullptr, "game.ini", "[whatever]\napp=MATCH\n", 0, 1},
        {"with a title", "memory.ini", "", memory + "Title=Zoo animals\n", 0, 0, false, "Zoo animals"},
        {"named by an absolute path", nullptr, "ABSOLUTE", memory, 0},
        {"nowhere", nullptr, "", memory, 1},
        {"named but missing", "memory.ini", "data/other.ini", memory, 1, 0, true},
        // A path with a drive letter is taken as it stands, not looked for in the folders.
        {"named by a drive letter", "memory.ini", "C:\\games\\game.ini", memory, 1},
        {"without a type", "memory.ini", "", "[application]\n", 3},
        {"of an unknown type", "memory.ini", "", "[application]\napp=solitaire\n", 4},
    };
    // The current directory is the game's data folder, away from the program's directory.
    const std::filesystem::path before = std::filesystem::current_path();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp(), files.erase("memory.ini"), write_files();
        const std::string definition = c.app_lines + "[paths]\ndata=%apppath%data\\\n"
                                       "[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n";
        if (c.at) write(c.at, definition);
        write("data/game.ini", definition), std::filesystem::current_path(dir / "data");
        platform.arguments = c.argument == "ABSOLUTE" ? path("data") + "game.ini" : c.argument;
        Program started(platform);
        testing::internal::CaptureStderr();
        const std::optional<int> status = run(started);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find(path("data") + c.argument) != std::string::npos, c.names_tried) << said;
        EXPECT_EQ(said.find(dir.string() + "/" + c.argument) != std::string::npos, c.names_tried) << said;
        if (c.error == 0) {
            EXPECT_TRUE(status == std::nullopt && started.memStartFailed == False);
            ASSERT_TRUE(started.game());
            EXPECT_EQ(std::pair(started.game()->memAppType, started.game()->caption()), std::pair(c.type, c.caption));
        } else {
            EXPECT_EQ(status, kExitFailure);
            ASSERT_EQ(error_codes(), std::vector<int>{c.error});
            // A definition that is not there ends the program before its window is made.
            EXPECT_EQ(started.game() == nullptr, c.error == 1);
        }
    }
    std::filesystem::current_path(before);
}

// A package plays from its unpacked folder and reads nothing outside it: an end sound named by an absolute folder is
// missing there. A hostile package ends the program with a message naming its entry.
TEST_F(StartUp, PlaysAPackageFromItsOwnFolderOnly) {
    write_wave(dir / "sfx" / "good.wav", 100);
    const std::string definition = "[application]\napp=memory\n[paths]\nsfx=" + path("sfx") +
                                   "\ndata=%gamepath%data\\\n[gamefiles]\nmain=main.ini\nglobal=global.ini\n"
                                   "cards=cards.txt\n";
    std::vector<package::Entry> entries{{"game.ini", "", definition},
                                        {"data/main.ini", "", "[interface]\nendgoodsound=good.wav\n"}};
    for (const char* name : {"global.ini", "cards.txt"})
        entries.push_back({std::string("data/") + name, "", *files[name]});
    const std::string top = dir.string() + "/";
    ASSERT_EQ(package::write(top + "game.memorygame", entries), "");
    ASSERT_EQ(package::write(top + "bad.memorygame", {{"../game.ini", "", definition}}), "");
    const std::tuple<const char*, std::optional<int>, std::string> cases[] = {
        {"game.memorygame", std::nullopt,
         "''End (good) sound'' wave file ''" + path("sfx") + "good.wav does not exist."},
        {"bad.memorygame", kExitFailure,
         "Cannot play the game package " + top + "bad.memorygame:\rentry \"../game.ini\": a \"..\" part in the name"},
    };
    for (const auto& [package, status, first_box] : cases) {
        SCOPED_TRACE(package);
        platform.message_boxes.clear(), platform.arguments = package;
        Program started(platform);
        started.packageCache = path("cache");
        EXPECT_EQ(run(started), status);
        ASSERT_FALSE(platform.message_boxes.empty());
        EXPECT_EQ(platform.message_boxes[0].text.substr(0, first_box.size()), first_box);
    }
}

// Tracing is on from the start (a missing definition is traced) and the log grows across runs; a continuable error
// asks whether to go on and traces its number and text; a log that cannot be written is skipped.
TEST_F(StartUp, ErrorsAreTracedToTheLogAndContinuableOnesAsk) {
    Program first(platform), second(platform);
    EXPECT_EQ(run(first), kExitFailure);
    EXPECT_EQ(run(second), kExitFailure);
    platform.message_boxes.clear(), second.memDebug = True, platform.answers = {kAnswerOk, kAnswerOk};
    second.memHandleError(200, "/x/good.wav");
    ASSERT_EQ(platform.message_boxes.size(), 1u);
    EXPECT_EQ(platform.message_boxes[0].style, kStyleCriticalOkCancel);
    const std::string message = "''End (good) sound'' wave file ''/x/good.wav does not exist.\r\rContinue?";
    EXPECT_EQ(platform.message_boxes[0].text, message);
    EXPECT_EQ(read("system/memory.log"),
              "=> memHandleError <=\r\n=> memHandleError <=\r\n=> memHandleError <=\r\n200, " + message + "\r\n");
    platform.system_directory = (dir / "no-such-dir").string() + "/", second.memHandleError(205, "m.wav");
    EXPECT_EQ(platform.message_boxes.size(), 2u);
}

// The shapes of the messages: a name between quotes or not, none at all, a card number.
TEST(ErrorTexts, MessagesExactlyAsShownToThePlayer) {
    // A name with printf directives in it is only a name.
    const std::string CR = "\r", n = "C:\\G\\100%s%d x";
    const std::tuple<double, bool, std::string> cases[] = {
        {1, false, "Could not find file ''" + n + "''" + CR + CR + "You must have an INI file as an argument," + CR +
                       "OR place memory.ini in the application path" + CR + "OR in the windows directory."},
        {100, true, "Background picture file ''" + n + " does not exist."},
        {203, true, "'Wave file ''" + n + "'' for card number 7 does not exist."},
    };
    for (const auto& [code, continuable, message] : cases) {
        EXPECT_EQ(memErrorMessage(code, n, 7), message) << code;
        EXPECT_EQ(memIsContinuable(code), continuable) << code;
    }
    // The library and memory-check find a game's title in its error output.
    const std::string title = "Error in application (#106)";
    EXPECT_EQ(memErrorTitle(106), title);
    const std::tuple<std::string, size_t, int, size_t> titles[] = {  // text, from, code (0: no title), after
        {title + ": text", 0, 106, title.size()}, {"x\n" + title, 2, 106, title.size() + 2}, {title, 1, 0, 0},
        {"Error in application (#): x", 0, 0, 0},  {"Error in application (#5: x", 0, 0, 0},
        {"Error in application (#5", 0, 0, 0}};
    for (const auto& [text, from, want, want_after] : titles) {
        int code = 0;
        size_t after = 0;
        EXPECT_EQ(memReadErrorTitle(text, from, code, after), want != 0) << text;
        EXPECT_EQ(want ? std::pair(code, after) : std::pair(0, size_t{0}), std::pair(want, want_after)) << text;
    }
}

}  // namespace
}  // namespace mem::test
