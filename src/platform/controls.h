#pragma once
// Retained controls. The game sets their properties; a backend draws them
// and delivers their events. Every control belongs to one window, which keeps
// them in drawing order (last is front-most).
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace mem {

class Window;
class PictureBox;

enum class ControlKind { Image, Label, PictureBox, Shape };

class Control {
public:
    Control(Window& window, ControlKind kind, std::string name, PictureBox* container = nullptr);
    // A copy is a new control of the same window (a new control-array element).
    Control(const Control& other);
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int16_t index() const { return index_; }
    void set_index(int16_t index) { index_ = index; }
    Window& window() const { return *window_; }
    PictureBox* container() const { return container_; }

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    void set_left(int v) { change(left_, v); }
    void set_top(int v) { change(top_, v); }
    void set_width(int v) { change(width_, v); }
    void set_height(int v) { change(height_, v); }
    void set_bounds(int left, int top, int width, int height);
    void set_visible(bool v) { change(visible_, v); }
    void set_enabled(bool v) { change(enabled_, v); }
    void bring_to_front();

    // Position in window coordinates (containers added up).
    int window_left() const;
    int window_top() const;
    Rect window_rect() const { return {window_left(), window_top(), width_, height_}; }
    // Visible itself and every container visible.
    bool shown() const;

    std::function<void(int16_t index)> on_click;
    std::function<void(int16_t index)> on_double_click;

    // Asks for a repaint of the control's place while it is shown.
    void invalidate();

protected:
    // Repaints where the control was and where it is now.
    template <typename T>
    void change(T& field, const T& value) {
        if (field != value) {
            invalidate();
            field = value;
            invalidate();
        }
    }

private:
    Window* window_;
    ControlKind kind_;
    std::string name_;
    PictureBox* container_;
    int16_t index_ = 0;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
};

enum class Alignment : int16_t { Left = 0, Right = 1, Centre = 2 };

// A picture control (img_).
class Image : public Control {
public:
    Image(Window& window, std::string name, PictureBox* container = nullptr)
        : Control(window, ControlKind::Image, std::move(name), container) {}

    const PictureRef& picture() const { return picture_; }
    // Without stretching the control takes the picture's own size.
    void set_picture(PictureRef picture);
    void clear_picture() { set_picture(nullptr); }
    bool stretch() const { return stretch_; }
    void set_stretch(bool v) { change(stretch_, v); }
    bool border() const { return border_; }
    void set_border(bool v) { change(border_, v); }

private:
    PictureRef picture_;
    bool stretch_ = false;
    bool border_ = false;
};

class Label : public Control {
public:
    Label(Window& window, std::string name, PictureBox* container = nullptr);

    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& text);
    Colour fore_color() const { return fore_color_; }
    void set_fore_color(Colour c) { change(fore_color_, c); }
    const FontRef& font() const { return font_; }
    void set_font(FontRef font);
    Alignment alignment() const { return alignment_; }
    void set_alignment(Alignment a) { change(alignment_, a); }
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool v);
    bool word_wrap() const { return word_wrap_; }
    void set_word_wrap(bool v);
    bool transparent() const { return transparent_; }
    void set_transparent(bool v) { change(transparent_, v); }

    // Sizes an auto-sized label to its caption again; the window calls this
    // when a font object that the label holds has changed.
    void fit_to_text();

private:
    std::string caption_;
    Colour fore_color_ = kBlack;
    FontRef font_;
    Alignment alignment_ = Alignment::Left;
    bool auto_size_ = false;
    bool word_wrap_ = false;
    bool transparent_ = true;
};

struct DrawnLine {
    int x1, y1, x2, y2;
    Colour colour;
    int width;
};

// A picture box (pic_): a picture, children, and lines drawn on it that stay.
class PictureBox : public Control {
public:
    PictureBox(Window& window, std::string name, PictureBox* container = nullptr)
        : Control(window, ControlKind::PictureBox, std::move(name), container) {}

    const PictureRef& picture() const { return picture_; }
    void set_picture(PictureRef picture);
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool v) { auto_size_ = v; }
    int inner_width() const { return width(); }
    int inner_height() const { return height(); }

    Colour draw_color() const { return draw_color_; }
    void set_draw_color(Colour c) { draw_color_ = c; }
    int draw_width() const { return draw_width_; }
    void set_draw_width(int w) { draw_width_ = w; }
    // Draws a straight line in the current drawing colour and width.
    void line(int x1, int y1, int x2, int y2);
    const std::vector<DrawnLine>& lines() const { return lines_; }
    void clear_lines();

private:
    PictureRef picture_;
    bool auto_size_ = false;
    Colour draw_color_ = kBlack;
    int draw_width_ = 1;
    std::vector<DrawnLine> lines_;
};

// A rectangle outline, or a filled rectangle (shp_).
class Shape : public Control {
public:
    Shape(Window& window, std::string name, PictureBox* container = nullptr)
        : Control(window, ControlKind::Shape, std::move(name), container) {}
    Colour border_color() const { return border_color_; }
    void set_border_color(Colour c) { change(border_color_, c); }
    // A filled shape is painted in its fill colour inside the outline.
    bool filled() const { return filled_; }
    void set_filled(bool v) { change(filled_, v); }
    Colour fill_color() const { return fill_color_; }
    void set_fill_color(Colour c) { change(fill_color_, c); }

private:
    Colour border_color_ = kWhite;
    bool filled_ = false;
    Colour fill_color_ = kWhite;
};

// A timer (tim_). The backend fires `on_tick` every interval while enabled.
class Timer {
public:
    Timer(Window& window, std::string name);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    void set_enabled(bool v);
    int interval() const { return interval_; }
    void set_interval(int ms);
    // Milliseconds on the platform clock of the next tick; only while enabled.
    uint64_t due() const { return due_; }
    // Called by the backend when the tick fires: schedules the next one, never
    // in the past, so ticks do not pile up after a long block.
    void fire(uint64_t now);

    std::function<void()> on_tick;

private:
    void arm();
    Window* window_;
    std::string name_;
    bool enabled_ = false;
    int interval_ = 0;
    uint64_t due_ = 0;
};

// A control array: element 0 exists from the start; created elements start
// as hidden copies of element 0.
template <typename T>
class ControlArray {
public:
    template <typename... Args>
    explicit ControlArray(Args&&... args) {
        elements_.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        elements_.back()->set_index(0);
    }

    T& operator[](int16_t index) { return *elements_.at(static_cast<size_t>(index)); }
    const T& operator[](int16_t index) const { return *elements_.at(static_cast<size_t>(index)); }
    bool exists(int index) const { return index >= 0 && static_cast<size_t>(index) < elements_.size(); }
    int16_t count() const { return static_cast<int16_t>(elements_.size()); }

    // Makes sure elements 0..index exist.
    T& create(int16_t index) {
        while (!exists(index)) {
            auto copy = std::make_unique<T>(*elements_.front());
            copy->set_index(static_cast<int16_t>(elements_.size()));
            copy->set_visible(false);
            elements_.push_back(std::move(copy));
        }
        return (*this)[index];
    }

    auto begin() { return elements_.begin(); }
    auto end() { return elements_.end(); }

private:
    std::deque<std::unique_ptr<T>> elements_;
};

}  // namespace mem
