#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace mem::test {
namespace {

using MakeInterface = BoardTest;

TEST_F(MakeInterface, PlacesBackgroundAndCardGridOnThe800Board) {
    game->memInterface.BackColor = 255;
    game->memCardBorder = True;
    build();
    EXPECT_EQ(game->back_color(), 255);
    EXPECT_EQ(game->pic_Background.left(), 0);
    EXPECT_EQ(game->pic_Background.width(), 800);
    ASSERT_TRUE(game->pic_Background.picture());
    EXPECT_EQ(game->pic_Background.picture()->width(), 800);
    EXPECT_FALSE(game->shp_PlayArea.visible());
    ASSERT_EQ(game->img_Card.count(), 16);
    const int lefts[] = {169, 345, 521, 697};
    const int tops[] = {45, 183, 321, 459};
    for (int16_t k = 0; k < 16; ++k) {
        const Image& card = game->img_Card[k];
        EXPECT_EQ(card.left(), lefts[k % 4]) << k;
        EXPECT_EQ(card.top(), tops[k / 4]) << k;
        EXPECT_EQ(card.width(), 80);
        EXPECT_EQ(card.height(), 80);
        EXPECT_TRUE(card.visible());
        EXPECT_TRUE(card.border());
        EXPECT_EQ(card.picture(), game->memCardBack);
        EXPECT_FALSE(game->lbl_Card[k].visible());
        // The caption is the dealt card's text even while it is hidden.
        EXPECT_EQ(game->lbl_Card[k].caption(), "C" + std::to_string(15 - k));
        EXPECT_EQ(game->lbl_Card[k].width(), 80);
        EXPECT_EQ(game->lbl_Card[k].left(), card.left());
    }
    EXPECT_TRUE(platform.message_boxes.empty());
}

TEST_F(MakeInterface, ShowsFacesAndCaptionsByGameKindAndDebugMode) {
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
        program.memDebug = to_flag(c.debug);
        build();
        for (int16_t k = 0; k < 16; ++k) {
            const PictureRef face = game->memCardHolder[static_cast<size_t>(15 - k)].Picture;
            EXPECT_EQ(game->img_Card[k].picture() == face, c.faces) << k;
            EXPECT_EQ(game->lbl_Card[k].visible(), c.captions) << k;
        }
        EXPECT_EQ(game->shp_PlayArea.visible(), c.outline);
        if (c.outline) {
            EXPECT_EQ(game->shp_PlayArea.left(), 121);
            EXPECT_EQ(game->shp_PlayArea.width(), 663);
            EXPECT_EQ(game->shp_PlayArea.height(), 535);
        }
    }
}

TEST_F(MakeInterface, LongCaptionWrapsWithinTheCard) {
    game->memCardHolder[15].Text = "a caption far longer than one card";
    build();
    const Label& caption = game->lbl_Card[0];
    EXPECT_EQ(caption.width(), 80);
    EXPECT_GT(caption.height(), game->lbl_Card[1].height());
}

TEST_F(MakeInterface, MissingPicturesAreReportedAndEverythingElseIsPlaced) {
    std::filesystem::remove(dir / "board800.bmp");
    std::filesystem::remove(dir / "player.bmp");
    game->memInterface.QuitPicture = "quit.bmp";
    game->memControl[kGroupCardsLeft] = ControlGroup{True, 2, 0, "panel.bmp", nullptr, 0, 0, 1};
    game->memPlayers = 2;
    game->memPlayer.resize(2);
    build();

    const std::string gfx = dir.string() + "/";
    // The message names the file; the continue question follows after a break.
    auto first_line = [this](size_t i) {
        const std::string& text = platform.message_boxes[i].text;
        return text.substr(0, text.find('\r'));
    };
    ASSERT_EQ(error_codes(), (std::vector<int>{100, 102, 103, 104, 104}));
    EXPECT_EQ(first_line(0), "Background picture file ''" + gfx + "board800.bmp does not exist.");
    EXPECT_EQ(first_line(1), "Control picture file ''" + gfx + "panel.bmp'' does not exist.");
    EXPECT_EQ(first_line(2), "Quit button picture file ''" + gfx + "quit.bmp'' does not exist.");
    EXPECT_EQ(first_line(3),
              "Player background picture file ''" + gfx + "player.bmp'' does not exist.");

    EXPECT_FALSE(game->pic_Background.picture());
    EXPECT_FALSE(game->img_Control[2].visible());
    EXPECT_TRUE(game->lbl_Control[2].visible());
    EXPECT_EQ(game->img_Quit.top(), 600 - (41 + 8));
    EXPECT_EQ(game->img_Player[1].top(), 600 - (25 + 8));
    EXPECT_TRUE(game->lbl_PlayerName[1].visible());
    EXPECT_EQ(game->img_Card.count(), 16);
    EXPECT_TRUE(game->img_Card[15].visible());
}

TEST_F(MakeInterface, CancelOnAMissingPictureEndsTheProgram) {
    std::filesystem::remove(dir / "board800.bmp");
    platform.answers.push_back(kAnswerCancel);
    game->memComputeBoardGeometry();
    try {
        game->memMakeInterface();
        FAIL() << "the program went on";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, kExitFailure);
    }
}

TEST_F(MakeInterface, UndecodablePictureIsReportedAsMissing) {
    std::ofstream(dir / "board800.bmp") << "not a picture";
    build();
    EXPECT_EQ(error_codes(), (std::vector<int>{100}));
}

TEST_F(MakeInterface, QuitPictureSitsAboveTheBottomAfterLoading) {
    game->memInterface.QuitPicture = "quit.bmp";
    picture("quit.bmp", 90, 60);
    build();
    EXPECT_EQ(game->img_Quit.height(), 60);
    EXPECT_EQ(game->img_Quit.top(), 600 - 68);
    EXPECT_EQ(game->img_Quit.left(), 8);
}

TEST_F(MakeInterface, TextLabelsFormOneColumn) {
    game->memInterface.TextList.Active = True;
    game->memInterface.TextList.Top = 20;
    game->memInterface.TextList.Left = 5;
    game->memInterface.TextList.Width = 100;
    game->memInterface.TextList.Space = 3;
    game->memInterface.TextList.ForeColor = 77;
    for (int i = 0; i < 16; ++i) {
        game->memInterface.TextList.Item.push_back({"T" + std::to_string(i), ""});
        game->memInterface.TextList.Display.push_back({static_cast<float>((i + 1) % 16), False});
    }
    build();
    ASSERT_EQ(game->lbl_Text.count(), 16);
    const int height = game->lbl_Text[0].height();
    for (int16_t i = 0; i < 16; ++i) {
        const Label& label = game->lbl_Text[i];
        EXPECT_EQ(label.caption(), "T" + std::to_string((i + 1) % 16));
        EXPECT_EQ(label.top(), i == 0 ? 20 : i * height + 20 + 3 * i);
        EXPECT_EQ(label.left(), 5);
        EXPECT_EQ(label.width(), 100);
        EXPECT_EQ(label.fore_color(), 77);
        EXPECT_TRUE(label.visible());
        EXPECT_TRUE(label.enabled());
    }
    EXPECT_EQ(game->lbl_Text[1].font(), game->lbl_Text[0].font());
}

}  // namespace
}  // namespace mem::test
