#include "board_plan.h"

#include <algorithm>

#include "board/geometry.h"

namespace mem::make {
namespace {

constexpr int kSizes[kScreenRows][2] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}};
constexpr int kLargestSide = 180;
constexpr int kSmallestSide = 24;
// A card is at most this much longer one way than the other.
constexpr double kLongest = 1.4;

}  // namespace

int screen_width(int row) { return kSizes[row][0]; }
int screen_height(int row) { return kSizes[row][1]; }

bool cards_fit(const BoardPlan& plan, int row) {
    // The game's own geometry on a screen of the row's size, with a board for every row.
    BoardGeometryInput in;
    for (int r = 0; r < kScreenRows; ++r) {
        in.sizes[r].Index = static_cast<int16_t>(r);
        in.sizes[r].Width = static_cast<int16_t>(kSizes[r][0]);
        in.sizes[r].Height = static_cast<int16_t>(kSizes[r][1]);
        in.pictures[r] = "board";
    }
    in.screen_width_units = kSizes[row][0] * in.units_per_pixel;
    in.screen_height_units = kSizes[row][1] * in.units_per_pixel;
    in.cards_x = static_cast<float>(plan.cards_x);
    in.cards_y = static_cast<float>(plan.cards_y);
    in.card_width = static_cast<float>(plan.card_width);
    in.card_height = static_cast<float>(plan.card_height);
    const Layout layout = memBoardGeometry(in).layout;
    if (layout.SpaceX < 0 || layout.SpaceY < 0) return false;
    // The gaps grow with the board, and with more than four cards a row the
    // last card can then run past the play area: test the far corner.
    const CardPlace last = memCardPlace(layout, in.card_width, in.card_height, plan.cards_y, plan.cards_x);
    return last.left + plan.card_width <= layout.AreaLeft + layout.AreaWidth &&
           last.top + plan.card_height <= layout.AreaTop + layout.AreaHeight;
}

bool plan_board(int cards, BoardPlan& plan) {
    bool found = false;
    int best_boards = 0, best_area = 0;
    for (int x = 1; x <= cards; ++x) {
        if (cards % x != 0) continue;
        BoardPlan p;
        p.cards_x = x;
        p.cards_y = cards / x;
        auto fits_small = [&](int w, int h) {
            p.card_width = w;
            p.card_height = h;
            return cards_fit(p, 0);
        };
        int side = kLargestSide;
        while (side >= kSmallestSide && !fits_small(side, side)) --side;
        if (side < kSmallestSide) continue;
        // Longer one way where the board has room.
        const int longest = std::min(static_cast<int>(side * kLongest), kLargestSide);
        int w = side, h = side;
        while (w < longest && fits_small(w + 1, h)) ++w;
        while (h < longest && fits_small(w, h + 1)) ++h;
        p.card_width = w;
        p.card_height = h;
        int boards = 0;
        for (int row = 0; row < kScreenRows; ++row) boards += (p.boards[row] = cards_fit(p, row)) ? 1 : 0;
        const int area = p.card_width * p.card_height;
        if (!found || boards > best_boards || (boards == best_boards && area > best_area)) {
            found = true;
            best_boards = boards;
            best_area = area;
            plan = p;
        }
    }
    return found;
}

}  // namespace mem::make
