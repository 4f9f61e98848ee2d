#include "platform/screen_fit.h"

#include <gtest/gtest.h>

namespace mem {
namespace {

// With a background for every row, the board is the largest row that fits
// in both width and height (row 0 when none fits), scaled as a whole to fill
// the display and centred.
TEST(ScreenFit, LargestFittingBoardFillsTheDisplay) {
    struct Case {
        Size display, board;
        Rect shown;
    };
    const Case cases[] = {
        {{640, 480}, {640, 480}, {0, 0, 640, 480}},          {{1280, 1024}, {1280, 1024}, {0, 0, 1280, 1024}},
        {{1920, 1080}, {1280, 1024}, {285, 0, 1350, 1080}},  {{1366, 768}, {1024, 768}, {171, 0, 1024, 768}},
        {{1280, 800}, {1024, 768}, {107, 0, 1067, 800}},     {{1280, 720}, {800, 600}, {160, 0, 960, 720}},
        {{3840, 2160}, {1280, 1024}, {570, 0, 2700, 2160}},  {{600, 400}, {640, 480}, {33, 0, 533, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.display.width) + "x" + std::to_string(c.display.height));
        const Size row = kScreenSizes[static_cast<size_t>(largest_fitting(kScreenSizes, c.display))];
        EXPECT_EQ(std::tuple(row.width, row.height), std::tuple(c.board.width, c.board.height));
        const ScreenFit fit(c.display, Rect{0, 0, row.width, row.height});
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
    EXPECT_EQ(std::pair(fit.to_display_length(1), fit.to_display_length(5)), std::pair(1, 6));
    int x = -1, y = -1;
    ASSERT_TRUE(fit.to_window(1023, 767, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(112 + 799, 84 + 599));

    const ScreenFit wide({1920, 1080}, Rect{0, 0, 1280, 1024});
    EXPECT_FALSE(wide.to_window(284, 500, x, y));
    EXPECT_FALSE(wide.to_window(1635, 500, x, y));
    // Every window point comes back from the middle of its display rectangle.
    for (int wx : {0, 1, 639, 1279}) {
        const Rect shown = wide.to_display(Rect{wx, 7, 1, 1});
        ASSERT_TRUE(wide.to_window(shown.left + shown.width / 2, shown.top, x, y));
        EXPECT_EQ(std::pair(x, y), std::pair(wx, 7));
    }
}

}  // namespace
}  // namespace mem
