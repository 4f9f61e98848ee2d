#include "board_plan.h"

#include <algorithm>
#include <vector>

#include "board/geometry.h"

namespace mem::make {
namespace {

constexpr std::array<std::array<int, 2>, kScreenRows> kSizes{{{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}}};
constexpr int kLargestSide = 480;
constexpr int kSmallestSide = 24;
// A card is at most this much longer one way than the other.
constexpr double kLongest = 1.4;

}  // namespace

int screen_width(int row) { return kSizes[row][0]; }
int screen_height(int row) { return kSizes[row][1]; }

namespace {

struct Fit {
    bool across = false, down = false;  // independent: widths decide one, heights the other
};

Fit fit(const BoardPlan& plan, int row) {
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
    // The gaps grow with the board, and with more than four cards a row the
    // last card can then run past the play area: test the far corner too.
    const CardPlace last = memCardPlace(layout, in.card_width, in.card_height, plan.cards_y, plan.cards_x);
    return {layout.SpaceX >= 0 && last.left + plan.card_width <= layout.AreaLeft + layout.AreaWidth,
            layout.SpaceY >= 0 && last.top + plan.card_height <= layout.AreaTop + layout.AreaHeight};
}

}  // namespace

bool cards_fit(const BoardPlan& plan, int row) {
    const Fit f = fit(plan, row);
    return f.across && f.down;
}

bool plan_board(int cards, BoardPlan& plan) {
    int best_area = 0;
    for (int x = 1; x <= cards; ++x) {
        if (cards % x != 0) continue;
        BoardPlan p;
        p.cards_x = x;
        p.cards_y = cards / x;
        // The widths and heights that fit the smallest board.
        std::vector<int> widths, heights;
        for (int side = kSmallestSide; side <= kLargestSide; ++side) {
            p.card_width = p.card_height = side;
            const Fit f = fit(p, 0);
            if (f.across) widths.push_back(side);
            if (f.down) heights.push_back(side);
        }
        int area = 0;
        for (int w : widths) {
            for (int h : heights) {
                if (w * h <= area || std::max(w, h) > kLongest * std::min(w, h)) continue;
                area = w * h;
                p.card_width = w;
                p.card_height = h;
            }
        }
        if (area <= best_area) continue;
        best_area = area;
        // A larger board shows the cards smaller on the same display: it is
        // offered only while they keep a sixth of its height.
        for (int row = 0; row < kScreenRows; ++row)
            p.boards[row] = row == 0 || (cards_fit(p, row) && 6 * p.card_height >= screen_height(row));
        plan = p;
    }
    return best_area > 0;
}

}  // namespace mem::make
