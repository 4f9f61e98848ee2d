#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cmath>

#include "platform/headless/headless_media_device.h"
#include "platform/media/image_decoder.h"

namespace mem {

HeadlessPlatform::HeadlessPlatform() : random_(seed) {}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::show_modal(Window& window) {
    show(window);
    if (window.on_load) window.on_load();
    if (window.loaded() && window.on_activate) window.on_activate();
    if (window.loaded() && while_modal) while_modal(window);
}

void HeadlessPlatform::show(Window& window) {
    window.set_size(screen_info.width, screen_info.height);
    window.set_loaded(true);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
    windows_.push_back(&window);
    if (std::find(known_.begin(), known_.end(), &window) == known_.end()) known_.push_back(&window);
}

void HeadlessPlatform::close(Window& window) {
    window.set_loaded(false);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
}

int HeadlessPlatform::message_box(const std::string& text, int style, const std::string& title) {
    message_boxes.push_back({text, style, title});
    int answer = kAnswerOk;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    // A box with only an OK button cannot answer Cancel.
    return style == kStyleCriticalOkCancel ? answer : kAnswerOk;
}

void HeadlessPlatform::yield() {
    if (during_yield) during_yield();
    run_until_idle();
}

void HeadlessPlatform::sleep(int ms) {
    if (ms > 0) now_ += static_cast<uint64_t>(ms);
}

double HeadlessPlatform::random() { return static_cast<double>(random_() >> 8) / 16777216.0; }

void HeadlessPlatform::seed_from_clock() { random_.seed(seed); }

PictureRef HeadlessPlatform::load_picture(const std::string& path, std::string& error) {
    return decode_picture(path, error);
}

Size HeadlessPlatform::measure_text(const Font& font, const std::string& text, int wrap_width) {
    // A fixed-pitch approximation: what matters in tests is that it is
    // deterministic and grows with the font. Sizes are kept within 1 to
    // 1000 pixels, as the real backend keeps them.
    const double pixels = std::clamp(std::isnan(font.size) ? 1.0 : font.size * 96.0 / 72.0, 1.0, 1000.0);
    const int char_width = std::max(1, static_cast<int>(std::nearbyint(pixels * 0.55)));
    const int line_height = std::max(1, static_cast<int>(std::nearbyint(pixels * 1.25)));
    const long long chars = static_cast<long long>(text.size());
    auto fit = [](long long v) { return static_cast<int>(std::min<long long>(v, 1 << 30)); };
    if (wrap_width <= 0 || chars * char_width <= wrap_width) return {fit(chars * char_width), line_height};
    const long long per_line = std::max(1, wrap_width / char_width);
    const long long lines = (chars + per_line - 1) / per_line;
    return {fit(per_line * char_width), fit(lines * line_height)};
}

std::unique_ptr<MediaDevice> HeadlessPlatform::create_media_device(Window&) {
    auto device = std::make_unique<HeadlessMediaDevice>(*this);
    devices_.push_back(device.get());
    return device;
}

void HeadlessPlatform::forget(Window& window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
    known_.erase(std::remove(known_.begin(), known_.end(), &window), known_.end());
}

void HeadlessPlatform::end_program(int status) {
    for (Window* w : windows_) w->set_loaded(false);
    windows_.clear();
    throw ProgramEnded(status);
}

void HeadlessPlatform::schedule(uint64_t at, std::function<void()> action, const void* owner) {
    scheduled_.push_back({at, next_order_++, std::move(action), owner});
}

void HeadlessPlatform::cancel(const void* owner) {
    scheduled_.erase(std::remove_if(scheduled_.begin(), scheduled_.end(),
                                    [owner](const Scheduled& s) { return s.owner == owner; }),
                     scheduled_.end());
}

void HeadlessPlatform::record(const std::string& command, const std::string& file, int error) {
    device_commands.push_back({now_, command, file, error});
}

void HeadlessPlatform::remove_device(HeadlessMediaDevice* device) {
    devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
}

bool HeadlessPlatform::fire_next(uint64_t limit) {
    // The earliest of: scheduled sound events, timer ticks, status ticks.
    enum class Source { None, Scheduled, Timer, Status } source = Source::None;
    uint64_t best = limit + 1;
    size_t scheduled_index = 0;
    Timer* timer = nullptr;
    HeadlessMediaDevice* device = nullptr;
    for (size_t i = 0; i < scheduled_.size(); ++i) {
        const Scheduled& s = scheduled_[i];
        if (s.at < best || (s.at == best && source == Source::Scheduled && s.order < scheduled_[scheduled_index].order)) {
            best = s.at;
            source = Source::Scheduled;
            scheduled_index = i;
        }
    }
    for (Window* w : windows_)
        for (Timer* t : w->timers())
            if (t->enabled() && t->due() < best) {
                best = t->due();
                source = Source::Timer;
                timer = t;
            }
    if (!windows_.empty())
        for (HeadlessMediaDevice* d : devices_)
            if (d->next_status_tick < best) {
                best = d->next_status_tick;
                source = Source::Status;
                device = d;
            }
    if (source == Source::None) return false;
    now_ = std::max(now_, best);
    switch (source) {
        case Source::Scheduled: {
            auto action = std::move(scheduled_[scheduled_index].action);
            scheduled_.erase(scheduled_.begin() + static_cast<long>(scheduled_index));
            action();
            break;
        }
        case Source::Timer:
            timer->fire(now_);
            break;
        case Source::Status:
            device->next_status_tick = now_ + 250;
            ++status_ticks;
            if (device->on_status_update) device->on_status_update();
            break;
        case Source::None:
            break;
    }
    return true;
}

void HeadlessPlatform::advance(uint64_t ms) {
    const uint64_t target = now_ + ms;
    while (fire_next(target)) {
    }
    now_ = std::max(now_, target);
}

void HeadlessPlatform::run_until_idle() {
    while (fire_next(now_)) {
    }
}

Window* HeadlessPlatform::window(const std::string& name) const {
    for (Window* w : known_)
        if (w->name() == name) return w;
    return nullptr;
}

Control* HeadlessPlatform::find_control(const std::string& name, int16_t index) const {
    for (auto it = known_.rbegin(); it != known_.rend(); ++it)
        for (Control* c : (*it)->controls())
            if (c->name() == name && c->index() == index) return c;
    return nullptr;
}

Label& HeadlessPlatform::label(const std::string& name, int16_t index) const {
    Control* c = find_control(name, index);
    if (!c || c->kind() != ControlKind::Label) throw std::out_of_range("no label " + name);
    return *static_cast<Label*>(c);
}

Image& HeadlessPlatform::image(const std::string& name, int16_t index) const {
    Control* c = find_control(name, index);
    if (!c || c->kind() != ControlKind::Image) throw std::out_of_range("no picture " + name);
    return *static_cast<Image*>(c);
}

bool HeadlessPlatform::click_at(int x, int y) {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        Control* target = (*it)->control_at(x, y);
        if (!target) continue;
        if (target->on_click) target->on_click(target->index());
        return true;
    }
    return false;
}

bool HeadlessPlatform::click(const std::string& name, int16_t index) {
    Control* c = find_control(name, index);
    if (!c) return false;
    const int x = c->window_left() + c->width() / 2;
    const int y = c->window_top() + c->height() / 2;
    Control* target = c->window().control_at(x, y);
    if (!target) return false;
    if (target->on_click) target->on_click(target->index());
    return target == c;
}

bool HeadlessPlatform::double_click(const std::string& name, int16_t index) {
    Control* c = find_control(name, index);
    if (!c || !c->shown() || !c->enabled()) return false;
    if (c->on_double_click) c->on_double_click(c->index());
    return true;
}

void HeadlessPlatform::press_key(int16_t key_ascii) {
    if (windows_.empty()) return;
    Window* front = windows_.back();
    if (front->on_key_press) front->on_key_press(key_ascii);
}

void HeadlessPlatform::key_down(int16_t key_code) {
    if (windows_.empty()) return;
    Window* front = windows_.back();
    if (front->on_key_down) front->on_key_down(key_code);
}

}  // namespace mem
