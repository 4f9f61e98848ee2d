#pragma once
// How the cards lie: the grid and one card size that keep every card inside
// the play area, without overlap, on each board the game shows.
#include <array>

namespace mem::make {

constexpr int kScreenRows = 5;

struct BoardPlan {
    int cards_x = 0, cards_y = 0;
    int card_width = 0, card_height = 0;
    // The screen rows whose own board holds the cards; a screen of another
    // row shows the board of the nearest smaller row that does.
    std::array<bool, kScreenRows> boards{};
};

// The plan with the largest cards that fill the play area of the smallest
// board (640 x 480, always offered); a larger board is offered when the
// cards fit it and are at least a sixth of its height. Nothing when even
// the smallest cards do not fit.
bool plan_board(int cards, BoardPlan& plan);

// True when every card of the plan lies inside the play area of screen row
// `row`'s board with gaps of at least 0.
bool cards_fit(const BoardPlan& plan, int row);

// The screen-size table of the game: width and height of each row.
int screen_width(int row);
int screen_height(int row);

}  // namespace mem::make
