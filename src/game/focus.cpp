#include "game/focus.h"

#include <cstdlib>
#include <tuple>

#include "game/has_index.h"

namespace mem {

int focus_nearest_cell(const std::vector<FocusCell>& cells, int column, int row) {
    int best = -1;
    std::tuple<long, int, int> best_key{};
    for (size_t i = 0; i < cells.size(); ++i) {
        const FocusCell& c = cells[i];
        if (!c.turnable) continue;
        const long dx = c.column - column, dy = c.row - row;
        const std::tuple<long, int, int> key{dx * dx + dy * dy, c.row, c.column};
        if (best < 0 || key < best_key) {
            best = static_cast<int>(i);
            best_key = key;
        }
    }
    return best;
}

int focus_next_cell(const std::vector<FocusCell>& cells, int from, FocusMove move) {
    if (!has_index(cells, from)) return focus_nearest_cell(cells, 0, 0);
    // Along the direction of the move, and across it.
    auto along = [move](const FocusCell& c) {
        switch (move) {
            case FocusMove::Right: return c.column;
            case FocusMove::Left: return -c.column;
            case FocusMove::Down: return c.row;
            case FocusMove::Up: return -c.row;
        }
        return 0;
    };
    auto across = [move](const FocusCell& c) {
        return move == FocusMove::Left || move == FocusMove::Right ? c.row : c.column;
    };
    const FocusCell& start = cells[static_cast<size_t>(from)];
    int ahead = -1, wrapped = -1;
    std::tuple<int, int, int> ahead_key{}, wrapped_key{};
    for (size_t i = 0; i < cells.size(); ++i) {
        const FocusCell& c = cells[i];
        if (!c.turnable || static_cast<int>(i) == from) continue;
        const int off_line = std::abs(across(c) - across(start));
        if (along(c) > along(start)) {
            const std::tuple<int, int, int> key{off_line, along(c) - along(start), across(c)};
            if (ahead < 0 || key < ahead_key) ahead = static_cast<int>(i), ahead_key = key;
        }
        // Wrapping starts again from the far edge.
        const std::tuple<int, int, int> key{off_line, along(c), across(c)};
        if (wrapped < 0 || key < wrapped_key) wrapped = static_cast<int>(i), wrapped_key = key;
    }
    if (ahead >= 0) return ahead;
    if (wrapped >= 0) return wrapped;
    return from;
}

int focus_next_text(const std::vector<bool>& choosable, int from, int step) {
    const int n = static_cast<int>(choosable.size());
    if (n == 0) return -1;
    int at = from < 0 || from >= n ? (step > 0 ? -1 : n) : from;
    for (int k = 0; k < n; ++k) {
        at = ((at + step) % n + n) % n;
        if (choosable[static_cast<size_t>(at)]) return at;
    }
    return -1;
}

namespace {

bool overlap(const FocusRect& a, const FocusRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool inside(const FocusRect& outer, const FocusRect& r) {
    return r.left >= outer.left && r.top >= outer.top && r.left + r.width <= outer.left + outer.width &&
           r.top + r.height <= outer.top + outer.height;
}

}  // namespace

bool focus_frame_covers(const FocusRect& outer, const FocusRect& inner, const FocusRect& face) {
    if (face.width <= 0 || face.height <= 0) return false;
    return overlap(outer, face) && !inside(inner, face);
}

}  // namespace mem
