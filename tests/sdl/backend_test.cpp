// The SDL backend on the offscreen video and dummy audio drivers: drawing read back, timers, keys, sound, boxes.
#include <SDL.h>

#include <algorithm>
#include <ctime>
#include <span>
#include <tuple>

#include "definition/definition_keys.h"
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
    // How many pixels of the colour a rectangle holds, and the box around them.
    std::pair<int, Rect> find(const Rect& r, Colour c) const {
        int n = 0, left = r.right(), top = r.bottom(), right = r.left - 1, bottom = r.top - 1;
        for (int y = r.top; y < r.bottom(); ++y)
            for (int x = r.left; x < r.right(); ++x)
                if (at(x, y) == c)
                    ++n, left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = y;
        return {n, {left, top, right - left + 1, bottom - top + 1}};
    }
    int count(const Rect& r, Colour c) const { return find(r, c).first; }
    Rect box(const Rect& r, Colour c) const { return find(r, c).second; }
};

class SdlBackend : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = std::filesystem::temp_directory_path() / ("sdl-tests-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir), platform = new SdlPlatform("", dir.string(), dir.string());
        std::string error;
        ASSERT_TRUE(platform->start(error)) << error;
    }
    static void TearDownTestSuite() { delete platform; std::filesystem::remove_all(dir); }
    // Writes a BMP of one colour and loads it.
    static PictureRef solid(const std::string& name, int w, int h, Colour c) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
        SDL_FillRect(s, nullptr, 0xFF000000u | static_cast<Uint32>(c));  // a colour is 0xBBGGRR
        SDL_SaveBMP(s, (dir / name).string().c_str()), SDL_FreeSurface(s);
        std::string error;
        return platform->load_picture((dir / name).string(), error);
    }
    // Handles what comes for `ms` (waiting briefly: an idle platform may wait for nothing).
    static void run_for(uint64_t ms) {
        const uint64_t until = platform->now_ms() + ms;
        while (platform->now_ms() < until) platform->run_once(false), SDL_Delay(2);
    }
    // The display size of every window shown.
    static void resize(int width, int height) {
        for (Uint32 id = 1; id < 64; ++id)
            if (SDL_Window* w = SDL_GetWindowFromID(id)) SDL_SetWindowSize(w, width, height);
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
    box.set_bounds(0, 0, 400, 240), box.set_picture(solid("box.bmp", 400, 240, kGreen));
    Image card(window, "img_Card", &box), over(window, "img_Over", &box);
    card.set_stretch(true), card.set_picture(solid("card.bmp", 4, 4, kRed)), card.set_bounds(20, 30, 60, 80);
    over.set_picture(solid("over.bmp", 40, 40, kBlue)), over.set_border(true);
    over.set_bounds(60, 60, 50, 50);  // larger than its picture, which is not stretched
    Shape outline(window, "shp_Area", &box), bar(window, "shp_Bar", &box);
    outline.set_bounds(370, 130, 50, 40), outline.set_border_color(kYellow);  // its right part lies beyond the box
    bar.set_bounds(300, 200, 40, 10), bar.set_filled(true), bar.set_fill_color(kRed), bar.set_border_color(kYellow);
    // Width, from, to, colour. The first six are probed across: a line of width w covers w pixels, from w / 2
    // before its middle. The last two run off the box.
    const std::tuple<int, int, int, int, int, Colour> lines[] = {
        {1, 100, 130, 190, 130, kYellow}, {2, 100, 150, 190, 150, kRed},   {5, 100, 170, 190, 170, kYellow},
        {8, 100, 195, 190, 195, kRed},    {1, 220, 130, 220, 230, kRed},   {3, 250, 130, 250, 230, kYellow},
        {3, 0, 100, 150, 100, kYellow},   {1, 10, 120, 50, 160, kYellow},  {9, 300, 100, 380, 20, kYellow},
        {6, 350, 220, 460, 220, kRed},    {6, 350, 220, 350, 280, kRed}};
    for (const auto& [width, x1, y1, x2, y2, colour] : lines)
        box.set_draw_color(colour), box.set_draw_width(width), box.line(x1, y1, x2, y2);
    platform->show(window);
    const Pixels p(*platform, window);
    const std::tuple<const char*, int, int, Colour> probes[] = {
        {"background", 440, 290, kWhite}, {"box picture", 395, 235, kGreen}, {"card's edge", 20, 70, kRed},
        {"later in front", 70, 80, kBlue}, {"its border", 60, 80, kBlack}, {"line beneath", 40, 100, kRed},
        {"line on box", 120, 100, kYellow}, {"outline left", 370, 150, kYellow}, {"outline bottom", 385, 169, kYellow},
        {"not filled", 385, 150, kGreen}, {"beside outline", 369, 150, kGreen}, {"thin slant", 30, 140, kYellow},
        {"thick slant", 340, 60, kYellow}, {"off middle", 342, 62, kYellow}, {"round end", 300, 103, kYellow},
        {"not square", 296, 104, kGreen}, {"round far end", 380, 17, kYellow}, {"right edge", 399, 220, kRed},
        {"beyond right", 400, 220, kWhite}, {"bottom edge", 350, 239, kRed}, {"beyond bottom", 350, 241, kWhite},
        {"outline cut", 419, 150, kWhite}, {"unstretched", 105, 80, kGreen}, {"filled", 320, 205, kRed},
        {"filled's outline", 300, 205, kYellow}};
    for (const auto& [what, x, y, colour] : probes) EXPECT_EQ(p.at(x, y), colour) << what;
    for (const auto& [w, x1, y1, x2, y2, c] : std::span(lines, 6)) {
        const int x = (x1 + x2) / 2, y = (y1 + y2) / 2;
        const Rect near = x1 == x2 ? Rect{x - 8, y, 17, 1} : Rect{x, y - 8, 1, 17};
        const Rect on = x1 == x2 ? Rect{x - w / 2, y, w, 1} : Rect{x, y - w / 2, 1, w};
        EXPECT_EQ(std::pair(p.count(near, c), p.count(on, c)), std::pair(w, w))
            << "width " << w << " at " << x << ", " << y;
    }
    // Yield and sleep paint what changed. A hidden control is neither drawn nor clicked, nor a hidden box's children.
    over.set_visible(false), platform->yield();
    EXPECT_TRUE(!window.dirty() && Pixels(*platform, window).at(70, 80) == kRed) << "yield did not paint";
    EXPECT_EQ(window.control_at(70, 80), &card);
    box.set_visible(false), platform->sleep(5);
    EXPECT_TRUE(!window.dirty() && !window.control_at(70, 80)) << "sleep did not paint, or a hidden child is hit";
    platform->close(window);
}

// Timers fire on time without spinning, once after a long block; keys go down with the game's codes (none for F5)
// and the time they came, not when they are handled; a held M, Return or Space acts once (arrows repeat).
TEST_F(SdlBackend, TimersAndKeysReachTheWindow) {
    Window window(*platform, "frm_Events");
    Timer timer(window, "tim_Test");
    int ticks = 0;
    timer.on_tick = [&] { ++ticks; };
    platform->show(window);
    timer.set_interval(200), timer.set_enabled(true);
    const std::clock_t cpu = std::clock();
    const uint64_t start = platform->now_ms();
    while (ticks < 2) platform->run_once(true);
    EXPECT_TRUE(platform->now_ms() - start >= 390 && platform->now_ms() - start < 1000) << platform->now_ms() - start;
    EXPECT_LT(1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC, 100.0) << "the wait spun";
    uint64_t time = 0;
    std::vector<int16_t> codes;
    window.on_key_down = [&](int16_t& code) { codes.push_back(code), time = platform->input_time(); };
    auto push = [](SDL_Keycode key, Uint8 repeat) {
        SDL_Event event{.key = {.type = SDL_KEYDOWN, .repeat = repeat, .keysym = {.sym = key}}};
        SDL_PushEvent(&event);
    };
    for (SDL_Keycode key : {SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_TAB, SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE,
                            SDLK_m, SDLK_F2, SDLK_F5, SDLK_ESCAPE})
        push(key, 0);
    for (SDL_Keycode key : {SDLK_m, SDLK_RETURN, SDLK_SPACE, SDLK_LEFT}) push(key, 1), push(key, 1);
    const uint64_t pushed = platform->now_ms();
    platform->sleep(700), ticks = 0, platform->yield();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(codes, (std::vector<int16_t>{kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeyTab, kKeyReturn, kKeyReturn,
                                           kKeySpace, 'M', kKeyF2, kKeyEscape, kKeyLeft, kKeyLeft}));
    EXPECT_LE(time, pushed + 50) << "the time the key came, not the end of the pause";
    // The files of one drop reach the window together, once the drop is complete.
    std::vector<std::vector<std::string>> drops;
    window.on_drop = [&](const std::vector<std::string>& files) { drops.push_back(files); };
    for (const char* file : std::initializer_list<const char*>{"", "/a/sun.png", "/b/Zoo", nullptr}) {
        SDL_Event event{.type = !file ? SDL_DROPCOMPLETE : *file ? SDL_DROPFILE : SDL_DROPBEGIN};
        event.drop.file = file && *file ? SDL_strdup(file) : nullptr;
        for (Uint32 id = 1; id < 64; ++id)
            if (SDL_GetWindowFromID(id)) event.drop.windowID = id;
        SDL_PushEvent(&event);
    }
    platform->yield();
    EXPECT_EQ(drops, (std::vector<std::vector<std::string>>{{"/a/sun.png", "/b/Zoo"}}));
    platform->close(window);
}

// Aloud (on the dummy output), silent and muted alike: one completion per play, at its end. Mended: status ticks come
// once after each command and go on only while a sound plays or a command failed. A failed audio output is tried again
// at a later sound, at most once every 2 s; the failure and the return are said once.
TEST_F(SdlBackend, SoundDeviceCompletesEachPlayTicksWithSomethingToTellAndTriesAFailedOutputAgain) {
    write_wave(dir / "short.wav", 300), write_wave(dir / "again.wav", 1000);
    Window window(*platform, "frm_Sound");
    platform->show(window);
    for (const std::string mode : {"aloud", "silent", "muted"}) {
        SCOPED_TRACE(mode);
        auto device = platform->create_media_device(window);
        dynamic_cast<SdlMediaDevice&>(*device).set_silent(mode == "silent");
        device->set_muted(mode == "muted");
        int done = 0;
        device->on_done = [&](int16_t) { ++done; };
        device->set_notify(true), device->set_file_name((dir / "short.wav").string()), device->command("open");
        const uint64_t start = platform->now_ms();
        device->command("play");
        while (done == 0 && platform->now_ms() - start < 3000) platform->run_once(true);
        const uint64_t took = platform->now_ms() - start;
        EXPECT_TRUE(done == 1 && took >= 250 && took < 1500) << done << " completions after " << took << " ms";
        // At its end, "play" completes at once; a play halted by "prev" (which rewinds) or "close" does not complete.
        device->command("play"), run_for(100);
        EXPECT_EQ(done, 2);
        for (const char* halt : {"prev", "close"}) {
            device->command("prev"), device->command("play"), platform->sleep(50), device->command(halt), run_for(500);
            EXPECT_EQ(done, 2) << "a halt by " << halt << " is not a completion";
        }
        // With no sound open, eject succeeds; open (of a missing file), play, prev and an unknown command fail.
        device->set_file_name((dir / "missing.wav").string());
        for (const char* command : {"open", "play", "prev", "rewind"}) {
            EXPECT_EQ((device->command("eject"), device->error()), 0);
            EXPECT_NE((device->command(command), device->error()), 0) << command;
        }
    }
    auto device = platform->create_media_device(window);
    auto& sdl = dynamic_cast<SdlMediaDevice&>(*device);
    int ticks = 0;
    device->on_status_update = [&] { ++ticks; };
    std::vector<int> counted;
    for (const auto& [file, command] : std::initializer_list<std::pair<const char*, const char*>>{
             {"", ""}, {"again.wav", "open"}, {"", "play"}, {"", "close"}, {"", ""}, {"missing.wav", "open"}}) {
        if (*file) device->set_file_name((dir / file).string());
        if (*command) device->command(command);
        ticks = 0, run_for(600), counted.push_back(ticks);
    }
    EXPECT_EQ(counted, (std::vector<int>{1, 1, 2, 1, 0, 2})) << "made, opened, playing, closed, idle, a failed open";
    device->set_file_name((dir / "again.wav").string()), device->command("open");
    auto aloud = [&] { return device->command("prev"), device->command("play"), sdl.aloud(); };
    testing::internal::CaptureStderr();
    close_sound_output(), setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const bool failed = aloud(), soon = (setenv("SDL_AUDIODRIVER", "dummy", 1), aloud());
    run_for(2100);
    const bool later = aloud(), after = aloud();
    device->command("close");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::tuple(failed, soon, later, after), std::tuple(false, false, true, true))
        << "no output, again at once, after 2 s, after that";
    for (const char* once : {"no audio output", "audio output is back"})
        EXPECT_TRUE(said.find(once) != std::string::npos && said.find(once) == said.rfind(once)) << said;
    platform->close(window);
    // What the output is handed: the sound, or silence of the same length while muted; the stream moves on either way.
    const uint8_t sound[] = {10, 20, 30, 40, 50, 60};
    for (const bool muted : {false, true}) {
        SdlMediaDevice::Stream stream{sound, sizeof sound, 2, 0, 0, 0x80, false, muted};
        std::vector<uint8_t> out(6);
        fill_sound_block(stream, out.data(), 6);
        EXPECT_EQ(out, (muted ? std::vector<uint8_t>(6, 0x80) : std::vector<uint8_t>{30, 40, 50, 60, 0x80, 0x80}));
        EXPECT_TRUE(stream.position == sizeof sound && stream.ended) << stream.position;
    }
}

// SDL_ShowMessageBox's status and button, as the game's answer; no box at all (no display) is OK.
TEST(MessageBoxAnswer, ClosedQuestionIsCancel) {
    const int question = kStyleCriticalOkCancel;
    const std::tuple<const char*, int, int, int, int> cases[] = {
        {"OK", 0, kAnswerOk, question, kAnswerOk},      {"no box", -1, -1, question, kAnswerOk},
        {"Cancel", 0, kAnswerCancel, question, kAnswerCancel}, {"question closed", 0, -1, question, kAnswerCancel},
        {"message closed by the window manager", 0, -1, kStyleCritical, kAnswerOk}};
    for (const auto& [name, status, button, style, answer] : cases)
        EXPECT_EQ(message_box_answer(status, button, style), answer) << name;
}

// A board resized to 960 x 480 is scaled by 1.5 and centred; text and the mute mark are made at the scaled size, text
// where its alignment puts it. A focus outline is black, white, black, 4 display pixels wide or more at every scale.
TEST_F(SdlBackend, ScaledBoardAndTextFillTheDisplay) {
    Window window(*platform, "frm_Board");
    window.set_back_color(kWhite);
    PictureBox board(window, "pic_Board");
    board.set_bounds(0, 0, 480, 320), board.set_picture(solid("board.bmp", 480, 320, kGreen)), window.set_board(&board);
    Label labels[] = {{window, "lbl_Left"}, {window, "lbl_Centre"}, {window, "lbl_Right"}};
    const Alignment alignments[] = {Alignment::Left, Alignment::Centre, Alignment::Right};
    for (int i = 0; Label& label : labels) {
        label.set_font(make_font("DejaVu Sans", 20, true)), label.set_caption("8080"), label.set_fore_color(kYellow);
        label.set_bounds(40, 40 + 80 * i, 400, 50), label.set_alignment(alignments[i++]);
    }
    Shape focus(window, "shp_Focus", &board);
    focus.set_bounds(446, 256, 30, 60), focus.set_border_width(4);
    focus.set_border_color(kBlack), focus.set_band_color(kWhite);
    // Across the outline's left edge, halfway down: black, white, black, then the board inside.
    auto check_focus = [&](const Pixels& p, int width) {
        const Rect shown = platform->fit_of(window).to_display(focus.window_rect());
        const int x = shown.left, y = shown.top + shown.height / 2;
        EXPECT_EQ(std::tuple(p.at(x, y), p.at(x + width / 2, y), p.at(x + width - 1, y), p.at(x + width, y)),
                  std::tuple(kBlack, kWhite, kBlack, kGreen))
            << "outline " << width << " pixels wide at " << x << ", " << y;
    };
    platform->show(window);
    const Pixels unscaled(*platform, window);
    check_focus(unscaled, 4), resize(960, 480);
    const Pixels scaled(*platform, window);
    check_focus(scaled, 6);
    EXPECT_EQ(std::pair(scaled.at(115, 240), scaled.at(125, 475)), std::pair(kWhite, kGreen)) << "margin, board at 120";
    for (int i = 0; i < 3; ++i) {
        const Rect r = labels[i].window_rect(), shown = platform->fit_of(window).to_display(r);
        const Rect small = unscaled.box(r, kYellow), large = scaled.box(shown, kYellow);
        EXPECT_NEAR(static_cast<double>(large.height) / small.height, 1.5, 0.15) << labels[i].name();
        // Left, centre, right: the text starts none, one or two halves of the free width in.
        EXPECT_NEAR(large.left, shown.left + (shown.width - large.width) * i / 2, 6) << labels[i].name();
        EXPECT_GT(scaled.count(shown, kYellow), unscaled.count(r, kYellow) * 3 / 2) << "solid, not a blurred stretch";
    }
    // Mended: while muted, a speaker-off mark 24 pixels square scaled (36) lies 6 (9) from the board's top right
    // corner (x 840); its white speaker and cross span about 0.16 to 0.91 of it across and 0.2 to 0.8 down.
    auto device = platform->create_media_device(window);
    const Rect board_shown{120, 0, 720, 480};
    focus.set_visible(false), device->set_muted(true);  // the focus's white band would be taken for the mark
    const Rect mark = Pixels(*platform, window).box(board_shown, kWhite);
    device->set_muted(false);
    for (const auto& [got, want] : {std::pair(mark.left, 801), {mark.width, 27}, {mark.top, 16}, {mark.height, 21}})
        EXPECT_NEAR(got, want, 2) << "the mark's left, width, top or height";
    EXPECT_EQ(Pixels(*platform, window).count(board_shown, kWhite), 0) << "the mark goes with the mute";
    device.reset(), focus.set_visible(true), resize(240, 160);
    check_focus(Pixels(*platform, window), 4);
    platform->close(window);
}

// Text measures by size, boldness and wrapping. Mended: a label sized to its text shows all of it on a board of every
// screen size shown at 1920 x 1080 (the same text pixels as in a wide label), and a window dragged through 40 sizes
// keeps the fonts of two scales open.
TEST_F(SdlBackend, TextIsMeasuredAndLabelsSizedToItAreWhollyDrawnOnEveryScaledBoard) {
    auto measure = [](float size, bool bold, int wrap = 0) {
        return platform->measure_text(Font{"DejaVu Sans", size, bold, false}, "Memory game", wrap);
    };
    const Size large = measure(16, false);
    EXPECT_TRUE(measure(8, false).width < large.width && measure(16, true).width > large.width);
    EXPECT_EQ(measure(16, false, large.width / 2 + 5).height, 2 * large.height) << "wrapped in two lines";
    const float sizes[] = {11, 12, 17};  // of DejaVu Sans bold, the fonts that the bundled games' main.ini files name
    // One window a font and board, so that the labels of every font fit the smallest board.
    for (const Size row : kScreenSizes)
        for (const float size : sizes) {
            Window window(*platform, "frm_Labels");
            PictureBox board(window, "pic_Board");
            board.set_bounds(0, 0, row.width, row.height), window.set_board(&board);
            std::vector<std::unique_ptr<Label>> labels;  // fitted and wide, in turn
            int top = 4;
            for (const char* caption : {"Player 1", "Player 2", "Player 3", "Player 4", "Cards left: 16", "0123456789"}) {
                for (const bool fitted : {true, false}) {
                    Label& l = *labels.emplace_back(std::make_unique<Label>(window, "lbl_Text"));
                    l.set_font(make_font("DejaVu Sans", size, true)), l.set_fore_color(kBlue), l.set_caption(caption);
                    const int height = fitted ? 1 : labels.end()[-2]->height() + 8;
                    l.set_bounds(fitted ? 4 : row.width / 2, top, row.width / 2 - 8, height), l.set_auto_size(fitted);
                }
                top += labels.end()[-2]->height() + 10;
            }
            ASSERT_LT(top, row.height);
            platform->show(window), resize(1920, 1080);
            const Pixels p(*platform, window);
            const ScreenFit fit = platform->fit_of(window);
            for (size_t i = 0; i < labels.size(); i += 2)
                EXPECT_EQ(p.count(fit.to_display(labels[i]->window_rect()), kBlue),
                          p.count(fit.to_display(labels[i + 1]->window_rect()), kBlue))
                    << row.width << " x " << row.height << ": \"" << labels[i]->caption() << "\" in "
                    << labels[i]->font()->size << " points";
            for (int width = 500; width < 1500 && row.width == 640 && size == sizes[0]; width += 25)
                resize(width, width * 3 / 4), Pixels(*platform, window);
            platform->close(window);
        }
    EXPECT_LE(platform->open_fonts(), 2 * std::size(sizes));
}

}  // namespace
}  // namespace mem::test
