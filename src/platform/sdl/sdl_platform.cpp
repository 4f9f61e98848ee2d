#include "platform/sdl/sdl_platform.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl/image_decoder.h"
#include "platform/sdl/renderer_choice.h"
#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/text_encoding.h"

namespace mem {
namespace {

constexpr int kStatusTickMs = 250;
constexpr int kSplashWidth = 480;
constexpr int kSplashHeight = 320;

std::string without_trailing_separator(std::string dir) {
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
    return dir;
}

// A carriage return in a message breaks the line.
std::string message_lines(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return to_utf8(out);
}

}  // namespace

SdlPlatform::SdlPlatform(std::string arguments, std::string program_dir, std::string system_dir)
    : arguments_(std::move(arguments)),
      program_dir_(without_trailing_separator(std::move(program_dir))),
      system_dir_(without_trailing_separator(std::move(system_dir))) {
    seed_from_clock();
}

SdlPlatform::~SdlPlatform() {
    for (auto& [window, shown] : shown_) {
        shown->painter.reset();
        if (shown->renderer) SDL_DestroyRenderer(shown->renderer);
        if (shown->sdl) SDL_DestroyWindow(shown->sdl);
    }
    shown_.clear();
    close_sound_output();
    fonts_.reset();
    if (started_) {
        TTF_Quit();
        SDL_Quit();
    }
}

bool SdlPlatform::start(std::string& error) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        error = SDL_GetError();
        return false;
    }
    started_ = true;
    if (TTF_Init() != 0) {
        error = TTF_GetError();
        return false;
    }
    fonts_ = std::make_unique<FontCache>();
    sound_event_ = SDL_RegisterEvents(1);
    return true;
}

ScreenInfo SdlPlatform::screen() const {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {640, 480, 15};
    return {mode.w, mode.h, 15};
}

SdlPlatform::Shown* SdlPlatform::find(Window& window) {
    auto it = shown_.find(&window);
    return it == shown_.end() ? nullptr : it->second.get();
}

Window* SdlPlatform::window_of(uint32_t sdl_window_id) {
    for (auto& [window, shown] : shown_)
        if (shown->sdl && SDL_GetWindowID(shown->sdl) == sdl_window_id) return window;
    return nullptr;
}

void SdlPlatform::create_sdl_window(Window& window, bool modal) {
    if (find(window)) return;
    // The game window (shown modally) covers the desktop without a frame;
    // the splash window is a smaller borderless window in the middle, or
    // the whole desktop when maximized.
    const ScreenInfo s = screen();
    const bool whole = modal || window.window_state() == WindowState::Maximized;
    const bool hidden = modal;  // a modal window shows once it has loaded
    const int w = whole ? s.width : std::min(kSplashWidth, s.width);
    const int h = whole ? s.height : std::min(kSplashHeight, s.height);
    Uint32 flags = SDL_WINDOW_BORDERLESS;
    if (hidden) flags |= SDL_WINDOW_HIDDEN;
    SDL_Window* sdl = SDL_CreateWindow(window.caption().empty() ? "Memory" : window.caption().c_str(),
                                       whole ? 0 : SDL_WINDOWPOS_CENTERED, whole ? 0 : SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!sdl) {
        std::fprintf(stderr, "Memory: cannot open a window: %s\n", SDL_GetError());
        end_program(kExitNoDisplay);
    }
    SDL_Renderer* renderer = create_renderer(sdl);
    if (!renderer) {
        std::fprintf(stderr, "Memory: cannot draw in a window: %s\n", SDL_GetError());
        end_program(kExitNoDisplay);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    auto shown = std::make_unique<Shown>();
    shown->sdl = sdl;
    shown->renderer = renderer;
    shown->painter = std::make_unique<Painter>(renderer, *fonts_);
    shown_[&window] = std::move(shown);
    order_.erase(std::remove(order_.begin(), order_.end(), &window), order_.end());
    order_.push_back(&window);
    window.set_size(w, h);
    window.set_loaded(true);
    window.invalidate();
}

void SdlPlatform::fit_to_state(Window& window, Shown& shown) {
    if (window.window_state() != WindowState::Maximized) return;
    const ScreenInfo s = screen();
    if (window.width() == s.width && window.height() == s.height) return;
    SDL_SetWindowPosition(shown.sdl, 0, 0);
    SDL_SetWindowSize(shown.sdl, s.width, s.height);
    window.set_size(s.width, s.height);
}

void SdlPlatform::destroy_sdl_window(Window& window) {
    auto it = shown_.find(&window);
    if (it != shown_.end()) {
        it->second->painter.reset();
        SDL_DestroyRenderer(it->second->renderer);
        SDL_DestroyWindow(it->second->sdl);
        shown_.erase(it);
    }
    order_.erase(std::remove(order_.begin(), order_.end(), &window), order_.end());
}

void SdlPlatform::show(Window& window) {
    create_sdl_window(window, false);
    Shown* shown = find(window);
    SDL_ShowWindow(shown->sdl);
    SDL_RaiseWindow(shown->sdl);
    paint_changed();
}

void SdlPlatform::show_modal(Window& window) {
    // The window exists, hidden, while it loads; it shows once loaded.
    create_sdl_window(window, true);
    if (window.on_load) window.on_load();
    if (!window.loaded()) return;
    Shown* shown = find(window);
    SDL_ShowWindow(shown->sdl);
    SDL_RaiseWindow(shown->sdl);
    paint_changed();
    shown->activated = true;
    if (window.on_activate) window.on_activate();
    while (window.loaded()) run_once(true);
}

void SdlPlatform::close(Window& window) {
    window.set_loaded(false);
    destroy_sdl_window(window);
}

void SdlPlatform::forget(Window& window) { destroy_sdl_window(window); }

int SdlPlatform::message_box(const std::string& text, int style, const std::string& title) {
    const std::string lines = message_lines(text);
    const std::string caption = to_utf8(title);
    // Every box also goes to standard error, for a player at a terminal.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), lines.c_str());
    std::fflush(stderr);

    const SDL_MessageBoxButtonData ok{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerOk, "OK"};
    const SDL_MessageBoxButtonData cancel{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAnswerCancel, "Cancel"};
    std::vector<SDL_MessageBoxButtonData> buttons{ok};
    if (style == kStyleCriticalOkCancel) buttons.push_back(cancel);
    else buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;

    SDL_Window* parent = nullptr;
    if (Window* front = keyboard_window())
        if (Shown* shown = find(*front)) parent = shown->sdl;
    SDL_MessageBoxData box{};
    box.flags = (style == kStyleCritical || style == kStyleCriticalOkCancel) ? SDL_MESSAGEBOX_ERROR
                                                                            : SDL_MESSAGEBOX_INFORMATION;
    box.window = parent;
    box.title = caption.c_str();
    box.message = lines.c_str();
    box.numbuttons = static_cast<int>(buttons.size());
    box.buttons = buttons.data();
    int answer = kAnswerOk;
    // Where no box can be shown (no display, the offscreen driver) the answer is OK.
    if (SDL_ShowMessageBox(&box, &answer) != 0 || answer < 0) answer = kAnswerOk;
    // Whatever was painted under the box is painted again.
    for (auto& [window, shown] : shown_) window->invalidate();
    return answer;
}

void SdlPlatform::yield() { run_once(false); }

void SdlPlatform::sleep(int ms) {
    paint_changed();
    if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

double SdlPlatform::random() { return static_cast<double>(random_() >> 8) / 16777216.0; }

void SdlPlatform::seed_from_clock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random_.seed(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

PictureRef SdlPlatform::load_picture(const std::string& path, std::string& error) {
    PictureRef picture = decode_picture(path, error);
    if (!picture) std::fprintf(stderr, "Memory: cannot load picture %s: %s\n", path.c_str(), error.c_str());
    return picture;
}

Size SdlPlatform::measure_text(const Font& font, const std::string& text, int wrap_width) {
    if (!fonts_) fonts_ = std::make_unique<FontCache>();
    return fonts_->measure(font, text, wrap_width);
}

std::unique_ptr<MediaDevice> SdlPlatform::create_media_device(Window&) {
    open_sound_output(sound_event_);
    int channel = 0;
    while (std::any_of(devices_.begin(), devices_.end(), [channel](SdlMediaDevice* d) { return d->channel() == channel; }))
        ++channel;
    auto device = std::make_unique<SdlMediaDevice>(*this, channel);
    devices_.push_back(device.get());
    return device;
}

void SdlPlatform::remove_device(SdlMediaDevice* device) {
    devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
}

void SdlPlatform::end_program(int status) {
    for (Window* w : order_) w->set_loaded(false);
    for (auto& [window, shown] : shown_) {
        shown->painter.reset();
        SDL_DestroyRenderer(shown->renderer);
        SDL_DestroyWindow(shown->sdl);
    }
    shown_.clear();
    order_.clear();
    close_sound_output();
    std::fflush(nullptr);
    // The game's objects stay where they are; the process ends here.
    std::_Exit(status);
}

Window* SdlPlatform::keyboard_window() {
    if (SDL_Window* focus = SDL_GetKeyboardFocus())
        if (Window* w = window_of(SDL_GetWindowID(focus))) return w;
    return order_.empty() ? nullptr : order_.back();
}

void SdlPlatform::deliver_key(int16_t key) {
    Window* target = keyboard_window();
    if (target && target->loaded() && target->on_key_press) target->on_key_press(key);
}

void SdlPlatform::deliver_click(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT) return;
    Window* window = window_of(button.windowID);
    if (!window || !window->loaded()) return;
    Control* target = window->control_at(button.x, button.y);
    if (!target) return;
    // The second click of a double click is a double-click event only.
    if (button.clicks >= 2 && button.clicks % 2 == 0) {
        if (target->on_double_click) target->on_double_click(target->index());
    } else if (target->on_click) {
        target->on_click(target->index());
    }
}

void SdlPlatform::dispatch(const SDL_Event& event) {
    if (event.type == sound_event_) {
        for (SdlMediaDevice* device : devices_)
            if (device->channel() == event.user.code) {
                device->completed(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event.user.data1)));
                break;
            }
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            // The desktop asked the program to end (a window manager's close).
            deliver_key(27);
            break;
        case SDL_KEYDOWN:
            switch (event.key.keysym.sym) {
                case SDLK_ESCAPE: deliver_key(27); break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER: deliver_key(13); break;
                case SDLK_BACKSPACE: deliver_key(8); break;
                case SDLK_TAB: deliver_key(9); break;
                default: break;
            }
            break;
        case SDL_TEXTINPUT: {
            const unsigned char first = static_cast<unsigned char>(event.text.text[0]);
            if (first >= 32 && first < 127) deliver_key(static_cast<int16_t>(first));
            break;
        }
        case SDL_MOUSEBUTTONUP:
            deliver_click(event.button);
            break;
        case SDL_WINDOWEVENT: {
            Window* window = window_of(event.window.windowID);
            if (!window) break;
            Shown* shown = find(*window);
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SHOWN) {
                window->invalidate();
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                shown->focus_lost = true;
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                // Activation again when the window regains the keyboard focus.
                if (shown->activated && shown->focus_lost) {
                    shown->focus_lost = false;
                    if (window->on_activate) window->on_activate();
                }
            }
            break;
        }
        default:
            break;
    }
}

uint64_t SdlPlatform::next_due() const {
    uint64_t due = UINT64_MAX;
    for (const Window* w : order_)
        for (const Timer* t : w->timers())
            if (t->enabled()) due = std::min(due, t->due());
    if (!order_.empty())
        for (const SdlMediaDevice* d : devices_) due = std::min(due, d->next_status_tick);
    return due;
}

void SdlPlatform::fire_due() {
    const uint64_t now = now_ms();
    // A snapshot: a handler may switch timers on or off, or close a window.
    std::vector<Timer*> due_timers;
    for (Window* w : order_)
        for (Timer* t : w->timers())
            if (t->enabled() && t->due() <= now) due_timers.push_back(t);
    for (Timer* t : due_timers) {
        bool still_there = false;
        for (Window* w : order_)
            still_there = still_there || std::find(w->timers().begin(), w->timers().end(), t) != w->timers().end();
        if (still_there && t->enabled() && t->due() <= now) t->fire(now);
    }
    if (order_.empty()) return;
    std::vector<SdlMediaDevice*> ticking;
    for (SdlMediaDevice* d : devices_)
        if (d->next_status_tick <= now) ticking.push_back(d);
    for (SdlMediaDevice* d : ticking) {
        if (std::find(devices_.begin(), devices_.end(), d) == devices_.end()) continue;
        // One tick at most after a long block: the next one is a full interval away.
        d->next_status_tick = now + kStatusTickMs;
        if (d->on_status_update) d->on_status_update();
    }
}

void SdlPlatform::run_once(bool wait) {
    SDL_Event event;
    if (wait) {
        const uint64_t due = next_due();
        const uint64_t now = now_ms();
        int timeout = -1;
        if (due != UINT64_MAX) timeout = due <= now ? 0 : static_cast<int>(std::min<uint64_t>(due - now, 60000));
        if (SDL_WaitEventTimeout(&event, timeout)) dispatch(event);
    }
    // Only what is pending now: events that handlers cause wait for the next round.
    SDL_PumpEvents();
    std::vector<SDL_Event> pending;
    while (SDL_PollEvent(&event)) pending.push_back(event);
    for (const SDL_Event& e : pending) dispatch(e);
    fire_due();
    paint_changed();
}

void SdlPlatform::paint_changed() {
    for (Window* w : std::vector<Window*>(order_)) {
        Shown* shown = find(*w);
        if (!shown || !w->dirty()) continue;
        if (SDL_GetWindowFlags(shown->sdl) & SDL_WINDOW_HIDDEN) continue;
        fit_to_state(*w, *shown);
        w->mark_painted();
        shown->painter->paint(*w);
        SDL_RenderPresent(shown->renderer);
    }
}

std::vector<uint32_t> SdlPlatform::read_pixels(Window& window) {
    Shown* shown = find(window);
    if (!shown) return {};
    shown->painter->paint(window);
    std::vector<uint32_t> pixels(static_cast<size_t>(window.width()) * static_cast<size_t>(window.height()));
    SDL_RenderReadPixels(shown->renderer, nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), window.width() * 4);
    SDL_RenderPresent(shown->renderer);
    window.mark_painted();
    return pixels;
}

}  // namespace mem
