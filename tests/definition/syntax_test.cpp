#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "definition/syntax.h"
#include "platform/headless/headless_platform.h"

namespace mem::test {
namespace {

std::vector<std::string> items_of(const std::string& text) {
    ItemReader reader(text);
    std::vector<std::string> items;
    while (!reader.at_end()) items.push_back(reader.next());
    return items;
}

TEST(ItemReader, SplitsLinesIntoItems) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"Name = Big, Red\n", {"Name = Big", "Red"}},
        {"a=1\r\nb=2\r\n", {"a=1", "b=2"}},
        {"a=1\rb=2", {"a=1", "b=2"}},
        {"a=1\n\nb=2\n", {"a=1", "", "b=2"}},
        {"   key=value   \n", {"key=value"}},
        {"\"x, y\" ignored, next\n", {"x, y", "next"}},
        {"name\tpic.bmp\t\tsnd.wav\n", {"name\tpic.bmp\t\tsnd.wav"}},
        {"last line without end", {"last line without end"}},
    };
    for (const Case& c : cases) EXPECT_EQ(items_of(c.text), c.items) << c.text;
}

TEST(ItemReader, SurvivesBinaryAndEmptyInput) {
    EXPECT_TRUE(items_of("").empty());
    std::string binary;
    for (int i = 0; i < 512; ++i) binary += static_cast<char>(i * 37 % 256);
    EXPECT_FALSE(items_of(binary).empty());
}

TEST(Syntax, SectionsKeysAndValues) {
    EXPECT_TRUE(memIsSection("  [cards made]  "));
    EXPECT_FALSE(memIsSection("cards made]"));
    EXPECT_EQ(memGetSection("[cards made]"), "cards made");
    EXPECT_EQ(memGetSection("[ cards made ]"), " cards made ");
    EXPECT_EQ(memGetSection("[]"), "");
    EXPECT_EQ(memLower(memGetSection("[CARDS MADE]")), memGetSection("[cards made]"));

    EXPECT_EQ(memGetKey("card width = 90"), "cardwidth");
    EXPECT_EQ(memGetValue("card width = 90"), " 90");
    EXPECT_EQ(memGetValue("a=b=c"), "b=c");
    EXPECT_EQ(memGetKey("no equals here"), "noequalshere");
    EXPECT_EQ(memGetValue("no equals here"), "");
}

TEST(Syntax, NumberReader) {
    struct Case {
        const char* value;
        double number;
    };
    const Case cases[] = {
        {"12", 12},       {" 1 2 ", 12},     {"255 0 0", 25500}, {"&HFF", 255},   {"&hff", 255},
        {"&HFFFF", -1},   {"&HFFFFF", 1048575}, {"&O17", 15},   {"-2.5", -2.5},  {"1E3", 1000},
        {"1D2", 100},     {"12abc", 12},     {"abc", 0},         {"", 0},         {"yes", 0},
        {"\t7\n", 7},     {"+4", 4},         {".5", 0.5},        {"-", 0},        {"1E-2", 0.01},
        {"2d+1", 20},     {"1E", 1},         {"1E+", 1},         {"1E999", 0},    {"-1e999", 0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(memReadNumber(c.value), c.number) << c.value;
}

TEST(Syntax, StrictReadersRejectWhatIsNotANumber) {
    EXPECT_EQ(memReadStrictNumber(" 1 "), 1.0);
    EXPECT_EQ(memReadStrictNumber("1.5"), 1.5);
    EXPECT_FALSE(memReadStrictNumber("red").has_value());
    EXPECT_FALSE(memReadStrictNumber("12abc").has_value());
    EXPECT_FALSE(memReadStrictNumber("").has_value());
    // An exponent mark without digits is not part of the number.
    EXPECT_EQ(memReadStrictNumber("1e-1"), 0.1);
    EXPECT_FALSE(memReadStrictNumber("1e").has_value());
    EXPECT_FALSE(memReadStrictNumber("1e+").has_value());
    EXPECT_FALSE(memReadStrictNumber(".").has_value());
    EXPECT_EQ(memReadStrictWhole("&HFF"), 255);
    EXPECT_EQ(memReadStrictWhole("2.5"), 2);
    EXPECT_EQ(memReadStrictWhole("3.5"), 4);
    EXPECT_FALSE(memReadStrictWhole("99999999999").has_value());
}

TEST(Syntax, WholeNumbersRoundHalfToEvenAndRefuseOverflow) {
    EXPECT_EQ(memToWhole(2.5), 2);
    EXPECT_EQ(memToWhole(-2.5), -2);
    EXPECT_EQ(memToWhole(3.5), 4);
    EXPECT_EQ(memToWhole(32767), 32767);
    EXPECT_FALSE(memToWhole(32768).has_value());
    EXPECT_FALSE(memToWhole(-32769).has_value());
    EXPECT_EQ(memToColour(16777215), 16777215);
}

TEST(Syntax, Flags) {
    for (const char* on : {"1", "-1", "2", " 1"}) EXPECT_EQ(memValToBool(on), True) << on;
    for (const char* off : {"0", "", "yes", "true"}) EXPECT_EQ(memValToBool(off), False) << off;
}

TEST(Syntax, TabFieldsAndTextHelpers) {
    HeadlessPlatform platform;
    const std::string line = "a\t\t\td";
    EXPECT_EQ(strGetTab(platform, line, 1), "a");
    EXPECT_EQ(strGetTab(platform, line, 3), "");
    EXPECT_EQ(strGetTab(platform, line, 4), "d");
    EXPECT_EQ(strGetTab(platform, line, 5), "");
    EXPECT_EQ(strGetTab(platform, "\tb", 1), "");
    EXPECT_TRUE(platform.message_boxes.empty());
    EXPECT_EQ(strGetTab(platform, line, -1), "");
    ASSERT_EQ(platform.message_boxes.size(), 1u);
    EXPECT_EQ(platform.message_boxes[0].text, "strGetTab: Tab number must be over 1 (-1).");

    EXPECT_EQ(memStripExtension("dog.big.bmp"), "dog.big");
    EXPECT_EQ(memStripExtension("dog"), "dog");
    EXPECT_EQ(memStripExtension(".wav"), "");
    EXPECT_EQ(memRemoveSpaces(" a b  c "), "abc");
    EXPECT_EQ(memContains("Dog.BMP", ".bmp"), True);
    EXPECT_EQ(memContains("abc", ""), True);
    EXPECT_EQ(memContains("abc", "abc"), False);
    EXPECT_EQ(memHasDrive("C:\\games"), True);
    EXPECT_EQ(memHasDrive("/games"), False);
}

TEST(Syntax, FileExistsOnlyForReadableFiles) {
    const auto dir = std::filesystem::temp_directory_path() / "memory-syntax-test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "present.txt") << "x";
    EXPECT_EQ(memFileExists((dir / "present.txt").string()), True);
    EXPECT_EQ(memFileExists((dir / "present.txt").string() + "\\"), True);
    EXPECT_EQ(memFileExists((dir / "missing.txt").string()), False);
    EXPECT_EQ(memFileExists(dir.string()), False);
    EXPECT_EQ(memFileExists(dir.string() + "\\"), False);
    EXPECT_EQ(memFileExists(""), False);
    std::filesystem::remove_all(dir);
}

TEST(Syntax, PathVariables) {
    HeadlessPlatform platform;
    platform.program_directory = "/opt/memory";
    platform.system_directory = "/var/games/memory/";
    struct Case {
        const char* value;
        const char* resolved;
    };
    const Case cases[] = {
        {"%apppath%gfx", "/opt/memory\\gfx\\"},
        {"%apppath%\\gfx\\", "/opt/memory\\gfx\\"},
        {"%APPPATH%\\", "/opt/memory\\"},
        {"%windows%", "/var/games/memory/"},
        {"%appdrive%games\\cards", "/games\\cards\\"},
        {"%windrive%games", "/games\\"},
        {"%temp%sfx", "sfx\\"},
        {"%apppath%data\\main.ini", "/opt/memory\\data\\main.ini"},
        {"C:\\games", "C:\\games"},
        {"games\\", "games\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(memResolvePath(platform, c.value), c.resolved) << c.value;
    EXPECT_EQ(memWindowsDir(platform), "/var/games/memory/");
    platform.system_directory = "/var/games/memory  ";
    EXPECT_EQ(memWindowsDir(platform), "/var/games/memory\\");
}

}  // namespace
}  // namespace mem::test
