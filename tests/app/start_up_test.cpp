#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "app/game_window.h"
#include "app/program.h"
#include "platform/headless/headless_platform.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;

// A program directory and a system directory in a temporary folder, and the
// whole program run on the headless backend.
class StartUp : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("start-up-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "program" / "data");
        fs::create_directories(root / "system");
        platform.program_directory = (root / "program").string();
        platform.system_directory = (root / "system").string() + "/";
        // The files a small but complete game needs besides its definition.
        write("program/data/main.ini", "[interface]\nbackcolor=0\n");
        write("program/data/global.ini", "[cards]\ncardsx=2\ncardsy=2\ncardwidth=40\ncardheight=40\n");
        write("program/data/cards.txt", "a\ta.bmp\nb\tb.bmp\nc\tc.bmp\nd\td.bmp\n");
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const std::string& relative, const std::string& content) {
        std::ofstream(root / relative, std::ios::binary) << content;
    }
    std::string definition(const std::string& app_lines) const {
        return app_lines + "[paths]\ndata=%apppath%data\\\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n";
    }
    std::string log() const {
        std::ifstream in(root / "system" / "memory.log", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Runs the entry routine; the exit status when the program ended.
    std::optional<int> run() {
        Program program(platform);
        try {
            program.run();
            ran_to_board = program.game() && program.memStartFailed == False;
            return std::nullopt;
        } catch (const ProgramEnded& ended) {
            return ended.status;
        }
    }

    fs::path root;
    HeadlessPlatform platform;
    bool ran_to_board = false;
};

TEST_F(StartUp, FindsTheDefinitionInItsOrder) {
    struct Case {
        const char* name;
        const char* beside_program;  // memory.ini beside the program, or null
        const char* in_system_dir;   // memory.ini in the system directory, or null
        std::string argument;
        bool starts;
    };
    const std::string good = definition("[application]\napp=memory\n");
    const Case cases[] = {
        {"beside the program", "x", nullptr, "", true},
        {"in the system directory", nullptr, "x", "", true},
        {"named relative to the program", nullptr, nullptr, "data/game.ini", true},
        {"named by an absolute path", nullptr, nullptr, "ABSOLUTE", true},
        {"nowhere", nullptr, nullptr, "", false},
        {"named but missing", "x", nullptr, "data/other.ini", false},
    };
    for (const Case& c : cases) {
        fs::remove(root / "program" / "memory.ini");
        fs::remove(root / "system" / "memory.ini");
        platform.message_boxes.clear();
        if (c.beside_program) write("program/memory.ini", good);
        if (c.in_system_dir) write("system/memory.ini", good);
        write("program/data/game.ini", good);
        platform.arguments = c.argument == "ABSOLUTE" ? (root / "program" / "data" / "game.ini").string() : c.argument;

        ran_to_board = false;
        const auto status = run();
        if (c.starts) {
            EXPECT_FALSE(status.has_value()) << c.name;
            EXPECT_TRUE(ran_to_board) << c.name;
        } else {
            EXPECT_EQ(status, kExitFailure) << c.name;
            ASSERT_FALSE(platform.message_boxes.empty()) << c.name;
            EXPECT_EQ(platform.message_boxes.back().title, "Error in application (#1)") << c.name;
            EXPECT_EQ(platform.message_boxes.back().style, kStyleCritical) << c.name;
        }
    }
}

TEST_F(StartUp, ApplicationTypeIsReadFromAnySection) {
    struct Case {
        std::string lines;
        std::optional<int> status;
        std::string title;
        int16_t type;
    };
    const Case cases[] = {
        {"[paths]\nAPP=Memory\n", std::nullopt, "", 0},
        {"[whatever]\napp=MATCH\n", std::nullopt, "", 1},
        {"[application]\n", kExitFailure, "Error in application (#3)", 0},
        {"[application]\napp=solitaire\n", kExitFailure, "Error in application (#4)", 0},
    };
    for (const Case& c : cases) {
        platform.message_boxes.clear();
        write("program/memory.ini", definition(c.lines));
        Program program(platform);
        std::optional<int> status;
        try {
            program.run();
        } catch (const ProgramEnded& ended) {
            status = ended.status;
        }
        EXPECT_EQ(status, c.status) << c.lines;
        if (c.status) {
            ASSERT_EQ(platform.message_boxes.size(), 1u) << c.lines;
            EXPECT_EQ(platform.message_boxes[0].title, c.title);
        } else {
            EXPECT_EQ(program.game()->memAppType, c.type) << c.lines;
        }
    }
}

TEST_F(StartUp, TraceGoesToTheLogAcrossRunsWithLineEnds) {
    // Tracing is on from the start, so a missing definition is traced.
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(log(), "=> memHandleError <=\r\n");
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(log(), "=> memHandleError <=\r\n=> memHandleError <=\r\n");
}

TEST_F(StartUp, ContinuableErrorsAskAndTraceTheAnswer) {
    Program program(platform);
    program.memDebug = True;
    platform.answers = {kAnswerOk};
    program.memHandleError(200, "/x/good.wav");
    ASSERT_EQ(platform.message_boxes.size(), 1u);
    EXPECT_EQ(platform.message_boxes[0].style, kStyleCriticalOkCancel);
    const std::string message = "''End (good) sound'' wave file ''/x/good.wav does not exist.\r\rContinue?";
    EXPECT_EQ(platform.message_boxes[0].text, message);
    EXPECT_EQ(log(), "=> memHandleError <=\r\n200, " + message + "\r\n");

    platform.answers = {kAnswerCancel};
    try {
        program.memHandleError(203, "/x/a.wav", 7);
        FAIL() << "Cancel must end the program";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, kExitFailure);
    }
}

TEST_F(StartUp, ALogThatCannotBeWrittenDoesNotStopTheGame) {
    platform.system_directory = (root / "no-such-dir").string() + "/";
    Program program(platform);
    program.memWriteLog("a line");
    platform.answers = {kAnswerOk};
    program.memHandleError(205, "m.wav");
    EXPECT_EQ(platform.message_boxes.size(), 1u);
}

TEST_F(StartUp, EscapeAndQuitEndNormallyAndCloseTheSound) {
    write("program/memory.ini", definition("[application]\napp=memory\n"));
    for (const char* how : {"escape", "quit"}) {
        platform.device_commands.clear();
        platform.while_modal = [how, this](Window&) {
            if (std::string(how) == "escape") platform.press_key(27);
            else platform.click("img_Quit");
        };
        EXPECT_EQ(run(), kExitNormal) << how;
        ASSERT_FALSE(platform.device_commands.empty()) << how;
        EXPECT_EQ(platform.device_commands.back().command, "close") << how;
    }
}

}  // namespace
}  // namespace mem::test
