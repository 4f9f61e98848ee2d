#include "platform/controls.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/window.h"

namespace mem {

Control::Control(Window& window, ControlKind kind, std::string name, PictureBox* container)
    : window_(&window), kind_(kind), name_(std::move(name)), container_(container) {
    window_->add_control(this);
}

Control::Control(const Control& other)
    : on_click(other.on_click),
      on_double_click(other.on_double_click),
      window_(other.window_),
      kind_(other.kind_),
      name_(other.name_),
      container_(other.container_),
      index_(other.index_),
      left_(other.left_),
      top_(other.top_),
      width_(other.width_),
      height_(other.height_),
      visible_(other.visible_),
      enabled_(other.enabled_) {
    // Created card captions stay in front of the card pictures, as designed.
    window_->add_array_element(&other, this);
}

Control::~Control() { window_->remove_control(this); }

void Control::set_bounds(int left, int top, int width, int height) {
    set_left(left);
    set_top(top);
    set_width(width);
    set_height(height);
}

void Control::bring_to_front() { window_->bring_to_front(this); }

int Control::window_left() const { return left_ + (container_ ? container_->window_left() : 0); }
int Control::window_top() const { return top_ + (container_ ? container_->window_top() : 0); }
bool Control::shown() const { return visible_ && (!container_ || container_->shown()); }
void Control::invalidate() {
    if (shown()) window_->invalidate(window_rect());
}

void Image::set_picture(PictureRef picture) {
    picture_ = std::move(picture);
    if (picture_ && !stretch_) {
        set_width(picture_->width());
        set_height(picture_->height());
    }
    invalidate();
}

Label::Label(Window& window, std::string name, PictureBox* container)
    : Control(window, ControlKind::Label, std::move(name), container), font_(make_font("MS Sans Serif", 8.25f)) {}

void Label::set_caption(const std::string& text) {
    change(caption_, text);
    fit_to_text();
}

void Label::set_font(FontRef font) {
    font_ = std::move(font);
    fit_to_text();
    invalidate();
}

void Label::set_auto_size(bool v) {
    auto_size_ = v;
    fit_to_text();
}

void Label::set_word_wrap(bool v) {
    word_wrap_ = v;
    fit_to_text();
}

void Label::fit_to_text() {
    if (!auto_size_ || !font_) return;
    // With word wrap an auto-sized label keeps its width and grows downwards.
    Size size = window().platform().measure_text(*font_, caption_, word_wrap_ ? width() : 0);
    if (!word_wrap_) set_width(size.width);
    set_height(size.height);
}

void PictureBox::set_picture(PictureRef picture) {
    picture_ = std::move(picture);
    if (picture_ && auto_size_) {
        set_width(picture_->width());
        set_height(picture_->height());
    }
    invalidate();
}

void PictureBox::line(int x1, int y1, int x2, int y2) {
    lines_.push_back({x1, y1, x2, y2, draw_color_, draw_width_});
    invalidate();
}

void PictureBox::clear_lines() {
    lines_.clear();
    invalidate();
}

Timer::Timer(Window& window, std::string name) : window_(&window), name_(std::move(name)) {
    window_->add_timer(this);
}

Timer::~Timer() { window_->remove_timer(this); }

void Timer::set_enabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    if (enabled_) arm();
}

void Timer::set_interval(int ms) {
    interval_ = ms;
    if (enabled_) arm();
}

void Timer::arm() { due_ = window_->platform().now_ms() + static_cast<uint64_t>(std::max(interval_, 1)); }

void Timer::fire(uint64_t now) {
    due_ += static_cast<uint64_t>(std::max(interval_, 1));
    if (due_ <= now) due_ = now + static_cast<uint64_t>(std::max(interval_, 1));
    if (on_tick) on_tick();
}

}  // namespace mem
