// Rules without a window: where the keyboard focus goes (along rows and columns of the board, skipping cards that
// cannot be turned, wrapping at the edges; through the text column; when the frame would cover a face) and the
// 16-bit counters.
#include <gtest/gtest.h>

#include <string>

#include "game/focus.h"
#include "game/records.h"

namespace mem {
namespace {

// A board drawn as text, one string per row: 'o' a turnable card, 'x' one that cannot be turned (taken or in hand).
std::vector<FocusCell> board(const std::vector<std::string>& rows) {
    std::vector<FocusCell> cells;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            cells.push_back({static_cast<int>(c), static_cast<int>(r), rows[r][c] == 'o'});
    return cells;
}

TEST(Focus, MovesToTheNearestTurnableCardInTheDirection) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        int from;
        FocusMove move;
        int expected;
    } cases[] = {
        {"right along the row", {"oooo", "oooo"}, 0, FocusMove::Right, 1},
        {"down the column", {"oooo", "oooo"}, 1, FocusMove::Down, 5},
        {"left along the row", {"oooo", "oooo"}, 6, FocusMove::Left, 5},
        {"up the column", {"oooo", "oooo"}, 6, FocusMove::Up, 2},
        {"skips taken cards", {"oxxo", "oooo"}, 0, FocusMove::Right, 3},
        {"wraps at the right edge", {"oooo", "oooo"}, 3, FocusMove::Right, 0},
        {"wraps at the left edge", {"oooo", "oooo"}, 4, FocusMove::Left, 7},
        {"wraps at the bottom", {"oooo", "oooo"}, 5, FocusMove::Down, 1},
        {"wraps at the top, past taken cards", {"oxoo", "oxoo", "oooo"}, 1, FocusMove::Up, 9},
        {"wraps skipping taken cards", {"xooo", "oooo"}, 3, FocusMove::Right, 1},
        {"the nearest row ahead when its own row has none", {"oxxx", "xxxo"}, 0, FocusMove::Right, 7},
        {"its own row wins over a nearer card in another", {"oxxo", "xoxx"}, 0, FocusMove::Right, 3},
        {"from a card that has left the board", {"oxoo"}, 1, FocusMove::Right, 2},
        {"stays when no other card can be turned", {"xxox"}, 2, FocusMove::Left, 2},
        {"the row above wins a tie with the row below", {"xxo", "oxx", "xxo"}, 3, FocusMove::Right, 2},
        {"nothing to move from: the top left", {"xooo", "oooo"}, -1, FocusMove::Down, 1},
        {"a position past the board: the top left", {"xooo", "oooo"}, 8, FocusMove::Down, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(focus_next_cell(board(c.rows), c.from, c.move), c.expected) << c.what;
    // The first focus is the turnable card nearest a point; ties go to the upper card.
    EXPECT_EQ(focus_nearest_cell(board({"oooo", "oooo"}), 0, 0), 0);
    EXPECT_EQ(focus_nearest_cell(board({"xooo", "oooo"}), 0, 0), 1);
    EXPECT_EQ(focus_nearest_cell(board({"xxxx", "xooo"}), 0, 0), 5);
    EXPECT_EQ(focus_nearest_cell(board({"xxxx", "xxxx"}), 0, 0), -1);
    EXPECT_EQ(focus_nearest_cell(board({"oxxo", "xxxx"}), 2, 1), 3);
}

TEST(Focus, TextColumnMovesThroughChoosableTexts) {
    const std::vector<bool> column{true, false, true, true, false};
    struct Case {
        int from, step, expected;
    } cases[] = {
        {-1, 1, 0}, {-1, -1, 3}, {0, 1, 2}, {2, -1, 0}, {3, 1, 0}, {0, -1, 3}, {1, 1, 2}, {4, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(focus_next_text(column, c.from, c.step), c.expected) << c.from << " step " << c.step;
    EXPECT_EQ(focus_next_text({false, true, false}, 1, 1), 1);
    EXPECT_EQ(focus_next_text({false, false}, 0, 1), -1);
    EXPECT_EQ(focus_next_text({}, -1, 1), -1);
}

TEST(Focus, FrameCoversAFaceOnlyWhereItReachesIt) {
    const FocusRect card{100, 100, 60, 60}, frame{96, 96, 68, 68};
    struct Case {
        const char* what;
        FocusRect face;
        bool covered;
    } cases[] = {
        {"the framed card itself", card, false},
        {"a neighbour with a wide gap", {180, 100, 60, 60}, false},
        {"a neighbour two pixels away", {162, 100, 60, 60}, true},
        {"a neighbour just beyond the frame", {164, 100, 60, 60}, false},
        {"a neighbour just below the frame", {100, 164, 60, 60}, false},
        {"an overlapping card", {140, 140, 60, 60}, true},
        {"a neighbour shrunk flat", {162, 130, 60, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(focus_frame_covers(frame, card, c.face), c.covered) << c.what;
}

// A counter stepped past the 16-bit range stops at its end instead of wrapping round.
TEST(Counters, StopAtTheEndsOfTheRange) {
    int16_t high = 32766, low = -32767;
    memIncrease(high, 5);
    memDecrease(low, 5);
    EXPECT_EQ(std::tuple(high, low), std::tuple(int16_t{32767}, int16_t{-32768}));
}

}  // namespace
}  // namespace mem
