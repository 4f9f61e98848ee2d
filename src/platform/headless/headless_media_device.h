#pragma once
// The sound device of the headless backend: sounds take the length their
// wave headers give, on the virtual clock.
#include <functional>
#include <string>

#include "platform/media_device.h"

namespace mem {

class HeadlessPlatform;

class HeadlessMediaDevice : public MediaDevice {
public:
    explicit HeadlessMediaDevice(HeadlessPlatform& platform);
    ~HeadlessMediaDevice() override;

    void set_file_name(const std::string& path) override { file_name_ = path; }
    const std::string& file_name() const override { return file_name_; }
    void command(const std::string& name) override;
    int error() const override { return error_; }
    int16_t device_id() const override { return 1; }
    void set_notify(bool on) override { notify_ = on; }
    bool notify() const override { return notify_; }
    void set_muted(bool on) override { muted_ = on; }
    bool muted() const override { return muted_; }

    bool is_open() const { return open_; }
    // Test hook: a command for which this answers true fails with a driver
    // error (given the command, lower case, and the file name set).
    std::function<bool(const std::string& command, const std::string& file)> fail_when;
    bool is_playing() const { return playing_; }
    uint64_t next_status_tick = 250;

private:
    void stop();
    HeadlessPlatform& platform_;
    std::string file_name_;
    std::string open_file_;
    int error_ = 0;
    bool notify_ = false;
    bool muted_ = false;
    bool open_ = false;
    bool playing_ = false;
    int length_ms_ = 0;
    int position_ms_ = 0;
    uint64_t started_at_ = 0;
};

}  // namespace mem
