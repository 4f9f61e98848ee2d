#pragma once
// The sound device on SDL2_mixer: one wave open at a time on a channel of
// its own. The mixer's finished callback only posts an event; the
// completion is delivered on the main thread by the platform's loop.
#include <SDL_mixer.h>

#include <cstdint>
#include <string>

#include "platform/media_device.h"

namespace mem {

class SdlPlatform;

class SdlMediaDevice : public MediaDevice {
public:
    SdlMediaDevice(SdlPlatform& platform, int channel);
    ~SdlMediaDevice() override;

    void set_file_name(const std::string& path) override { file_name_ = path; }
    const std::string& file_name() const override { return file_name_; }
    void command(const std::string& name) override;
    int error() const override { return error_; }
    int16_t device_id() const override { return static_cast<int16_t>(channel_ + 1); }
    void set_notify(bool on) override { notify_ = on; }
    bool notify() const override { return notify_; }
    // The channel plays on at volume 0, so a muted sound ends when it would.
    void set_muted(bool on) override;
    bool muted() const override { return muted_; }

    int channel() const { return channel_; }
    // A completion event of the given play reached the main thread.
    void completed(uint32_t play);
    uint64_t next_status_tick = 0;

private:
    void open();
    void play();
    // Stops playback without a completion event and keeps the position.
    void stop();
    void free_chunks();

    SdlPlatform& platform_;
    int channel_;
    std::string file_name_;
    int error_ = 0;
    bool notify_ = false;
    bool muted_ = false;
    Mix_Chunk* sound_ = nullptr;
    Mix_Chunk* rest_ = nullptr;  // the part of the sound from the position on
    uint32_t position_ = 0;      // bytes into the sound
    uint32_t rest_start_ = 0;
    uint64_t started_at_ = 0;
    bool playing_ = false;
};

// Called once for the process: opens the mixer (or the silent dummy output)
// and routes finished callbacks to `event_type`.
bool open_mixer(uint32_t event_type);
void close_mixer();
// The play number that a finished callback on this channel reports.
void set_channel_play(int channel, uint32_t play);
uint32_t channel_play(int channel);
void set_channel_halting(int channel, bool halting);

}  // namespace mem
