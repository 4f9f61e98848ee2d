#pragma once
// A deterministic backend for tests and tools: a virtual clock, scripted
// message-box answers, and a record of everything a player would see or hear.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace mem {

// Thrown by end_program, so that a test can see how the program ended.
struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int status) : std::runtime_error("program ended"), status(status) {}
    int status;
};

struct MessageBoxRecord {
    std::string text;
    int style;
    std::string title;
};

struct DeviceCommand {
    uint64_t time;
    std::string command;
    std::string file;
    int error;
};

class HeadlessMediaDevice;

class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // ---- Set-up by the test ----
    std::string program_directory = "/nonexistent";
    std::string arguments;
    std::string system_directory = "/nonexistent/";
    ScreenInfo screen_info{1024, 768, 15};
    uint32_t seed = 12345;
    // Answers for the coming message boxes, in order; OK when none is left.
    std::deque<int> answers;
    // Runs inside show_modal after the window became active, as a player
    // acting while the game runs; without it show_modal returns at once.
    std::function<void(Window&)> while_modal;
    // Runs at each yield before the pending events are handled, as a player
    // whose clicks arrive while the game lets events through.
    std::function<void()> during_yield;
    // When the input being delivered was made, if not now: a key pressed
    // earlier and delivered late, as a busy game receives it.
    std::optional<uint64_t> input_made_at;

    // ---- What happened ----
    std::vector<MessageBoxRecord> message_boxes;
    std::vector<DeviceCommand> device_commands;
    int status_ticks = 0;
    // Every text given to the speech service, in order.
    std::vector<std::string> spoken;

    // ---- Driving the game ----
    // Clicks the centre of a control, as the pointer would: the front-most
    // shown, enabled control there receives it. False when nothing took it.
    bool click(const std::string& name, int16_t index = 0);
    bool double_click(const std::string& name, int16_t index = 0);
    bool click_at(int x, int y);
    // Delivers a key to the front-most loaded window.
    void press_key(int16_t key_ascii);
    // A key going down, with its key code, on the front-most loaded window.
    void key_down(int16_t key_code);
    // Moves the virtual clock, firing timers and sound events in time order.
    void advance(uint64_t ms);
    // Fires what is due now.
    void run_until_idle();

    // ---- Inspection ----
    Window* window(const std::string& name) const;
    Control* find_control(const std::string& name, int16_t index = 0) const;
    Label& label(const std::string& name, int16_t index = 0) const;
    Image& image(const std::string& name, int16_t index = 0) const;

    // ---- Platform ----
    void show_modal(Window& window) override;
    void show(Window& window) override;
    void close(Window& window) override;
    int message_box(const std::string& text, int style, const std::string& title) override;
    void yield() override;
    void sleep(int ms) override;
    uint64_t now_ms() const override { return now_; }
    uint64_t input_time() const override { return input_made_at.value_or(now_); }
    double random() override;
    void seed_from_clock() override;
    std::string command_line() const override { return arguments; }
    std::string program_dir() const override { return program_directory; }
    std::string system_dir() const override { return system_directory; }
    ScreenInfo screen() const override { return screen_info; }
    PictureRef load_picture(const std::string& path, std::string& error) override;
    Size measure_text(const Font& font, const std::string& text, int wrap_width) override;
    std::unique_ptr<MediaDevice> create_media_device(Window& window) override;
    std::unique_ptr<Speech> open_speech() override;
    void forget(Window& window) override;
    [[noreturn]] void end_program(int status) override;

    // Used by the headless media device.
    void schedule(uint64_t at, std::function<void()> action, const void* owner);
    void cancel(const void* owner);
    void record(const std::string& command, const std::string& file, int error);
    void remove_device(HeadlessMediaDevice* device);

private:
    struct Scheduled {
        uint64_t at;
        uint64_t order;
        std::function<void()> action;
        const void* owner;
    };
    // Fires the earliest event due at or before `limit`; false when none.
    bool fire_next(uint64_t limit);

    uint64_t now_ = 0;
    uint64_t next_order_ = 0;
    std::vector<Scheduled> scheduled_;
    std::vector<Window*> windows_;  // loaded windows, in the order shown
    std::vector<Window*> known_;    // every window ever shown, for inspection
    std::vector<HeadlessMediaDevice*> devices_;
    std::mt19937 random_;
    std::map<std::string, PictureRef> picture_cache_;
};

}  // namespace mem
