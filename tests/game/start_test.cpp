#include <gtest/gtest.h>

#include "board/board_fixture.h"

namespace mem::test {
namespace {

using StartOfGame = BoardTest;

TEST_F(StartOfGame, SetsTheStartStateAndDimsPlayersOneToThree) {
    game->memPlayers = 2;
    game->memPlayer.resize(2);
    game->memDimColor = 123;
    game->memNameForeColor = 1;
    game->memControl[kGroupCountdown] = ControlGroup{.Active = True, .Order = 0, .Condition = 60};
    game->memControl[kGroupTriesLeft] = ControlGroup{.Active = -2, .Order = 1, .Condition = 9};  // active but not exactly True
    game->memCardStatus = 1;
    game->memProcessing = True;
    game->memGameOver = True;
    game->memWiping = True;
    game->memCurrentPlayer = 1;
    game->memTurnedCards = 4;
    game->memLastResult = memRESULTMATCH;
    game->memMCIUpdating = True;
    game->memTextGame.CardChosen = True;
    game->memSoundLoaded = 2;
    build();
    game->memInitValues();

    EXPECT_EQ(game->memCardStatus, -1);
    EXPECT_EQ(game->memProcessing, False);
    EXPECT_EQ(game->memGameOver, False);
    EXPECT_EQ(game->memWiping, False);
    EXPECT_EQ(game->memCurrentPlayer, 0);
    EXPECT_EQ(game->memTurnedCards, 0);
    EXPECT_EQ(game->memLastResult, memRESULTNO);
    EXPECT_EQ(game->memMCIUpdating, False);
    EXPECT_EQ(game->memTextGame.CardChosen, False);
    EXPECT_EQ(game->memCardsLeft, 16);
    EXPECT_EQ(game->memSoundLoaded, -1);
    for (const PlayerRecord& player : game->memPlayer) {
        EXPECT_EQ(player.Countdown, 60);
        EXPECT_EQ(player.TriesLeft, 0);
    }
    EXPECT_EQ(game->lbl_PlayerName[0].fore_color(), 1);
    for (int16_t p = 1; p <= 3; ++p) {
        EXPECT_EQ(game->lbl_PlayerName[p].fore_color(), 123) << p;
        EXPECT_EQ(game->lbl_PlayerScore[p].fore_color(), 123) << p;
    }
    EXPECT_TRUE(game->tim_Timer.enabled());
    // The tries-left label is still written: any non-zero Active counts there.
    EXPECT_EQ(game->lbl_Control[1].caption(), "  9  ");
}

TEST_F(StartOfGame, ResetsTheDeviceThenOpensTheTurnSound) {
    struct Case {
        const char* name;
        std::string turn_sound;
        bool exists;
        std::vector<std::string> commands;
        int16_t loaded;
    };
    const Case cases[] = {
        {"turn sound present", "turn.wav", true, {"close", "close", "open"}, 0},
        {"turn sound missing", "gone.wav", false, {"close", "close"}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        game->memTurnSoundFile = c.turn_sound;
        if (c.exists) {
            // A minimal PCM wave header with no samples.
            std::ofstream out(dir / c.turn_sound, std::ios::binary);
            const unsigned char header[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                              16, 0, 0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0,
                                              2, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
            out.write(reinterpret_cast<const char*>(header), sizeof header);
        }
        build();
        platform.device_commands.clear();
        game->memInitValues();
        std::vector<std::string> commands;
        for (const DeviceCommand& d : platform.device_commands) commands.push_back(d.command);
        EXPECT_EQ(commands, c.commands);
        EXPECT_EQ(game->memSoundLoaded, c.loaded);
        EXPECT_EQ(game->memTurnSoundFile.empty(), !c.exists);
    }
}

TEST_F(StartOfGame, RestoreCardsTurnsATryBackByGameKind) {
    for (int16_t app_type : {0, 1}) {
        SCOPED_TRACE(app_type);
        SetUp();
        game->memAppType = app_type;
        build();
        for (int16_t c : {3, 9}) {
            game->memDisplayCard[static_cast<size_t>(c)].Turned = True;
            game->img_Card[c].set_enabled(false);
            game->img_Card[c].set_picture(game->memCardHolder[0].Picture);
            game->lbl_Card[c].set_visible(true);
        }
        game->memCardsTurned = {3, 9, 0};
        game->memLastResult = memRESULTNOMATCH;
        game->memRestoreCards();
        EXPECT_EQ(game->memLastResult, memRESULTNO);
        for (int16_t c : {3, 9}) {
            EXPECT_EQ(game->memDisplayCard[static_cast<size_t>(c)].Turned, False);
            EXPECT_TRUE(game->img_Card[c].enabled());
            EXPECT_TRUE(game->lbl_Card[c].enabled());
            EXPECT_EQ(game->img_Card[c].picture() == game->memCardBack, app_type == 0);
            EXPECT_EQ(game->lbl_Card[c].visible(), app_type == 1);
        }
    }
}

TEST_F(StartOfGame, RestoreInATextGameTurnsBackTheChosenCardAndText) {
    game->memInterface.TextList.Active = True;
    game->memInterface.TextList.ForeColor = 44;
    for (int i = 0; i < 16; ++i) {
        game->memInterface.TextList.Item.push_back({"T", ""});
        game->memInterface.TextList.Display.push_back({static_cast<float>(i), False});
    }
    build();
    game->memTextGame.CardIndex = 5;
    game->memTextGame.TextIndex = 7;
    game->memCardsTurned = {0, 1, 0};
    game->memDisplayCard[5].Turned = True;
    game->img_Card[5].set_enabled(false);
    game->img_Card[0].set_enabled(false);
    game->lbl_Text[7].set_fore_color(1);
    game->memRestoreCards();
    game->memRestoreText();
    EXPECT_EQ(game->memDisplayCard[5].Turned, False);
    EXPECT_TRUE(game->img_Card[5].enabled());
    EXPECT_EQ(game->img_Card[5].picture(), game->memCardBack);
    EXPECT_FALSE(game->img_Card[0].enabled());
    EXPECT_EQ(game->lbl_Text[7].fore_color(), 44);
}

}  // namespace
}  // namespace mem::test
