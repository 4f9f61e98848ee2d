// Drawing on the SDL backend: lines on a picture box, the rectangle
// outline, z-order, and painting after yield and sleep.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "sdl_support.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;

class SdlDrawing : public SdlSuite {
protected:
    static PictureRef solid(const std::string& name, int w, int h, Colour c) {
        std::string error;
        return platform->load_picture(write_solid_bmp(dir / name, w, h, c), error);
    }
    static Pixels read(Window& window) { return Pixels(*platform, window); }

};

constexpr int kBoxLeft = 100, kBoxTop = 50, kBoxWidth = 200, kBoxHeight = 150;

// Lit rows (or columns) across a line: first and count.
struct Span {
    int first = 0, count = 0;
};
Span across(const Pixels& p, int x, int y, bool vertical_line, Colour c) {
    Span s;
    for (int d = -8; d <= 8; ++d) {
        const bool lit = vertical_line ? p.at(x + d, y) == c : p.at(x, y + d) == c;
        if (lit) {
            if (s.count == 0) s.first = d;
            ++s.count;
        }
    }
    return s;
}

TEST_F(SdlDrawing, LinesHaveTheirWidthAndColourAndStayInTheBox) {
    Window window(*platform, "frm_Lines");
    window.set_back_color(kBlue);
    PictureBox box(window, "pic_Box");
    box.set_bounds(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
    box.set_picture(solid("lines.bmp", kBoxWidth, kBoxHeight, kGreen));

    struct Case {
        int width;
        bool vertical;
        int at;  // the row of a horizontal line, the column of a vertical one
        Colour colour;
    };
    // A line of width w covers w pixels across, from at - w / 2.
    const Case cases[] = {
        {1, false, 10, kYellow}, {2, false, 30, kRed}, {3, false, 50, kYellow}, {4, false, 70, kRed},
        {5, false, 90, kYellow}, {8, false, 120, kRed}, {1, true, 20, kRed}, {2, true, 40, kYellow},
        {3, true, 60, kRed},     {4, true, 80, kYellow},
    };
    for (const Case& c : cases) {
        box.set_draw_color(c.colour);
        box.set_draw_width(c.width);
        if (c.vertical) box.line(c.at, 20, c.at, 140);
        else box.line(100, c.at, 190, c.at);
    }
    // Running off the box: drawn up to its edge only.
    box.set_draw_color(kRed);
    box.set_draw_width(6);
    box.line(150, 140, 260, 140);
    box.line(150, 140, 150, 190);

    platform->show(window);
    for (int repaint = 0; repaint < 2; ++repaint) {
        const Pixels p = read(window);
        for (const Case& c : cases) {
            const int x = kBoxLeft + (c.vertical ? c.at : 145), y = kBoxTop + (c.vertical ? 80 : c.at);
            const Span s = across(p, x, y, c.vertical, c.colour);
            EXPECT_EQ(s.count, c.width) << "width " << c.width << (c.vertical ? " vertical" : " horizontal");
            EXPECT_EQ(s.first, -(c.width / 2)) << "width " << c.width << (c.vertical ? " vertical" : " horizontal");

        }
        EXPECT_EQ(p.at(kBoxLeft + kBoxWidth - 1, kBoxTop + 140), kRed) << "inside the right edge";
        EXPECT_EQ(p.at(kBoxLeft + kBoxWidth, kBoxTop + 140), window.back_color()) << "beyond the right edge";
        EXPECT_EQ(p.at(kBoxLeft + 150, kBoxTop + kBoxHeight - 1), kRed) << "inside the bottom edge";
        EXPECT_EQ(p.at(kBoxLeft + 150, kBoxTop + kBoxHeight + 1), window.back_color()) << "beyond the bottom edge";
        // Something changes elsewhere; the lines are still there after the repaint.
        window.set_back_color(repaint == 0 ? kBlack : kBlue);
    }
    platform->close(window);
}

TEST_F(SdlDrawing, ThickLinesHaveRoundEndsAndSlantedLinesAreDrawn) {
    Window window(*platform, "frm_Slant");
    window.set_back_color(kBlack);
    PictureBox box(window, "pic_Box");
    box.set_bounds(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
    box.set_picture(solid("slant.bmp", kBoxWidth, kBoxHeight, kGreen));
    box.set_draw_color(kYellow);
    box.set_draw_width(1);
    box.line(10, 10, 60, 60);
    box.set_draw_width(9);
    box.line(100, 100, 180, 20);
    platform->show(window);
    const Pixels p = read(window);
    struct Probe {
        const char* what;
        int x, y;
        Colour colour;
    };
    const Probe probes[] = {
        {"thin slanted line", 35, 35, kYellow},
        {"beside the thin line", 40, 30, kGreen},
        {"thick slanted line middle", 140, 60, kYellow},
        {"thick slanted line off its middle", 142, 62, kYellow},
        {"round end beyond the end point", 100, 103, kYellow},
        {"not a square end", 96, 104, kGreen},
    };
    for (const Probe& pr : probes) EXPECT_EQ(p.at(kBoxLeft + pr.x, kBoxTop + pr.y), pr.colour) << pr.what;
    platform->close(window);
}

TEST_F(SdlDrawing, OutlinesAndControlsLieInDrawingOrder) {
    Window window(*platform, "frm_Order");
    window.set_back_color(kBlack);
    PictureBox box(window, "pic_Box");
    box.set_bounds(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
    box.set_picture(solid("order.bmp", kBoxWidth, kBoxHeight, kGreen));
    Image under(window, "img_Under", &box), over(window, "img_Over", &box);
    under.set_stretch(true);
    over.set_stretch(true);
    under.set_picture(solid("under.bmp", 4, 4, kRed));
    over.set_picture(solid("over.bmp", 4, 4, kBlue));
    under.set_bounds(10, 10, 40, 40);
    over.set_bounds(30, 30, 40, 40);
    Shape outline(window, "shp_Outline", &box);
    outline.set_bounds(100, 20, 60, 50);
    outline.set_border_color(kYellow);
    // A line lies beneath the controls of its box.
    box.set_draw_color(kYellow);
    box.set_draw_width(3);
    box.line(0, 40, 90, 40);
    platform->show(window);

    struct Probe {
        const char* what;
        int x, y;
        Colour colour;
    };
    const Probe before[] = {
        {"later control in front", 40, 35, kBlue},
        {"earlier control where alone", 15, 15, kRed},
        {"line beneath the controls", 20, 40, kRed},
        {"line on the box", 80, 40, kYellow},
        {"outline left edge", 100, 40, kYellow},
        {"outline right edge", 159, 40, kYellow},
        {"outline top edge", 130, 20, kYellow},
        {"outline bottom edge", 130, 69, kYellow},
        {"outline inside not filled", 130, 40, kGreen},
        {"outside the outline", 160, 40, kGreen},
    };
    Pixels p = read(window);
    for (const Probe& pr : before) EXPECT_EQ(p.at(kBoxLeft + pr.x, kBoxTop + pr.y), pr.colour) << pr.what;

    under.bring_to_front();
    p = read(window);
    EXPECT_EQ(p.at(kBoxLeft + 40, kBoxTop + 35), kRed) << "brought to the front";
    EXPECT_EQ(window.control_at(kBoxLeft + 40, kBoxTop + 35), &under);
    under.set_enabled(false);
    EXPECT_EQ(window.control_at(kBoxLeft + 40, kBoxTop + 35), &over) << "a disabled picture lets the click through";
    over.set_visible(false);
    EXPECT_EQ(window.control_at(kBoxLeft + 40, kBoxTop + 35), &box) << "a hidden one is not clicked";
    box.set_visible(false);
    EXPECT_EQ(window.control_at(kBoxLeft + 40, kBoxTop + 35), nullptr) << "children of a hidden box are hidden";
    platform->close(window);
}

// Created array elements copy element 0 and stay behind the arrays designed
// after theirs, so card captions lie in front of card pictures.
TEST_F(SdlDrawing, CreatedArrayElementsCopyElementZeroInItsLayer) {
    Window window(*platform, "frm_Arrays");
    ControlArray<Image> pictures(window, "img_Card");
    ControlArray<Label> captions(window, "lbl_Card");
    pictures[0].set_stretch(true);
    pictures[0].set_border(true);
    captions[0].set_font(make_font("DejaVu Sans", 12, true));
    captions[0].set_alignment(Alignment::Centre);
    captions[0].set_word_wrap(true);
    captions[0].set_auto_size(true);
    captions[0].set_fore_color(kRed);
    captions.create(3);
    pictures.create(3);
    for (int16_t i = 1; i <= 3; ++i) {
        EXPECT_FALSE(pictures[i].visible()) << i;
        EXPECT_TRUE(pictures[i].stretch()) << i;
        EXPECT_TRUE(pictures[i].border()) << i;
        EXPECT_EQ(captions[i].font(), captions[0].font()) << i;
        EXPECT_EQ(captions[i].alignment(), Alignment::Centre) << i;
        EXPECT_TRUE(captions[i].word_wrap()) << i;
        EXPECT_TRUE(captions[i].auto_size()) << i;
        EXPECT_EQ(captions[i].fore_color(), kRed) << i;
        EXPECT_EQ(captions[i].index(), i);
    }
    std::vector<std::string> order;
    for (const Control* c : window.controls()) order.push_back(c->name() + std::to_string(c->index()));
    const std::vector<std::string> expected{"img_Card0", "img_Card1", "img_Card2", "img_Card3",
                                            "lbl_Card0", "lbl_Card1", "lbl_Card2", "lbl_Card3"};
    EXPECT_EQ(order, expected);
}

TEST_F(SdlDrawing, YieldAndSleepPaintWhatChanged) {
    Window window(*platform, "frm_Move");
    window.set_back_color(kBlack);
    Image card(window, "img_Card");
    card.set_stretch(true);
    card.set_picture(solid("move.bmp", 4, 4, kRed));
    card.set_bounds(10, 10, 30, 30);
    platform->show(window);
    EXPECT_FALSE(window.dirty()) << "shown means painted";

    struct Step {
        const char* how;
        int left;
    };
    const Step steps[] = {{"yield", 60}, {"sleep", 120}, {"yield", 180}};
    int from = 10;
    for (const Step& s : steps) {
        card.set_left(s.left);
        EXPECT_TRUE(window.dirty());
        if (std::string(s.how) == "yield") platform->yield();
        else platform->sleep(5);
        EXPECT_FALSE(window.dirty()) << s.how << " did not paint the move";
        const Pixels p = read(window);
        EXPECT_EQ(p.at(s.left + 15, 25), kRed) << s.how;
        EXPECT_EQ(p.at(from + 15, 25), kBlack) << s.how;
        from = s.left;
    }
    platform->close(window);
}

TEST_F(SdlDrawing, AnIdleWindowWaitsWithoutSpinning) {
    Window window(*platform, "frm_Idle");
    Timer timer(window, "tim_Idle");
    int ticks = 0;
    timer.on_tick = [&] { ++ticks; };
    platform->show(window);
    timer.set_interval(400);
    timer.set_enabled(true);
    const std::clock_t cpu = std::clock();
    const uint64_t start = platform->now_ms();
    while (ticks < 1) platform->run_once(true);
    const double cpu_ms = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    EXPECT_GE(platform->now_ms() - start, 390u);
    EXPECT_LT(cpu_ms, 100.0) << "the wait used the processor";
    platform->close(window);
}

}  // namespace
}  // namespace mem::test
