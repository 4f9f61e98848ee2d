// The checker's own scan of the definition files: which keys the game
// ignores where they stand, and which font names take effect.
#include <gtest/gtest.h>

#include <sstream>

#include "checker.h"
#include "definition_scan.h"

namespace mem::check {
namespace {

TEST(KeyScan, FindingsAndFontsByFileKind) {
    struct Case {
        FileKind kind;
        std::string content;
        int app_type;
        std::vector<std::string> findings;  // a part of each finding, in order
        std::vector<std::string> fonts;     // the font names that take effect
    };
    const Case cases[] = {
        {FileKind::Definition, "[paths]\nmain=m.ini\n", 0, {"f [paths] main: the game reads no such key"}, {}},
        {FileKind::Main, "backcolor=1\n", 0,
         {"f backcolor: the game reads no such key here (it is read in [interface])"}, {}},
        {FileKind::Main, "[players]\nnamefontsize=9\nnamefont=A\nnamefontbold=1\nscorefont=B\nscorefontsize=4\n", 0,
         {"f [players] namefontsize: no effect: it comes before \"namefont\""}, {"A", "B"}},
        {FileKind::Main,
         "[timer]\nactive=1\norder=2\nfontname=X\nfontsize=3\n[countdown]\nactive=1\norder=7\nfontname=Y\n",
         0, {"f [countdown] order: order 7 has no value label"}, {"X"}},
        {FileKind::Global, "picture=b.bmp\n", 1, {"f picture: no effect in a match game"}, {}},
        {FileKind::Global, "picture=b.bmp\nfontname=C\nfontsize=9\n", 0, {}, {"C"}},
        {FileKind::Global, "[text list]\nactive=1\nfontsize=3\nfontname=W\nfontbold=1\n", 0,
         {"f [text list] fontsize: no effect: it comes before \"fontname\""}, {"W"}},
        {FileKind::Global, "[text lst]\ntop=1\n", 0, {"f [text lst]: not the", "f [text lst] top: the game"}, {}},
        {FileKind::Special, "[other]\nfoo=1\n", 0, {"f [other]: the special file is read only for \"pictures\""}, {}},
    };
    const HasValueLabel labels = [](int16_t order) { return order >= 0 && order <= 5; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        const ScanResult result = scan_file(c.kind, "f", c.content, c.app_type, labels);
        ASSERT_EQ(result.findings.size(), c.findings.size());
        for (size_t i = 0; i < c.findings.size(); ++i)
            EXPECT_EQ(result.findings[i].text.rfind(c.findings[i], 0), 0u) << result.findings[i].text;
        std::vector<std::string> fonts;
        for (const FontUse& use : result.fonts) fonts.push_back(use.name);
        EXPECT_EQ(fonts, c.fonts);
    }
}

// A suggestion is at most a third of the longer name away (1 to 3 edits); a swap counts once.
TEST(KeyScan, SuggestionsUpToAThirdOfTheName) {
    EXPECT_EQ(edit_distance("fontnmae", "fontname"), 1);
    EXPECT_EQ(nearest_key("fntsze", {"fontsize"}), "fontsize");  // 2 edits of 8
    EXPECT_EQ(nearest_key("fntsz", {"fontsize"}), "");           // 3 edits of 8
    EXPECT_EQ(nearest_key("cardwith", {"cardwidth", "cardheight"}), "cardwidth");
}

TEST(KeyScan, UsageErrors) {
    std::ostringstream out, err;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--bogus", "x.ini"}, {"a.ini", "b.ini"}, {"--program-dir"}, {"--screen", "0x768", "a.ini"},
             {"--screen", "1024", "a.ini"}, {"--screen", "10a24x768", "a.ini"}, {"--screen", "1024x768z", "a.ini"}})
        EXPECT_EQ(memory_check_main(args, out, err, "/", "/"), 2) << (args.empty() ? "" : args.back());
    EXPECT_EQ(memory_check_main({"--help"}, out, err, "/", "/"), 0);
    EXPECT_NE(out.str().find("usage: memory-check"), std::string::npos);
}

}  // namespace
}  // namespace mem::check
