#pragma once
// The sound device (mmc_): plays wave files one at a time.
#include <cstdint>
#include <functional>
#include <string>

namespace mem {

class MediaDevice {
public:
    virtual ~MediaDevice() = default;

    // A full path, or empty.
    virtual void set_file_name(const std::string& path) = 0;
    virtual const std::string& file_name() const = 0;
    // "open", "close", "play", "prev" (rewind), "eject". Unknown commands fail.
    virtual void command(const std::string& name) = 0;
    // 0 after the last command succeeded, not 0 after it failed.
    virtual int error() const = 0;
    // -1 when the device has none.
    virtual int16_t device_id() const = 0;
    // Completion events are delivered only while notification is on.
    virtual void set_notify(bool on) = 0;
    virtual bool notify() const = 0;
    // Muted sounds are silent but keep their length: every command and every
    // completion happens as it would with sound.
    virtual void set_muted(bool on) = 0;
    virtual bool muted() const = 0;

    // Once after each "play", when the sound has ended (the code is 1).
    std::function<void(int16_t notify_code)> on_done;
    // A status tick at a regular interval while the window exists.
    std::function<void()> on_status_update;
};

}  // namespace mem
