#include "board/geometry.h"

#include <gtest/gtest.h>

namespace mem {
namespace {

TEST(BoardGeometry, DerivesBoardAreaGapsAndCardPlaces) {
    struct Case {
        const char* name;
        int screen_w, screen_h;
        std::vector<int> rows_with_picture;
        float cards_x, cards_y, card_w, card_h;
        // The screen row: index, width, height; the layout: picture row, left, top, width, height; play area left,
        // top, width, height; gaps across and down.
        std::vector<int> expected;
        std::vector<int> lefts, tops;
    };
    const std::vector<int> all = {0, 1, 2, 3, 4};
    const Case cases[] = {
        {"800x600 with its own picture", 800, 600, {1}, 4, 4, 80, 80,
         {1, 800, 600, 1, 0, 0, 800, 600, 121, 16, 663, 535, 48, 29}, {169, 345, 521, 697}, {45, 183, 321, 459}},
        {"640x480 with six by four cards", 640, 480, {0}, 6, 4, 60, 80,
         {0, 640, 480, 0, 0, 0, 640, 480, 121, 16, 503, 415, 14, 12}, {135, 223, 311, 399, 487, 575},
         {28, 132, 236, 340}},
        {"1920x1080 fits 1280x1024", 1920, 1080, all, 4, 4, 80, 80,
         {4, 1280, 1024, 4, 0, 0, 1280, 1024, 121, 16, 1143, 959, 116, 90}, {}, {}},
        {"1280x720 is too low for 1024x768", 1280, 720, all, 4, 4, 80, 80,
         {1, 800, 600, 1, 0, 0, 800, 600, 121, 16, 663, 535, 48, 29}, {}, {}},
        {"a display smaller than every row measures as row 0", 600, 400, {0, 1}, 4, 4, 80, 80,
         {0, 640, 480, 0, 0, 0, 640, 480, 121, 16, 503, 415, 25, 12}, {}, {}},
        {"1024x768 falls back to the 800 board", 1024, 768, {0, 1}, 4, 4, 80, 80,
         {2, 1024, 768, 1, 112, 84, 800, 600, 121, 16, 663, 535, 48, 29}, {}, {}},
        {"no picture for any row keeps row 0", 1280, 1024, {}, 2, 2, 50, 50,
         {4, 1280, 1024, 0, 320, 272, 640, 480, 121, 16, 503, 415, 79, 62}, {}, {}},
        {"cards wider than the area overlap", 640, 480, {0}, 5, 1, 120, 80,
         {0, 640, 480, 0, 0, 0, 640, 480, 121, 16, 503, 415, -14, 82}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoardGeometryInput in{
            .screen_width_units = c.screen_w * 15, .screen_height_units = c.screen_h * 15,
            .sizes = {{{0, 640, 480}, {1, 800, 600}, {2, 1024, 768}, {3, 1152, 864}, {4, 1280, 1024}}},
            .cards_x = c.cards_x, .cards_y = c.cards_y, .card_width = c.card_w, .card_height = c.card_h};
        for (int row : c.rows_with_picture) in.pictures[static_cast<size_t>(row)] = "bk.bmp";
        const BoardGeometry out = memBoardGeometry(in);
        const Layout& l = out.layout;
        EXPECT_EQ((std::vector<int>{out.screen.Index, out.screen.Width, out.screen.Height, l.Picture, l.Left, l.Top,
                                    l.Width, l.Height, l.AreaLeft, l.AreaTop, l.AreaWidth, l.AreaHeight, l.SpaceX,
                                    l.SpaceY}),
                  c.expected);
        for (size_t i = 0; i < c.lefts.size(); ++i)
            EXPECT_EQ(memCardPlace(out.layout, c.card_w, c.card_h, 1, static_cast<int>(i) + 1).left, c.lefts[i]);
        for (size_t i = 0; i < c.tops.size(); ++i)
            EXPECT_EQ(memCardPlace(out.layout, c.card_w, c.card_h, static_cast<int>(i) + 1, 1).top, c.tops[i]);
    }
}

}  // namespace
}  // namespace mem
