// Failures while reading a definition set: the numbered errors, the values
// that cannot be stored, and files that are odd but must not crash the loader.
#include <cctype>

#include "app/errors.h"
#include "support/definition_files.h"

namespace mem::test {
namespace {

const std::string CR = "\r";

struct FatalCase {
    const char* what;
    std::map<std::string, std::optional<std::string>> changes;
    double code;
    std::string message;  // "@" stands for the set's folder
};

std::string expand(std::string text, const std::string& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + folder.size()))
        text.replace(at, 1, folder);
    return text;
}

class OpenIniFatal : public DefinitionTest, public testing::WithParamInterface<FatalCase> {};

TEST_P(OpenIniFatal, ShowsTheMessageAndEndsWithFailure) {
    for (const auto& [name, content] : GetParam().changes)
        files[name] = content ? std::optional(expand(*content, dir.string() + "/")) : std::nullopt;
    EXPECT_EQ(load(), kExitFailure);
    ASSERT_EQ(platform.message_boxes.size(), 1u);
    const auto& box = platform.message_boxes[0];
    EXPECT_EQ(box.text, expand(GetParam().message, dir.string() + "/"));
    EXPECT_EQ(box.title, "Error in application (#" + memNumberText(GetParam().code) + ")");
    EXPECT_EQ(box.style, kStyleCritical);
}

const std::string kDef =
    "[application]\napp=memory\n[paths]\ngfx=@gfx/\ncard=@card/\nsfx=@sfx/\ndata=@data/\n[gamefiles]\n";

std::string definition(const std::string& gamefiles) { return kDef + gamefiles; }

INSTANTIATE_TEST_SUITE_P(
    Failures, OpenIniFatal,
    testing::Values(
        FatalCase{"main file missing", {{"main.ini", std::nullopt}}, 5, "Could not find main file ''@data/main.ini''"},
        FatalCase{"main file not named", {{"memory.ini", "app=memory\n[paths]\ndata=@data/\n"}}, 5,
                  "Could not find main file ''@data/''"},
        FatalCase{"global file missing", {{"global.ini", std::nullopt}}, 6,
                  "Could not find global file ''@data/global.ini''"},
        FatalCase{"special file missing",
                  {{"memory.ini", definition("main=main.ini\nglobal=global.ini\ncards=cards.txt\nspecial=sp.ini\n")}},
                  10, "Could not find special file ''@data/sp.ini''"},
        FatalCase{"card file in neither folder", {{"cards.txt", std::nullopt}}, 7, "Could not find card file ''cards.txt''"},
        FatalCase{"strict colour of a group", {{"main.ini", "[timer]\nforecolor=red\n"}}, 11,
                  "The value ''forecolor=red'' in file ''@data/main.ini'' is not a number."},
        FatalCase{"strict colour of the cards", {{"global.ini", "cardsx=2\ncardsy=2\nForeColor = 12 red\n"}}, 11,
                  "The value ''forecolor= 12 red'' in file ''@data/global.ini'' is not a number."},
        FatalCase{"strict number of the splash", {{"main.ini", "[splash screen]\nactive=yes\n"}}, 11,
                  "The value ''active=yes'' in file ''@data/main.ini'' is not a number."},
        FatalCase{"whole number above 16 bits", {{"main.ini", "[players]\nplayers=40000\n"}}, 12,
                  "The value ''players=40000'' in file ''@data/main.ini'' is out of range for its setting."},
        FatalCase{"whole number below 16 bits", {{"global.ini", "[text list]\ntop=-32769\n"}}, 12,
                  "The value ''top=-32769'' in file ''@data/global.ini'' is out of range for its setting."},
        FatalCase{"order out of range after the subtraction", {{"main.ini", "[tries left]\norder=-32767.6\n"}}, 12,
                  "The value ''order=-32767.6'' in file ''@data/main.ini'' is out of range for its setting."},
        FatalCase{"colour above 32 bits", {{"main.ini", "[interface]\nbackcolor=1e10\n"}}, 12,
                  "The value ''backcolor=1e10'' in file ''@data/main.ini'' is out of range for its setting."},
        FatalCase{"card count not whole", {{"global.ini", "cardsx=4.5\ncardsy=3\n"}}, 13,
                  "The card count of ''cardsx=4.5, cardsy=3'' in file ''@data/global.ini'' is not a whole number "
                  "from 0 to 32767."},
        FatalCase{"card count negative", {{"global.ini", "cardsx=-4\ncardsy=5\n"}}, 13,
                  "The card count of ''cardsx=-4, cardsy=5'' in file ''@data/global.ini'' is not a whole number "
                  "from 0 to 32767."},
        FatalCase{"negative across and down", {{"global.ini", "cardsx=-4\ncardsy=-5\n"}}, 13,
                  "The card count of ''cardsx=-4, cardsy=-5'' in file ''@data/global.ini'' is not a whole number "
                  "from 0 to 32767."},
        FatalCase{"card count too large", {{"global.ini", "cardsx=200\ncardsy=200\n"}}, 13,
                  "The card count of ''cardsx=200, cardsy=200'' in file ''@data/global.ini'' is not a whole number "
                  "from 0 to 32767."}),
    [](const testing::TestParamInfo<FatalCase>& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// Each file is read before the next is looked for: with main, global and
// card file all missing, only the main file is reported.
TEST_F(DefinitionTest, FirstMissingFileEndsTheProgram) {
    files["main.ini"] = std::nullopt;
    files["global.ini"] = std::nullopt;
    files["cards.txt"] = std::nullopt;
    EXPECT_EQ(load(), kExitFailure);
    ASSERT_EQ(platform.message_boxes.size(), 1u);
    EXPECT_EQ(platform.message_boxes[0].title, "Error in application (#5)");
}

// The window's load step reads the set right after the application type.
TEST_F(DefinitionTest, LoadStepReadsTheDefinitionSet) {
    files["main.ini"] = std::nullopt;
    write_files();
    try {
        program.memStartUp(path("data") + "memory.ini");
        ADD_FAILURE() << "the missing main file must end the program";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, kExitFailure);
    }
    ASSERT_EQ(platform.message_boxes.size(), 1u);
    EXPECT_EQ(platform.message_boxes[0].text, "Could not find main file ''" + path("data") + "main.ini''");
}

TEST_F(DefinitionTest, MissingCardSoundOkLeavesTheCardSilent) {
    files["cards.txt"] = "a\ta.bmp\tA\tgone.wav\nb\tb.bmp\tB\tb.wav\nc\tc.bmp\tC\tlost.wav\n";
    write("card/b.wav", "RIFF");
    EXPECT_EQ(load(), std::nullopt);
    ASSERT_EQ(platform.message_boxes.size(), 2u);
    EXPECT_EQ(platform.message_boxes[0].title, "Error in application (#203)");
    EXPECT_EQ(platform.message_boxes[0].style, kStyleCriticalOkCancel);
    EXPECT_EQ(platform.message_boxes[0].text,
              "'Wave file ''" + path("card") + "gone.wav'' for card number 1 does not exist." + CR + CR + "Continue?");
    EXPECT_EQ(platform.message_boxes[1].text,
              "'Wave file ''" + path("card") + "lost.wav'' for card number 3 does not exist." + CR + CR + "Continue?");
    EXPECT_EQ(game->memCardHolder[0].Sound, "");
    EXPECT_EQ(game->memCardHolder[1].Sound, "b.wav");
    EXPECT_EQ(game->memCardHolder[2].Sound, "");
    EXPECT_EQ(game->memCardHolder[2].Text, "C");
}

TEST_F(DefinitionTest, MissingCardSoundCancelEndsTheProgram) {
    files["cards.txt"] = "a\ta.bmp\tA\tgone.wav\nb\tb.bmp\tB\tlost.wav\n";
    platform.answers = {kAnswerCancel};
    EXPECT_EQ(load(), kExitFailure);
    EXPECT_EQ(platform.message_boxes.size(), 1u);
}

TEST_F(DefinitionTest, ContinuedErrorIsTracedWhenDebugIsOn) {
    files["memory.ini"] = *files["memory.ini"] + "debug=1\n";
    files["cards.txt"] = "a\ta.bmp\tA\tgone.wav\n";
    EXPECT_EQ(load(), std::nullopt);
    const std::vector<std::string> expected = {
        "=> memHandleError <=",
        "203, 'Wave file ''" + path("card") + "gone.wav'' for card number 1 does not exist." + CR + CR + "Continue?"};
    EXPECT_EQ(log_lines(), expected);
}

// Files that are odd, empty or not text at all are read without a crash;
// a folder where a file is named counts as missing.
struct OddFileCase {
    const char* what;
    std::string file;
    std::optional<std::string> content;  // nothing: a folder of that name
    std::optional<double> code;          // the error shown, if any
};

class OpenIniOddFile : public DefinitionTest, public testing::WithParamInterface<OddFileCase> {};

TEST_P(OpenIniOddFile, NeverCrashes) {
    const OddFileCase& odd = GetParam();
    files[odd.file] = std::nullopt;
    if (odd.content) write("data/" + odd.file, *odd.content);
    else std::filesystem::create_directories(dir / "data" / odd.file);
    const std::optional<int> ended = load();
    if (odd.code) {
        EXPECT_EQ(ended, kExitFailure);
        ASSERT_EQ(platform.message_boxes.size(), 1u);
        EXPECT_EQ(platform.message_boxes[0].title, "Error in application (#" + memNumberText(*odd.code) + ")");
    } else {
        // Stray tab fields of a binary card file may name sounds: those are
        // continuable errors, never a fatal one.
        EXPECT_EQ(ended, std::nullopt);
        for (const auto& box : platform.message_boxes) EXPECT_EQ(box.style, kStyleCriticalOkCancel);
    }
}

std::string binary() {
    std::string bytes;
    for (int i = 0; i < 2048; ++i) bytes += static_cast<char>((i * 37 + 11) % 256);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenIniOddFile,
    testing::Values(OddFileCase{"main_is_a_folder", "main.ini", std::nullopt, 5},
                    OddFileCase{"global_is_a_folder", "global.ini", std::nullopt, 6},
                    OddFileCase{"cards_is_a_folder", "cards.txt", std::nullopt, 7},
                    OddFileCase{"empty_main", "main.ini", "", std::nullopt},
                    OddFileCase{"empty_global", "global.ini", "", std::nullopt},
                    OddFileCase{"empty_cards", "cards.txt", "", std::nullopt},
                    OddFileCase{"binary_main", "main.ini", binary(), std::nullopt},
                    OddFileCase{"binary_cards", "cards.txt", binary(), std::nullopt},
                    OddFileCase{"nul_bytes_and_lone_quote", "main.ini", std::string("[line]\0\"\n\"x", 12),
                                std::nullopt}),
    [](const testing::TestParamInfo<OddFileCase>& info) { return std::string(info.param.what); });

TEST_F(DefinitionTest, BinaryCardFileFillsNoMoreThanTheCount) {
    files["cards.txt"] = binary();
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memCardHolder.size(), 5u);
    EXPECT_EQ(game->memCardHolder[4].Name, "");
}

}  // namespace
}  // namespace mem::test
