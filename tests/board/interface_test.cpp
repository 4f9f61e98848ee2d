// Building the board: control panel, quit picture, player strip, card grid, text column, first values shown.
#include "support/folder_fixtures.h"

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
    game->memControl[kGroupTriesMade] = group(5, 3, 1);  // no alignment 3: the label keeps its own
    // Two groups of one order share its display; the later group is written last. That one is active but not
    // exactly True: its limit is not set, its first value is still shown.
    game->memControl[kGroupCardsMade] = group(2, 0, 1, "panel.bmp");
    game->memControl[kGroupTriesLeft] = {
        .Active = -2, .Order = 2, .Condition = 7, .Picture = "second.bmp", .ForeColor = 5, .PlaceX = 1, .PlaceY = 1};
    // Orders without a display slot, and group 6, are never shown.
    game->memControl[kGroupCountdown] = {.Active = True, .Order = 6, .Condition = 60, .Picture = "missing.bmp"};
    game->memControl[6] = group(1);
    game->lbl_Control[2].font()->size = 20;  // large digits get one blank either side
    build();
    EXPECT_TRUE(platform.message_boxes.empty());
    // Slot, picture shown, alignment, top, colour. Every value label takes element 0's picture width.
    const int centred = 223;  // the 14-pixel label in the middle of slot 3's picture, 8 + 64 x 3 down
    const std::tuple<int16_t, bool, Alignment, int, Colour> expects[] = {
        {0, true, Alignment::Right, 8, 99},        {2, true, Alignment::Right, 24 + 64 * 2, 5},
        {3, true, Alignment::Centre, centred, 99}, {5, false, Alignment::Left, 24 + 64 * 5, 99}};
    for (const auto& [slot, shown, alignment, top, colour] : expects) {
        const Label& value = game->lbl_Control[slot];
        EXPECT_EQ(std::tuple(game->img_Control[slot].visible(), value.visible(), value.fore_color(), value.caption(),
                             value.width(), value.left(), value.alignment(), value.top()),
                  std::tuple(shown, true, colour, slot == 2 ? " 0 " : "  0  ", 100, 8, alignment, top))
            << slot;
    }
    for (int16_t unused : {1, 4})
        EXPECT_FALSE(game->img_Control[unused].visible() || game->lbl_Control[unused].visible()) << unused;
    // First values (tries left is written after cards made), then the refresh after a try.
    game->memInitValues();
    const auto caption = [this](int16_t slot) { return game->lbl_Control[slot].caption(); };
    EXPECT_EQ(std::tuple(caption(1), caption(2), caption(3)), std::tuple("Control", " 7 ", "  16  "));
    EXPECT_EQ(std::tuple(game->memPlayer[0].Countdown, game->memPlayer[0].TriesLeft, game->tim_Timer.enabled()),
              std::tuple(60, 0, true));
    game->memCardsLeft = 12;
    game->memPlayer[0].TriesLeft = -1;
    game->memShowControls();
    EXPECT_EQ(std::tuple(caption(2), caption(3)), std::tuple(" -1 ", "  12  "));
    // An inactive group takes no display, even where it has a slot, and writes no value.
    SetUp();
    game->memControl[kGroupTriesMade] = {.Active = False, .Order = 1, .Picture = "back.bmp"};
    build();
    game->memShowControls();
    EXPECT_EQ(std::tuple(game->img_Control[1].visible(), game->lbl_Control[1].visible(), caption(1)),
              std::tuple(false, false, "Control"));
    // With neither the time nor the countdown shown, the clock stops at its first tick: an idle game sleeps.
    game->memControl[kGroupTimer].Active = game->memControl[kGroupCountdown].Active = False;
    game->tim_Timer_Timer();
    EXPECT_FALSE(game->tim_Timer.enabled());
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
    EXPECT_NE(platform.message_boxes[2].text.find("''" + dir.string() + "/quit.bmp"), std::string::npos);
    EXPECT_TRUE(game->lbl_Control[2].visible() && game->lbl_PlayerName[1].visible() && game->img_Card[15].visible());
    EXPECT_EQ(std::tuple(game->img_Quit.top(), game->img_Player[1].top()), std::tuple(600 - (41 + 8), 600 - (25 + 8)));
}

TEST_F(Interface, FacesAndCaptionsShowByGameKindAndDebugMode) {
    // Game kind, debug mode: faces and captions shown, play-area outline shown.
    const std::tuple<int16_t, bool, bool> cases[] = {{0, false, false}, {1, false, true}, {0, true, true}};
    for (const auto& [app_type, debug, shown] : cases) {
        SCOPED_TRACE(std::to_string(app_type) + (debug ? " debug" : ""));
        SetUp();
        game->memAppType = app_type;
        program.memDebug = to_flag(debug);
        game->memCardFont = game->lbl_Card[0].font();
        build();
        for (int16_t k : {0, 1, 15}) {
            const Image& card = game->img_Card[k];
            EXPECT_EQ(card.picture(),
                      shown ? game->memCardHolder[static_cast<size_t>(15 - k)].Picture : game->memCardBack);
            // The caption is the dealt card's text even while it is hidden, and lies on its card.
            const Label& caption = game->lbl_Card[k];
            EXPECT_EQ(std::tuple(card.visible(), caption.visible(), caption.caption(), card.width(), caption.left()),
                      std::tuple(true, shown, "C" + std::to_string(15 - k), 80, card.left()));
            EXPECT_EQ(caption.font(), game->memCardFont) << "every caption in the card font";
        }
        const Shape& area = game->shp_PlayArea;
        EXPECT_EQ(area.visible(), debug);
        if (debug) {
            EXPECT_EQ(std::tuple(area.left(), area.width(), area.height()), std::tuple(121, 663, 535));
        }
    }
    // Places the deal did not fill stay empty: one short of the grid, one past the card file.
    SetUp();
    deal(15);
    game->memDisplayCard[3].Reference = 40;
    game->memAppType = 1;
    build();
    for (int16_t k : {3, 15})
        EXPECT_EQ(std::tuple(game->img_Card[k].picture(), game->lbl_Card[k].caption()), std::tuple(nullptr, ""));
    EXPECT_NE(game->img_Card[4].picture(), nullptr);
}

TEST_F(Interface, TextLabelsFormOneColumn) {
    TextList& list = game->memInterface.TextList = {.Active = True, .Top = 20, .Left = 5, .Width = 100, .Space = 3};
    for (int i = 0; i < 16; ++i) {  // reference 16 is past the list; the last label has no slot
        list.Item.push_back({"T" + std::to_string(i), ""});
        if (i < 15) list.Display.push_back({static_cast<float>(i == 5 ? 16 : (i + 1) % 16), False});
    }
    build();
    const int height = game->lbl_Text[0].height();
    for (int16_t i = 0; i < 16; ++i) {
        const Label& label = game->lbl_Text[i];
        EXPECT_EQ(std::tuple(label.caption(), label.left(), label.top(), label.width(), label.visible()),
                  std::tuple(i == 5 || i == 15 ? "" : "T" + std::to_string((i + 1) % 16), 5, i * (height + 3) + 20, 100, true));
    }
}

}  // namespace
}  // namespace mem::test
