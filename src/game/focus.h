#pragma once
// Where the keyboard focus goes next. Pure computations on the board's grid
// and the text column, no window.
#include <cstdint>
#include <vector>

namespace mem {

enum class FocusMove { Left, Right, Up, Down };

// A board position as the focus sees it: its grid cell and whether it can
// still be turned (on the board, not in hand).
struct FocusCell {
    int column = 0;
    int row = 0;
    bool turnable = false;
};

// The turnable cell nearest to the grid point (column, row), ties to the
// upper, then the left one; -1 when none can be turned.
int focus_nearest_cell(const std::vector<FocusCell>& cells, int column, int row);

// The turnable cell the focus moves to from `from` (which need not be
// turnable itself): the nearest one ahead in the direction, preferring the
// same row (or column); without one ahead it wraps to the far edge. Gives
// `from` when no other cell can be turned.
int focus_next_cell(const std::vector<FocusCell>& cells, int from, FocusMove move);

// The next choosable text from `from` going `step` (+1 down, -1 up),
// wrapping; from -1 down gives the first, up the last. Gives `from` when
// no other text can be chosen, -1 when none can.
int focus_next_text(const std::vector<bool>& choosable, int from, int step);

struct FocusRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// True when a frame drawn between `outer` and the hole `inner` covers part
// of `face`: the frame never hides a card's face.
bool focus_frame_covers(const FocusRect& outer, const FocusRect& inner, const FocusRect& face);

}  // namespace mem
