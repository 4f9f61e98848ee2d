// The SDL backend on the offscreen video and dummy audio drivers: drawing read back, timers, keys, sound, boxes.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/sdl_platform.h"
#include "support/folder_fixtures.h"

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
    int count(const Rect& r, Colour c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom(); ++y)
            for (int x = r.left; x < r.right(); ++x) n += at(x, y) == c;
        return n;
    }
    // The box around the pixels of the colour in a rectangle.
    Rect box(const Rect& r, Colour c) const {
        int left = r.right(), top = r.bottom(), right = r.left - 1, bottom = r.top - 1;
        for (int y = r.top; y < r.bottom(); ++y)
            for (int x = r.left; x < r.right(); ++x)
                if (at(x, y) == c) {
                    left = std::min(left, x), top = std::min(top, y);
                    right = std::max(right, x), bottom = std::max(bottom, y);
                }
        return {left, top, right - left + 1, bottom - top + 1};
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
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
        SDL_FillRect(s, nullptr, 0xFF000000u | static_cast<Uint32>(c));  // a colour is 0xBBGGRR
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

// A box of pictures, an outline, a filled shape and lines, probed; then changes painted by yield and sleep, and
// hidden controls.
TEST_F(SdlBackend, ControlsAndLinesLieWhereTheyAreInDrawingOrder) {
    Window window(*platform, "frm_Test");  // 480 x 320
    window.set_back_color(kWhite);
    PictureBox box(window, "pic_Box");
    box.set_bounds(0, 0, 400, 240);
    box.set_picture(solid("box.bmp", 400, 240, kGreen));
    Image card(window, "img_Card", &box), over(window, "img_Over", &box);
    card.set_stretch(true);
    card.set_picture(solid("card.bmp", 4, 4, kRed));
    card.set_bounds(20, 30, 60, 80);
    over.set_picture(solid("over.bmp", 40, 40, kBlue));
    over.set_bounds(60, 60, 50, 50);  // larger than its picture, which is not stretched
    over.set_border(true);
    Shape outline(window, "shp_Area", &box);
    outline.set_bounds(370, 130, 50, 40);  // its right part lies beyond the box
    outline.set_border_color(kYellow);
    Shape bar(window, "shp_Bar", &box);
    bar.set_bounds(300, 200, 40, 10);
    bar.set_filled(true);
    bar.set_fill_color(kRed);
    bar.set_border_color(kYellow);
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
    platform->show(window);
    const Pixels p(*platform, window);
    const std::tuple<const char*, int, int, Colour> probes[] = {
        {"window background", 440, 290, kWhite},          {"box picture", 395, 235, kGreen},
        {"stretched card's edge", 20, 70, kRed},          {"later control in front", 70, 80, kBlue},
        {"border of the later control", 60, 80, kBlack},  {"line beneath the card", 40, 100, kRed},
        {"line on the box", 120, 100, kYellow},           {"outline left edge", 370, 150, kYellow},
        {"outline bottom edge", 385, 169, kYellow},       {"outline not filled", 385, 150, kGreen},
        {"beside the outline", 369, 150, kGreen},         {"thin slanted line", 30, 140, kYellow},
        {"thick slanted line", 340, 60, kYellow},         {"thick line off its middle", 342, 62, kYellow},
        {"round end", 300, 103, kYellow},                 {"not a square end", 296, 104, kGreen},
        {"round far end", 380, 17, kYellow},              {"inside the right edge", 399, 220, kRed},
        {"beyond the right edge", 400, 220, kWhite},      {"inside the bottom edge", 350, 239, kRed},
        {"beyond the bottom edge", 350, 241, kWhite},     {"outline cut off by the box", 419, 150, kWhite},
        {"beside the picture not stretched", 105, 80, kGreen}, {"filled shape", 320, 205, kRed},
        {"filled shape's outline", 300, 205, kYellow}};
    for (const auto& [what, x, y, colour] : probes) EXPECT_EQ(p.at(x, y), colour) << what;
    for (const auto& [w, x1, y1, x2, y2, c] : std::span(lines, 6)) {
        const int x = (x1 + x2) / 2, y = (y1 + y2) / 2;
        const Rect near = x1 == x2 ? Rect{x - 8, y, 17, 1} : Rect{x, y - 8, 1, 17};
        const Rect on = x1 == x2 ? Rect{x - w / 2, y, w, 1} : Rect{x, y - w / 2, 1, w};
        EXPECT_EQ(std::pair(p.count(near, c), p.count(on, c)), std::pair(w, w))
            << "width " << w << " at " << x << ", " << y;
    }
    // Yield and sleep paint what changed. A hidden control is neither drawn nor clicked, nor a hidden box's children.
    const int x = 70, y = 80;
    over.set_visible(false);
    platform->yield();
    EXPECT_FALSE(window.dirty()) << "yield did not paint";
    EXPECT_EQ(Pixels(*platform, window).at(x, y), kRed);
    EXPECT_EQ(window.control_at(x, y), &card);
    box.set_visible(false);
    platform->sleep(5);
    EXPECT_FALSE(window.dirty()) << "sleep did not paint";
    EXPECT_EQ(window.control_at(x, y), nullptr);
    platform->close(window);
}

TEST_F(SdlBackend, FontsMeasureBySizeBoldnessAndWrapping) {
    auto measure = [](float size, bool bold, int wrap = 0) {
        return platform->measure_text(Font{"DejaVu Sans", size, bold, false}, "Memory game", wrap);
    };
    const Size large = measure(16, false);
    EXPECT_LT(measure(8, false).width, large.width);
    EXPECT_GT(measure(16, true).width, large.width);
    EXPECT_EQ(measure(16, false, large.width / 2 + 5).height, 2 * large.height) << "wrapped in two lines";
}

// Timers fire on time without spinning, once after a long block; keys go down with the game's codes (none for F5).
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

// Aloud (on the dummy output), silent and muted alike: one completion per play, at its end; a status tick per 250 ms.
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
        // With no sound open, eject succeeds; open (of a missing file), play, prev and an unknown command fail.
        device->set_file_name((dir / "missing.wav").string());
        for (const char* command : {"open", "play", "prev", "rewind"}) {
            device->command("eject");
            EXPECT_EQ(device->error(), 0);
            device->command(command);
            EXPECT_NE(device->error(), 0) << command;
        }
        platform->close(window);
    }
}

// What the output is handed: the sound, or silence of the same length while muted; the stream moves on either way.
TEST(SdlSoundStream, MutedStreamHandsOutSilenceAndMovesOn) {
    const uint8_t sound[] = {10, 20, 30, 40, 50, 60};
    for (const bool muted : {false, true}) {
        SdlMediaDevice::Stream stream{sound, sizeof sound, 2, 0, 0, 0x80, false, muted};
        std::vector<uint8_t> out(6);
        fill_sound_block(stream, out.data(), 6);
        EXPECT_EQ(out, (muted ? std::vector<uint8_t>(6, 0x80) : std::vector<uint8_t>{30, 40, 50, 60, 0x80, 0x80}));
        EXPECT_EQ(stream.position, sizeof sound);
        EXPECT_TRUE(stream.ended);
    }
}

// SDL_ShowMessageBox's status and button, as the game's answer; no box at all (no display) is OK.
TEST(MessageBoxAnswer, ClosedQuestionIsCancel) {
    const std::tuple<const char*, int, int, int, int> cases[] = {
        {"OK", 0, kAnswerOk, kStyleCriticalOkCancel, kAnswerOk},
        {"Cancel", 0, kAnswerCancel, kStyleCriticalOkCancel, kAnswerCancel},
        {"question closed by the window manager", 0, -1, kStyleCriticalOkCancel, kAnswerCancel},
        {"message closed by the window manager", 0, -1, kStyleCritical, kAnswerOk},
        {"no box", -1, -1, kStyleCriticalOkCancel, kAnswerOk}};
    for (const auto& [name, status, button, style, answer] : cases)
        EXPECT_EQ(message_box_answer(status, button, style), answer) << name;
}

// A window whose board is a picture box, its display resized to 960 x 480: the board is scaled by 1.5 to the
// display's height and centred; text is made at the scaled size, in the place its alignment gives it.
TEST_F(SdlBackend, ScaledBoardAndTextFillTheDisplay) {
    Window window(*platform, "frm_Board");
    window.set_back_color(kWhite);
    PictureBox board(window, "pic_Board");
    board.set_bounds(0, 0, 480, 320);
    board.set_picture(solid("board.bmp", 480, 320, kGreen));
    window.set_board(&board);
    Label labels[] = {{window, "lbl_Left"}, {window, "lbl_Centre"}, {window, "lbl_Right"}};
    const Alignment alignments[] = {Alignment::Left, Alignment::Centre, Alignment::Right};
    for (int i = 0; i < 3; ++i) {
        labels[i].set_font(make_font("DejaVu Sans", 20, true));
        labels[i].set_caption("8080");
        labels[i].set_bounds(40, 40 + 80 * i, 400, 50);
        labels[i].set_fore_color(kYellow);
        labels[i].set_alignment(alignments[i]);
    }
    platform->show(window);
    const Pixels unscaled(*platform, window);
    for (Uint32 id = 1; id < 64; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id)) SDL_SetWindowSize(w, 960, 480);
    const Pixels scaled(*platform, window);
    EXPECT_EQ(scaled.at(115, 240), kWhite) << "the margin shows the window's colour";
    EXPECT_EQ(scaled.at(125, 475), kGreen) << "the board fills the height from x 120";
    for (int i = 0; i < 3; ++i) {
        const Rect r = labels[i].window_rect(), shown = platform->fit_of(window).to_display(r);
        const Rect small = unscaled.box(r, kYellow), large = scaled.box(shown, kYellow);
        EXPECT_NEAR(static_cast<double>(large.height) / small.height, 1.5, 0.15) << labels[i].name();
        // Left, centre, right: the text starts none, one or two halves of the free width in.
        EXPECT_NEAR(large.left, shown.left + (shown.width - large.width) * i / 2, 6) << labels[i].name();
        EXPECT_GT(scaled.count(shown, kYellow), unscaled.count(r, kYellow) * 3 / 2) << "solid, not a blurred stretch";
    }
    platform->close(window);
}

}  // namespace
}  // namespace mem::test
