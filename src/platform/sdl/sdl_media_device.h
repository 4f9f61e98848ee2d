#pragma once
// The sound device on SDL's own audio: one wave open at a time, played on an
// audio output that is open only while it plays, so nothing runs while the
// game is idle. Without a sound output (or when silenced) a sound plays in
// silence for its real length. The end of a sound only posts an event; the
// completion is delivered on the main thread by the platform's loop.
#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/media_device.h"
#include "platform/window.h"

namespace mem {

class SdlPlatform;

class SdlMediaDevice : public MediaDevice {
public:
    SdlMediaDevice(SdlPlatform& platform, Window& window, int channel);
    ~SdlMediaDevice() override;

    void set_file_name(const std::string& path) override { file_name_ = path; }
    const std::string& file_name() const override { return file_name_; }
    void command(const std::string& name) override;
    int error() const override { return error_; }
    int16_t device_id() const override { return static_cast<int16_t>(channel_ + 1); }
    void set_notify(bool on) override { notify_ = on; }
    bool notify() const override { return notify_; }

    // Muted: the sound plays on in silence, so it ends when it would.
    void set_muted(bool on) override;
    bool muted() const override { return muted_; }

    // Silent: sounds take their real length and nothing is heard.
    void set_silent(bool silent) { silent_ = silent; }

    int channel() const { return channel_; }
    const Window& window() const { return window_; }
    // A completion event of the given play reached the main thread.
    void completed(uint32_t play);
    // Mended: the status ticks (every kStatusTickMs) run only while a sound
    // plays or the last command failed (the game ends a failed command's
    // chain at the next tick), and once after the device is made and after
    // each command (the game counts on a first tick after a reset); a game
    // idle with its turn sound open wakes for nothing.
    bool ticking() const { return playing_ || error_ != 0 || tick_owed; }
    bool tick_owed = true;
    uint64_t next_status_tick = 0;
    static constexpr int kStatusTickMs = 250;
    // The sound is heard: it plays on an open output.
    bool aloud() const { return output_ != 0; }

    // What the audio thread reads while a sound plays.
    struct Stream {
        const uint8_t* data = nullptr;
        uint32_t length = 0;
        uint32_t position = 0;
        uint32_t play = 0;
        int channel = 0;
        uint8_t silence = 0;
        bool ended = false;
        bool muted = false;
    };

private:
    void run_command(const std::string& name);
    void open();
    void play();
    // Stops playback without a completion event and keeps the position.
    void stop();
    void free_wave();
    bool start_output();
    uint32_t bytes_per_second() const;
    uint32_t frame_bytes() const;

    SdlPlatform& platform_;
    Window& window_;
    int channel_;
    std::string file_name_;
    int error_ = 0;
    bool notify_ = false;
    bool silent_ = false;
    bool muted_ = false;
    uint8_t* wave_ = nullptr;  // the decoded sound, in its own format
    uint32_t wave_length_ = 0;
    SDL_AudioSpec wave_format_{};
    uint32_t position_ = 0;  // bytes into the sound
    uint32_t play_ = 0;      // numbers the plays: a completion of an older one is stale
    bool playing_ = false;
    SDL_AudioDeviceID output_ = 0;  // while playing aloud
    SDL_TimerID silent_end_ = 0;    // while playing in silence
    uint64_t started_at_ = 0;
    Stream stream_;
};

// Runs on the audio thread: hands out the next `length` bytes of the
// stream (silence where it is muted or over) and posts its completion once.
void fill_sound_block(SdlMediaDevice::Stream& stream, uint8_t* out, int length);

// Called once for the process: completions are posted as `event_type`.
void open_sound_output(uint32_t event_type);
// Closes every output that plays (at the end of the program).
void close_sound_output();

}  // namespace mem
