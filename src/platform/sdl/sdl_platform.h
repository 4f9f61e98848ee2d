#pragma once
// The real backend: SDL2 windows, drawing, input, timers, message boxes and
// the sound device. Everything runs on the main thread.
#include <SDL.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/screen_fit.h"
#include "platform/sdl/font_cache.h"
#include "platform/sdl/painter.h"

namespace mem {

class SdlMediaDevice;

// The answer of a message box of `style` from what SDL_ShowMessageBox gave:
// its status and the button id. A box closed through the window manager
// chose no button (id -1).
int message_box_answer(int status, int button, int style);

class SdlPlatform : public Platform {
public:
    // `arguments` is the command-line text; `program_dir` the directory of
    // the executable.
    SdlPlatform(std::string arguments, std::string program_dir, std::string system_dir);
    ~SdlPlatform() override;

    // Opens the display; false (with the reason in `error`) when there is
    // none. SDL's offscreen and dummy video drivers are used only when
    // SDL_VIDEODRIVER names them.
    bool start(std::string& error);
    // The game window starts in a resizable window instead of full screen.
    void set_windowed(bool windowed) { windowed_ = windowed; }

    void show_modal(Window& window) override;
    void show(Window& window) override;
    void close(Window& window) override;
    int message_box(const std::string& text, int style, const std::string& title) override;
    void yield() override;
    void sleep(int ms) override;
    uint64_t now_ms() const override { return SDL_GetTicks64(); }
    uint64_t input_time() const override { return input_time_ ? input_time_ : now_ms(); }
    double random() override;
    void seed_from_clock() override;
    std::string command_line() const override { return arguments_; }
    std::string program_dir() const override { return program_dir_; }
    std::string system_dir() const override { return system_dir_; }
    ScreenInfo screen() const override;
    PictureRef load_picture(const std::string& path, std::string& error) override;
    Size measure_text(const Font& font, const std::string& text, int wrap_width) override;
    std::unique_ptr<MediaDevice> create_media_device(Window& window) override;
    void forget(Window& window) override;
    [[noreturn]] void end_program(int status) override;

    // Waits for the next event or the next timer and handles what is due;
    // `wait` false handles only what is pending now.
    void run_once(bool wait);
    // Paints every shown window that changed.
    void paint_changed();
    // The pixels of a window as last painted, 32-bit RGBA row by row, and
    // their size (the window's size on the display); for tests.
    std::vector<uint32_t> read_pixels(Window& window, Size& size);
    std::vector<uint32_t> read_pixels(Window& window) {
        Size size;
        return read_pixels(window, size);
    }
    // Switches the game window between full screen and a window (F11).
    void toggle_windowed(Window& window);
    // How a window's coordinates map to its pixels on the display.
    ScreenFit fit_of(Window& window);

    void remove_device(SdlMediaDevice* device);
    // The scale that text is measured and drawn at: that of the front window with a board.
    double text_scale();
    // Font objects the cache holds open; for tests.
    size_t open_fonts() const { return fonts_ ? fonts_->open_fonts() : 0; }

private:
    struct Shown {
        SDL_Window* sdl = nullptr;
        SDL_Renderer* renderer = nullptr;
        std::unique_ptr<Painter> painter;
        bool keeps_frame = false;  // the renderer draws on the window's surface
        bool game = false;         // the modal game window
        bool windowed = false;
        bool activated = false;
        bool focus_lost = false;
        double text_scale = 1.0; // the scale the auto-sized labels were last measured at
    };
    // The last click, for telling a double click: two on one control in time.
    struct LastClick {
        const Control* control = nullptr;
        uint32_t time = 0;
    };

    Shown* find(Window& window);
    Window* window_of(uint32_t sdl_window_id);
    Window* keyboard_window();
    bool open_video(std::string& error);
    static SDL_Renderer* create_renderer(SDL_Window* sdl);
    static bool draws_on_window_surface(SDL_Renderer* renderer);
    void present(Shown& shown, const std::vector<SDL_Rect>& areas);
    void create_sdl_window(Window& window, bool modal);
    void fit_to_state(Window& window, Shown& shown);
    void fit_window_to_board(Window& window, Shown& shown);
    void refit_labels(Window& window, Shown& shown);
    static void enter_full_screen(Shown& shown);
    bool muted(const Window& window) const;
    void destroy_sdl_window(Window& window);
    void dispatch(const SDL_Event& event);
    void dispatch_event(const SDL_Event& event);
    void deliver_key(int16_t key);
    void deliver_key_down(int16_t code);
    void deliver_click(const SDL_MouseButtonEvent& button);
    void fire_due();
    uint64_t next_due() const;

    std::string arguments_, program_dir_, system_dir_;
    bool started_ = false;
    bool windowed_ = false;
    LastClick last_click_;
    uint32_t sound_event_ = 0;
    uint64_t input_time_ = 0;  // of the input event being delivered, 0 between events
    bool repeated_text_ = false;  // the text of a key repeat that is ignored follows
    double measuring_scale_ = 0;  // while labels are measured again at a new scale
    std::mt19937 random_;
    std::unique_ptr<FontCache> fonts_;  // created once the display is open
    std::map<Window*, std::unique_ptr<Shown>> shown_;
    std::vector<Window*> order_;  // shown windows, the last shown last
    std::vector<SdlMediaDevice*> devices_;
};

}  // namespace mem
