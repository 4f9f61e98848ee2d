#include "platform/screen_fit.h"

#include <algorithm>
#include <cmath>

namespace mem {
namespace {

int rounded(double v) { return static_cast<int>(std::floor(v + 0.5)); }

}  // namespace

Rect united(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

Rect intersected(const Rect& a, const Rect& b) {
    const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const int right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

ScreenFit::ScreenFit(Size display, Rect board) : board_(board) {
    if (board.empty() || display.width <= 0 || display.height <= 0) {
        shown_ = board;
        return;
    }
    scale_ = std::min(static_cast<double>(display.width) / board.width,
                      static_cast<double>(display.height) / board.height);
    const double width = board.width * scale_, height = board.height * scale_;
    shown_ = {rounded((display.width - width) / 2), rounded((display.height - height) / 2), rounded(width),
              rounded(height)};
}

int ScreenFit::to_display_x(double x) const { return shown_.left + rounded((x - board_.left) * scale_); }
int ScreenFit::to_display_y(double y) const { return shown_.top + rounded((y - board_.top) * scale_); }

Rect ScreenFit::to_display(const Rect& r) const {
    const int left = to_display_x(r.left), top = to_display_y(r.top);
    return {left, top, to_display_x(r.right()) - left, to_display_y(r.bottom()) - top};
}

int ScreenFit::to_display_length(double length) const { return std::max(1, rounded(length * scale_)); }

bool ScreenFit::to_window(int display_x, int display_y, int& x, int& y) const {
    if (!shown_.contains(display_x, display_y)) return false;
    // The middle of the display pixel, so a pixel maps to the board pixel it mostly shows.
    x = board_.left + static_cast<int>(std::floor((display_x + 0.5 - shown_.left) / scale_));
    y = board_.top + static_cast<int>(std::floor((display_y + 0.5 - shown_.top) / scale_));
    x = std::min(x, board_.right() - 1);
    y = std::min(y, board_.bottom() - 1);
    return true;
}

}  // namespace mem
