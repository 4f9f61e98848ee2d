#pragma once
// How a board is shown on a display of any size: scaled uniformly to fill
// it as far as its proportions allow, centred, and clicks mapped back. Pure
// computations, shared by every backend.
#include <array>

#include "platform/types.h"

namespace mem {

// The smallest rectangle holding both; an empty one adds nothing.
Rect united(const Rect& a, const Rect& b);
Rect intersected(const Rect& a, const Rect& b);

// The screen sizes that boards are made for, smallest first.
constexpr std::array<Size, 5> kScreenSizes{{{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}}};

// The index of the largest size that fits inside the display in both width
// and height; 0 when none fits. Sizes are ordered smallest first.
template <typename Sizes>
int largest_fitting(const Sizes& sizes, Size display) {
    int best = 0;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i)
        if (sizes[i].width <= display.width && sizes[i].height <= display.height) best = i;
    return best;
}

// Window coordinates (the game's pixels) to display pixels and back. The
// board rectangle fills the display as far as its proportions allow; the
// rest of the window scales with it around the board's top-left corner.
class ScreenFit {
public:
    ScreenFit() = default;
    ScreenFit(Size display, Rect board);

    double scale() const { return scale_; }
    // The board on the display.
    const Rect& board_on_display() const { return shown_; }

    int to_display_x(double x) const;
    int to_display_y(double y) const;
    // Edges are mapped one by one, so neighbouring rectangles stay neighbours.
    Rect to_display(const Rect& r) const;
    // A length such as a line width: at least one pixel.
    int to_display_length(double length) const;
    // The window point under a display pixel; false in the margins around the board.
    bool to_window(int display_x, int display_y, int& x, int& y) const;

private:
    double scale_ = 1.0;
    Rect board_{};
    Rect shown_{};
};

}  // namespace mem
