#include "board/geometry.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace mem {
namespace {

std::array<ScreenSize, 6> table() {
    return {ScreenSize{0, 640, 480}, ScreenSize{1, 800, 600}, ScreenSize{2, 1024, 768},
            ScreenSize{3, 1152, 864}, ScreenSize{4, 1280, 1024}, ScreenSize{}};
}

struct GeometryCase {
    const char* name;
    int screen_w, screen_h;
    std::vector<int> rows_with_picture;
    float cards_x, cards_y, card_w, card_h;
    CurrentScreen screen;
    Layout layout;
    std::vector<int> lefts, tops;
};

TEST(BoardGeometry, DerivesBoardAreaGapsAndCardPlaces) {
    const GeometryCase cases[] = {
        {"800x600 with its own picture", 800, 600, {1}, 4, 4, 80, 80,
         {1, 800, 600}, {1, 0, 0, 800, 600, 121, 16, 663, 535, 48, 29},
         {169, 345, 521, 697}, {45, 183, 321, 459}},
        {"640x480 with six by four cards", 640, 480, {0}, 6, 4, 60, 80,
         {0, 640, 480}, {0, 0, 0, 640, 480, 121, 16, 503, 415, 14, 12},
         {135, 223, 311, 399, 487, 575}, {28, 132, 236, 340}},
        {"1920x1080 fits 1280x1024", 1920, 1080, {0, 1, 2, 3, 4}, 4, 4, 80, 80,
         {4, 1280, 1024}, {4, 0, 0, 1280, 1024, 121, 16, 1143, 959, 116, 90}, {}, {}},
        {"1366x768 fits 1024x768", 1366, 768, {0, 1, 2, 3, 4}, 4, 4, 80, 80,
         {2, 1024, 768}, {2, 0, 0, 1024, 768, 121, 16, 887, 703, 80, 53}, {}, {}},
        {"1280x720 is too low for 1024x768", 1280, 720, {0, 1, 2, 3, 4}, 4, 4, 80, 80,
         {1, 800, 600}, {1, 0, 0, 800, 600, 121, 16, 663, 535, 48, 29}, {}, {}},
        {"a display smaller than every row measures as row 0", 600, 400, {0, 1}, 4, 4, 80, 80,
         {0, 640, 480}, {0, 0, 0, 640, 480, 121, 16, 503, 415, 25, 12}, {}, {}},
        {"1024x768 falls back to the 800 board", 1024, 768, {0, 1}, 4, 4, 80, 80,
         {2, 1024, 768}, {1, 112, 84, 800, 600, 121, 16, 663, 535, 48, 29},
         {}, {}},
        {"no picture for any row keeps row 0", 1280, 1024, {}, 2, 2, 50, 50,
         {4, 1280, 1024}, {0, 320, 272, 640, 480, 121, 16, 503, 415, 79, 62},
         {}, {}},
        {"cards wider than the area overlap", 640, 480, {0}, 5, 1, 120, 80,
         {0, 640, 480}, {0, 0, 0, 640, 480, 121, 16, 503, 415, -14, 82},
         {}, {}},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(c.name);
        BoardGeometryInput in;
        in.screen_width_units = c.screen_w * 15;
        in.screen_height_units = c.screen_h * 15;
        in.sizes = table();
        for (int row : c.rows_with_picture) in.pictures[static_cast<size_t>(row)] = "bk.bmp";
        in.cards_x = c.cards_x;
        in.cards_y = c.cards_y;
        in.card_width = c.card_w;
        in.card_height = c.card_h;
        const BoardGeometry out = memBoardGeometry(in);
        const CurrentScreen& s = out.screen;
        EXPECT_EQ(std::tuple(s.Index, s.Width, s.Height), std::tuple(c.screen.Index, c.screen.Width, c.screen.Height));
        const Layout& l = out.layout;
        const Layout& e = c.layout;
        EXPECT_EQ(std::tuple(l.Picture, l.Left, l.Top, l.Width, l.Height), std::tuple(e.Picture, e.Left, e.Top, e.Width, e.Height));
        EXPECT_EQ(std::tuple(l.AreaLeft, l.AreaTop, l.AreaWidth, l.AreaHeight, l.SpaceX, l.SpaceY),
                  std::tuple(e.AreaLeft, e.AreaTop, e.AreaWidth, e.AreaHeight, e.SpaceX, e.SpaceY));
        for (size_t i = 0; i < c.lefts.size(); ++i)
            EXPECT_EQ(memCardPlace(l, c.card_w, c.card_h, 1, static_cast<int>(i) + 1).left, c.lefts[i]);
        for (size_t i = 0; i < c.tops.size(); ++i)
            EXPECT_EQ(memCardPlace(l, c.card_w, c.card_h, static_cast<int>(i) + 1, 1).top, c.tops[i]);
    }
}

TEST(BoardGeometry, PlayAreaFollowsTheDesignedPanelAndPlayerSizes) {
    BoardGeometryInput in;
    in.screen_width_units = 800 * 15;
    in.screen_height_units = 600 * 15;
    in.sizes = table();
    in.pictures[1] = "bk.bmp";
    in.control_left = 10;
    in.control_width = 100;
    in.player_height = 40;
    in.cards_x = 1;
    in.cards_y = 1;
    in.card_width = 10;
    in.card_height = 10;
    const Layout l = memBoardGeometry(in).layout;
    EXPECT_EQ(std::tuple(l.AreaLeft, l.AreaWidth, l.AreaHeight), std::tuple(126, 800 - 126 - 16, 600 - 40 - 40));
}

}  // namespace
}  // namespace mem
