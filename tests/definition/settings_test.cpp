// Reading a definition set: each key into its setting, the keys whose order
// counts (fonts, splash, pictures), and the card file.
#include <array>
#include <set>
#include <tuple>

#include "app/splash_window.h"
#include "support/folder_fixtures.h"

namespace mem::test {
namespace {

using Settings = DefinitionTest;

// One set with keys of every file; the last value wins, trailing blanks end the item.
TEST_F(Settings, EachKeyReachesItsSetting) {
    files["main.ini"] =
        "[tries left]\nactive=1\norder=6\ncondition=12\npicture=p.bmp\nforecolor=&H00FF00\nplacex=2\nplacey=1\n"
        // Blanks inside the brackets belong to the section name; letter case does not count.
        "[CARDS MADE]\nACTIVE=1\nOrder=3\n[ cards left ]\nactive=1\norder=2\n[Line]\nActive=1\nWidth=7\nColor=&HFF\n"
        "[players]\nplayers=2\ndefaultname=P \nplayers=3\nnameforecolor=5\nscoreforecolor=6\ndimcolor=7\n"
        // Own names: an empty one keeps the default; a comma inside double quotes; name4 has no player here.
        "Name1=Anna\nname2=\n\"name3=Cleo, C.\"\nname4=Dora\nname5=Eve\nname=Fay\n"
        "picture=pl.bmp\n[interface]\nbackcolor=1\nquitpicture=q.bmp\n"
        // A pictures key replaces the whole list, in file order; a slot past the five stays.
        "pictures=a640.bmp\tb800.bmp\tc1024.bmp\td1152.bmp\te1280.bmp\tf.bmp\npictures=one.bmp\t\ttwo.bmp\t\t5.bmp\n";
    files["global.ini"] =
        "dissapear=0\n[cards]\ncardsx=1\ncardsy=2\ncardwidth=60.5\ncardheight=70\nborder=1\nforecolor= 255 \n"
        "samenamesound=1\npicture=back.bmp\n[text list]\nactive=-1\nforecolor=1\nselectcolor=2\ndimcolor=3\n"
        "destroy=1\nsound=click.wav\ntop=10\nleft=11\nwidth=12\nspace=13\ndissapear=5\ncardsx=9\n";
    *files["memory.ini"] += "listfile=words.txt\nDEBUG=0\n[paths]\ngfx=%windows%pics\n";
    game->memInterface.Pictures[5] = "kept";
    ASSERT_EQ(load(), std::nullopt);
    EXPECT_TRUE(platform.message_boxes.empty());
    const frm_MemoryGame& g = *game;
    const ControlGroup& c = g.memControl[kGroupTriesLeft];
    EXPECT_EQ(std::tuple(c.Active, c.Order, c.Condition, c.Picture, c.ForeColor, c.PlaceX, c.PlaceY),
              std::tuple(True, 5, 12, "p.bmp", 0xFF00, 2, 1));
    EXPECT_EQ(std::tuple(g.memControl[kGroupCardsMade].Order, g.memControl[kGroupCardsLeft].Active),
              std::tuple(2, False));
    EXPECT_EQ(std::tuple(g.memMatchLine, g.memLineWidth, g.memLineColor), std::tuple(True, 7, 255));
    EXPECT_EQ(std::tuple(g.memPlayers, g.memPlayerDefaultName, g.memPlayerPicture), std::tuple(3, "P", "pl.bmp"));
    game->memMakePlayers();
    ASSERT_EQ(g.memPlayer.size(), 4u);
    EXPECT_EQ(std::tuple(g.memPlayer[0].Name, g.memPlayer[1].Name, g.memPlayer[2].Name),
              std::tuple("Anna", "P2", "Cleo, C."));
    EXPECT_EQ(g.memPlayerNames, (std::array<std::string, 4>{"Anna", "", "Cleo, C.", "Dora"}));
    EXPECT_EQ(std::tuple(g.memNameForeColor, g.memScoreForeColor, g.memDimColor), std::tuple(5, 6, 7));
    EXPECT_EQ(std::tuple(g.memInterface.BackColor, g.memInterface.QuitPicture), std::tuple(1, "q.bmp"));
    EXPECT_EQ(g.memInterface.Pictures, (std::array<std::string, 6>{"one.bmp", "", "two.bmp", "", "5.bmp", "kept"}));
    EXPECT_EQ(std::tuple(g.memDissapear, g.memCardsX, g.memCardsY, g.memCardWidth, g.memCardHeight),
              std::tuple(0, 1.0f, 2.0f, 60.5f, 70.0f));
    EXPECT_EQ(std::tuple(g.memCardBorder, g.memCardForeColor, g.memSameNameSound, g.memCardBackFile),
              std::tuple(True, 255, True, "back.bmp"));
    const TextList& l = g.memInterface.TextList;
    EXPECT_EQ(std::tuple(l.Active, l.ForeColor, l.SelectColor, l.DimColor, l.Destroy, l.Sound, l.Top, l.Left, l.Width,
                         l.Space, l.ListFile),
              std::tuple(True, 1, 2, 3, True, "click.wav", 10, 11, 12, 13, "words.txt"));
    EXPECT_EQ(std::tuple(g.memPaths.Gfx, program.memDebug), std::tuple(path("system") + "pics\\", False));

    // Negative players count as none, which one player plays; the debug switch acts in any section; a match game
    // has no card back; unset switches are off; the special file's pictures key, in its own section only, comes last.
    SetUp();
    files["main.ini"] = "[players]\nplayers=-3\n[interface]\npictures=one.bmp\n";
    files["special.ini"] = "[interface]\npictures=s640.bmp\n[other]\npictures=no.bmp\n";
    *files["memory.ini"] += "special=special.ini\n[other]\ndebug=-1\n";
    files["memory.ini"]->replace(files["memory.ini"]->find("app=memory"), 10, "app=match");
    files["global.ini"] = "cardsx=2\ncardsy=2\npicture=back.bmp\n";
    ASSERT_EQ(load(), std::nullopt);
    game->memMakePlayers();
    EXPECT_EQ(std::tuple(game->memPlayers, game->memPlayer.size(), program.memDebug, game->memAppType,
                         game->memCardBackFile, game->memCardBorder, game->memInterface.TextList.Destroy,
                         game->memInterface.Pictures[0]),
              std::tuple(0, 2u, True, 1, "", False, False, "s640.bmp"));
}

// Font keys change the font chosen before them: a group's only after "active=1" and an "order" with a value label, the
// others only after their font-name key.
TEST_F(Settings, FontKeysChangeOnlyAFontAlreadyChosen) {
    files["main.ini"] =
        "[timer]\nfontname=Early\nactive=1\nfontsize=30\norder=2\nfontbold=1\nfontname=Late\n"
        "[countdown]\norder=3\nfontname=Inactive\n"
        "[tries made]\nactive=1\norder=4\nfontitalic=1\nactive=0\nfontsize=99\n"
        "[cards made]\nactive=1\norder=9\nfontname=Nowhere\n"
        "[players]\nnamefontsize=20\nnamefontbold=1\nnamefont=Serif\nnamefontitalic=1\n"
        "scorefontsize=14\nscorefont=Mono\nscorefontsize=16\n";
    files["global.ini"] = "fontsize=30\nfontname=Caps\nfontbold=1\ncardsx=2\ncardsy=2\n"
                          "[text list]\nfontname=Early\nactive=1\nfontsize=11\nfontname=Words\nfontitalic=1\nfontsize=12\nfontbold=1\n";
    ASSERT_EQ(load(), std::nullopt);
    auto font = [](const FontRef& f) { return std::tuple(f->name, f->size, f->bold, f->italic); };
    ASSERT_EQ(game->memControl[kGroupTimer].Font, game->lbl_Control[1].font());
    EXPECT_EQ(font(game->lbl_Control[1].font()), std::tuple("Late", 8.25f, true, false));
    EXPECT_EQ(font(game->lbl_Control[2].font()), std::tuple("MS Sans Serif", 8.25f, false, false));
    EXPECT_EQ(font(game->lbl_Control[3].font()), std::tuple("MS Sans Serif", 8.25f, false, true));
    // An order without a value label gives the group no font at all.
    EXPECT_EQ(game->memControl[kGroupCardsMade].Font, nullptr);
    for (int16_t i = 4; i < game->lbl_Control.count(); ++i)
        EXPECT_EQ(game->lbl_Control[i].font()->name, "MS Sans Serif");
    EXPECT_EQ(font(game->lbl_PlayerName[0].font()), std::tuple("Serif", 8.25f, false, true));
    EXPECT_EQ(font(game->lbl_PlayerScore[0].font()), std::tuple("Mono", 16.0f, false, false));
    EXPECT_EQ(font(game->lbl_Card[0].font()), std::tuple("Caps", 8.25f, true, false));
    EXPECT_EQ(font(game->lbl_Text[0].font()), std::tuple("Words", 12.0f, true, true));
}

// The splash keys act as they are read: lines, shown, colour, window state.
// The splash belongs to the program, which outlives each load: once shown it stays shown.
TEST_F(Settings, SplashKeysActAtOnce) {
    const std::tuple<std::string, bool, Colour, WindowState> cases[] = {
        {"backcolor=9\nbackcolor=\nwindowstate=normal\n", false, 9, WindowState::Normal},
        {"active=2\nactive=0\nactive=-1\nbackcolor=0\n", false, kBlack, WindowState::Normal},
        {" active = 1.0 \n", true, kBlack, WindowState::Normal},
        {"active=1\nbackcolor=&HFF\nwindowstate=MAXIMIZED\n", true, 255, WindowState::Maximized}};
    for (const auto& [lines, shown, colour, state] : cases) {
        files["main.ini"] = "[Splash Screen]\n" + lines;
        ASSERT_EQ(load(), std::nullopt);
        EXPECT_EQ(std::tuple(program.splash_shown(), program.splash().back_color(), program.splash().window_state()),
                  std::tuple(shown, colour, state)) << lines;
    }
    // Escape on the splash ends the program, another key does not.
    for (int16_t k : {13, 27})
        EXPECT_EQ(exit_status([&] { program.splash().Form_KeyPress(k); }), k == 27 ? std::optional(0) : std::nullopt);
}

// An empty line is an empty card; lines past the count are not read; with
// "samenamesound" a card without a sound of its own takes the wave named as its picture.
TEST_F(Settings, CardFileFillsTheCountAndNoMore) {
    for (int lines : {25, 18}) {
        SetUp();
        std::string content;
        for (int i = 1; i <= lines; ++i) {
            const std::string n = std::to_string(i);
            content += (i == 2 ? "" : "n" + n + "\tp" + n + ".bmp\tT" + n + (i == 3 ? "\town.wav" : "")) + "\r\n";
        }
        files["global.ini"] = "[cards]\rcardsx=4\rcardsy=5\rsamenamesound=1";  // no end on the last line
        // The card file is looked for in the data folder, then in the card folder.
        files["cards.txt"] = lines == 25 ? std::optional(content) : std::nullopt;
        write("card/cards.txt", lines == 25 ? "fromcard\n" : content);
        for (const char* wave : {"card/p1.wav", "card/own.wav"}) write(wave, "RIFF");
        ASSERT_EQ(load(), std::nullopt);
        const auto& cards = game->memCardHolder;
        ASSERT_EQ(cards.size(), 21u);
        EXPECT_EQ(std::tuple(cards[0].Name, cards[0].PictureFile, cards[0].Text), std::tuple("n1", "p1.bmp", "T1"));
        EXPECT_EQ(std::tuple(cards[1].Name, cards[17].Name, cards[19].Name, cards[20].Name),
                  std::tuple("", "n18", lines == 25 ? "n20" : "", ""));
        EXPECT_EQ(std::tuple(cards[0].Sound, cards[2].Sound, cards[3].Sound), std::tuple("p1.wav", "own.wav", ""));
        EXPECT_TRUE(platform.message_boxes.empty());
    }
}

// With "randompairs" each game draws its pairs from every line: whole pairs of the file, never the last odd line;
// in a text game single cards, each with the text of its own line, and a line missing from the text list is said. Over
// many seeds every pair is drawn (how evenly, and that the pairs differ, the deal's tests show).
TEST_F(Settings, RandomPairsDrawFromEveryLineOfTheCardFile) {
    std::string lines;  // card k, and in a text game text k too, is named "k"
    for (int k = 0; k < 9; ++k) lines += std::to_string(k) + "\n";
    for (const bool text_game : {false, true}) {
        std::set<std::string> drawn;
        for (uint32_t seed = 1; seed <= 24; ++seed) {
            SetUp();
            files["cards.txt"] = lines;
            files["global.ini"] =
                std::string("cardsx=2\ncardsy=2\nrandompairs=1\n") + (text_game ? "[text list]\nactive=1\n" : "");
            *files["memory.ini"] += "listfile=list.txt\n", files["list.txt"] = lines.substr(0, 16);  // none for card 8
            platform.seed = seed;
            platform.seed_from_clock();
            ASSERT_EQ(load(), std::nullopt);
            if (text_game) game->memReadTextList();
            std::vector<int> errors;
            for (size_t i = 0; i < 4; ++i) {  // entries 2j and 2j+1 hold lines 2p and 2p+1
                const std::string& card = game->memCardHolder[i].Name;
                const int line = std::stoi(card);
                drawn.insert(card);
                if (text_game && line == 8) errors = {9};
                EXPECT_TRUE(text_game ? game->memInterface.TextList.Item[i].Text == (line < 8 ? card : "")
                            : i % 2 ? line == std::stoi(game->memCardHolder[i - 1].Name) + 1 : line % 2 == 0)
                    << card << (text_game ? " in a text game" : "");
            }
            EXPECT_EQ(error_codes(), errors);
        }
        EXPECT_EQ(drawn.size(), text_game ? 9u : 8u);
    }
}

}  // namespace
}  // namespace mem::test
