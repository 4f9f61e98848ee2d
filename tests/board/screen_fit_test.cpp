#include "platform/screen_fit.h"

#include <gtest/gtest.h>

namespace mem {
namespace {

// The bundled game has a background for every row: the board is the largest
// row that fits, scaled to fill the display and centred.
TEST(ScreenFit, LargestFittingBoardFillsTheDisplay) {
    struct Case {
        int display_w, display_h;
        Size board;
        Rect shown;
    };
    const Case cases[] = {
        {640, 480, {640, 480}, {0, 0, 640, 480}},
        {800, 600, {800, 600}, {0, 0, 800, 600}},
        {1024, 768, {1024, 768}, {0, 0, 1024, 768}},
        {1152, 864, {1152, 864}, {0, 0, 1152, 864}},
        {1280, 1024, {1280, 1024}, {0, 0, 1280, 1024}},
        {1920, 1080, {1280, 1024}, {285, 0, 1350, 1080}},
        {1366, 768, {1024, 768}, {171, 0, 1024, 768}},
        {1280, 800, {1024, 768}, {107, 0, 1067, 800}},
        {1280, 720, {800, 600}, {160, 0, 960, 720}},
        {2560, 1440, {1280, 1024}, {380, 0, 1800, 1440}},
        {3840, 2160, {1280, 1024}, {570, 0, 2700, 2160}},
        {600, 400, {640, 480}, {33, 0, 533, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.display_w) + "x" + std::to_string(c.display_h));
        const Size display{c.display_w, c.display_h};
        const Size row = kScreenSizes[static_cast<size_t>(largest_fitting(kScreenSizes, display))];
        EXPECT_EQ(row.width, c.board.width);
        EXPECT_EQ(row.height, c.board.height);
        const ScreenFit fit(display, Rect{0, 0, row.width, row.height});
        EXPECT_EQ(fit.board_on_display(), c.shown);
        EXPECT_EQ(fit.to_display(Rect{0, 0, row.width, row.height}), c.shown);
    }
}

// A board placed inside a larger window (a smaller row's background, centred
// on the measured screen) is what fills the display; the window around it
// scales along, and clicks map back to the board, never from the margins.
TEST(ScreenFit, MapsWindowPointsBothWays) {
    const ScreenFit fit({1024, 768}, Rect{112, 84, 800, 600});
    EXPECT_DOUBLE_EQ(fit.scale(), 1.28);
    EXPECT_EQ(fit.board_on_display(), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(fit.to_display(Rect{112 + 100, 84 + 50, 80, 80}), (Rect{128, 64, 102, 102}));
    EXPECT_EQ(fit.to_display_length(1), 1);
    EXPECT_EQ(fit.to_display_length(5), 6);

    int x = -1, y = -1;
    ASSERT_TRUE(fit.to_window(0, 0, x, y));
    EXPECT_EQ(x, 112);
    EXPECT_EQ(y, 84);
    ASSERT_TRUE(fit.to_window(1023, 767, x, y));
    EXPECT_EQ(x, 112 + 799);
    EXPECT_EQ(y, 84 + 599);

    const ScreenFit wide({1920, 1080}, Rect{0, 0, 1280, 1024});
    EXPECT_FALSE(wide.to_window(284, 500, x, y));
    EXPECT_FALSE(wide.to_window(1635, 500, x, y));
    ASSERT_TRUE(wide.to_window(285, 1079, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 1023);
    // Every window point comes back from the middle of its display rectangle.
    for (int wx : {0, 1, 639, 1279}) {
        const Rect shown = wide.to_display(Rect{wx, 7, 1, 1});
        ASSERT_TRUE(wide.to_window(shown.left + shown.width / 2, shown.top, x, y));
        EXPECT_EQ(x, wx);
        EXPECT_EQ(y, 7);
    }
}

}  // namespace
}  // namespace mem
