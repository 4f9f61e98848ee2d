#include "platform/headless/headless_media_device.h"

#include <algorithm>

#include <cctype>
#include "platform/headless/headless_platform.h"
#include "platform/media/wave_info.h"

namespace mem {

// Error codes as the real device reports them: any non-zero value is a failure.
constexpr int kErrorCannotOpen = 275;
constexpr int kErrorNotOpen = 263;
constexpr int kErrorUnknownCommand = 261;
constexpr int kErrorDriver = 277;

HeadlessMediaDevice::HeadlessMediaDevice(HeadlessPlatform& platform) : platform_(platform) {
    next_status_tick = platform_.now_ms() + 250;
}

HeadlessMediaDevice::~HeadlessMediaDevice() {
    platform_.cancel(this);
    platform_.remove_device(this);
}

void HeadlessMediaDevice::stop() {
    if (playing_) {
        position_ms_ = std::min(length_ms_, position_ms_ + static_cast<int>(platform_.now_ms() - started_at_));
        playing_ = false;
    }
    platform_.cancel(this);
}

void HeadlessMediaDevice::command(const std::string& name) {
    std::string command = name;
    for (char& c : command) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (fail_when && fail_when(command, file_name_)) {
        // A failed "play" plays nothing; a failed "open" leaves nothing open.
        stop();
        if (command == "open") open_ = false;
        error_ = kErrorDriver;
    } else if (command == "open") {
        stop();
        auto length = wave_length_ms(file_name_);
        open_ = length.has_value();
        open_file_ = open_ ? file_name_ : "";
        length_ms_ = length.value_or(0);
        position_ms_ = 0;
        error_ = open_ ? 0 : kErrorCannotOpen;
    } else if (command == "close") {
        stop();
        open_ = false;
        open_file_.clear();
        error_ = 0;
    } else if (command == "play") {
        if (!open_) {
            error_ = kErrorNotOpen;
        } else {
            stop();
            playing_ = true;
            started_at_ = platform_.now_ms();
            error_ = 0;
            const uint64_t ends = started_at_ + static_cast<uint64_t>(length_ms_ - position_ms_);
            platform_.schedule(ends, [this] {
                playing_ = false;
                position_ms_ = length_ms_;
                if (notify_ && on_done) on_done(1);
            }, this);
        }
    } else if (command == "prev") {
        stop();
        position_ms_ = 0;
        error_ = open_ ? 0 : kErrorNotOpen;
    } else if (command == "eject") {
        error_ = 0;
    } else {
        error_ = kErrorUnknownCommand;
    }
    platform_.record(command, file_name_, error_);
}

}  // namespace mem
