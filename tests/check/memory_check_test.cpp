// memory-check: its own scan of the definition files (keys the game ignores where they stand, the font names
// that take effect), its usage, and whole checks of broken definitions in a temporary folder: the game's errors in
// order with their texts, each warning kind, the exit statuses.
#include <cstdio>
#include <sstream>

#include "checker.h"
#include "pack_game.h"
#include "package/package.h"
#include "platform/files.h"
#include "definition_scan.h"
#include "support/folder_fixtures.h"

namespace mem::check {
namespace {

TEST(KeyScan, FindingsAndFontsByFileKind) {
    // File kind, content, application type, the start of each finding in order, the font names that take effect.
    const std::tuple<FileKind, std::string, int, std::vector<std::string>, std::vector<std::string>> cases[] = {
        {FileKind::Definition, "[application]\ntitle=Zoo\n[paths]\ntitle=Zoo\nmain=m.ini\n[gamefiles]\ngfx=g\n", 0,
         {"f [paths] title: the game reads no such key", "f [paths] main: the game reads no such key here (it is read in",
          "f [gamefiles] gfx: the game reads no such key here (it is read in [paths])"}, {}},
        {FileKind::Main, "[players]\nnamefontsize=9\nnamefont=A\nnamefontbold=1\nscorefont=B\nscorefontsize=4\n"
         "[timer]\nactive=1\norder=2\nfontname=X\nfontsize=3\n[countdown]\nactive=1\norder=0\nfontname=Y\n", 0,
         {"f [players] namefontsize: no effect: it comes before \"namefont\"", "f [countdown] order: order 0 has no value"},
         {"A", "B", "X"}},
        {FileKind::Global, "picture=b.bmp\n", 1, {"f picture: no effect in a match game"}, {}},
        {FileKind::Global, "[text list]\nactive=1\nfontsize=3\nfontname=W\nfontbold=1\ncardsx=2\n[textlists]\ntop=1\n", 0,
         {"f [text list] fontsize: no effect: it comes before \"fontname\"",
          "f [text list] cardsx: the game reads no such key here (it is read in [cards])", "f [textlists]: not the",
          "f [textlists] top: the game reads no such key here (it is read in [text list])"}, {"W"}},
        {FileKind::Special, "pictures=a\n[other]\nfoo=1\n[interface]\npictures=a.bmp\npicturs=b.bmp\n", 0,
         {"f pictures: the game reads no such key here (it is read in [interface])", "f [other]: the special file is",
          "f [interface] picturs: the game reads no such key here (did you mean \"pictures\"?)"}, {}},
        // A key before any section has a word of its own, those of an unknown section none; blanks end only a value.
        {FileKind::Main, "backcolor=1\n[zebra]\nnamefont=A\n", 0,
         {"f backcolor: the game reads no such key here (it is read in [interface])", "f [zebra]: the game reads no section"}, {}},
        {FileKind::Global, "picture=b.bmp\nfontname=C  \nfontbold  \nfontsize=9\n", 0, {"f fontname: the value ends in 2 blanks"}, {"C"}},
    };
    const HasValueLabel labels = [](int16_t order) { return order >= 0 && order <= 5; };
    for (const auto& [kind, content, app_type, findings, want_fonts] : cases) {
        SCOPED_TRACE(content);
        const ScanResult result = scan_file(kind, "f", content, app_type, labels);
        ASSERT_EQ(result.findings.size(), findings.size());
        for (size_t i = 0; i < findings.size(); ++i)
            EXPECT_TRUE(result.findings[i].text.starts_with(findings[i])) << result.findings[i].text;
        std::vector<std::string> fonts;
        for (const FontUse& use : result.fonts) fonts.push_back(use.name);
        EXPECT_EQ(fonts, want_fonts);
    }
}

// A suggestion is at most a third of the longer name away (1 to 3 edits); a swap counts once.
TEST(KeyScan, SuggestionsUpToAThirdOfTheName) {
    EXPECT_EQ(edit_distance("fontnmae", "fontname"), 1);
    EXPECT_EQ(nearest_key("fntsze", {"fontsize"}), "fontsize");  // 2 edits of 8
    EXPECT_EQ(nearest_key("fntsz", {"fontsize"}), "");           // 3 edits of 8
    EXPECT_EQ(nearest_key("name", {"name1", "name2", "namefont"}), "name1");  // the first of the nearest
}

TEST(KeyScan, UsageErrors) {
    std::ostringstream out, err;
    using Args = std::vector<std::string>;
    for (const Args& args : std::vector<Args>{{}, {"--bogus", "x.ini"}, {"a.ini", "b.ini"}, {"a.ini", "--system-dir"}})
        EXPECT_TRUE(memory_check_main(args, out, err, "/", "/") == 2 && pack::memory_pack_main(args, out, err, "/", "/") == 2)
            << (args.empty() ? "" : args.back());
    for (const char* screen : {"0x768", "1024", "x768", "10a24x768", "1024x768z"})
        EXPECT_EQ(memory_check_main({"--screen", screen, "a.ini"}, out, err, "/", "/"), 2) << screen;
    EXPECT_TRUE(memory_check_main({"--help"}, out, err, "/", "/") == 0 && pack::memory_pack_main({"--help"}, out, err, "/", "/") == 0 &&
                out.str().find("usage: memory-check") != std::string::npos);
    // The programs answer --version first and hand the rest of their command line on.
    const std::string said = test::output_of(MEMORY_CHECK_PROGRAM " --version; " MEMORY_PACK_PROGRAM " --version; "
                                             MEMORY_PACK_PROGRAM " 2>&1");
    EXPECT_TRUE(said.starts_with("memory-check " MEMORY_VERSION "\nmemory-pack " MEMORY_VERSION
                                 "\nmemory-pack: no definition file given\nusage")) << said;
}

class MemoryCheckTest : public test::DefinitionTest {
protected:
    void SetUp() override {
        test::DefinitionTest::SetUp();
        // A set the game starts without a message: every named file exists, the cards fit across with no gap.
        files["main.ini"] = "[interface]\npictures=bg.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\n"
                            "endgoodpicture=good.bmp\nendbadpicture=bad.bmp\n";
        files["global.ini"] = global;
        for (const char* sound : {"sfx/good.wav", "sfx/bad.wav", "sfx/turn.wav"}) write(sound, "");
        test::write_bmp(dir / "gfx/bg.bmp", 640, 480);
        for (const char* picture : {"gfx/good.bmp", "gfx/bad.bmp", "card/a.bmp", "card/b.bmp", "card/c.bmp",
                                    "card/d.bmp"})
            test::write_bmp(dir / picture, 4, 4);
    }

    // Runs the checker on the set; its report's lines are in `lines`.
    int run(std::vector<std::string> args = {}, const std::string& program_dir = "") {
        write_files();
        args.push_back(path("data") + "memory.ini");
        std::ostringstream out, err;
        const int status =
            memory_check_main(args, out, err, program_dir.empty() ? dir.string() : program_dir, path("system"));
        std::istringstream in(out.str());
        lines.clear();
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return status;
    }

    const std::string global = "[cards]\ncardsx=2\ncardsy=2\ncardwidth=249\ncardheight=50\nturnsound=turn.wav\n";
    std::vector<std::string> lines;
};

TEST_F(MemoryCheckTest, GameErrorsComeInTheGamesOrderWithTheirTexts) {
    EXPECT_TRUE(run({"--program-dir", dir.string(), "--screen", "1024x768"}) == 0 && lines.empty());
    files["main.ini"]->replace(files["main.ini"]->find("endbadsound=bad.wav"), 19, "matchsound=none.wav");
    files["cards.txt"] = "a\ta.bmp\tA\nb\tb.bmp\tB\tmoo.wav\nc\tc.bmp\tC\nd\tgone.bmp\tD\n";
    EXPECT_EQ(run(), 1);
    // The texts are the game's own; here the order and the file named.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 10) + lines[1].substr(0, 10) + lines[3].substr(0, 10),
              "error 203:error 201:error 105:");
    EXPECT_EQ(lines[2], "error 205: ''Match sound'' wave file ''" + path("sfx") + "none.wav does not exist.");
    // A fatal error ends the check; the game ran once, as its trace shows.
    files["global.ini"] = std::nullopt, *files["memory.ini"] += "debug=1\n", std::filesystem::remove(dir / "data" / "global.ini");
    EXPECT_EQ(run(), 1);
    const std::string log = read("system/memory.log");
    EXPECT_TRUE(log.find("memHandleError") != std::string::npos && log.find("memHandleError") == log.rfind("memHandleError"));
    EXPECT_EQ(lines, std::vector<std::string>{"error 6: Could not find global file ''" + path("data") +
                                              "global.ini''"});
    // The line breaks of a message become blanks.
    files["global.ini"] = global, files["memory.ini"]->replace(files["memory.ini"]->find("app=memory"), 10, "app=chess");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(lines, std::vector<std::string>{"error 4: The application type declaration in the INI file is unknown."});
}

TEST_F(MemoryCheckTest, EachWarningKind) {
    struct Case {
        const char* file;
        std::string content, expected;          // appended to main.ini, the whole file for the others; in the warning
        std::function<void()> spoil = nullptr;  // a change to the set besides the file
    };
    const Case cases[] = {
        {"global.ini", global + "disappear=1\npreview=60\n", "disappear: the game reads no such key here (did you mean \"dissap"},
        {"global.ini", global + "fontname=DejaVu Sans, Bold\n", "bold: not a key=value line"},
        {"main.ini", "[timer]\norder=1\nfontname=DejaVu Sans\nactive=1\ncondition=60\n", "only after \"active=1\""},
        {"main.ini", "[timer]\nactive=1\nfontsize=9\norder=1\ncondition=60\n", "only after its \"order\""},
        {"global.ini", global + "[text list]\nfontname=DejaVu Sans\n", "[text list] fontname: no effect"},
        // A font is looked up once, whatever the letter case; serif, an alias of an installed font, is no warning.
        {"main.ini",
         "[timer]\nactive=1\norder=1\nfontname=No Such Family\ncondition=9\n[players]\nnamefont=no such family\nscorefont=serif\n",
         "[timer] fontname: font \"No Such Family\" is not installed; fontconfig falls back to"},
        {"main.ini", "[interfase]\nbackcolor=1\n", "[interfase]: the game reads no section of this name (did you"},
        {"global.ini", global + "[text list]\nqwertyuiop=1\n", "[text list] qwertyuiop: the game reads no such key here\n"},  // "\n": nothing after
        {"global.ini", "cardsx=3\ncardsy=1\ncardwidth=50\ncardheight=50\nturnsound=turn.wav\n", "card 3 has no pair"},
        {"global.ini", "cardsx=0\ncardsy=2\ncardwidth=50\ncardheight=50\nturnsound=turn.wav\n", "cardsx=0 and cardsy=2 give no"},
        {"cards.txt", "", path("card") + "cards.txt: 3 card lines for 4 cards (cardsx=2 and cardsy=2): cards 4 to 4",
         [this] { files["cards.txt"] = std::nullopt, write("card/cards.txt", "a\ta.bmp\nb\tb.bmp\nc\tc.bmp\n"); }},
        {"cards.txt", "a\ta.bmp\nb\tb.bmp\nc\tc.bmp\n\nd\td.bmp\n", "line 4: empty, so card 4 has no name"},
        {"global.ini", "cardsx=2\ncardsy=2\ncardwidth=400\ncardheight=50\nturnsound=turn.wav\n", "1280 x 1024 screen: 2 x 2 cards of 400 x 50"},
        {"main.ini", "[players]\ndefaultname=Player \n", "(it reads \"Player\"); to keep it, write the line in double"},
        {"main.ini", "[tries made]\nactive=1\ncondition=0\n", "every player is out at the first test"},
        {"main.ini", "[timer]\nactive=1\n", "[timer] condition: 0: the time counts 1, 2, 3, ..."},
        {"main.ini", "[countdown]\nactive=1\n", "[countdown] condition: 0: the countdown starts there"},
        {"main.ini", "[tries left]\nactive=1\ncondition=0\n", "the tries left start there"},
        {"global.ini", global + "randompairs=1\n", "holds 2 pairs and the board takes 2: nothing to choose from"},
        {"global.ini", global + "preview=61\n", "preview=61: the faces show from 0 to 60 seconds, so for 60"},
        {"main.ini", "[interface]\npictures=bg.bmp\t\t\t\tgone.bmp\n", "background for 1280 x 1024 \""},
        {"global.ini", global, "background for 640 x 480 \"" + path("gfx") + "bg.bmp\" is 600 x 480 pixels",
         [this] { test::write_bmp(dir / "gfx/bg.bmp", 600, 480); }},
        // A preview in a match game, whose faces are up anyway.
        {"global.ini", global + "preview=5\n", "preview=5: ignored in a match game",
         [this] { files["memory.ini"]->replace(files["memory.ini"]->find("app=memory"), 10, "app=match"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        SetUp(), files[c.file] = (std::string(c.file) == "main.ini" ? *files[c.file] : "") + c.content;
        if (c.spoil) c.spoil();
        EXPECT_EQ(run(), 0);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].starts_with("warning: ") && (lines[0] + "\n").find(c.expected) != std::string::npos)
            << lines[0];
        EXPECT_EQ(run({"--warnings-as-errors"}), 1);
    }
}

TEST_F(MemoryCheckTest, FilesBesideTheDefinitionGiveAnApppathHint) {
    // The set's folders named from %apppath%, which is not the set's folder.
    files["memory.ini"] = "[application]\napp=memory\ndebug=1\n[paths]\ngfx=%apppath%gfx\ncard=%apppath%card\n"
                          "sfx=%apppath%sfx\ndata=%apppath%data\n[gamefiles]\nmain=main.ini\nglobal=global.ini\n"
                          "cards=cards.txt\n";
    // Where %apppath% is right, no hint, and the game is started once: its trace shows no other start.
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(read("system/memory.log").find("memHandleError"), std::string::npos);
    EXPECT_EQ(run({}, "/"), 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("error 5: ")) << lines[0];
    EXPECT_EQ(lines[1], "hint: %apppath% is the program's directory, /, not the definition's: the missing files lie under " +
                            dir.string() + " (did you mean to run it with --program-dir " + dir.string() +
                            "? To play the game where it lies, write %gamepath% for %apppath%)");
    // A file missing wherever it stands gives no hint.
    std::filesystem::remove(dir / "gfx" / "bg.bmp");
    EXPECT_EQ(run(), 1);
    for (const std::string& line : lines) EXPECT_EQ(line.find("hint: "), std::string::npos) << line;
}

// memory-pack gathers the files from four folders apart into the package's folders, names them from %gamepath%, and
// the package checks clean; a game with errors or an existing package file is left alone.
TEST_F(MemoryCheckTest, PackedGameChecksCleanFromItsPackage) {
    // Pairs drawn from a longer card file: the lines not drawn go into the package too.
    files["global.ini"] = global + "randompairs=1\n";
    *files["cards.txt"] += "e\te.bmp\tE\nf\tf.bmp\tF\n";
    for (size_t at = 0; (at = files["memory.ini"]->find('\n', at)) != std::string::npos; at += 2) files["memory.ini"]->insert(at, "\r");
    for (const char* picture : {"card/e.bmp", "card/f.bmp"}) test::write_bmp(dir / picture, 4, 4);
    write_files();
    const std::string package = dir.string() + "/game.memorygame";
    std::ostringstream out, err;
    auto pack = [&] {
        return pack::memory_pack_main({path("data") + "memory.ini", "-o", package}, out, err, "/", "/");
    };
    ASSERT_TRUE(pack() == 0 && out.str().find(" and 15 files into ") != std::string::npos) << err.str() << out.str();
    setenv("XDG_CACHE_HOME", path("cache").c_str(), 1);
    EXPECT_EQ(memory_check_main({package}, out, err, "/", "/"), 0) << out.str();
    const package::Unpacked unpacked = package::unpack(package, path("cache") + "memory/packages");
    ASSERT_EQ(unpacked.error, "");
    const std::string definition = read_text_file(unpacked.definition).value_or("");
    EXPECT_EQ(definition, "[application]\r\napp=memory\r\n[paths]\r\n[gamefiles]\r\nmain=main.ini\r\nglobal=global.ini\r\ncards="
                          "cards.txt\r\n\r\n[paths]\r\ngfx=%gamepath%gfx\\\r\ncard=%gamepath%cards\\\r\nsfx=%gamepath%sfx\\\r\ndata=%gamepath%data\\\r\n");
    for (const char* name : {"gfx/bg.bmp", "gfx/good.bmp", "cards/a.bmp", "cards/f.bmp", "sfx/turn.wav",
                             "data/cards.txt"})
        EXPECT_TRUE(std::filesystem::is_regular_file(unpacked.folder + name)) << name;
    EXPECT_FALSE(std::filesystem::exists(unpacked.folder + "data/memory.ini"));

    const auto packed = std::filesystem::last_write_time(package);
    EXPECT_TRUE(pack() == 1 && err.str().find("exists already") != std::string::npos);
    EXPECT_EQ(std::filesystem::last_write_time(package), packed);
    std::filesystem::remove(package), std::filesystem::remove(dir / "gfx" / "bg.bmp");
    EXPECT_TRUE(pack() == 1 && !std::filesystem::exists(package));
}

}  // namespace
}  // namespace mem::check
