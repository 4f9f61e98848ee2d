#include "platform/sdl/sdl_media_device.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/media/wave_info.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/translation.h"

namespace mem {
namespace {

// Error codes as the old device reported them; any non-zero value is a failure.
constexpr int kErrorCannotOpen = 275;
constexpr int kErrorNotOpen = 263;
constexpr int kErrorUnknownCommand = 261;
constexpr int kErrorDriver = 277;

// Samples per block handed to the output: short, so a sound's end is heard
// soon after it is reported and closing the output waits little.
constexpr Uint16 kBlockSamples = 512;
// Play numbers fit beside a channel number in a pointer-sized timer argument.
constexpr uint32_t kPlayMask = 0x0fffffff;

uint32_t g_event_type = 0;
// The sound output is tried at the first sound that is played aloud.
enum class Output { Untried, Available, Missing };
Output g_output = Output::Untried;
// Mended: a sound output that failed is tried again at a later sound, at
// most once every kRetryMs, so a game started before the sound server (or
// left by it for a while) gets its sound back. The failure and the return
// are each said once on standard error.
constexpr uint64_t kRetryMs = 2000;
uint64_t g_missing_since = 0;
bool g_said_missing = false;

void output_missing() {
    if (!g_said_missing)
        std::fprintf(stderr, tr("Memory: no audio output (%s); sounds play silently\n"), SDL_GetError());
    g_said_missing = true;
    g_output = Output::Missing;
    g_missing_since = SDL_GetTicks64();
}

void output_works() {
    if (g_said_missing) std::fputs(tr("Memory: the audio output is back; sounds play aloud\n"), stderr);
    g_said_missing = false;
}

void post_completion(int channel, uint32_t play) {
    SDL_Event event{};
    event.type = g_event_type;
    event.user.code = channel;
    event.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(play));
    SDL_PushEvent(&event);
}

// Called on the audio thread with the output locked.
void SDLCALL fill_block(void* userdata, Uint8* out, int length) {
    fill_sound_block(*static_cast<SdlMediaDevice::Stream*>(userdata), out, length);
}

// Runs on SDL's timer thread when a sound played in silence has ended.
Uint32 SDLCALL silent_end(Uint32, void* param) {
    const auto packed = reinterpret_cast<uintptr_t>(param);
    post_completion(static_cast<int>(packed & 0xf), static_cast<uint32_t>(packed >> 4));
    return 0;
}

bool output_available() {
    if (g_output == Output::Missing && SDL_GetTicks64() - g_missing_since >= kRetryMs) g_output = Output::Untried;
    if (g_output == Output::Untried) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) g_output = Output::Available;
        else output_missing();
    }
    return g_output == Output::Available;
}

}  // namespace

void open_sound_output(uint32_t event_type) { g_event_type = event_type; }

void close_sound_output() {
    if (g_output == Output::Available) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_output = Output::Untried;
    g_said_missing = false;
}

SdlMediaDevice::SdlMediaDevice(SdlPlatform& platform, Window& window, int channel)
    : platform_(platform), window_(window), channel_(channel) {
    next_status_tick = platform_.now_ms() + kStatusTickMs;
}

SdlMediaDevice::~SdlMediaDevice() {
    stop();
    free_wave();
    platform_.remove_device(this);
}

void SdlMediaDevice::command(const std::string& name) {
    // The status ticks start a full interval after the device has something to tell.
    const bool was_ticking = ticking();
    run_command(name);
    tick_owed = true;
    if (!was_ticking) next_status_tick = platform_.now_ms() + kStatusTickMs;
}

void SdlMediaDevice::run_command(const std::string& name) {
    std::string command = name;
    for (char& c : command) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (command == "open") {
        open();
    } else if (command == "close") {
        stop();
        free_wave();
        error_ = 0;
    } else if (command == "play") {
        play();
    } else if (command == "prev") {
        stop();
        position_ = 0;
        error_ = wave_ ? 0 : kErrorNotOpen;
    } else if (command == "eject") {
        error_ = 0;
    } else {
        error_ = kErrorUnknownCommand;
    }
}

void SdlMediaDevice::open() {
    stop();
    free_wave();
    // Only wave files are played, as by the old device.
    SDL_AudioSpec loaded{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (file_name_.empty() || !wave_length_ms(file_name_) ||
        !SDL_LoadWAV(native_path(file_name_).c_str(), &loaded, &data, &length)) {
        error_ = kErrorCannotOpen;
        return;
    }
    wave_ = data;
    wave_format_ = loaded;
    wave_length_ = length - length % frame_bytes();
    error_ = 0;
}

uint32_t SdlMediaDevice::bytes_per_second() const {
    return static_cast<uint32_t>(wave_format_.freq) * wave_format_.channels * (SDL_AUDIO_BITSIZE(wave_format_.format) / 8);
}

uint32_t SdlMediaDevice::frame_bytes() const {
    return std::max(1u, static_cast<uint32_t>(SDL_AUDIO_BITSIZE(wave_format_.format) / 8 * wave_format_.channels));
}

void SdlMediaDevice::play() {
    if (!wave_) {
        error_ = kErrorNotOpen;
        return;
    }
    stop();
    playing_ = true;
    error_ = 0;
    if (position_ >= wave_length_) {
        // Already at the end: the sound ends at once.
        post_completion(channel_, play_);
        return;
    }
    const bool unsigned8 = SDL_AUDIO_BITSIZE(wave_format_.format) == 8 && !SDL_AUDIO_ISSIGNED(wave_format_.format);
    stream_ = Stream{wave_, wave_length_, position_, play_, channel_, static_cast<uint8_t>(unsigned8 ? 0x80 : 0)};
    stream_.muted = muted_;
    started_at_ = platform_.now_ms();
    if (start_output()) return;
    // In silence, the sound's length is kept by a timer.
    const uint64_t rest = wave_length_ - position_, rate = std::max(1u, bytes_per_second());
    const uint32_t ms = static_cast<uint32_t>(std::max<uint64_t>(1, (rest * 1000 + rate - 1) / rate));
    silent_end_ = SDL_AddTimer(ms, silent_end, reinterpret_cast<void*>(static_cast<uintptr_t>(play_) << 4 | channel_));
    if (!silent_end_) {
        playing_ = false;
        error_ = kErrorDriver;
    }
}

bool SdlMediaDevice::start_output() {
    if (silent_ || !output_available()) return false;
    SDL_AudioSpec want = wave_format_;
    want.samples = kBlockSamples;
    want.callback = fill_block;
    want.userdata = &stream_;
    // SDL converts from the sound's own format to the output's.
    output_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!output_) {
        // No sound output (no sound card, no server): play in silence at
        // real speed, so the game runs the same, until a later try succeeds.
        output_missing();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    output_works();
    SDL_PauseAudioDevice(output_, 0);
    return true;
}

void SdlMediaDevice::stop() {
    // A new play number makes any completion already on its way stale.
    play_ = (play_ + 1) & kPlayMask;
    if (!playing_) return;
    playing_ = false;
    if (output_) {
        SDL_CloseAudioDevice(output_);  // the audio thread has stopped on return
        output_ = 0;
        position_ = stream_.position;
    } else if (silent_end_) {
        SDL_RemoveTimer(silent_end_);
        silent_end_ = 0;
        const uint64_t at = std::min<uint64_t>(
            wave_length_, stream_.position + (platform_.now_ms() - started_at_) * bytes_per_second() / 1000);
        position_ = static_cast<uint32_t>(at - at % frame_bytes());
    }
}

void SdlMediaDevice::free_wave() {
    if (wave_) SDL_FreeWAV(wave_);
    wave_ = nullptr;
    wave_length_ = 0;
    position_ = 0;
}

void fill_sound_block(SdlMediaDevice::Stream& stream, uint8_t* out, int length) {
    const uint32_t n = std::min<uint32_t>(static_cast<uint32_t>(length), stream.length - stream.position);
    if (stream.muted) std::memset(out, stream.silence, n);
    else std::memcpy(out, stream.data + stream.position, n);
    std::memset(out + n, stream.silence, static_cast<size_t>(length) - n);
    stream.position += n;
    if (stream.position >= stream.length && !stream.ended) {
        stream.ended = true;
        post_completion(stream.channel, stream.play);
    }
}

void SdlMediaDevice::set_muted(bool on) {
    if (muted_ != on) window_.invalidate();  // the speaker-off mark comes or goes
    muted_ = on;
    if (output_) SDL_LockAudioDevice(output_);
    stream_.muted = on;
    if (output_) SDL_UnlockAudioDevice(output_);
}

void SdlMediaDevice::completed(uint32_t play) {
    if (!playing_ || play != play_) return;
    playing_ = false;
    if (output_) SDL_CloseAudioDevice(output_);
    output_ = 0;
    silent_end_ = 0;
    position_ = wave_length_;
    if (notify_ && on_done) on_done(1);
}

}  // namespace mem
