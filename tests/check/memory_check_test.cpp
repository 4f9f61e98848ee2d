// memory-check over broken definitions in a temporary folder: the game's
// errors in order with their texts, each warning kind, the exit statuses.
#include <gtest/gtest.h>

#include <sstream>

#include "checker.h"
#include "definition_scan.h"
#include "support/definition_files.h"

namespace mem::test {
namespace {

class MemoryCheckTest : public DefinitionTest {
protected:
    void SetUp() override {
        DefinitionTest::SetUp();
        // A set the game starts without a message: every named file exists.
        files["main.ini"] = "[interface]\npictures=bg.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\n"
                            "endgoodpicture=good.bmp\nendbadpicture=bad.bmp\n";
        files["global.ini"] = "[cards]\ncardsx=2\ncardsy=2\ncardwidth=50\ncardheight=50\nturnsound=turn.wav\n";
        for (const char* sound : {"sfx/good.wav", "sfx/bad.wav", "sfx/turn.wav"}) write(sound, "");
        write_bmp("gfx/bg.bmp", 640, 480);
        for (const char* picture : {"gfx/good.bmp", "gfx/bad.bmp", "card/a.bmp", "card/b.bmp", "card/c.bmp", "card/d.bmp"})
            write_bmp(picture, 4, 4);
    }

    // A valid 24-bit BMP of the given size.
    void write_bmp(const std::string& relative, int width, int height) {
        const int row = (width * 3 + 3) / 4 * 4;
        const int size = 54 + row * height;
        std::string bmp(static_cast<size_t>(size), '\0');
        auto put = [&](int at, int value, int bytes) {
            for (int i = 0; i < bytes; ++i) bmp[static_cast<size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        bmp[0] = 'B';
        bmp[1] = 'M';
        put(2, size, 4);
        put(10, 54, 4);
        put(14, 40, 4);
        put(18, width, 4);
        put(22, height, 4);
        put(26, 1, 2);
        put(28, 24, 2);
        write(relative, bmp);
    }

    int run(std::vector<std::string> args = {}) {
        write_files();
        args.push_back(path("data") + "memory.ini");
        std::ostringstream err;
        out.str("");
        return check::memory_check_main(args, out, err, dir.string(), path("system"));
    }

    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }

    std::ostringstream out;
};

TEST_F(MemoryCheckTest, CleanSetHasNoProblems) {
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(out.str(), "");
}

TEST_F(MemoryCheckTest, GameErrorsComeInTheGamesOrderWithTheirTexts) {
    const std::string sfx = path("sfx");
    files["main.ini"] = "[interface]\npictures=bg.bmp\nendgoodsound=good.wav\nmatchsound=none.wav\n"
                        "endgoodpicture=good.bmp\nendbadpicture=bad.bmp\n";
    files["cards.txt"] = "a\ta.bmp\tA\nb\tb.bmp\tB\tmoo.wav\nc\tc.bmp\tC\nd\tgone.bmp\tD\n";
    EXPECT_EQ(run(), 1);
    const std::vector<std::string> expected = {
        "error 203: 'Wave file ''" + path("card") + "moo.wav'' for card number 2 does not exist.",
        "error 201: ''End (bad) sound'' wave file ''" + sfx + " does not exist.",
        "error 205: ''Match sound'' wave file ''" + sfx + "none.wav does not exist.",
        "error 105: Card picture file ''" + path("card") + "gone.bmp'' does not exist.",
    };
    EXPECT_EQ(lines(), expected);
}

TEST_F(MemoryCheckTest, FatalErrorEndsTheCheck) {
    files["global.ini"] = std::nullopt;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(lines(), std::vector<std::string>{"error 6: Could not find global file ''" + path("data") + "global.ini''"});
}

TEST_F(MemoryCheckTest, EachWarningKind) {
    struct Case {
        const char* name;
        std::string file;
        std::string content;
        std::string expected;  // a part of the one warning
    };
    const std::string global = "[cards]\ncardsx=2\ncardsy=2\ncardwidth=50\ncardheight=50\nturnsound=turn.wav\n";
    const Case cases[] = {
        {"typo", "global.ini", global + "disappear=1\n", "disappear: the game reads no such key here (did you mean \"dissapear\"?)"},
        {"misplaced", "global.ini", global + "[text list]\ncardsx=2\n", "[text list] cardsx: the game reads no such key here (it is read in [cards])"},
        {"comma", "global.ini", global + "fontname=DejaVu Sans, Bold\n", "bold: not a key=value line"},
        {"card font size first", "global.ini", "fontsize=9\n" + global, "fontsize: no effect: it comes before \"fontname\""},
        {"group font before active", "main.ini", "[timer]\norder=1\nfontname=DejaVu Sans\nactive=1\ncondition=60\n", "[timer] fontname: no effect: font keys of a group work only after \"active=1\""},
        {"group font before order", "main.ini", "[timer]\nactive=1\nfontsize=9\norder=1\ncondition=60\n", "[timer] fontsize: no effect: font keys of a group work only after its \"order\""},
        {"text font before active", "global.ini", global + "[text list]\nfontname=DejaVu Sans\n", "[text list] fontname: no effect"},
        {"unknown font", "global.ini", global + "fontname=No Such Family Anywhere\n", "font \"No Such Family Anywhere\" is not installed; fontconfig falls back to"},
        {"unknown section", "main.ini", "[interfase]\nbackcolor=1\n", "[interfase]: the game reads no section of this name (did you mean [interface]?)"},
        {"odd count", "global.ini", "[cards]\ncardsx=3\ncardsy=1\ncardwidth=50\ncardheight=50\nturnsound=turn.wav\n", "give 3 cards, an odd number: card 3 has no pair"},
        {"short card file", "cards.txt", "a\ta.bmp\nb\tb.bmp\nc\tc.bmp\n", "3 card lines for 4 cards"},
        {"overlap", "global.ini", "[cards]\ncardsx=2\ncardsy=2\ncardwidth=400\ncardheight=50\nturnsound=turn.wav\n", "the cards do not fit the play area"},
        {"blank dropped", "main.ini", "[players]\ndefaultname=Player \n", "[players] defaultname: the value ends in a blank, which the game drops (it reads \"Player\"); to keep it, write the line in double quotes: \"defaultname=Player \""},
        {"tries made 0", "main.ini", "[tries made]\nactive=1\ncondition=0\n", "[tries made] condition: 0: no tries made already reach it, so every player is out at the first test"},
        {"timer 0", "main.ini", "[timer]\nactive=1\n", "[timer] condition: 0: the time counts 1, 2, 3, ..."},
        {"countdown 0", "main.ini", "[countdown]\nactive=1\n", "[countdown] condition: 0: the countdown starts there"},
        {"tries left 0", "main.ini", "[tries left]\nactive=1\ncondition=0\n", "[tries left] condition: 0: the tries left start there"},
    };
    for (const Case& c : cases) {
        reset();
        const std::string original_main = *files["main.ini"];
        if (c.file == "main.ini") files[c.file] = original_main + c.content;
        else files[c.file] = c.content;
        EXPECT_EQ(run(), 0) << c.name << "\n" << out.str();
        ASSERT_EQ(lines().size(), 1u) << c.name << "\n" << out.str();
        EXPECT_NE(lines()[0].find("warning: "), std::string::npos) << c.name;
        EXPECT_NE(lines()[0].find(c.expected), std::string::npos) << c.name << "\n" << lines()[0];
        EXPECT_EQ(run({"--warnings-as-errors"}), 1) << c.name;
    }
}

TEST_F(MemoryCheckTest, FilesBesideTheDefinitionGiveAnApppathHint) {
    // The set's folders named from %apppath%, which is not the set's folder.
    files["memory.ini"] = "[application]\napp=memory\n[paths]\ngfx=%apppath%gfx\ncard=%apppath%card\n"
                          "sfx=%apppath%sfx\ndata=%apppath%data\n[gamefiles]\nmain=main.ini\nglobal=global.ini\n"
                          "cards=cards.txt\n";
    write_files();
    std::ostringstream err;
    EXPECT_EQ(check::memory_check_main({path("data") + "memory.ini"}, out, err, path("system"), path("system")), 1);
    ASSERT_EQ(lines().size(), 2u) << out.str();
    EXPECT_EQ(lines()[0].rfind("error 5: ", 0), 0u) << lines()[0];
    EXPECT_EQ(lines()[1], "hint: %apppath% is the program's directory, " + path("system").substr(0, path("system").size() - 1) +
                              ", not the definition's: the missing files lie under " + dir.string() +
                              " (did you mean to run it with --program-dir " + dir.string() +
                              "? To play the game, copy it beside the program as it lies there)");
    // Where %apppath% is right, or a file is missing wherever it stands, no hint.
    EXPECT_EQ(run(), 0);
    std::remove((dir / "gfx" / "bg.bmp").c_str());
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(out.str().find("hint: "), std::string::npos) << out.str();
}

TEST_F(MemoryCheckTest, BackgroundOfTheWrongSize) {
    write_bmp("gfx/bg.bmp", 600, 480);
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(lines().size(), 1u) << out.str();
    EXPECT_NE(lines()[0].find("background for 640 x 480"), std::string::npos) << lines()[0];
    EXPECT_NE(lines()[0].find("is 600 x 480 pixels"), std::string::npos) << lines()[0];
}

TEST_F(MemoryCheckTest, UsageErrors) {
    std::ostringstream o, e;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--bogus", "x.ini"}, {"a.ini", "b.ini"}, {"--screen", "big", "a.ini"}, {"--program-dir"}})
        EXPECT_EQ(check::memory_check_main(args, o, e, "/", "/"), 2);
    EXPECT_EQ(check::memory_check_main({"--help"}, o, e, "/", "/"), 0);
    EXPECT_NE(o.str().find("usage: memory-check"), std::string::npos);
}

TEST(EditDistance, NearestKnownKey) {
    EXPECT_EQ(check::edit_distance("fontnmae", "fontname"), 1);  // a swap counts once
    EXPECT_EQ(check::edit_distance("disappear", "dissapear"), 2);
    EXPECT_EQ(check::nearest_key("cardwith", {"cardwidth", "cardheight"}), "cardwidth");
    EXPECT_EQ(check::nearest_key("zzz", {"cardwidth", "cardheight"}), "");
}

}  // namespace
}  // namespace mem::test
