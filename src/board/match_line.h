#pragma once
// Where the line that joins a matched pair runs. Pure computation, no window.
#include <cstdint>

namespace mem {

struct CardBox {
    double left = 0, top = 0, width = 0, height = 0;
};

struct LineEnds {
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The line from card `a` (the first of the try) to card `b`, between their
// facing edges and half the pen width clear of them. Cards in one row are
// joined at mid-height, cards in different rows from the middle of their
// facing horizontal edges.
LineEnds memMatchLineEnds(const CardBox& a, const CardBox& b, int pen_width);

}  // namespace mem
