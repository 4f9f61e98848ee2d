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

    // Slot, picture shown, alignment, top, colour. Element 0 took its
    // picture's width; every value label follows it.
    const Label& centred = game->lbl_Control[3];
    const std::tuple<int16_t, bool, Alignment, int, Colour> expects[] = {
        {0, true, Alignment::Right, 8, 99},
        {2, true, Alignment::Right, 24 + 64 * 2, 5},
        {3, true, Alignment::Centre, static_cast<int>(std::nearbyint((60 - centred.height()) / 2.0 + 8 + 64 * 3)), 99},
        {4, false, Alignment::Left, 24 + 64 * 4, 99},
    };
    for (const auto& [slot, shown, alignment, top, colour] : expects) {
        const Label& value = game->lbl_Control[slot];
        EXPECT_EQ(std::tuple(game->img_Control[slot].visible(), value.visible(), value.fore_color()),
                  std::tuple(shown, true, colour))
            << slot;
        EXPECT_EQ(std::tuple(value.caption(), value.width(), value.left(), value.alignment(), value.top()),
                  std::tuple(slot == 2 ? " 0 " : "  0  ", 100, 8, alignment, top))
            << slot;
    }
    EXPECT_EQ(game->img_Control[2].width(), 90);
    for (int16_t unused : {1, 5})
        EXPECT_FALSE(game->img_Control[unused].visible() || game->lbl_Control[unused].visible()) << unused;

    // First values, then the refresh after a try.
    game->memInitValues();
    // Tries left is written after cards made.
    const auto caption = [this](int16_t slot) { return game->lbl_Control[slot].caption(); };
    EXPECT_EQ(std::tuple(caption(1), caption(2), caption(3)), std::tuple("Control", " 7 ", "  16  "));
    game->memCardsLeft = 12;
    game->memPlayer[0].TriesLeft = -1;
    game->memShowControls();
    EXPECT_EQ(std::tuple(caption(2), caption(3)), std::tuple(" -1 ", "  12  "));

    // An inactive group takes no display, even where it has a slot.
    SetUp();
    game->memControl[kGroupTriesMade] = group(1, 0, 1, "panel.bmp");
    game->memControl[kGroupTriesMade].Active = False;
    build();
    EXPECT_FALSE(game->img_Control[1].visible() || game->lbl_Control[1].visible());
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
    for (const PlayerRecord& player : game->memPlayer)
        EXPECT_EQ(std::tuple(player.Countdown, player.TriesLeft), std::tuple(60, 0));
    EXPECT_EQ(game->lbl_PlayerName[0].fore_color(), 1);
    for (int16_t p = 1; p <= 3; ++p)
        EXPECT_EQ(std::tuple(game->lbl_PlayerName[p].fore_color(), game->lbl_PlayerScore[p].fore_color()),
                  std::tuple(123, 123));
    EXPECT_EQ(std::tuple(game->memCardsLeft, game->lbl_Control[1].caption(), game->tim_Timer.enabled()),
              std::tuple(16, "  9  ", true));
}

TEST_F(Interface, FacesAndCaptionsShowByGameKindAndDebugMode) {
    // Game kind, debug mode: faces shown, captions shown, play-area outline shown.
    const std::tuple<int16_t, bool, bool> cases[] = {{0, false, false}, {1, false, true}, {0, true, true}};
    for (const auto& [app_type, debug, shown] : cases) {
        SCOPED_TRACE(std::to_string(app_type) + (debug ? " debug" : ""));
        SetUp();
        game->memAppType = app_type;
        game->memCardBorder = True;
        program.memDebug = to_flag(debug);
        build();
        ASSERT_EQ(game->img_Card.count(), 16);
        for (int16_t k = 0; k < 16; ++k) {
            const Image& card = game->img_Card[k];
            const PictureRef face = game->memCardHolder[static_cast<size_t>(15 - k)].Picture;
            EXPECT_EQ(card.picture(), shown ? face : game->memCardBack) << k;
            EXPECT_EQ(std::tuple(card.visible(), card.border(), card.width(), card.height()),
                      std::tuple(true, true, 80, 80));
            // The caption is the dealt card's text even while it is hidden.
            const Label& caption = game->lbl_Card[k];
            EXPECT_EQ(std::tuple(caption.visible(), caption.caption(), caption.left(), caption.width()),
                      std::tuple(shown, "C" + std::to_string(15 - k), card.left(), 80));
        }
        const Shape& area = game->shp_PlayArea;
        EXPECT_EQ(area.visible(), debug);
        if (debug) {
            EXPECT_EQ(std::tuple(area.left(), area.width(), area.height()), std::tuple(121, 663, 535));
        }
    }
}

TEST_F(Interface, PlacesTheDealDidNotFillStayEmpty) {
    deal(15);                                // one position short of the 4 x 4 grid
    game->memDisplayCard[3].Reference = 40;  // past the card file
    game->memAppType = 1;
    build();
    for (int16_t k : {3, 15})
        EXPECT_EQ(std::tuple(game->img_Card[k].picture(), game->lbl_Card[k].caption()), std::tuple(nullptr, ""));
    EXPECT_NE(game->img_Card[4].picture(), nullptr);
}

TEST_F(Interface, MissingPicturesAreReportedAndEverythingElseIsPlaced) {
    std::filesystem::remove(dir / "player.bmp");
    write("board800.bmp", "not a picture");
    game->memInterface.QuitPicture = "quit.bmp";
    game->memControl[kGroupCardsLeft] = group(2, 0, 1, "panel.bmp");
    game->memPlayers = 2;
    game->memPlayer.resize(2);
    build();
    ASSERT_EQ(error_codes(), (std::vector<int>{100, 102, 103, 104, 104}));
    // The missing files are named by their full path.
    for (const auto& [box, name] : {std::pair(0, "board800.bmp"), {1, "panel.bmp"}, {2, "quit.bmp"}, {3, "player.bmp"}})
        EXPECT_NE(platform.message_boxes[box].text.find("''" + dir.string() + "/" + name), std::string::npos) << name;
    EXPECT_FALSE(game->pic_Background.picture());
    EXPECT_FALSE(game->img_Control[2].visible());
    EXPECT_TRUE(game->lbl_Control[2].visible() && game->lbl_PlayerName[1].visible() && game->img_Card[15].visible());
    EXPECT_EQ(std::tuple(game->img_Quit.top(), game->img_Player[1].top()), std::tuple(600 - (41 + 8), 600 - (25 + 8)));

    // With its picture the quit picture sits above the bottom by its own height.
    SetUp();
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
        EXPECT_EQ(std::tuple(game->memPlayers, platform.message_boxes.size()),
                  std::tuple(std::max<int16_t>(players, 1), 0u));
        for (int16_t p = 0; p < 4; ++p) {
            const bool shown = p < std::min<int>(players, 4);
            const Label& name = game->lbl_PlayerName[p];
            const Label& score = game->lbl_PlayerScore[p];
            const Image& strip = game->img_Player[p];
            EXPECT_EQ(std::tuple(name.visible(), score.visible(), strip.picture() != nullptr, strip.visible()),
                      std::tuple(shown, shown, shown, p < players))
                << p;
            if (!shown) continue;
            EXPECT_EQ(std::tuple(strip.top(), strip.height(), name.caption(), score.caption()),
                      std::tuple(600 - 33, 33, " P" + std::to_string(p), "0 "));
            EXPECT_EQ(std::tuple(name.font(), score.font(), name.fore_color(), score.fore_color()),
                      std::tuple(game->memNameFont, game->memScoreFont, 11, 22));
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
        EXPECT_EQ(std::tuple(label.caption(), label.left(), label.top(), label.width(), label.fore_color()),
                  std::tuple("T" + std::to_string((i + 1) % 16), 5, i * (height + 3) + 20, 100, 77));
        EXPECT_TRUE(label.visible() && label.enabled() && label.font() == game->lbl_Text[0].font());
    }
}

}  // namespace
}  // namespace mem::test
