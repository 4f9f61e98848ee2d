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
            return std::nullopt;
        } catch (const ProgramEnded& ended) {
            return ended.status;
        }
    }

    fs::path root;
    HeadlessPlatform platform;
};

// Where the definition is looked for, and its application type read from any section.
TEST_F(StartUp, FindsTheDefinitionAndItsApplicationType) {
    struct Case {
        const char* name;
        const char* beside_program;  // memory.ini beside the program, or null
        const char* in_system_dir;   // memory.ini in the system directory, or null
        std::string argument;
        std::string app_lines;       // of the definition found
        int error;                   // the fatal error, 0 when the game starts
        int16_t type = 0;
    };
    const std::string memory = "[application]\napp=memory\n";
    const Case cases[] = {
        {"beside the program", "x", nullptr, "", memory, 0},
        {"in the system directory", nullptr, "x", "", "[paths]\nAPP=Memory\n", 0},
        {"named relative to the program", nullptr, nullptr, "data/game.ini", "[whatever]\napp=MATCH\n", 0, 1},
        {"named by an absolute path", nullptr, nullptr, "ABSOLUTE", memory, 0},
        {"nowhere", nullptr, nullptr, "", memory, 1},
        {"named but missing", "x", nullptr, "data/other.ini", memory, 1},
        {"without a type", "x", nullptr, "", "[application]\n", 3},
        {"of an unknown type", "x", nullptr, "", "[application]\napp=solitaire\n", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(root / "program" / "memory.ini");
        fs::remove(root / "system" / "memory.ini");
        platform.message_boxes.clear();
        const std::string definition_text = definition(c.app_lines);
        if (c.beside_program) write("program/memory.ini", definition_text);
        if (c.in_system_dir) write("system/memory.ini", definition_text);
        write("program/data/game.ini", definition_text);
        platform.arguments = c.argument == "ABSOLUTE" ? (root / "program" / "data" / "game.ini").string() : c.argument;

        Program program(platform);
        std::optional<int> status;
        try {
            program.run();
        } catch (const ProgramEnded& ended) {
            status = ended.status;
        }
        if (c.error == 0) {
            EXPECT_EQ(status, std::nullopt);
            ASSERT_TRUE(program.game());
            EXPECT_EQ(program.memStartFailed, False);
            EXPECT_EQ(program.game()->memAppType, c.type);
        } else {
            EXPECT_EQ(status, kExitFailure);
            ASSERT_EQ(platform.message_boxes.size(), 1u);
            EXPECT_EQ(platform.message_boxes[0].title, "Error in application (#" + std::to_string(c.error) + ")");
            EXPECT_EQ(platform.message_boxes[0].style, kStyleCritical);
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

}  // namespace
}  // namespace mem::test
