#include "platform/window.h"

#include <algorithm>

#include "platform/platform.h"

namespace mem {

Window::Window(Platform& platform, std::string name) : platform_(&platform), name_(std::move(name)) {}

Window::~Window() { platform_->forget(*this); }

void Window::print(const std::string& text) {
    printed_.push_back({text, current_x_, current_y_, fore_color_});
    Size size = platform_->measure_text(*font_, text.empty() ? " " : text, 0);
    invalidate(Rect{current_x_, current_y_, size.width, size.height});
    current_x_ = 0;
    current_y_ += std::max(size.height, 1);
}

void Window::invalidate(const Rect& area) {
    if (whole_dirty_ || area.empty()) return;
    // Many small changes at once (a new board) are cheaper painted whole.
    constexpr size_t kMostAreas = 64;
    if (damage_.size() >= kMostAreas) {
        invalidate();
        damage_.clear();
        return;
    }
    damage_.push_back(area);
}

void Window::clear_surface() {
    printed_.clear();
    current_x_ = 0;
    current_y_ = 0;
    invalidate();
}

void Window::add_control(Control* c) {
    places_[c] = controls_.insert(controls_.end(), c);
    c->invalidate();
}

void Window::remove_control(Control* c) {
    auto place = places_.find(c);
    if (place == places_.end()) return;
    array_front_.erase(c);
    for (auto& [first, front] : array_front_) {
        if (front != c) continue;
        // The element behind it becomes the array's front-most one.
        const Control* behind = place->second == controls_.begin() ? nullptr : *std::prev(place->second);
        const bool same_array =
            behind && behind->name() == first->name() && behind->container() == first->container();
        front = same_array ? behind : first;
    }
    controls_.erase(place->second);
    places_.erase(place);
    // Whole: the control may be half destroyed, its container already gone.
    invalidate();
}

void Window::add_array_element(const Control* original, Control* c) {
    auto known = array_front_.find(original);
    const Control* front = known == array_front_.end() ? original : known->second;
    places_[c] = controls_.insert(std::next(places_.at(front)), c);
    array_front_[original] = c;
    c->invalidate();
}

void Window::bring_to_front(Control* c) {
    controls_.splice(controls_.end(), controls_, places_.at(c));
    c->invalidate();
}

void Window::remove_timer(Timer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

void Window::fonts_changed() {
    for (Control* c : controls_)
        if (c->kind() == ControlKind::Label) {
            c->invalidate();
            static_cast<Label*>(c)->fit_to_text();
            c->invalidate();
        }
}

Control* Window::control_at(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control* c = *it;
        if (!c->shown() || !c->enabled()) continue;
        // A shape only draws; clicks pass through it to what lies behind.
        if (c->kind() == ControlKind::Shape) continue;
        // Mended: a part of a control outside its container is clipped away,
        // so it takes no click either.
        bool inside = c->window_rect().contains(x, y);
        for (const Control* box = c->container(); inside && box; box = box->container())
            inside = box->window_rect().contains(x, y);
        if (inside) return c;
    }
    return nullptr;
}

}  // namespace mem
