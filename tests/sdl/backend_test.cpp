#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/sdl_platform.h"
#include "sdl_support.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;

// The SDL backend under the offscreen video driver and the dummy audio
// driver: what it draws is read back, and sounds take their real length.
class SdlBackend : public SdlSuite {
protected:
    static std::string solid_picture(const std::string& name, int w, int h, Colour c) {
        return write_solid_bmp(dir / name, w, h, c);
    }
    // A mono 16-bit wave of silence, `ms` long.
    static std::string wave(const std::string& name, int ms) {
        const uint32_t rate = 22050, bytes = rate * 2 * static_cast<uint32_t>(ms) / 1000;
        std::ofstream out(dir / name, std::ios::binary);
        auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
        auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
        out << "RIFF";
        u32(36 + bytes);
        out << "WAVEfmt ";
        u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
        out << "data";
        u32(bytes);
        out << std::string(bytes, '\0');
        return (dir / name).string();
    }
    static Colour pixel(const std::vector<uint32_t>& pixels, const Window& w, int x, int y) {
        const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(w.width()) + static_cast<size_t>(x)];
        // RGBA32 is R, G, B, A in memory order.
        const auto* b = reinterpret_cast<const uint8_t*>(&p);
        return b[0] + 256 * b[1] + 65536 * b[2];
    }

};

constexpr Colour kRed = 255, kGreen = 65280, kBlue = 16711680, kYellow = 65535;

TEST_F(SdlBackend, DrawsControlsWhereTheyAre) {
    Window window(*platform, "frm_Test");
    window.set_back_color(kBlue);
    PictureBox board(window, "pic_Board");
    board.set_bounds(100, 50, 400, 300);
    std::string error;
    board.set_picture(platform->load_picture(solid_picture("board.bmp", 400, 300, kGreen), error));
    Image card(window, "img_Card", &board);
    card.set_stretch(true);
    card.set_picture(platform->load_picture(solid_picture("card.bmp", 10, 10, kRed), error));
    card.set_bounds(20, 30, 60, 80);
    card.set_border(true);
    Image hidden(window, "img_Hidden", &board);
    hidden.set_picture(platform->load_picture(solid_picture("hidden.bmp", 30, 30, kYellow), error));
    hidden.set_bounds(200, 100, 30, 30);
    hidden.set_visible(false);
    Shape outline(window, "shp_Area", &board);
    outline.set_bounds(300, 200, 50, 40);
    outline.set_border_color(kYellow);
    board.set_draw_color(kYellow);
    board.set_draw_width(5);
    board.line(10, 250, 110, 250);

    platform->show(window);
    const auto pixels = platform->read_pixels(window);
    struct Probe {
        const char* what;
        int x, y;
        Colour colour;
    };
    const Probe probes[] = {
        {"window background", 50, 20, kBlue},
        {"board picture", 450, 300, kGreen},
        {"stretched card inside", 100 + 20 + 30, 50 + 30 + 40, kRed},
        {"card border", 100 + 20, 50 + 30 + 40, kBlack},
        {"hidden card not drawn", 100 + 215, 50 + 115, kGreen},
        {"outline edge", 100 + 300, 50 + 220, kYellow},
        {"outline inside is empty", 100 + 325, 50 + 220, kGreen},
        {"thick line middle", 100 + 60, 50 + 250, kYellow},
        {"thick line width", 100 + 60, 50 + 252, kYellow},
        {"beside the line", 100 + 60, 50 + 256, kGreen},
    };
    for (const Probe& p : probes) EXPECT_EQ(pixel(pixels, window, p.x, p.y), p.colour) << p.what;
    platform->close(window);
}

TEST_F(SdlBackend, LabelsAreDrawnInTheirColourAndAlignment) {
    Window window(*platform, "frm_Text");
    window.set_back_color(kBlack);
    Label left(window, "lbl_Left"), right(window, "lbl_Right");
    for (Label* l : {&left, &right}) {
        l->set_font(make_font("DejaVu Sans", 20, true));
        l->set_fore_color(kWhite);
        l->set_caption("MMMM");
        l->set_bounds(0, 0, 300, 40);
    }
    right.set_top(100);
    right.set_alignment(Alignment::Right);
    right.set_fore_color(kYellow);
    platform->show(window);
    const auto pixels = platform->read_pixels(window);
    auto lit_columns = [&](int top, Colour colour, int from, int to) {
        int lit = 0;
        for (int x = from; x < to; ++x)
            for (int y = top; y < top + 40; ++y)
                if (pixel(pixels, window, x, y) == colour) {
                    ++lit;
                    break;
                }
        return lit;
    };
    EXPECT_GT(lit_columns(0, kWhite, 0, 150), 20);
    EXPECT_EQ(lit_columns(0, kWhite, 150, 300), 0);
    EXPECT_GT(lit_columns(100, kYellow, 150, 300), 20);
    EXPECT_EQ(lit_columns(100, kYellow, 0, 150), 0);
    platform->close(window);
}

TEST_F(SdlBackend, FontsResolveAndMeasure) {
    const Size small = platform->measure_text(Font{"DejaVu Sans", 8, false, false}, "Memory game", 0);
    const Size large = platform->measure_text(Font{"DejaVu Sans", 16, false, false}, "Memory game", 0);
    const Size bold = platform->measure_text(Font{"DejaVu Sans", 16, true, false}, "Memory game", 0);
    const Size unknown = platform->measure_text(Font{"No Such Font At All", 16, false, false}, "Memory game", 0);
    EXPECT_GT(small.width, 0);
    EXPECT_GT(large.width, small.width);
    EXPECT_GT(large.height, small.height);
    EXPECT_GT(bold.width, large.width);
    EXPECT_GT(unknown.width, 0);
    const Size wrapped = platform->measure_text(Font{"DejaVu Sans", 16, false, false}, "Memory game", large.width / 2 + 5);
    EXPECT_EQ(wrapped.height, 2 * large.height);
    EXPECT_LT(wrapped.width, large.width);
}

TEST_F(SdlBackend, MessageBoxWithoutADisplayAnswersOk) {
    EXPECT_EQ(platform->message_box("Line one\rLine two", kStyleCriticalOkCancel, "Error in application (#9)"),
              kAnswerOk);
}

TEST_F(SdlBackend, TimersFireOnTimeAndDoNotPileUp) {
    Window window(*platform, "frm_Timer");
    Timer timer(window, "tim_Test");
    int ticks = 0;
    timer.on_tick = [&] { ++ticks; };
    platform->show(window);
    timer.set_interval(50);
    timer.set_enabled(true);
    const uint64_t start = platform->now_ms();
    while (ticks < 3) platform->run_once(true);
    const uint64_t elapsed = platform->now_ms() - start;
    EXPECT_GE(elapsed, 140u);
    EXPECT_LT(elapsed, 400u);
    // A long block gives one tick, not the six that were missed.
    platform->sleep(300);
    ticks = 0;
    platform->yield();
    EXPECT_EQ(ticks, 1);
    platform->close(window);
}

// Aloud (on the dummy output), in silence and muted alike: a muted sound
// still takes its whole length.
TEST_F(SdlBackend, SoundDeviceCompletesOncePerPlayAtTheSoundsEnd) {
    enum class Mode { Aloud, Silent, Muted };
    for (const Mode mode : {Mode::Aloud, Mode::Silent, Mode::Muted}) {
        SCOPED_TRACE(mode == Mode::Aloud ? "aloud" : mode == Mode::Silent ? "silent" : "muted");
        Window window(*platform, "frm_Sound");
        platform->show(window);
        auto device = platform->create_media_device(window);
        dynamic_cast<SdlMediaDevice&>(*device).set_silent(mode == Mode::Silent);
        device->set_muted(mode == Mode::Muted);
        int done = 0;
        device->on_done = [&](int16_t) { ++done; };
        device->set_notify(true);
        auto run_for = [&](uint64_t ms) {
            const uint64_t until = platform->now_ms() + ms;
            while (platform->now_ms() < until) platform->run_once(true);
        };

        device->set_file_name(wave("short.wav", 300));
        device->command("open");
        ASSERT_EQ(device->error(), 0);
        const uint64_t start = platform->now_ms();
        device->command("play");
        EXPECT_EQ(device->error(), 0);
        while (done == 0 && platform->now_ms() - start < 3000) platform->run_once(true);
        EXPECT_EQ(done, 1);
        const uint64_t took = platform->now_ms() - start;
        EXPECT_GE(took, 250u);
        EXPECT_LT(took, 1500u);

        // At its end, "play" completes at once; "prev" rewinds without an event.
        device->command("play");
        run_for(100);
        EXPECT_EQ(done, 2);
        device->command("prev");
        device->command("play");
        run_for(50);
        device->command("prev");
        run_for(500);
        EXPECT_EQ(done, 2) << "a halt the device asked for is not a completion";
        device->command("play");
        run_for(50);
        device->command("close");
        run_for(500);
        EXPECT_EQ(done, 2);

        struct Failing {
            const char* command;
            const char* file;
        };
        const Failing failing[] = {{"open", "missing.wav"}, {"open", ""}, {"play", ""}, {"prev", ""}, {"rewind", ""}};
        for (const Failing& f : failing) {
            device->command("close");
            device->set_file_name(f.file[0] ? (dir / f.file).string() : "");
            if (std::string(f.command) != "open") device->command("open");
            device->command(f.command);
            EXPECT_NE(device->error(), 0) << f.command << " " << f.file;
        }
        device->command("eject");
        EXPECT_EQ(device->error(), 0);
        platform->close(window);
    }
}

TEST_F(SdlBackend, StatusTicksComeEveryQuarterSecond) {
    Window window(*platform, "frm_Status");
    platform->show(window);
    auto device = platform->create_media_device(window);
    int ticks = 0;
    device->on_status_update = [&] { ++ticks; };
    const uint64_t until = platform->now_ms() + 1100;
    while (platform->now_ms() < until) platform->run_once(true);
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 5);
    platform->close(window);
}

}  // namespace
}  // namespace mem::test
