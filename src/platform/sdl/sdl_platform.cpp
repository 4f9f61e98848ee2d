#include "platform/sdl/sdl_platform.h"

#include <SDL_ttf.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/media/image_decoder.h"
#include "platform/sdl/renderer_choice.h"
#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/speech_dispatcher.h"
#include "platform/sdl/text_encoding.h"
#include "platform/translation.h"

namespace mem {
namespace {

constexpr int kStatusTickMs = SdlMediaDevice::kStatusTickMs;
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

// The key code of the key-down event; 0 for keys the game has no code for.
int16_t key_code(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<int16_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<int16_t>('0' + (key - SDLK_0));
    switch (key) {
        case SDLK_TAB: return kKeyTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return kKeyReturn;
        case SDLK_ESCAPE: return kKeyEscape;
        case SDLK_SPACE: return kKeySpace;
        case SDLK_LEFT: return kKeyLeft;
        case SDLK_UP: return kKeyUp;
        case SDLK_RIGHT: return kKeyRight;
        case SDLK_DOWN: return kKeyDown;
        case SDLK_PAGEUP: return kKeyPageUp;
        case SDLK_PAGEDOWN: return kKeyPageDown;
        case SDLK_END: return kKeyEnd;
        case SDLK_HOME: return kKeyHome;
        case SDLK_DELETE: return kKeyDelete;
        case SDLK_F2: return kKeyF2;
        default: return 0;
    }
}

// Ends the program with status 1 on SIGTERM or SIGINT while a message box is
// shown. SDL shows the box in a child process of its own on X11: that child
// is ended too. Only async-signal-safe calls.
extern "C" void end_during_box(int signal_number) {
    char path[64] = "/proc/self/task/", digits[16];
    int n = 0;
    for (int pid = static_cast<int>(getpid()); pid > 0; pid /= 10) digits[n++] = static_cast<char>('0' + pid % 10);
    size_t at = 16;
    while (n > 0) path[at++] = digits[--n];
    const char tail[] = "/children";
    for (const char c : tail) path[at++] = c;
    const int fd = open(path, O_RDONLY);
    if (fd >= 0) {
        char list[256];
        const ssize_t got = read(fd, list, sizeof list - 1);
        close(fd);
        int child = 0;
        for (ssize_t i = 0; i < got; ++i) {
            if (list[i] >= '0' && list[i] <= '9') {
                child = child * 10 + (list[i] - '0');
            } else {
                if (child > 0) kill(child, signal_number);
                child = 0;
            }
        }
    }
    _exit(kExitFailure);
}

// Keys that act once however long they are held.
bool is_single_key(SDL_Keycode key) {
    return key == SDLK_m || key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_SPACE;
}

// The 32-bit time of an SDL event on the 64-bit clock of now_ms().
uint64_t event_time(uint32_t timestamp) {
    const uint64_t now = SDL_GetTicks64();
    return now - static_cast<uint32_t>(static_cast<uint32_t>(now) - timestamp);
}

// The part of a window that fills the display: its board, or all of it.
Rect board_rect(const Window& window) {
    if (const Control* board = window.board(); board && board->width() > 0 && board->height() > 0)
        return board->window_rect();
    return {0, 0, window.width(), window.height()};
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

bool SdlPlatform::open_video(std::string& error) {
    if (SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        error = SDL_GetError();
        return false;
    }
    // Mended: without a display the program says so and ends, instead of
    // running unseen on a driver that draws nowhere.
    error = tr("no display");
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string driver = SDL_GetVideoDriver(i);
        if (driver == "offscreen" || driver == "dummy" || driver == "evdev") continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    }
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    return false;
}

bool SdlPlatform::start(std::string& error) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_TIMER) != 0) {
        error = SDL_GetError();
        return false;
    }
    started_ = true;
    if (!open_video(error)) return false;
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

// The one place where the kind of renderer is chosen. The software
// renderer draws on the window's own surface, which keeps the frame, so a
// paint sends only the changed areas to the display; on a machine without
// graphics hardware (and under Xvfb) that is far cheaper than sending the
// whole frame through OpenGL every time.
SDL_Renderer* SdlPlatform::create_renderer(SDL_Window* sdl) {
    // The window's surface in memory, not a texture that SDL would send
    // through OpenGL whole for every update.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Renderer* renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (renderer) SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    return renderer;
}

bool SdlPlatform::draws_on_window_surface(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
}

void SdlPlatform::present(Shown& shown, const std::vector<SDL_Rect>& areas) {
    if (!shown.keeps_frame) {
        SDL_RenderPresent(shown.renderer);
        return;
    }
    // Only the changed areas of the window's surface go to the display.
    SDL_RenderFlush(shown.renderer);
    if (!areas.empty()) SDL_UpdateWindowSurfaceRects(shown.sdl, areas.data(), static_cast<int>(areas.size()));
}

void SdlPlatform::create_sdl_window(Window& window, bool modal) {
    if (find(window)) return;
    // The game window (shown modally) covers the desktop without a frame,
    // or starts in a framed window; the splash window is a smaller
    // borderless window in the middle, scaled as the board will be, or the
    // whole desktop when maximized.
    const ScreenInfo s = screen();
    const Size display{s.width, s.height};
    const bool windowed = modal && windowed_;
    const bool whole = modal || window.window_state() == WindowState::Maximized;
    Size logical = whole ? display : Size{kSplashWidth, kSplashHeight};
    Size size = display;
    if (windowed) {
        size = {display.width * 3 / 4, display.height * 3 / 4};
    } else if (!whole) {
        const Size row = kScreenSizes[static_cast<size_t>(largest_fitting(kScreenSizes, display))];
        const Rect shown = ScreenFit(display, {0, 0, row.width, row.height}).to_display({0, 0, logical.width, logical.height});
        size = {std::min(shown.width, display.width), std::min(shown.height, display.height)};
    }
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_BORDERLESS;
    if (modal) flags |= SDL_WINDOW_HIDDEN;  // a modal window shows once it has loaded
    const int position = whole && !windowed ? 0 : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    SDL_Window* sdl = SDL_CreateWindow(window.caption().empty() ? "Memory" : window.caption().c_str(), position,
                                       position, size.width, size.height, flags);
    if (!sdl) {
        std::fprintf(stderr, tr("Memory: cannot open a window: %s\n"), SDL_GetError());
        end_program(kExitNoDisplay);
    }
    SDL_Renderer* renderer = create_renderer(sdl);
    if (!renderer) {
        std::fprintf(stderr, tr("Memory: cannot draw in a window: %s\n"), SDL_GetError());
        end_program(kExitNoDisplay);
    }
    auto shown = std::make_unique<Shown>();
    shown->sdl = sdl;
    shown->renderer = renderer;
    shown->keeps_frame = draws_on_window_surface(renderer);
    shown->painter = std::make_unique<Painter>(renderer, *fonts_, shown->keeps_frame);
    shown->game = modal;
    shown->windowed = windowed;
    shown_[&window] = std::move(shown);
    order_.erase(std::remove(order_.begin(), order_.end(), &window), order_.end());
    order_.push_back(&window);
    window.set_size(logical.width, logical.height);
    window.set_loaded(true);
    window.invalidate();
}

ScreenFit SdlPlatform::fit_of(Window& window) {
    Shown* shown = find(window);
    Size output{window.width(), window.height()};
    if (shown) SDL_GetRendererOutputSize(shown->renderer, &output.width, &output.height);
    return ScreenFit(output, board_rect(window));
}

void SdlPlatform::fit_to_state(Window& window, Shown& shown) {
    // The window as the game sees it: the board with equal margins around
    // it, so what the game centres in the window is centred on the board.
    if (window.board()) {
        const Rect b = board_rect(window);
        if (window.width() != 2 * b.left + b.width || window.height() != 2 * b.top + b.height)
            window.set_size(2 * b.left + b.width, 2 * b.top + b.height);
    }
    if (window.window_state() != WindowState::Maximized || shown.game) return;
    const ScreenInfo s = screen();
    if (window.width() == s.width && window.height() == s.height) return;
    SDL_SetWindowPosition(shown.sdl, 0, 0);
    SDL_SetWindowSize(shown.sdl, s.width, s.height);
    window.set_size(s.width, s.height);
}

// A framed window about three quarters of the display, in the board's proportions.
void SdlPlatform::fit_window_to_board(Window& window, Shown& shown) {
    const ScreenInfo s = screen();
    const Rect size = ScreenFit({s.width * 3 / 4, s.height * 3 / 4}, board_rect(window)).board_on_display();
    SDL_SetWindowFullscreen(shown.sdl, 0);
    SDL_SetWindowBordered(shown.sdl, SDL_TRUE);
    SDL_SetWindowResizable(shown.sdl, SDL_TRUE);
    SDL_SetWindowSize(shown.sdl, std::max(size.width, 1), std::max(size.height, 1));
    SDL_SetWindowPosition(shown.sdl, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    window.invalidate();
}

// Mended: the game's full screen is the desktop's full-screen state
// (_NET_WM_STATE_FULLSCREEN), not only a borderless window at 0, 0 that a
// window manager may shift or a top bar cover. The window covers the
// display already, so it stays right where no window manager answers.
void SdlPlatform::enter_full_screen(Shown& shown) {
    SDL_SetWindowFullscreen(shown.sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlPlatform::toggle_windowed(Window& window) {
    Shown* shown = find(window);
    if (!shown || !shown->game) return;
    shown->windowed = !shown->windowed;
    if (shown->windowed) {
        fit_window_to_board(window, *shown);
    } else {
        SDL_SetWindowResizable(shown->sdl, SDL_FALSE);
        const ScreenInfo s = screen();
        SDL_SetWindowSize(shown->sdl, s.width, s.height);
        SDL_SetWindowPosition(shown->sdl, 0, 0);
        enter_full_screen(*shown);
        SDL_RaiseWindow(shown->sdl);
    }
    window.invalidate();
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
    // The load may have given the window its own title.
    if (!window.caption().empty()) SDL_SetWindowTitle(shown->sdl, to_utf8(window.caption()).c_str());
    if (shown->windowed) fit_window_to_board(window, *shown);
    SDL_ShowWindow(shown->sdl);
    SDL_RaiseWindow(shown->sdl);
    paint_changed();
    // Full screen once the board shows: SDL waits up to 100 ms for a window
    // manager to confirm it, which the first picture need not wait for.
    if (!shown->windowed) enter_full_screen(*shown);
    shown->activated = true;
    if (window.on_activate) window.on_activate();
    while (window.loaded()) run_once(true);
}

void SdlPlatform::close(Window& window) {
    window.set_loaded(false);
    destroy_sdl_window(window);
}

void SdlPlatform::forget(Window& window) { destroy_sdl_window(window); }

int message_box_answer(int status, int button, int style) {
    // Where no box can be shown (no display, the offscreen driver) the answer is OK.
    if (status != 0) return kAnswerOk;
    // A question box closed through the window manager is Cancel, as
    // closing an OK/Cancel box is on the desktop the game was made for; a
    // box with OK alone closed that way is OK.
    if (button == kAnswerOk || button == kAnswerCancel) return button;
    return style == kStyleCriticalOkCancel ? kAnswerCancel : kAnswerOk;
}

int SdlPlatform::message_box(const std::string& text, int style, const std::string& title) {
    const std::string lines = message_lines(text);
    const std::string caption = to_utf8(title);
    // Every box also goes to standard error, for a player at a terminal.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), lines.c_str());
    std::fflush(stderr);

    // TRANSLATORS: the buttons of a message box.
    const SDL_MessageBoxButtonData ok{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerOk, tr("OK")};
    const SDL_MessageBoxButtonData cancel{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAnswerCancel, tr("Cancel")};
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
    int button = -1;
    // Mended: SIGTERM or SIGINT while the box is shown ends the program with
    // status 1 at once (the box waits in its own loop, where SDL's handlers
    // only queue a quit event that nobody reads).
    // A signal ignored when the program started (nohup) stays ignored.
    struct sigaction end{}, old_term{}, old_int{};
    end.sa_handler = end_during_box;
    sigemptyset(&end.sa_mask);
    for (auto [number, old] : {std::pair{SIGTERM, &old_term}, std::pair{SIGINT, &old_int}}) {
        sigaction(number, nullptr, old);
        if (old->sa_handler != SIG_IGN) sigaction(number, &end, nullptr);
    }
    // The button is read only after the box has answered: in one call's
    // arguments the order would be unspecified.
    const int status = SDL_ShowMessageBox(&box, &button);
    sigaction(SIGTERM, &old_term, nullptr);
    sigaction(SIGINT, &old_int, nullptr);
    const int answer = message_box_answer(status, button, style);
    // Whatever was painted under the box is painted again.
    for (auto& [window, shown] : shown_) window->invalidate();
    return answer;
}

void SdlPlatform::yield() { run_once(false); }

void SdlPlatform::sleep(int ms) {
    // The painting is part of the pause, so animation frames keep their pace.
    const uint64_t until = now_ms() + static_cast<uint64_t>(std::max(ms, 0));
    paint_changed();
    // Input that comes during the pause is queued (not handled) as it comes,
    // so its time is when it came, not when the pause is over.
    constexpr uint64_t kPumpMs = 20;
    for (uint64_t now = now_ms(); now < until; now = now_ms()) {
        SDL_Delay(static_cast<Uint32>(std::min(until - now, kPumpMs)));
        SDL_PumpEvents();
    }
}

double SdlPlatform::random() { return static_cast<double>(random_() >> 8) / 16777216.0; }

void SdlPlatform::seed_from_clock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random_.seed(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

PictureRef SdlPlatform::load_picture(const std::string& path, std::string& error) {
    PictureRef picture = decode_picture(path, error);
    if (!picture) std::fprintf(stderr, tr("Memory: cannot load picture %s: %s\n"), path.c_str(), error.c_str());
    return picture;
}

Size SdlPlatform::measure_text(const Font& font, const std::string& text, int wrap_width) {
    if (!fonts_) fonts_ = std::make_unique<FontCache>();
    return fonts_->measure(font, text, wrap_width, text_scale());
}

double SdlPlatform::text_scale() {
    if (measuring_scale_ > 0) return measuring_scale_;
    for (auto it = order_.rbegin(); it != order_.rend(); ++it)
        if (const Control* board = (*it)->board(); board && board->width() > 0 && board->height() > 0 && find(**it))
            return fit_of(**it).scale();
    // Before a board is shown: the scale of a board of the largest screen
    // size that fits, filling the display, as the game's full screen shows it.
    const ScreenInfo s = screen();
    const Size display{s.width, s.height};
    const Size row = kScreenSizes[static_cast<size_t>(largest_fitting(kScreenSizes, display))];
    return ScreenFit(display, {0, 0, row.width, row.height}).scale();
}

// The scale a window is shown at changed (a resize, F11): its auto-sized
// labels are measured again at the new size of their text.
void SdlPlatform::refit_labels(Window& window, Shown& shown) {
    const double scale = fit_of(window).scale();
    if (scale == shown.text_scale) return;
    shown.text_scale = scale;
    measuring_scale_ = scale;
    for (Control* c : window.controls())
        if (c->kind() == ControlKind::Label) {
            auto* label = static_cast<Label*>(c);
            if (label->auto_size()) label->set_auto_size(true);
        }
    measuring_scale_ = 0;
}

// A sound device of the window is muted: the speaker-off mark shows.
bool SdlPlatform::muted(const Window& window) const {
    return std::any_of(devices_.begin(), devices_.end(),
                       [&window](const SdlMediaDevice* d) { return &d->window() == &window && d->muted(); });
}

std::unique_ptr<Speech> SdlPlatform::open_speech() { return std::make_unique<SpeechDispatcher>(); }

std::unique_ptr<MediaDevice> SdlPlatform::create_media_device(Window& window) {
    open_sound_output(sound_event_);
    int channel = 0;
    while (std::any_of(devices_.begin(), devices_.end(), [channel](SdlMediaDevice* d) { return d->channel() == channel; }))
        ++channel;
    auto device = std::make_unique<SdlMediaDevice>(*this, window, channel);
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

void SdlPlatform::deliver_key_down(int16_t code) {
    Window* target = keyboard_window();
    if (target && target->loaded() && target->on_key_down) target->on_key_down(code);
}

void SdlPlatform::deliver_click(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT) return;
    Window* window = window_of(button.windowID);
    if (!window || !window->loaded()) return;
    Shown* shown = find(*window);
    // Mouse positions come in window points; a HiDPI display has more pixels.
    int points_w = 1, points_h = 1, pixels_w = 1, pixels_h = 1;
    SDL_GetWindowSize(shown->sdl, &points_w, &points_h);
    SDL_GetRendererOutputSize(shown->renderer, &pixels_w, &pixels_h);
    const int px = static_cast<int>(static_cast<int64_t>(button.x) * pixels_w / std::max(points_w, 1));
    const int py = static_cast<int>(static_cast<int64_t>(button.y) * pixels_h / std::max(points_h, 1));
    int x = 0, y = 0;
    // The margins around the board hold nothing.
    if (!fit_of(*window).to_window(px, py, x, y)) return;
    Control* target = window->control_at(x, y);
    if (!target) return;
    // The second click on one control within the double-click time is a
    // double-click event only.
    const char* hint = SDL_GetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME);
    const uint32_t double_click_ms = hint ? static_cast<uint32_t>(std::atoi(hint)) : 500;
    const bool second = last_click_.control == target && button.timestamp - last_click_.time <= double_click_ms;
    last_click_ = second ? LastClick{} : LastClick{target, button.timestamp};
    if (second) {
        if (target->on_double_click) target->on_double_click(target->index());
    } else if (target->on_click) {
        target->on_click(target->index());
    }
}

void SdlPlatform::dispatch(const SDL_Event& event) {
    input_time_ = 0;
    if (event.type == SDL_KEYDOWN || event.type == SDL_TEXTINPUT || event.type == SDL_MOUSEBUTTONUP)
        input_time_ = event_time(event.common.timestamp);
    dispatch_event(event);
    input_time_ = 0;
}

void SdlPlatform::dispatch_event(const SDL_Event& event) {
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
            repeated_text_ = false;
            if (event.key.keysym.sym == SDLK_F11 && event.key.repeat == 0) {
                if (Window* window = window_of(event.key.windowID)) toggle_windowed(*window);
                break;
            }
            // Mended: a held M, Return or Space acts once, not at the key
            // repeat's rate (a held M flipped the sound on and off); the
            // text of the repeat goes too.
            if (event.key.repeat != 0 && is_single_key(event.key.keysym.sym)) {
                repeated_text_ = true;
                break;
            }
            if (const int16_t code = key_code(event.key.keysym.sym)) deliver_key_down(code);
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
            if (std::exchange(repeated_text_, false)) break;
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
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SHOWN ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
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
        case SDL_MOUSEWHEEL:
            if (Window* window = window_of(event.wheel.windowID); window && window->on_wheel && event.wheel.y != 0)
                window->on_wheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y);
            break;
        case SDL_DROPBEGIN:
            dropped_.clear();
            break;
        case SDL_DROPFILE:
            dropped_.push_back(event.drop.file);
            SDL_free(event.drop.file);
            break;
        case SDL_DROPTEXT:
            SDL_free(event.drop.file);
            break;
        case SDL_DROPCOMPLETE:
            // The files of one drop arrive together.
            if (Window* window = window_of(event.drop.windowID); window && window->on_drop && !dropped_.empty())
                window->on_drop(dropped_);
            dropped_.clear();
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            for (auto& [window, shown] : shown_) window->invalidate();
            break;
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
        for (const SdlMediaDevice* d : devices_)
            if (d->ticking()) due = std::min(due, d->next_status_tick);
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
        if (d->ticking() && d->next_status_tick <= now) ticking.push_back(d);
    for (SdlMediaDevice* d : ticking) {
        if (std::find(devices_.begin(), devices_.end(), d) == devices_.end()) continue;
        // One tick at most after a long block: the next one is a full interval away.
        d->next_status_tick = now + kStatusTickMs;
        d->tick_owed = false;
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
        refit_labels(*w, *shown);
        const std::vector<SDL_Rect> areas =
            shown->painter->paint(*w, fit_of(*w), w->whole_dirty(), muted(*w));
        w->mark_painted();
        present(*shown, areas);
    }
}

std::vector<uint32_t> SdlPlatform::read_pixels(Window& window, Size& size) {
    Shown* shown = find(window);
    if (!shown) return {};
    fit_to_state(window, *shown);
    refit_labels(window, *shown);
    const std::vector<SDL_Rect> areas = shown->painter->paint(window, fit_of(window), true, muted(window));
    window.mark_painted();
    std::vector<uint32_t> pixels = shown->painter->read_frame(size);
    present(*shown, areas);
    return pixels;
}

}  // namespace mem
