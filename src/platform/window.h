#pragma once
// A top-level window: its own properties, the drawing surface used for
// printed lines, and the controls and timers that belong to it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/types.h"

namespace mem {

class Platform;

enum class WindowState { Normal, Maximized };

// Key codes of the key-down event: a letter is its capital's character code.
constexpr int16_t kKeyTab = 9;
constexpr int16_t kKeyReturn = 13;
constexpr int16_t kKeyEscape = 27;
constexpr int16_t kKeySpace = 32;
constexpr int16_t kKeyLeft = 37;
constexpr int16_t kKeyUp = 38;
constexpr int16_t kKeyRight = 39;
constexpr int16_t kKeyDown = 40;

class Window {
public:
    Window(Platform& platform, std::string name);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    Platform& platform() const { return *platform_; }
    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void set_caption(std::string c) { caption_ = std::move(c); invalidate(); }
    Colour back_color() const { return back_color_; }
    void set_back_color(Colour c) { back_color_ = c; invalidate(); }
    Colour fore_color() const { return fore_color_; }
    void set_fore_color(Colour c) { fore_color_ = c; invalidate(); }
    WindowState window_state() const { return state_; }
    void set_window_state(WindowState s) { state_ = s; invalidate(); }
    const FontRef& font() const { return font_; }
    void set_font(FontRef f) { font_ = std::move(f); invalidate(); }

    // Loaded from the first show until closed.
    bool loaded() const { return loaded_; }
    void set_loaded(bool v) { loaded_ = v; }
    // Set by the backend: the window's size in pixels once shown.
    int width() const { return width_; }
    int height() const { return height_; }
    void set_size(int width, int height) { width_ = width; height_ = height; invalidate(); }

    // Drawing surface: lines printed one below the other.
    struct PrintedLine {
        std::string text;
        int x, y;
        Colour colour;
    };
    void print(const std::string& text);
    void clear_surface();
    int current_x() const { return current_x_; }
    int current_y() const { return current_y_; }
    int inner_width() const { return width_; }
    int inner_height() const { return height_; }
    const std::vector<PrintedLine>& printed() const { return printed_; }

    // Events. The key handlers may change the key code. A key goes down
    // first (every key, with its key code), then is pressed (keys that give
    // a character, with its character code).
    std::function<void()> on_load;
    std::function<void()> on_activate;
    std::function<void(int16_t& key_code)> on_key_down;
    std::function<void(int16_t& key_ascii)> on_key_press;

    // Controls and timers in drawing order; maintained by their constructors.
    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    void add_control(Control* c) { controls_.push_back(c); invalidate(); }
    // A new element of the array of `original` takes its place just in front
    // of the array's last element, so arrays keep their designed layering.
    void add_array_element(const Control* original, Control* c);
    void remove_control(Control* c);
    void bring_to_front(Control* c);
    void add_timer(Timer* t) { timers_.push_back(t); }
    void remove_timer(Timer* t);

    // Auto-sized labels fit their captions again; call after changing a font object.
    void fonts_changed();

    // The front-most shown, enabled control under a window point, or null.
    // A disabled control lets the click fall through to what lies beneath.
    Control* control_at(int x, int y) const;

    // Repaint bookkeeping for the backend.
    bool dirty() const { return dirty_; }
    void invalidate() { dirty_ = true; }
    void mark_painted() { dirty_ = false; }

private:
    Platform* platform_;
    std::string name_;
    std::string caption_;
    Colour back_color_ = kBlack;
    Colour fore_color_ = kWhite;
    WindowState state_ = WindowState::Normal;
    FontRef font_ = make_font("MS Sans Serif", 8.25f, true);
    bool loaded_ = false;
    int width_ = 0, height_ = 0;
    int current_x_ = 0, current_y_ = 0;
    std::vector<PrintedLine> printed_;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    bool dirty_ = true;
};

}  // namespace mem
