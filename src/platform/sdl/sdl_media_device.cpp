#include "platform/sdl/sdl_media_device.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>

#include "platform/files.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/wave_info.h"

namespace mem {
namespace {

// Error codes as the old device reported them; any non-zero value is a failure.
constexpr int kErrorCannotOpen = 275;
constexpr int kErrorNotOpen = 263;
constexpr int kErrorUnknownCommand = 261;
constexpr int kErrorDriver = 277;

constexpr int kChannels = 16;
std::atomic<uint32_t> g_plays[kChannels];
std::atomic<bool> g_halting[kChannels];
uint32_t g_event_type = 0;
bool g_mixer_open = false;

// Runs on the audio thread, or at once inside Mix_HaltChannel: it only
// posts an event, and never for a halt the device asked for itself.
void on_channel_finished(int channel) {
    if (channel < 0 || channel >= kChannels || g_halting[channel]) return;
    SDL_Event event{};
    event.type = g_event_type;
    event.user.code = channel;
    event.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(g_plays[channel].load()));
    SDL_PushEvent(&event);
}

bool try_open_audio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

uint32_t bytes_per_ms() {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels)) return 0;
    return static_cast<uint32_t>(frequency) * static_cast<uint32_t>(channels) * (SDL_AUDIO_BITSIZE(format) / 8) / 1000;
}

uint32_t frame_bytes() {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels)) return 1;
    return std::max<uint32_t>(1, static_cast<uint32_t>(channels) * (SDL_AUDIO_BITSIZE(format) / 8));
}

}  // namespace

bool open_mixer(uint32_t event_type) {
    if (g_mixer_open) return true;
    g_event_type = event_type;
    if (!try_open_audio()) {
        // No sound output (no sound card, no server): play in silence at
        // real speed, so the game runs the same.
        std::fprintf(stderr, "Memory: no audio output (%s); sounds play silently\n", Mix_GetError());
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        if (!try_open_audio()) {
            std::fprintf(stderr, "Memory: cannot open the silent audio output either: %s\n", Mix_GetError());
            return false;
        }
    }
    Mix_AllocateChannels(kChannels);
    Mix_ChannelFinished(on_channel_finished);
    g_mixer_open = true;
    return true;
}

void close_mixer() {
    if (!g_mixer_open) return;
    for (int c = 0; c < kChannels; ++c) g_halting[c] = true;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_mixer_open = false;
}

void set_channel_play(int channel, uint32_t play) { g_plays[channel] = play; }
uint32_t channel_play(int channel) { return g_plays[channel]; }
void set_channel_halting(int channel, bool halting) { g_halting[channel] = halting; }

SdlMediaDevice::SdlMediaDevice(SdlPlatform& platform, int channel) : platform_(platform), channel_(channel) {
    next_status_tick = platform_.now_ms() + 250;
}

SdlMediaDevice::~SdlMediaDevice() {
    stop();
    free_chunks();
    platform_.remove_device(this);
}

void SdlMediaDevice::command(const std::string& name) {
    std::string command = name;
    for (char& c : command) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (command == "open") {
        open();
    } else if (command == "close") {
        stop();
        free_chunks();
        error_ = 0;
    } else if (command == "play") {
        play();
    } else if (command == "prev") {
        stop();
        position_ = 0;
        error_ = sound_ ? 0 : kErrorNotOpen;
    } else if (command == "eject") {
        error_ = 0;
    } else {
        error_ = kErrorUnknownCommand;
    }
}

void SdlMediaDevice::open() {
    stop();
    free_chunks();
    position_ = 0;
    // Only wave files are played, as by the old device.
    if (!g_mixer_open || file_name_.empty() || !wave_length_ms(file_name_)) {
        error_ = kErrorCannotOpen;
        return;
    }
    sound_ = Mix_LoadWAV(native_path(file_name_).c_str());
    error_ = sound_ ? 0 : kErrorCannotOpen;
}

void SdlMediaDevice::play() {
    if (!sound_) {
        error_ = kErrorNotOpen;
        return;
    }
    stop();
    set_channel_play(channel_, channel_play(channel_) + 1);
    playing_ = true;
    error_ = 0;
    if (position_ >= sound_->alen) {
        // Already at the end: the sound ends at once.
        on_channel_finished(channel_);
        return;
    }
    if (rest_) Mix_FreeChunk(rest_);
    rest_ = Mix_QuickLoad_RAW(sound_->abuf + position_, sound_->alen - position_);
    rest_start_ = position_;
    started_at_ = platform_.now_ms();
    if (!rest_ || Mix_PlayChannel(channel_, rest_, 0) < 0) {
        playing_ = false;
        error_ = kErrorDriver;
    }
}

void SdlMediaDevice::stop() {
    // A new play number makes any completion already on its way stale.
    set_channel_play(channel_, channel_play(channel_) + 1);
    if (!playing_) return;
    playing_ = false;
    if (sound_) {
        const uint64_t played = (platform_.now_ms() - started_at_) * bytes_per_ms();
        const uint32_t frame = frame_bytes();
        const uint64_t at = std::min<uint64_t>(sound_->alen, rest_start_ + played);
        position_ = static_cast<uint32_t>(at - at % frame);
    }
    set_channel_halting(channel_, true);
    Mix_HaltChannel(channel_);
    set_channel_halting(channel_, false);
}

void SdlMediaDevice::free_chunks() {
    if (rest_) Mix_FreeChunk(rest_);
    if (sound_) Mix_FreeChunk(sound_);
    rest_ = sound_ = nullptr;
    position_ = 0;
}

void SdlMediaDevice::set_muted(bool on) {
    muted_ = on;
    if (g_mixer_open) Mix_Volume(channel_, on ? 0 : MIX_MAX_VOLUME);
}

void SdlMediaDevice::completed(uint32_t play) {
    if (!playing_ || play != channel_play(channel_)) return;
    playing_ = false;
    if (sound_) position_ = sound_->alen;
    if (notify_ && on_done) on_done(1);
}

}  // namespace mem
