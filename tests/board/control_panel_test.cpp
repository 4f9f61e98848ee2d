#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace mem::test {
namespace {

using ControlPanel = BoardTest;

ControlGroup group(int16_t order, int16_t place_x = 0, int16_t place_y = 1, std::string picture = "") {
    ControlGroup g;
    g.Active = True;
    g.Order = order;
    g.Picture = std::move(picture);
    g.ForeColor = 99;
    g.PlaceX = place_x;
    g.PlaceY = place_y;
    return g;
}

TEST_F(ControlPanel, DisplaysTakeTheirSlotPlaceAndAlignment) {
    picture("panel.bmp", 100, 60);
    game->memControl[kGroupTimer] = group(0, 1, 0, "panel.bmp");
    game->memControl[kGroupCardsLeft] = group(3, 2, 2, "panel.bmp");
    game->memControl[kGroupTriesMade] = group(4, 0, 1);
    build();
    EXPECT_TRUE(platform.message_boxes.empty());

    struct Expect {
        int16_t slot;
        bool picture;
        Alignment alignment;
        int top;
    };
    const Label& centred = game->lbl_Control[3];
    const Expect expects[] = {
        {0, true, Alignment::Right, 8},
        {3, true, Alignment::Centre, static_cast<int>(std::nearbyint((60 - centred.height()) / 2.0 + 8 + 64 * 3))},
        {4, false, Alignment::Left, 24 + 64 * 4},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.slot);
        const Label& value = game->lbl_Control[e.slot];
        EXPECT_EQ(game->img_Control[e.slot].visible(), e.picture);
        EXPECT_TRUE(value.visible());
        EXPECT_EQ(value.caption(), "  0  ");
        EXPECT_EQ(value.fore_color(), 99);
        EXPECT_FALSE(value.auto_size());
        // Element 0 took its picture's width; every label follows it.
        EXPECT_EQ(value.width(), 100);
        EXPECT_EQ(value.alignment(), e.alignment);
        EXPECT_EQ(value.top(), e.top);
        EXPECT_EQ(value.left(), 8);
    }
    for (int16_t unused : {1, 2, 5}) {
        EXPECT_FALSE(game->img_Control[unused].visible()) << unused;
        EXPECT_FALSE(game->lbl_Control[unused].visible()) << unused;
    }
}

TEST_F(ControlPanel, GroupsWithoutASlotAreNotShown) {
    game->memControl[kGroupCardsMade] = group(6, 0, 1, "missing.bmp");
    game->memControl[kGroupTriesLeft] = group(-1, 0, 1, "missing.bmp");
    game->memControl[6] = group(1);
    build();
    EXPECT_TRUE(platform.message_boxes.empty());
    for (int16_t o = 0; o < 6; ++o) EXPECT_FALSE(game->lbl_Control[o].visible()) << o;
    game->memInitValues();
    game->memShowControls();
    for (int16_t o = 0; o < 6; ++o) EXPECT_EQ(game->lbl_Control[o].caption(), "Control") << o;
}

TEST_F(ControlPanel, FirstValuesAndRefreshArePadded) {
    game->memControl[kGroupCardsLeft] = group(0);
    game->memControl[kGroupTriesLeft] = group(1);
    game->memControl[kGroupTriesLeft].Condition = 7;
    game->memControl[kGroupCardsMade] = group(2);
    game->lbl_Control[1].font()->size = 20;
    build();
    game->memInitValues();
    EXPECT_EQ(game->lbl_Control[0].caption(), "  16  ");
    EXPECT_EQ(game->lbl_Control[1].caption(), " 7 ");
    EXPECT_EQ(game->lbl_Control[2].caption(), "  0  ");
    EXPECT_EQ(game->memPlayer[0].TriesLeft, 7);

    game->memCardsLeft = 12;
    game->memPlayer[0].TriesLeft = -1;
    game->memPlayer[0].CardsMade = 4;
    game->memShowControls();
    EXPECT_EQ(game->lbl_Control[0].caption(), "  12  ");
    EXPECT_EQ(game->lbl_Control[1].caption(), " -1 ");
    EXPECT_EQ(game->lbl_Control[2].caption(), "  4  ");
}

TEST_F(ControlPanel, GroupsSharingAnOrderShareOneDisplay) {
    picture("first.bmp", 100, 60);
    picture("second.bmp", 90, 50);
    game->memControl[kGroupCardsMade] = group(2, 0, 1, "first.bmp");
    game->memControl[kGroupCardsLeft] = group(2, 1, 1, "second.bmp");
    game->memControl[kGroupCardsLeft].ForeColor = 5;
    build();
    EXPECT_EQ(game->img_Control[2].width(), 90);
    EXPECT_EQ(game->lbl_Control[2].alignment(), Alignment::Right);
    EXPECT_EQ(game->lbl_Control[2].fore_color(), 5);
    game->memInitValues();
    // Cards left is written after cards made.
    EXPECT_EQ(game->lbl_Control[2].caption(), "  16  ");
    game->memPlayer[0].CardsMade = 2;
    game->memCardsLeft = 14;
    game->memShowControls();
    EXPECT_EQ(game->lbl_Control[2].caption(), "  14  ");
}

}  // namespace
}  // namespace mem::test
