// Building the board: background, control panel, quit picture, player strip,
// card grid and text column, and the first values shown at the start.
#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace mem::test {
namespace {

using Interface = BoardTest;

ControlGroup group(int16_t order, int16_t place_x = 0, int16_t place_y = 1, std::string picture = "") {
    return ControlGroup{True, order, 0, std::move(picture), nullptr, 99, place_x, place_y};
}

TEST_F(Interface, PanelDisplaysTakeTheirSlotPlaceAndAlignment) {
    picture("panel.bmp", 100, 60);
    picture("second.bmp", 90, 50);
    game->memControl[kGroupTimer] = group(0, 1, 0, "panel.bmp");
    game->memControl[kGroupCardsLeft] = group(3, 2, 2, "panel.bmp");
    game->memControl[kGroupTriesMade] = group(4, 0, 1);
    // Two groups of one order share its display; the later group is written last.
    game->memControl[kGroupCardsMade] = group(2, 0, 1, "panel.bmp");
    game->memControl[kGroupTriesLeft] = group(2, 1, 1, "second.bmp");
    game->memControl[kGroupTriesLeft].ForeColor = 5;
    game->memControl[kGroupTriesLeft].Condition = 7;
    // Orders without a display slot, and group 6, are never shown.
    game->memControl[kGroupCountdown] = group(6, 0, 1, "missing.bmp");
    game->memControl[6] = group(1);
    game->lbl_Control[2].font()->size = 20;  // large digits get one blank either side
    build();
    EXPECT_TRUE(platform.message_boxes.empty());

    struct Expect {
        int16_t slot;
        bool picture;
        Alignment alignment;
        int top;
        Colour colour;
    };
    const Label& centred = game->lbl_Control[3];
    const Expect expects[] = {
        {0, true, Alignment::Right, 8, 99},
        {2, true, Alignment::Right, 24 + 64 * 2, 5},
        {3, true, Alignment::Centre, static_cast<int>(std::nearbyint((60 - centred.height()) / 2.0 + 8 + 64 * 3)), 99},
        {4, false, Alignment::Left, 24 + 64 * 4, 99},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.slot);
        const Label& value = game->lbl_Control[e.slot];
        EXPECT_EQ(game->img_Control[e.slot].visible(), e.picture);
        EXPECT_TRUE(value.visible());
        EXPECT_EQ(value.caption(), e.slot == 2 ? " 0 " : "  0  ");
        EXPECT_EQ(value.fore_color(), e.colour);
        // Element 0 took its picture's width; every value label follows it.
        EXPECT_EQ(std::tuple(value.width(), value.left(), value.alignment(), value.top()),
                  std::tuple(100, 8, e.alignment, e.top));
    }
    EXPECT_EQ(game->img_Control[2].width(), 90);
    for (int16_t unused : {1, 5}) {
        EXPECT_FALSE(game->img_Control[unused].visible()) << unused;
        EXPECT_FALSE(game->lbl_Control[unused].visible()) << unused;
    }

    // First values, then the refresh after a try.
    game->memInitValues();
    EXPECT_EQ(game->lbl_Control[2].caption(), " 7 ");  // tries left, written after cards made
    EXPECT_EQ(game->lbl_Control[3].caption(), "  16  ");
    EXPECT_EQ(game->lbl_Control[1].caption(), "Control");
    game->memCardsLeft = 12;
    game->memPlayer[0].TriesLeft = -1;
    game->memShowControls();
    EXPECT_EQ(game->lbl_Control[2].caption(), " -1 ");
    EXPECT_EQ(game->lbl_Control[3].caption(), "  12  ");

    // An inactive group takes no display, even where it has a slot.
    SetUp();
    game->memControl[kGroupTriesMade] = group(1, 0, 1, "panel.bmp");
    game->memControl[kGroupTriesMade].Active = False;
    build();
    EXPECT_FALSE(game->img_Control[1].visible());
    EXPECT_FALSE(game->lbl_Control[1].visible());
}

TEST_F(Interface, StartDimsPlayersOneToThreeAndSetsTheLimits) {
    game->memPlayers = 2;
    game->memPlayer.resize(2);
    game->memDimColor = 123;
    game->memNameForeColor = 1;
    game->memControl[kGroupCountdown] = ControlGroup{.Active = True, .Order = 0, .Condition = 60};
    // Active but not exactly True: the limit is not set, the first value is still shown.
    game->memControl[kGroupTriesLeft] = ControlGroup{.Active = -2, .Order = 1, .Condition = 9};
    build();
    game->memInitValues();
    for (const PlayerRecord& player : game->memPlayer) {
        EXPECT_EQ(player.Countdown, 60);
        EXPECT_EQ(player.TriesLeft, 0);
    }
    EXPECT_EQ(game->lbl_PlayerName[0].fore_color(), 1);
    for (int16_t p = 1; p <= 3; ++p) {
        EXPECT_EQ(game->lbl_PlayerName[p].fore_color(), 123) << p;
        EXPECT_EQ(game->lbl_PlayerScore[p].fore_color(), 123) << p;
    }
    EXPECT_EQ(game->memCardsLeft, 16);
    EXPECT_EQ(game->lbl_Control[1].caption(), "  9  ");
    EXPECT_TRUE(game->tim_Timer.enabled());
}

TEST_F(Interface, FacesAndCaptionsShowByGameKindAndDebugMode) {
    struct Case {
        const char* name;
        int16_t app_type;
        bool debug;
        bool faces, captions, outline;
    };
    const Case cases[] = {
        {"memory game", 0, false, false, false, false},
        {"match game", 1, false, true, true, false},
        {"memory game in debug mode", 0, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        game->memAppType = c.app_type;
        game->memCardBorder = True;
        program.memDebug = to_flag(c.debug);
        build();
        ASSERT_EQ(game->img_Card.count(), 16);
        for (int16_t k = 0; k < 16; ++k) {
            const Image& card = game->img_Card[k];
            const PictureRef face = game->memCardHolder[static_cast<size_t>(15 - k)].Picture;
            EXPECT_EQ(card.picture(), c.faces ? face : game->memCardBack) << k;
            EXPECT_TRUE(card.visible() && card.border()) << k;
            EXPECT_EQ(std::tuple(card.width(), card.height()), std::tuple(80, 80));
            // The caption is the dealt card's text even while it is hidden.
            const Label& caption = game->lbl_Card[k];
            EXPECT_EQ(caption.visible(), c.captions) << k;
            EXPECT_EQ(caption.caption(), "C" + std::to_string(15 - k));
            EXPECT_EQ(std::tuple(caption.left(), caption.width()), std::tuple(card.left(), 80));
        }
        EXPECT_EQ(game->shp_PlayArea.visible(), c.outline);
        if (c.outline) {
            EXPECT_EQ(std::tuple(game->shp_PlayArea.left(), game->shp_PlayArea.width(), game->shp_PlayArea.height()),
                      std::tuple(121, 663, 535));
        }
    }
}

TEST_F(Interface, PlacesTheDealDidNotFillStayEmpty) {
    deal(15);                                    // one position short of the 4 x 4 grid
    game->memDisplayCard[3].Reference = 40;      // past the card file
    game->memAppType = 1;
    build();
    for (int16_t k : {3, 15}) {
        EXPECT_EQ(game->img_Card[k].picture(), nullptr) << k;
        EXPECT_EQ(game->lbl_Card[k].caption(), "") << k;
    }
    EXPECT_NE(game->img_Card[4].picture(), nullptr);
}

TEST_F(Interface, MissingPicturesAreReportedAndEverythingElseIsPlaced) {
    std::filesystem::remove(dir / "player.bmp");
    std::ofstream(dir / "board800.bmp") << "not a picture";
    game->memInterface.QuitPicture = "quit.bmp";
    game->memControl[kGroupCardsLeft] = group(2, 0, 1, "panel.bmp");
    game->memPlayers = 2;
    game->memPlayer.resize(2);
    build();

    const std::string gfx = dir.string() + "/";
    auto first_line = [this](size_t i) {
        const std::string& text = platform.message_boxes[i].text;
        return text.substr(0, text.find('\r'));
    };
    ASSERT_EQ(error_codes(), (std::vector<int>{100, 102, 103, 104, 104}));
    EXPECT_EQ(first_line(0), "Background picture file ''" + gfx + "board800.bmp does not exist.");
    EXPECT_EQ(first_line(1), "Control picture file ''" + gfx + "panel.bmp'' does not exist.");
    EXPECT_EQ(first_line(2), "Quit button picture file ''" + gfx + "quit.bmp'' does not exist.");
    EXPECT_EQ(first_line(3), "Player background picture file ''" + gfx + "player.bmp'' does not exist.");
    EXPECT_FALSE(game->pic_Background.picture());
    EXPECT_FALSE(game->img_Control[2].visible());
    EXPECT_TRUE(game->lbl_Control[2].visible());
    EXPECT_EQ(game->img_Quit.top(), 600 - (41 + 8));
    EXPECT_EQ(game->img_Player[1].top(), 600 - (25 + 8));
    EXPECT_TRUE(game->lbl_PlayerName[1].visible());
    EXPECT_TRUE(game->img_Card[15].visible());

    // With its picture the quit picture sits above the bottom by its own height.
    SetUp();
    platform.message_boxes.clear();
    game->memInterface.QuitPicture = "quit.bmp";
    picture("quit.bmp", 90, 60);
    build();
    EXPECT_TRUE(platform.message_boxes.empty());
    EXPECT_EQ(std::tuple(game->img_Quit.left(), game->img_Quit.top(), game->img_Quit.height()), std::tuple(8, 532, 60));
}

// At most four slots; a slot no player uses is hidden, so that its empty
// picture takes no clicks meant for the cards beneath it.
TEST_F(Interface, PlayerStripShowsAtMostFourSlots) {
    for (int16_t players : {0, 1, 3, 5}) {
        SCOPED_TRACE(players);
        SetUp();
        game->memPlayers = players;
        game->memPlayer.resize(static_cast<size_t>(std::max<int>(players, 1)));
        for (size_t p = 0; p < game->memPlayer.size(); ++p) game->memPlayer[p].Name = "P" + std::to_string(p);
        game->memNameFont = make_font("Arial", 10);
        game->memScoreFont = make_font("Arial", 14);
        game->memNameForeColor = 11;
        game->memScoreForeColor = 22;
        build();
        EXPECT_EQ(game->memPlayers, std::max<int16_t>(players, 1));
        EXPECT_TRUE(platform.message_boxes.empty());
        for (int16_t p = 0; p < 4; ++p) {
            const bool shown = p < std::min<int>(players, 4);
            const Label& name = game->lbl_PlayerName[p];
            const Label& score = game->lbl_PlayerScore[p];
            const Image& strip = game->img_Player[p];
            EXPECT_EQ(std::tuple(name.visible(), score.visible(), strip.picture() != nullptr), std::tuple(shown, shown, shown))
                << p;
            EXPECT_EQ(strip.visible(), p < players) << p;
            if (!shown) continue;
            EXPECT_EQ(std::tuple(strip.top(), strip.height()), std::tuple(600 - 33, 33));
            EXPECT_EQ(std::tuple(name.caption(), score.caption()), std::tuple(" P" + std::to_string(p), "0 "));
            EXPECT_EQ(std::tuple(name.font(), score.font()), std::tuple(game->memNameFont, game->memScoreFont));
            EXPECT_EQ(std::tuple(name.fore_color(), score.fore_color()), std::tuple(11, 22));
            EXPECT_EQ(name.top(), static_cast<int>(std::nearbyint((33 - name.height()) / 2.0 + strip.top())));
            EXPECT_EQ(score.top(), static_cast<int>(std::nearbyint((33 - score.height()) / 2.0 + strip.top())));
            EXPECT_EQ(std::tuple(name.left(), score.left()), std::tuple(120 + 128 * p, 208 + 128 * p));
        }
    }
}

TEST_F(Interface, TextLabelsFormOneColumn) {
    TextList& list = game->memInterface.TextList;
    list.Active = True;
    list.Top = 20;
    list.Left = 5;
    list.Width = 100;
    list.Space = 3;
    list.ForeColor = 77;
    for (int i = 0; i < 16; ++i) {
        list.Item.push_back({"T" + std::to_string(i), ""});
        list.Display.push_back({static_cast<float>((i + 1) % 16), False});
    }
    build();
    ASSERT_EQ(game->lbl_Text.count(), 16);
    const int height = game->lbl_Text[0].height();
    for (int16_t i = 0; i < 16; ++i) {
        const Label& label = game->lbl_Text[i];
        EXPECT_EQ(label.caption(), "T" + std::to_string((i + 1) % 16));
        EXPECT_EQ(std::tuple(label.left(), label.top(), label.width()), std::tuple(5, i * (height + 3) + 20, 100));
        EXPECT_EQ(label.fore_color(), 77);
        EXPECT_TRUE(label.visible() && label.enabled());
        EXPECT_EQ(label.font(), game->lbl_Text[0].font());
    }
}

}  // namespace
}  // namespace mem::test
