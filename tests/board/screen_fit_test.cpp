#include "platform/screen_fit.h"

#include <gtest/gtest.h>

namespace mem {
namespace {

// The board is scaled as a whole to fill the display as far as its proportions allow, and centred; clicks map back
// to the board, never from the margins. (Which board fits which display is checked with the board geometry.)
TEST(ScreenFit, BoardFillsTheDisplayAndClicksMapBack) {
    struct Case {
        Size display, board;
        Rect shown;
    };
    const Case cases[] = {
        {{1920, 1080}, {1280, 1024}, {285, 0, 1350, 1080}},  {{1280, 800}, {1024, 768}, {107, 0, 1067, 800}},
        {{600, 400}, {640, 480}, {33, 0, 533, 400}},         {{800, 800}, {800, 600}, {0, 100, 800, 600}},
    };
    for (const Case& c : cases) {
        const Rect board{0, 0, c.board.width, c.board.height};
        const ScreenFit fit(c.display, board);
        EXPECT_EQ(std::pair(fit.board_on_display(), fit.to_display(board)), std::pair(c.shown, c.shown))
            << c.display.width << "x" << c.display.height;
    }
    int x = -1, y = -1;
    const ScreenFit wide({1920, 1080}, Rect{0, 0, 1280, 1024});
    EXPECT_FALSE(wide.to_window(284, 500, x, y) || wide.to_window(1635, 500, x, y));
    // Every window point comes back from the middle of its display rectangle.
    for (int wx : {0, 1, 639, 1279}) {
        const Rect shown = wide.to_display(Rect{wx, 7, 1, 1});
        ASSERT_TRUE(wide.to_window(shown.left + shown.width / 2, shown.top, x, y));
        EXPECT_EQ(std::pair(x, y), std::pair(wx, 7));
    }
    // A board inside a larger window (a smaller row's background, centred on the measured screen) is what fills
    // the display; the window around it scales along.
    const ScreenFit fit({1024, 768}, Rect{112, 84, 800, 600});
    EXPECT_EQ(fit.board_on_display(), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(fit.to_display(Rect{112 + 100, 84 + 50, 80, 80}), (Rect{128, 64, 102, 102}));
    EXPECT_EQ(std::pair(fit.to_display_length(1), fit.to_display_length(5)), std::pair(1, 6));
    ASSERT_TRUE(fit.to_window(1023, 767, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(112 + 799, 84 + 599));
}

}  // namespace
}  // namespace mem
