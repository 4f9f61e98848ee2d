#include "definition/syntax.h"

#include <gtest/gtest.h>

#include <fstream>

#include "board/geometry.h"
#include "support/scratch.h"

namespace mem::test {
namespace {

TEST(ItemReader, SplitsLinesIntoItems) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Name = Big, Red\n", {"Name = Big", "Red"}}, {"a=1\rb=2\r\n\nc", {"a=1", "b=2", "", "c"}},
        {"\"x, y\" ignored, next\n", {"x, y", "next"}}, {"\"a\r\"b\n\"c", {"a", "b", "c"}}, {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        ItemReader reader(text);
        std::vector<std::string> items;
        while (!reader.at_end()) items.push_back(reader.next());
        EXPECT_EQ(items, expected) << text;
    }
}

// The loose reader takes the number at the start (blanks anywhere dropped);
// the strict one only a value that is a number and nothing else.
TEST(Syntax, NumberReaders) {
    const std::nullopt_t no = std::nullopt;
    const std::tuple<const char*, double, std::optional<double>> cases[] = {
        {"12", 12, 12},        {" 1 2 ", 12, no},     {"255 0 0", 25500, no}, {"&HFF", 255, 255},  {"&haf", 175, 175},
        {"&HFFFF", -1, -1},    {"&HFFFFF", 1048575, 1048575},                 {"&O17", 15, 15},    {"&X1", 0, no},
        // A digit beyond the radix ends the number.
        {"&O18", 1, no},       {"&HFG", 15, no},
        {"-2.5", -2.5, -2.5},  {"1E3", 1000, 1000},   {"1D2", 100, 100},      {"12abc", 12, no},   {"abc", 0, no},
        {"", 0, no},           {"\t7\n", 7, no},      {" 1 ", 1, 1},          {"+4", 4, 4},        {".5", 0.5, 0.5},
        {"-", 0, no},          {".", 0, no},          {"1E-2", 0.01, 0.01},   {"2d+1", 20, 20},    {"1e-1", 0.1, 0.1},
        // An exponent mark without digits is not part of the number.
        {"1E", 1, no},         {"1E+", 1, no},        {"1E-x", 1, no},        {"1E999", 0, 0},     {"-1e999", 0, 0},
    };
    for (const auto& [value, loose, strict] : cases) {
        EXPECT_DOUBLE_EQ(memReadNumber(value), loose) << value;
        EXPECT_EQ(memReadStrictNumber(value), strict) << value;
    }
    EXPECT_EQ(memReadStrictNumber(std::string("1\0" "5", 3)), no) << "a NUL is no exponent mark";
}

// A value past the 16-bit range is refused; a size past it (from a huge font or card size) stops at the limit.
TEST(Syntax, WholeNumbersRoundHalfToEvenAndRefuseOverflow) {
    const std::tuple<double, std::optional<int16_t>, int16_t> cases[] = {
        {2.5, 2, 2}, {-2.5, -2, -2}, {3.5, 4, 4}, {32767, 32767, 32767}, {-32768, -32768, -32768},
        {32768, std::nullopt, 32767}, {-32769, std::nullopt, -32768}, {1e9, std::nullopt, 32767}};
    for (const auto& [number, whole, nearest] : cases)
        EXPECT_EQ(std::pair(memToWhole(number), memNearest16(number)), std::pair(whole, nearest)) << number;
    EXPECT_EQ(memToColour(2147483647.0), 2147483647);
    EXPECT_FALSE(memToColour(2147483648.0).has_value());
    for (const char* on : {"1", "-1", "2", " 1"}) EXPECT_EQ(memValToBool(on), True) << on;
    for (const char* off : {"0", "", "yes", "true"}) EXPECT_EQ(memValToBool(off), False) << off;
}

TEST(Syntax, PathVariables) {
    HeadlessPlatform platform;
    platform.program_directory = "/opt/memory";
    platform.system_directory = "/var/games/memory ";
    const std::pair<const char*, const char*> cases[] = {
        {"%apppath%gfx", "/opt/memory\\gfx\\"}, {"%apppath%\\gfx\\", "/opt/memory\\gfx\\"},
        {"%windows%", "/var/games/memory\\"}, {"%appdrive%games\\cards", "/games\\cards\\"},
        {"%windrive%games", "/games\\"}, {"%temp%sfx", "sfx\\"},
        {"%apppath%data\\main.ini", "/opt/memory\\data\\main.ini"}, {"C:\\games", "C:\\games"},
        {"%gamepath%gfx\\", "/home/t/Klasse 3b/gfx\\"}, {"%GamePath%\\", "/home/t/Klasse 3b/"},
        {"%gamepath%data\\main.ini", "/home/t/Klasse 3b/data\\main.ini"}, {"%temp%.ini", ".ini"},
    };
    for (const auto& [value, resolved] : cases)
        EXPECT_EQ(memResolvePath(platform, value, "/home/t/Klasse 3b/"), resolved) << value;
    EXPECT_EQ(memGamePath("/home/t/Klasse 3b/Klasse 3b.ini"), "/home/t/Klasse 3b/");
    EXPECT_EQ(memGamePath("/opt/memory\\games\\x.ini"), "/opt/memory\\games\\");
    // A drive is a second character ':', also of a name that is only the drive.
    EXPECT_EQ(std::tuple(memHasDrive("C:"), memHasDrive("C"), memHasDrive("/C:")), std::tuple(True, False, False));
}

// Section headers, the names they give, and names without their extension as the reader takes them.
TEST(Syntax, SectionsAndExtensions) {
    const std::tuple<const char*, Flag, const char*> sections[] = {
        {"[Cards]", True, "Cards"}, {" [a] ", True, "a"}, {"[]", True, ""}, {"[a", False, ""},
        {"a]", False, ""}, {"[", False, ""}, {"x[a]", False, ""},
    };
    for (const auto& [item, is_section, name] : sections) {
        EXPECT_EQ(memIsSection(item), is_section) << item;
        if (is_section != False) {
            EXPECT_EQ(memGetSection(item), name) << item;
        }
    }
    EXPECT_EQ(memGetSection(" "), "");  // a blank item names no section
    const std::pair<const char*, const char*> names[] = {
        {"card.png", "card"}, {"a.b.c", "a.b"}, {".png", ""}, {"plain", "plain"}, {".", "."}, {"x.", "x"},
    };
    for (const auto& [name, stripped] : names) EXPECT_EQ(memStripExtension(name), stripped) << name;
    EXPECT_EQ(memContains("", ""), True);  // an empty part is in every text, the empty one too
    // The system folder is taken up to 255 characters, as the old interface allowed, and ends in a separator.
    HeadlessPlatform platform;
    for (const size_t length : {254u, 255u, 256u}) {
        platform.system_directory = "/" + std::string(length - 1, 'w');
        EXPECT_EQ(memWindowsDir(platform), length > 255 ? "" : platform.system_directory + "\\") << length;
    }
}

// A relative directory comes from the current directory; only when it is
// missing there and lies beside the definition is that one taken.
TEST(Syntax, RelativeDirectoriesFallBackToTheDefinitionsFolder) {
    namespace fs = std::filesystem;
    const ScratchDir scratch("resolve");
    const fs::path& dir = scratch.path;
    for (const char* sub : {"game/pics", "game/both", "cwd/both"}) fs::create_directories(dir / sub);
    std::ofstream(dir / "game/file.ini") << "a file, not a folder";
    const fs::path before = fs::current_path();
    fs::current_path(dir / "cwd");
    const std::string game = (dir / "game").string() + "/";
    const std::pair<std::string, std::string> cases[] = {
        {"pics\\", game + "pics\\"}, {"pics", game + "pics"}, {"both/", "both/"}, {"missing\\", "missing\\"},
        {"", ""}, {(dir / "cwd").string(), (dir / "cwd").string()}, {"file.ini\\", "file.ini\\"}, {"\\pics", "\\pics"},
    };
    HeadlessPlatform platform;
    for (const auto& [value, resolved] : cases) EXPECT_EQ(memResolvePath(platform, value, game), resolved) << value;
    EXPECT_EQ(memFileExists(game + "file.ini/"), True);  // a separator at the end is dropped
    fs::current_path(before);
}

}  // namespace
}  // namespace mem::test
