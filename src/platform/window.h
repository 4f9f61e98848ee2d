#pragma once
// A top-level window: its own properties, the drawing surface used for
// printed lines, and the controls and timers that belong to it.
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <unordered_map>
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
constexpr int16_t kKeyPageUp = 33;
constexpr int16_t kKeyPageDown = 34;
constexpr int16_t kKeyEnd = 35;
constexpr int16_t kKeyHome = 36;
constexpr int16_t kKeyLeft = 37;
constexpr int16_t kKeyUp = 38;
constexpr int16_t kKeyRight = 39;
constexpr int16_t kKeyDown = 40;
constexpr int16_t kKeyDelete = 46;
constexpr int16_t kKeyF2 = 113;

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
    // The colour of lines printed from now on.
    void set_fore_color(Colour c) { fore_color_ = c; }
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
    // The mouse wheel turned by `steps` notches, positive away from the player.
    std::function<void(int steps)> on_wheel;
    // Files or folders dropped on the window together, by their paths.
    std::function<void(const std::vector<std::string>& paths)> on_drop;

    // Controls and timers in drawing order; maintained by their constructors.
    const std::list<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    void add_control(Control* c);
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

    // The control that the backend fits to the display (the board); without
    // one the whole window is fitted.
    const Control* board() const { return board_; }
    void set_board(const Control* board) { board_ = board; invalidate(); }

    // Repaint bookkeeping for the backend: the whole window, or the parts
    // (window coordinates) that changed since the last paint.
    bool dirty() const { return whole_dirty_ || !damage_.empty(); }
    bool whole_dirty() const { return whole_dirty_; }
    const std::vector<Rect>& damage() const { return damage_; }
    void invalidate() { whole_dirty_ = true; }
    void invalidate(const Rect& area);
    void mark_painted() {
        whole_dirty_ = false;
        damage_.clear();
    }

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
    // A list, so that boards of thousands of cards are built and torn down
    // in time that grows with their size, not with its square.
    std::list<Control*> controls_;
    std::unordered_map<const Control*, std::list<Control*>::iterator> places_;
    // The front-most element of each control array, by its element 0.
    std::unordered_map<const Control*, const Control*> array_front_;
    std::vector<Timer*> timers_;
    const Control* board_ = nullptr;
    bool whole_dirty_ = true;
    std::vector<Rect> damage_;
};

}  // namespace mem
