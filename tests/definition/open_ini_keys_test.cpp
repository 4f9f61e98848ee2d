// Reading the settings of a definition set: sections, keys, kinds, the keys
// that act at once on the live controls, and the card file.
#include "app/splash_window.h"
#include "support/definition_files.h"

namespace mem::test {
namespace {

TEST_F(DefinitionTest, KeysAndSectionsIgnoreLetterCaseButNotInnerBlanks) {
    files["memory.ini"] = "[Paths]\nDATA=" + path("data") + "\nCard = " + path("card") +
                          "\n[GAMEFILES]\nMain=main.ini\nGLOBAL=global.ini\n[misc]\nAPP=Memory\n"
                          "[GameFiles]\nCards=cards.txt\n";
    files["main.ini"] =
        "[CARDS MADE]\nACTIVE=1\nOrder=3\n[ cards left ]\nactive=1\norder=2\n[Line]\nWidth=7\nColor=&HFF\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memAppType, 0);
    // "Card = ..." keeps its leading blank in the value: literal, unresolved.
    EXPECT_EQ(game->memPaths.Card, " " + path("card"));
    EXPECT_EQ(game->memControl[kGroupCardsMade].Active, True);
    EXPECT_EQ(game->memControl[kGroupCardsMade].Order, 2);
    EXPECT_EQ(game->memControl[kGroupCardsLeft].Active, False);
    EXPECT_EQ(game->memControl[kGroupCardsLeft].Order, 0);
    EXPECT_EQ(game->memLineWidth, 7);
    EXPECT_EQ(game->memLineColor, 255);
}

TEST_F(DefinitionTest, GroupNames) {
    const std::vector<std::pair<std::string, int16_t>> cases = {
        {"timer", 0},      {"COUNTDOWN", 1},  {"Cards Made", 2}, {"cards left", 3}, {"tries made", 4},
        {"TRIES LEFT", 5}, {" cards made", -1}, {"cardsmade", -1}, {"", -1},        {"interface", -1}};
    for (const auto& [name, group] : cases) EXPECT_EQ(frm_MemoryGame::memGroupStrToNum(name), group) << name;
}

TEST_F(DefinitionTest, DebugActsInAnySectionOfTheDefinitionFile) {
    const std::vector<std::pair<std::string, Flag>> cases = {
        {"[paths]\ndebug=1\n", True}, {"debug=-1\n", True}, {"[other]\ndebug=1\n[paths]\nDEBUG=0\n", False},
        {"[gamefiles]\ndebug=yes\n", False}};
    for (const auto& [lines, expected] : cases) {
        program.memDebug = True;  // start-up traces until the definition is read
        files["memory.ini"]->insert(0, lines);
        ASSERT_EQ(load(), std::nullopt) << lines;
        EXPECT_EQ(program.memDebug, expected) << lines;
        reset();
    }
}

TEST_F(DefinitionTest, LastValueWins) {
    files["main.ini"] = "[interface]\nbackcolor=1\nquitpicture=a.bmp\nbackcolor=2\nquitpicture=b.bmp\n"
                        "[players]\nplayers=2\ndefaultname=P \nplayers=3\n";
    files["global.ini"] = "cardsx=2\ncardsy=2\n[cards]\ncardsx=1\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memInterface.BackColor, 2);
    EXPECT_EQ(game->memInterface.QuitPicture, "b.bmp");
    EXPECT_EQ(game->memPlayers, 3);
    EXPECT_EQ(game->memPlayerDefaultName, "P");  // trailing blanks end the item
    EXPECT_EQ(game->memCardCount, 2);
}

TEST_F(DefinitionTest, NegativePlayersCountAsNone) {
    files["main.ini"] = "[players]\nplayers=-3\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memPlayers, 0);
}

TEST_F(DefinitionTest, GroupFontKeysNeedActiveAndOrderFirst) {
    files["main.ini"] =
        "[timer]\nfontname=Early\nactive=1\nfontsize=30\norder=2\nfontbold=1\nfontname=Late\n"
        "[countdown]\norder=3\nfontname=Inactive\n"
        "[tries made]\nactive=1\norder=4\nfontitalic=1\nactive=0\nfontsize=99\n";
    EXPECT_EQ(load(), std::nullopt);
    const Font& timer = *game->lbl_Control[1].font();
    EXPECT_EQ(game->memControl[kGroupTimer].Font, game->lbl_Control[1].font());
    EXPECT_EQ(timer.name, "Late");
    EXPECT_FLOAT_EQ(timer.size, 8.25f);  // before "order": no font to change
    EXPECT_TRUE(timer.bold);
    EXPECT_EQ(game->lbl_Control[2].font()->name, "MS Sans Serif");  // countdown is not active
    const Font& tries = *game->lbl_Control[3].font();
    EXPECT_TRUE(tries.italic);
    EXPECT_FLOAT_EQ(tries.size, 8.25f);  // after "active=0"
}

TEST_F(DefinitionTest, GroupOrderWithoutLabelGivesNoFont) {
    files["main.ini"] = "[timer]\nactive=1\norder=9\nfontname=Nowhere\nfontsize=20\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memControl[kGroupTimer].Order, 8);
    EXPECT_EQ(game->memControl[kGroupTimer].Font, nullptr);
    for (int16_t i = 0; i < game->lbl_Control.count(); ++i)
        EXPECT_EQ(game->lbl_Control[i].font()->name, "MS Sans Serif");
}

TEST_F(DefinitionTest, GroupSettings) {
    files["main.ini"] = "[tries left]\nactive=1\norder=6\ncondition=12\npicture=p.bmp\nforecolor=&H00FF00\n"
                        "placex=2\nplacey=1\n";
    EXPECT_EQ(load(), std::nullopt);
    const ControlGroup& group = game->memControl[kGroupTriesLeft];
    EXPECT_EQ(group.Order, 5);
    EXPECT_EQ(group.Condition, 12);
    EXPECT_EQ(group.Picture, "p.bmp");
    EXPECT_EQ(group.ForeColor, 0xFF00);
    EXPECT_EQ(group.PlaceX, 2);
    EXPECT_EQ(group.PlaceY, 1);
}

TEST_F(DefinitionTest, PlayerFontKeysNeedTheirFontFirst) {
    files["main.ini"] = "[players]\nnamefontsize=20\nnamefontbold=1\nnamefont=Serif\nnamefontitalic=1\n"
                        "scorefontsize=14\nscorefont=Mono\nscorefontsize=16\nnameforecolor=5\nscoreforecolor=6\n"
                        "dimcolor=7\npicture=pl.bmp\n";
    EXPECT_EQ(load(), std::nullopt);
    ASSERT_EQ(game->memNameFont, game->lbl_PlayerName[0].font());
    EXPECT_EQ(game->memNameFont->name, "Serif");
    EXPECT_FLOAT_EQ(game->memNameFont->size, 8.25f);
    EXPECT_FALSE(game->memNameFont->bold);
    EXPECT_TRUE(game->memNameFont->italic);
    ASSERT_EQ(game->memScoreFont, game->lbl_PlayerScore[0].font());
    EXPECT_EQ(game->memScoreFont->name, "Mono");
    EXPECT_FLOAT_EQ(game->memScoreFont->size, 16.0f);
    EXPECT_EQ(game->memNameForeColor, 5);
    EXPECT_EQ(game->memScoreForeColor, 6);
    EXPECT_EQ(game->memDimColor, 7);
    EXPECT_EQ(game->memPlayerPicture, "pl.bmp");
}

TEST_F(DefinitionTest, CardAndTextListFonts) {
    files["global.ini"] = "fontsize=30\nfontname=Caps\nfontbold=1\ncardsx=2\ncardsy=2\n"
                          "[text list]\nfontname=Early\nactive=1\nfontsize=11\nfontname=Words\nfontitalic=1\n";
    EXPECT_EQ(load(), std::nullopt);
    ASSERT_EQ(game->memCardFont, game->lbl_Card[0].font());
    EXPECT_EQ(game->memCardFont->name, "Caps");
    EXPECT_FLOAT_EQ(game->memCardFont->size, 8.25f);
    EXPECT_TRUE(game->memCardFont->bold);
    const TextList& list = game->memInterface.TextList;
    ASSERT_EQ(list.Font, game->lbl_Text[0].font());
    EXPECT_EQ(list.Font->name, "Words");
    EXPECT_FLOAT_EQ(list.Font->size, 8.25f);  // before "fontname": no font yet
    EXPECT_TRUE(list.Font->italic);
}

TEST_F(DefinitionTest, GlobalFileSettings) {
    write("sfx/turn.wav", "RIFF");
    files["global.ini"] =
        "dissapear=0\nturnsound=turn.wav\nturnsound=missing.wav\n[cards]\ncardsx=2\ncardsy=2\ncardwidth=60.5\n"
        "cardheight=70\nborder=1\nforecolor= 255 \nsamenamesound=0\npicture=back.bmp\n"
        "[text list]\nactive=-1\nforecolor=1\nselectcolor=2\ndimcolor=3\ndestroy=1\nsound=click.wav\n"
        "top=10\nleft=11\nwidth=12\nspace=13\ndissapear=5\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memDissapear, 0);
    EXPECT_EQ(game->memTurnSoundFile, "turn.wav");
    EXPECT_FLOAT_EQ(game->memCardWidth, 60.5f);
    EXPECT_FLOAT_EQ(game->memCardHeight, 70.0f);
    EXPECT_EQ(game->memCardBorder, True);
    EXPECT_EQ(game->memCardForeColor, 255);
    EXPECT_EQ(game->memCardBackFile, "back.bmp");
    const TextList& list = game->memInterface.TextList;
    EXPECT_EQ(list.Active, True);
    EXPECT_EQ(list.ForeColor, 1);
    EXPECT_EQ(list.SelectColor, 2);
    EXPECT_EQ(list.DimColor, 3);
    EXPECT_EQ(list.Destroy, True);
    EXPECT_EQ(list.Sound, "click.wav");
    EXPECT_EQ(list.Top, 10);
    EXPECT_EQ(list.Left, 11);
    EXPECT_EQ(list.Width, 12);
    EXPECT_EQ(list.Space, 13);
}

TEST_F(DefinitionTest, CardBackPictureIgnoredInAMatchGame) {
    files["memory.ini"] = *files["memory.ini"] + "[application]\n";
    files["memory.ini"]->replace(files["memory.ini"]->find("app=memory"), 10, "app=MATCH");
    files["global.ini"] = "cardsx=2\ncardsy=2\npicture=back.bmp\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memAppType, 1);
    EXPECT_EQ(game->memCardBackFile, "");
}

TEST_F(DefinitionTest, DefinitionFileSettings) {
    files["memory.ini"] = "app=memory\n[paths]\ngfx=%windows%pics\ndata=" + path("data") +
                          "\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\nlistfile=words.txt\n";
    write("data/cards.txt", "x\n");
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memPaths.Gfx, path("system") + "pics\\");
    EXPECT_EQ(game->memInterface.TextList.ListFile, "words.txt");
}

struct SplashCase {
    const char* what;
    std::string lines;
    bool shown;
    Colour colour;
    WindowState state;
};

class SplashKeys : public DefinitionTest, public testing::WithParamInterface<SplashCase> {};

TEST_P(SplashKeys, ActAtOnce) {
    files["main.ini"] = "[Splash Screen]\n" + GetParam().lines;
    ASSERT_EQ(load(), std::nullopt);
    EXPECT_EQ(program.splash_shown(), GetParam().shown);
    EXPECT_EQ(program.splash().back_color(), GetParam().colour);
    EXPECT_EQ(program.splash().window_state(), GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(
    Splash, SplashKeys,
    testing::Values(SplashCase{"Active", "active=1\n", true, kBlack, WindowState::Normal},
                    SplashCase{"ActiveWithBlanksAndPoint", " active = 1.0 \n", true, kBlack, WindowState::Normal},
                    SplashCase{"ActiveNotOne", "active=2\nactive=0\nactive=-1\n", false, kBlack, WindowState::Normal},
                    SplashCase{"ColourAndMaximized", "active=1\nbackcolor=&HFF\nwindowstate=MAXIMIZED\n", true, 255,
                               WindowState::Maximized},
                    SplashCase{"SettingsDoNotShow", "backcolor=255\nwindowstate=maximized\npicture=s.bmp\n", false,
                               255, WindowState::Maximized},
                    SplashCase{"EmptyColourAndOtherState", "backcolor=9\nbackcolor=\nwindowstate=normal\n", false, 9,
                               WindowState::Normal}),
    [](const testing::TestParamInfo<SplashCase>& info) { return std::string(info.param.what); });

TEST_F(DefinitionTest, PicturesKeysReplaceTheWholeListInFileOrder) {
    files["memory.ini"] = *files["memory.ini"] + "special=special.ini\n";
    files["main.ini"] = "[interface]\npictures=a640.bmp\tb800.bmp\tc1024.bmp\td1152.bmp\te1280.bmp\tf.bmp\n"
                        "pictures=one.bmp\t\ttwo.bmp\n";
    files["special.ini"] = "[interface]\npictures=s640.bmp\n[other]\npictures=no.bmp\n";
    game->memInterface.Pictures[5] = "kept";
    EXPECT_EQ(load(), std::nullopt);
    const std::array<std::string, 6> after_special = {"s640.bmp", "", "", "", "", "kept"};
    EXPECT_EQ(game->memInterface.Pictures, after_special);

    reset();
    files["main.ini"] = "[interface]\npictures=a640.bmp\tb800.bmp\tc1024.bmp\td1152.bmp\te1280.bmp\tf.bmp\n"
                        "pictures=one.bmp\t\ttwo.bmp\n";
    EXPECT_EQ(load(), std::nullopt);
    const std::array<std::string, 6> after_main = {"one.bmp", "", "two.bmp", "", "", ""};
    EXPECT_EQ(game->memInterface.Pictures, after_main);
}

TEST_F(DefinitionTest, CardFileFillsTheCountAndNoMore) {
    for (int lines : {25, 18}) {
        std::string content;
        for (int i = 1; i <= lines; ++i)
            content += "n" + std::to_string(i) + "\tp" + std::to_string(i) + ".bmp\tT" + std::to_string(i) + "\n";
        files["global.ini"] = "cardsx=4\ncardsy=5\n";
        files["cards.txt"] = content;
        ASSERT_EQ(load(), std::nullopt);
        EXPECT_FLOAT_EQ(game->memCardCount, 20.0f);
        ASSERT_EQ(game->memCardHolder.size(), 21u);
        EXPECT_EQ(game->memCardHolder[0].Name, "n1");
        EXPECT_EQ(game->memCardHolder[0].PictureFile, "p1.bmp");
        EXPECT_EQ(game->memCardHolder[0].Text, "T1");
        EXPECT_EQ(game->memCardHolder[17].Name, "n18");
        EXPECT_EQ(game->memCardHolder[19].Name, lines == 25 ? "n20" : "");
        EXPECT_EQ(game->memCardHolder[20].Name, "");
        EXPECT_TRUE(platform.message_boxes.empty());
        reset();
    }
}

TEST_F(DefinitionTest, CardFileLookedForInDataThenCardFolder) {
    files["cards.txt"] = std::nullopt;
    write("card/cards.txt", "fromcard\n");
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memCardHolder[0].Name, "fromcard");

    reset();
    write("card/cards.txt", "fromcard\n");
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memCardHolder[0].Name, "a");
}

TEST_F(DefinitionTest, LineEndsAndLastLineWithoutEnd) {
    for (const std::string& end : {std::string("\n"), std::string("\r\n"), std::string("\r")}) {
        files["global.ini"] = "[cards]" + end + "cardsx=2" + end + "cardsy=2" + end + "[text list]" + end + "top=5";
        files["cards.txt"] = "a\ta.bmp" + end + end + "c\tc.bmp\tC";
        ASSERT_EQ(load(), std::nullopt);
        EXPECT_FLOAT_EQ(game->memCardCount, 4.0f);
        EXPECT_EQ(game->memInterface.TextList.Top, 5);
        EXPECT_EQ(game->memCardHolder[0].PictureFile, "a.bmp");
        EXPECT_EQ(game->memCardHolder[1].Name, "");  // an empty line is an empty card
        EXPECT_EQ(game->memCardHolder[2].Text, "C");
        EXPECT_EQ(game->memCardHolder[3].Name, "");
        reset();
    }
}

TEST_F(DefinitionTest, SameNameSound) {
    write("card/dog.wav", "RIFF");
    files["memory.ini"] = *files["memory.ini"] + "debug=1\n";
    files["global.ini"] = "cardsx=3\ncardsy=1\nsamenamesound=1\n";
    files["cards.txt"] = "dog\tdog.bmp\tDog\ncat\tcat.bmp\tCat\nown\tdog.bmp\tOwn\town.wav\n";
    write("card/own.wav", "RIFF");
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memCardHolder[0].Sound, "dog.wav");
    EXPECT_EQ(game->memCardHolder[1].Sound, "");
    EXPECT_EQ(game->memCardHolder[2].Sound, "own.wav");
    EXPECT_TRUE(platform.message_boxes.empty());
    const std::string card = path("card");
    const std::vector<std::string> expected = {
        "----> memOpenINI: kortljudsame: dog.wav (" + card + "dog.wav)",
        "----> memOpenINI: kortljudsame: dog.wav (" + card + "dog.wav)",
        "----> memOpenINI: kortljudsame: cat.wav (" + card + "cat.wav)"};
    EXPECT_EQ(log_lines(), expected);
}

TEST_F(DefinitionTest, SameNameSoundOffLeavesSoundsEmptyWithoutTrace) {
    write("card/a.wav", "RIFF");
    files["memory.ini"] = *files["memory.ini"] + "debug=1\n";
    EXPECT_EQ(load(), std::nullopt);
    EXPECT_EQ(game->memCardHolder[0].Sound, "");
    EXPECT_TRUE(log_lines().empty());
}

}  // namespace
}  // namespace mem::test
