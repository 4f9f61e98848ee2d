// memSetDefaultValues and memFixVariabels on the headless backend.
#include <fstream>

#include "../board/board_fixture.h"

namespace mem::test {
namespace {

class FixVariables : public BoardTest {
protected:
    void file(const std::string& name, const std::string& text = "x") {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    std::string lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "T" + std::to_string(i) + "\ts" + std::to_string(i) + "\r\n";
        return text;
    }
};

TEST_F(FixVariables, DefaultValues) {
    game->memAppType = 1;
    game->memDissapear = 0;
    game->memMatchLine = True;
    game->memResultSounds = True;
    game->memInterface.MatchSound = "m.wav";
    game->memInterface.TextList.Active = True;
    game->memSetDefaultValues();
    EXPECT_EQ(game->memAppType, 0);
    EXPECT_EQ(game->memDissapear, 2);
    EXPECT_EQ(game->memMatchLine, False);
    EXPECT_EQ(game->memResultSounds, False);
    EXPECT_EQ(game->memInterface.MatchSound, "");
    EXPECT_EQ(game->memInterface.TextList.Active, False);
}

TEST_F(FixVariables, PlayerRecords) {
    struct Case { int16_t players; int16_t kept; std::vector<std::string> names; size_t records; };
    const Case cases[] = {
        {3, 3, {"Player 1", "Player 2", "Player 3"}, 4},
        {0, 0, {"Player 1"}, 2},
        {-2, 0, {"Player 1"}, 2},
        {6, 6, {"Player 1", "Player 2", "Player 3", "Player 4", "Player 5", "Player 6"}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.players);
        game->memPlayers = c.players;
        game->memPlayerDefaultName = "Player ";
        game->memMakePlayers();
        EXPECT_EQ(game->memPlayers, c.kept);
        ASSERT_EQ(game->memPlayer.size(), c.records);
        for (size_t p = 0; p < c.names.size(); ++p) {
            EXPECT_EQ(game->memPlayer[p].Name, c.names[p]);
            EXPECT_EQ(game->memPlayer[p].Out, False);
        }
    }
}

TEST_F(FixVariables, ResultSounds) {
    file("match.wav");
    file("nomatch.wav");
    struct Case { std::string match, nomatch; Flag result; std::vector<int> errors; };
    const Case cases[] = {
        {"match.wav", "", True, {}},
        {"match.wav", "nomatch.wav", True, {}},
        {"match.wav", "gone.wav", False, {206}},
        {"gone.wav", "", False, {205}},
        {"", "", False, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.match + "/" + c.nomatch);
        platform.message_boxes.clear();
        game->memSetDefaultValues();
        game->memInterface.MatchSound = c.match;
        game->memInterface.NoMatchSound = c.nomatch;
        game->memFixResultSounds();
        EXPECT_EQ(game->memResultSounds, c.result);
        EXPECT_EQ(error_codes(), c.errors);
    }
}

TEST_F(FixVariables, TextListLengthAndLookupOrder) {
    std::filesystem::create_directories(dir / "card");
    std::filesystem::create_directories(dir / "data");
    game->memPaths.Card = (dir / "card").string() + "/";
    game->memPaths.Data = (dir / "data").string() + "/";
    game->memCardCount = 20;
    game->memInterface.TextList.Active = True;
    game->memInterface.TextList.ListFile = "list.txt";

    std::ofstream(dir / "data" / "list.txt", std::ios::binary) << lines(19);
    game->memReadTextList();
    EXPECT_EQ(error_codes(), std::vector<int>{9});
    EXPECT_EQ(game->memInterface.TextList.Item[18].Text, "T18");
    EXPECT_EQ(game->memInterface.TextList.Item[19].Text, "");

    platform.message_boxes.clear();
    std::ofstream(dir / "card" / "list.txt", std::ios::binary) << lines(25);
    game->memReadTextList();
    EXPECT_TRUE(error_codes().empty());
    ASSERT_EQ(game->memInterface.TextList.Item.size(), 20u);
    EXPECT_EQ(game->memInterface.TextList.Item[19].Text, "T19");
    EXPECT_EQ(game->memInterface.TextList.Item[19].Sound, "s19");
    EXPECT_EQ(game->memInterface.TextList.Display.size(), 20u);
}

TEST_F(FixVariables, CancelOnShortListEndsTheProgram) {
    game->memPaths.Card = dir.string() + "/";
    game->memCardCount = 4;
    game->memInterface.TextList.Active = True;
    game->memInterface.TextList.ListFile = "list.txt";
    file("list.txt", lines(2));
    platform.answers.push_back(kAnswerCancel);
    EXPECT_THROW(game->memReadTextList(), ProgramEnded);
}

TEST_F(FixVariables, CardPicturesMissingAndLoadedOnce) {
    game->memPaths.Card = dir.string() + "/";
    game->memCardBackFile = "noback.bmp";
    picture("f0.bmp", 10, 10);
    game->memCardHolder.assign(3, CardDefinition{});
    game->memCardCount = 3;
    game->memCardHolder[0].PictureFile = "f0.bmp";
    game->memCardHolder[1].PictureFile = "";
    game->memCardHolder[2].PictureFile = "gone.bmp";
    game->memCardBack = nullptr;
    game->memLoadCardPictures();
    EXPECT_EQ(error_codes(), (std::vector<int>{101, 105}));
    EXPECT_EQ(game->memCardBack, nullptr);
    ASSERT_NE(game->memCardHolder[0].Picture, nullptr);
    EXPECT_EQ(game->memCardHolder[1].Picture, nullptr);
    EXPECT_EQ(game->memCardHolder[2].Picture, nullptr);
    // Removing the file afterwards does not matter: the picture is kept.
    const PictureRef kept = game->memCardHolder[0].Picture;
    std::filesystem::remove(dir / "f0.bmp");
    game->memDealCards();
    EXPECT_EQ(game->memCardHolder[0].Picture, kept);

    platform.answers.push_back(kAnswerCancel);
    EXPECT_THROW(game->memLoadCardPictures(), ProgramEnded);
}

TEST_F(FixVariables, CheckValuesClearsMissingSounds) {
    file("good.wav");
    game->memInterface.EndGoodSound = "good.wav";
    game->memInterface.EndBadSound = "";
    game->memTurnSoundFile = "gone.wav";
    game->memInterface.TextList.Active = True;
    game->memInterface.TextList.Sound = "click.wav";
    EXPECT_TRUE(game->memCheckValues());
    EXPECT_EQ(error_codes(), (std::vector<int>{201, 202, 204}));
    EXPECT_EQ(platform.message_boxes[0].text.rfind("''End (bad) sound'' wave file ''" + dir.string() + "/ does not exist.", 0), 0u);
    EXPECT_EQ(game->memInterface.EndGoodSound, "good.wav");
    EXPECT_EQ(game->memTurnSoundFile, "");
    EXPECT_EQ(game->memInterface.TextList.Sound, "");
}

TEST_F(FixVariables, FixVariabelsDealsEveryCardOnce) {
    game->memPaths.Card = dir.string() + "/";
    game->memCardBackFile = "";
    game->memPlayerDefaultName = "P";
    EXPECT_TRUE(game->memFixVariabels());
    ASSERT_EQ(game->memDisplayCard.size(), 17u);
    std::vector<int> seen(16, 0);
    for (int i = 0; i < 16; ++i) seen[static_cast<size_t>(game->memDisplayCard[static_cast<size_t>(i)].Reference)]++;
    EXPECT_EQ(seen, std::vector<int>(16, 1));
    EXPECT_EQ(game->memPlayer[0].Name, "P1");
}

}  // namespace
}  // namespace mem::test
