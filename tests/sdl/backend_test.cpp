// The SDL backend under the offscreen video driver and the dummy audio driver: what a window shows, read back;
// timers, keys, the sound device, message boxes, and the real board scaled to a full HD window.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "support/wave_file.h"
#include "app/game_window.h"
#include "app/program.h"
#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/sdl_platform.h"

namespace mem::test {
namespace {

constexpr Colour kRed = 255, kGreen = 65280, kBlue = 16711680, kYellow = 65535;

// What a window shows on the display, read back (RGBA32: R, G, B, A in memory order).
struct Pixels {
    std::vector<uint32_t> data;
    Size size;
    Pixels(SdlPlatform& platform, Window& window) { data = platform.read_pixels(window, size); }
    Colour at(int x, int y) const {
        if (x < 0 || y < 0 || x >= size.width || y >= size.height) return -1;
        const auto* b = reinterpret_cast<const uint8_t*>(&data[static_cast<size_t>(y * size.width + x)]);
        return b[0] + 256 * b[1] + 65536 * b[2];
    }
    // How many pixels of a rectangle have the colour.
    int count(int left, int top, int w, int h, Colour c) const {
        int n = 0;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) n += at(x, y) == c;
        return n;
    }
};

// One started SDL platform per suite, and a temporary directory.
class SdlBackend : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = std::filesystem::temp_directory_path() / ("sdl-tests-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        platform = new SdlPlatform("", dir.string(), dir.string());
        std::string error;
        ASSERT_TRUE(platform->start(error)) << error;
    }
    static void TearDownTestSuite() {
        delete platform;
        std::filesystem::remove_all(dir);
    }
    // Writes a BMP of one colour and loads it.
    static PictureRef solid(const std::string& name, int w, int h, Colour c) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, static_cast<Uint8>(colour_red(c)),
                                            static_cast<Uint8>(colour_green(c)), static_cast<Uint8>(colour_blue(c))));
        SDL_SaveBMP(s, (dir / name).string().c_str());
        SDL_FreeSurface(s);
        std::string error;
        return platform->load_picture((dir / name).string(), error);
    }
    static void run_for(uint64_t ms) {
        const uint64_t until = platform->now_ms() + ms;
        while (platform->now_ms() < until) platform->run_once(true);
    }
    static inline std::filesystem::path dir;
    static inline SdlPlatform* platform = nullptr;
};

// A box of pictures, an outline, lines and labels, probed; then moves painted by yield and sleep, and clicks.
TEST_F(SdlBackend, ControlsLinesAndLabelsLieWhereTheyAreInDrawingOrder) {
    constexpr int kLeft = 10, kTop = 10;  // the window is 480 x 320
    Window window(*platform, "frm_Test");
    window.set_back_color(kBlue);
    PictureBox box(window, "pic_Box");
    box.set_bounds(kLeft, kTop, 400, 240);
    box.set_picture(solid("box.bmp", 400, 240, kGreen));
    Image card(window, "img_Card", &box), over(window, "img_Over", &box);
    for (Image* image : {&card, &over}) {
        image->set_stretch(true);
        image->set_picture(solid(image->name() + ".bmp", 4, 4, image == &card ? kRed : kBlue));
    }
    card.set_bounds(20, 30, 60, 80);
    over.set_bounds(60, 60, 40, 40);
    Shape outline(window, "shp_Area", &box);
    outline.set_bounds(370, 130, 50, 40);  // its right part lies beyond the box
    outline.set_border_color(kYellow);
    // Width, from, to, colour. The first six are probed across: a line of width w covers w pixels, from w / 2
    // before its middle. The last two run off the box.
    const std::tuple<int, int, int, int, int, Colour> lines[] = {
        {1, 100, 130, 190, 130, kYellow}, {2, 100, 150, 190, 150, kRed},   {5, 100, 170, 190, 170, kYellow},
        {8, 100, 195, 190, 195, kRed},    {1, 220, 130, 220, 230, kRed},   {3, 250, 130, 250, 230, kYellow},
        {3, 0, 100, 150, 100, kYellow},   {1, 10, 120, 50, 160, kYellow},  {9, 300, 100, 380, 20, kYellow},
        {6, 350, 220, 460, 220, kRed},    {6, 350, 220, 350, 280, kRed}};
    for (const auto& [width, x1, y1, x2, y2, colour] : lines) {
        box.set_draw_color(colour);
        box.set_draw_width(width);
        box.line(x1, y1, x2, y2);
    }
    Label left(window, "lbl_Left"), right(window, "lbl_Right");
    for (Label* l : {&left, &right}) {
        l->set_font(make_font("DejaVu Sans", 20, true));
        l->set_caption("MMMM");
        l->set_bounds(l == &left ? 0 : 240, 265, 220, 40);
        l->set_fore_color(l == &left ? kWhite : kYellow);
    }
    right.set_alignment(Alignment::Right);
    platform->show(window);
    for (int repaint = 0; repaint < 2; ++repaint) {
        // The window's colour changes between the two reads: the lines stay.
        const Pixels p(*platform, window);
        const Colour back = window.back_color();
        // What, where on the box, which colour.
        const std::tuple<const char*, int, int, Colour> probes[] = {
            {"window background", -5, -5, back},              {"box picture", 395, 235, kGreen},
            {"stretched card's edge", 20, 70, kRed},          {"later control in front", 70, 80, kBlue},
            {"line beneath the card", 40, 100, kRed},         {"line on the box", 120, 100, kYellow},
            {"outline left edge", 370, 150, kYellow},         {"outline bottom edge", 385, 169, kYellow},
            {"outline not filled", 385, 150, kGreen},         {"beside the outline", 369, 150, kGreen},
            {"thin slanted line", 30, 140, kYellow},          {"thick slanted line", 340, 60, kYellow},
            {"thick line off its middle", 342, 62, kYellow},  {"round end", 300, 103, kYellow},
            {"not a square end", 296, 104, kGreen},           {"round far end", 380, 17, kYellow},
            {"inside the right edge", 399, 220, kRed},        {"beyond the right edge", 400, 220, back},
            {"inside the bottom edge", 350, 239, kRed},       {"beyond the bottom edge", 350, 241, back},
            {"outline cut off by the box", 419, 150, back}};
        for (const auto& [what, x, y, colour] : probes) EXPECT_EQ(p.at(kLeft + x, kTop + y), colour) << what;
        for (const auto& [w, x1, y1, x2, y2, c] : std::span(lines, 6)) {
            const int x = kLeft + (x1 + x2) / 2, y = kTop + (y1 + y2) / 2;
            const bool across_x = x1 == x2;  // a vertical line is crossed along x
            const int near = across_x ? p.count(x - 8, y, 17, 1, c) : p.count(x, y - 8, 1, 17, c);
            const int on = across_x ? p.count(x - w / 2, y, w, 1, c) : p.count(x, y - w / 2, 1, w, c);
            EXPECT_EQ(std::pair(near, on), std::pair(w, w)) << "width " << w << " at " << x << ", " << y;
        }
        window.set_back_color(kBlack);
    }
    // Labels in their colour, in the half their alignment puts them.
    const Pixels p(*platform, window);
    for (const Label* l : {&left, &right}) {
        const int in_left = p.count(l->left(), l->top(), 110, 40, l->fore_color());
        const int in_right = p.count(l->left() + 110, l->top(), 110, 40, l->fore_color());
        EXPECT_GT(l == &left ? in_left : in_right, 100) << l->name();
        EXPECT_EQ(l == &left ? in_right : in_left, 0) << l->name();
    }
    // Yield and sleep paint what changed: a move there and back.
    for (const int dx : {100, -100}) {
        over.set_left(over.left() + dx);
        if (dx > 0) platform->yield();
        else platform->sleep(5);
        EXPECT_FALSE(window.dirty()) << (dx > 0 ? "yield" : "sleep") << " did not paint the move";
        const Pixels moved(*platform, window);
        EXPECT_EQ(moved.at(kLeft + over.left() + 30, kTop + 80), kBlue);
        EXPECT_EQ(moved.at(kLeft + over.left() + 30 - dx, kTop + 80), kGreen);
    }
    // Clicks go to the front control, through disabled and hidden ones.
    const int x = kLeft + 70, y = kTop + 80;
    card.bring_to_front();
    EXPECT_EQ(Pixels(*platform, window).at(x, y), kRed) << "brought to the front";
    EXPECT_EQ(window.control_at(x, y), &card);
    card.set_enabled(false);
    EXPECT_EQ(window.control_at(x, y), &over) << "a disabled picture lets the click through";
    over.set_visible(false);
    EXPECT_EQ(window.control_at(x, y), &box) << "a hidden one is not clicked";
    EXPECT_EQ(Pixels(*platform, window).at(x + 20, y), kGreen) << "nor drawn";
    box.set_visible(false);
    EXPECT_EQ(window.control_at(x, y), nullptr) << "children of a hidden box are hidden";
    platform->close(window);
}

TEST_F(SdlBackend, FontsResolveAndMeasure) {
    auto measure = [](float size, bool bold, int wrap = 0, const char* name = "DejaVu Sans") {
        return platform->measure_text(Font{name, size, bold, false}, "Memory game", wrap);
    };
    const Size small = measure(8, false), large = measure(16, false), wrapped = measure(16, false, large.width / 2 + 5);
    EXPECT_GT(large.width, small.width);
    EXPECT_GT(large.height, small.height);
    EXPECT_GT(measure(16, true).width, large.width);
    EXPECT_GT(measure(16, false, 0, "No Such Font At All").width, 0);
    EXPECT_EQ(wrapped.height, 2 * large.height);
    EXPECT_LT(wrapped.width, large.width);
}

// Timers fire on time while the loop waits without using the processor; after a long block one tick comes, not
// all that were missed. Keys go down with their codes; one the game has no code for (F5) does not.
TEST_F(SdlBackend, TimersAndKeysReachTheWindow) {
    Window window(*platform, "frm_Events");
    Timer timer(window, "tim_Test");
    int ticks = 0;
    timer.on_tick = [&] { ++ticks; };
    std::vector<int16_t> codes;
    window.on_key_down = [&](int16_t& code) { codes.push_back(code); };
    platform->show(window);
    timer.set_interval(200);
    timer.set_enabled(true);
    const std::clock_t cpu = std::clock();
    const uint64_t start = platform->now_ms();
    while (ticks < 2) platform->run_once(true);
    EXPECT_GE(platform->now_ms() - start, 390u);
    EXPECT_LT(platform->now_ms() - start, 1000u);
    EXPECT_LT(1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC, 100.0) << "the wait spun";
    platform->sleep(700);
    ticks = 0;
    for (SDL_Keycode key : {SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_TAB, SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE,
                            SDLK_m, SDLK_F5, SDLK_ESCAPE}) {
        SDL_Event event{.type = SDL_KEYDOWN};
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
    platform->yield();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(codes, (std::vector<int16_t>{kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeyTab, kKeyReturn, kKeyReturn,
                                           kKeySpace, 'M', kKeyEscape}));
    platform->close(window);
}

// Aloud (on the dummy output), silent and muted alike: one completion per play, at the sound's end; status ticks
// every 250 ms.
TEST_F(SdlBackend, SoundDeviceCompletesOncePerPlayAtTheSoundsEnd) {
    write_wave(dir / "short.wav", 300);
    for (const std::string mode : {"aloud", "silent", "muted"}) {
        SCOPED_TRACE(mode);
        Window window(*platform, "frm_Sound");
        platform->show(window);
        auto device = platform->create_media_device(window);
        dynamic_cast<SdlMediaDevice&>(*device).set_silent(mode == "silent");
        device->set_muted(mode == "muted");
        int done = 0, ticks = 0;
        device->on_done = [&](int16_t) { ++done; };
        device->on_status_update = [&] { ++ticks; };
        device->set_notify(true);
        device->set_file_name((dir / "short.wav").string());
        device->command("open");
        const uint64_t start = platform->now_ms();
        device->command("play");
        ASSERT_EQ(device->error(), 0);
        while (done == 0 && platform->now_ms() - start < 3000) platform->run_once(true);
        EXPECT_EQ(done, 1);
        EXPECT_GE(platform->now_ms() - start, 250u);
        EXPECT_LT(platform->now_ms() - start, 1500u);
        // At its end, "play" completes at once; a play halted by "prev" (which rewinds) or "close" does not complete.
        device->command("play");
        run_for(100);
        EXPECT_EQ(done, 2);
        for (const char* halt : {"prev", "close"}) {
            device->command("prev");
            device->command("play");
            platform->sleep(50);
            device->command(halt);
            run_for(500);
            EXPECT_EQ(done, 2) << "a halt by " << halt << " is not a completion";
        }
        EXPECT_NEAR(ticks, static_cast<double>(platform->now_ms() - start) / 250, 1.5) << "status ticks every 250 ms";
        const char* const failing[][2] = {
            {"open", "missing.wav"}, {"open", ""}, {"play", ""}, {"prev", ""}, {"rewind", ""}};
        for (const auto& [command, file] : failing) {
            device->command("close");
            device->set_file_name(file[0] ? (dir / file).string() : "");
            if (std::string(command) != "open") device->command("open");
            device->command(command);
            EXPECT_NE(device->error(), 0) << command << " " << file;
        }
        device->command("eject");
        EXPECT_EQ(device->error(), 0);
        platform->close(window);
    }
}

// What the output is handed: the sound, or silence of the same length while muted; the stream moves on either way.
TEST(SdlSoundStream, MutedStreamHandsOutSilenceAndMovesOn) {
    const uint8_t sound[] = {10, 20, 30, 40, 50, 60};
    for (const bool muted : {false, true}) {
        SdlMediaDevice::Stream stream{sound, sizeof sound, 2, 0, 0, 0x80};
        stream.muted = muted;
        uint8_t out[6] = {};
        fill_sound_block(stream, out, 6);
        const std::vector<uint8_t> aloud{30, 40, 50, 60, 0x80, 0x80}, silent(6, 0x80);
        EXPECT_EQ(std::vector<uint8_t>(out, out + 6), muted ? silent : aloud) << (muted ? "muted" : "aloud");
        EXPECT_EQ(stream.position, sizeof sound);
        EXPECT_TRUE(stream.ended);
    }
}

// SDL_ShowMessageBox's status and button, as the game's answer; no box (no display, as in the board test) is OK.
TEST(MessageBoxAnswer, ClosedQuestionIsCancel) {
    const std::tuple<const char*, int, int, int, int> cases[] = {
        {"OK chosen", 0, kAnswerOk, kStyleCriticalOkCancel, kAnswerOk},
        {"Cancel chosen", 0, kAnswerCancel, kStyleCriticalOkCancel, kAnswerCancel},
        {"question closed by the window manager", 0, -1, kStyleCriticalOkCancel, kAnswerCancel},
        {"fatal message closed by the window manager", 0, -1, kStyleCritical, kAnswerOk},
        {"no box could be shown", -1, -1, kStyleCriticalOkCancel, kAnswerOk},
    };
    for (const auto& [name, status, button, style, answer] : cases)
        EXPECT_EQ(message_box_answer(status, button, style), answer) << name;
}

// The box around the pixels of one colour in a rectangle.
Rect box_of(const Pixels& p, const Rect& r, Colour c) {
    int left = r.right(), top = r.bottom(), right = r.left - 1, bottom = r.top - 1;
    for (int y = r.top; y < r.bottom(); ++y)
        for (int x = r.left; x < r.right(); ++x)
            if (p.at(x, y) == c) {
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x), bottom = std::max(bottom, y);
            }
    return {left, top, right - left + 1, bottom - top + 1};
}

class SdlScaledBoard : public SdlBackend {};

// A 4 x 4 memory game with a timer panel, loaded by the game window as the program does, in a window on the
// offscreen display (1024 x 768, so the 1024 x 768 board), resized to 1920 x 1080: scaled by 1080 / 768, centred.
TEST_F(SdlScaledBoard, CardsAndTextFillAFullHdWindow) {
    constexpr Colour kBoard = 0x206020, kBack = 0x0000C0, kDigits = 0x00FFFF;
    auto write = [](const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; };
    solid("board.bmp", 1024, 768, kBoard);
    solid("back.bmp", 10, 10, kBack);
    solid("panel.bmp", 97, 57, 0x802000);
    write("main.ini", "[interface]\npictures=\t\tboard.bmp\nbackcolor=0\n[timer]\nactive=1\norder=1\nplacex=2\n"
                      "placey=2\npicture=panel.bmp\nfontname=DejaVu Sans\nfontsize=20\nfontbold=1\nforecolor=" +
                          std::to_string(kDigits) + "\n");
    write("global.ini", "[cards]\ncardsx=4\ncardsy=4\ncardwidth=80\ncardheight=80\nborder=1\npicture=back.bmp\n");
    std::string cards;
    for (int i = 0; i < 16; ++i) cards += "c" + std::to_string(i / 2) + "\tback.bmp\tW\n";
    write("cards.txt", cards);
    const std::string root = dir.string() + "/";
    write("memory.ini", "[memory]\napp=memory\n[paths]\ngfx=" + root + "\ncard=" + root + "\nsfx=" + root +
                            "\ndata=" + root + "\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n");
    platform->set_windowed(true);
    Program program(*platform);
    program.memFile = (dir / "memory.ini").string();
    frm_MemoryGame game(program, *platform);
    auto resize = [](int width, int height) {
        for (Uint32 id = 1; id < 64; ++id)
            if (SDL_Window* w = SDL_GetWindowFromID(id)) SDL_SetWindowSize(w, width, height);
    };
    bool checked = false;
    game.on_activate = [&] {
        game.Form_Activate();
        if (!game.loaded()) return;
        checked = true;
        resize(1024, 768);
        const Pixels unscaled(*platform, game);
        resize(1920, 1080);
        const Pixels pixels(*platform, game);
        EXPECT_EQ(std::pair(pixels.size.width, pixels.size.height), std::pair(1920, 1080));
        const ScreenFit fit = platform->fit_of(game);
        EXPECT_EQ(fit.board_on_display(), (Rect{240, 0, 1440, 1080}));
        EXPECT_EQ(pixels.at(100, 500), kBlack) << "the margin shows the window's colour";
        EXPECT_EQ(pixels.at(240 + 5, 500), kBoard) << "the board starts at 240";
        for (int16_t k = 0; k < 16; ++k) {
            const Rect r = fit.to_display(game.img_Card[k].window_rect());
            EXPECT_EQ(box_of(pixels, {r.left - 3, r.top - 3, r.width + 6, r.height + 6}, kBack),
                      (Rect{r.left + 1, r.top + 1, r.width - 2, r.height - 2}))
                << "card " << k << " shows its back inside its border";
            EXPECT_EQ(pixels.at(r.left, r.top + r.height / 2), kBlack) << "card " << k << "'s border";
        }
        // The timer's digits are made at the scaled size: as much taller, with solid strokes (not a blurred stretch).
        const Rect timer = game.lbl_Control[0].window_rect(), shown = fit.to_display(timer);
        const Rect small = box_of(unscaled, timer, kDigits), large = box_of(pixels, shown, kDigits);
        EXPECT_NEAR(static_cast<double>(large.height) / small.height, 1.40625, 0.15);
        EXPECT_NEAR(large.left + large.width / 2, shown.left + shown.width / 2, 3) << "centred";
        EXPECT_GT(pixels.count(shown.left, shown.top, shown.width, shown.height, kDigits),
                  unscaled.count(timer.left, timer.top, timer.width, timer.height, kDigits) * 3 / 2);
        platform->close(game);
    };
    platform->show_modal(game);
    EXPECT_TRUE(checked) << "the game window did not load";
    EXPECT_EQ(program.memStartFailed, False);
}

}  // namespace
}  // namespace mem::test
