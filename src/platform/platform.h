#pragma once
// Everything the game asks of the machine it runs on. The game talks only to
// this interface; the SDL backend and the headless test backend implement it.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls.h"
#include "platform/media_device.h"
#include "platform/types.h"
#include "platform/window.h"

namespace mem {

struct ScreenInfo {
    int width = 0;   // pixels
    int height = 0;  // pixels
    int units_per_pixel = 15;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Windows. `show_modal` runs the window's load event, shows it, delivers
    // its activate event and returns only when the window has been closed.
    virtual void show_modal(Window& window) = 0;
    virtual void show(Window& window) = 0;
    virtual void close(Window& window) = 0;

    // Modal message box; returns kAnswerOk or kAnswerCancel.
    virtual int message_box(const std::string& text, int style, const std::string& title) = 0;

    // Dispatches the events already pending, then paints.
    virtual void yield() = 0;
    // Paints, then blocks; events that came meanwhile are handled afterwards.
    virtual void sleep(int ms) = 0;
    // Milliseconds on the platform's clock (virtual in the headless backend).
    virtual uint64_t now_ms() const = 0;
    // When the key or click being delivered reached the program, on the
    // clock of now_ms(); now_ms() where input has no time of its own.
    virtual uint64_t input_time() const { return now_ms(); }

    // Uniform in [0, 1).
    virtual double random() = 0;
    virtual void seed_from_clock() = 0;

    // The program's arguments joined by single blanks.
    virtual std::string command_line() const = 0;
    // The program's own directory, without a trailing separator.
    virtual std::string program_dir() const = 0;
    // The fixed system-wide directory, without a trailing separator.
    virtual std::string system_dir() const = 0;
    virtual ScreenInfo screen() const = 0;

    // Decodes a picture file; null with `error` set when it cannot.
    virtual PictureRef load_picture(const std::string& path, std::string& error) = 0;
    // The size of a text in a font, wrapped at `wrap_width` when it is > 0.
    virtual Size measure_text(const Font& font, const std::string& text, int wrap_width) = 0;

    // The sound device of a window.
    virtual std::unique_ptr<MediaDevice> create_media_device(Window& window) = 0;

    // A window is being destroyed: the backend drops every reference to it.
    virtual void forget(Window& window) { (void)window; }

    // Closes every window and ends the process with the given status.
    [[noreturn]] virtual void end_program(int status) = 0;
};

}  // namespace mem
