// The real board on the SDL backend: a definition in a temporary folder is
// loaded by the game window's load step and what the window shows is read
// back, pixel by pixel.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/game_window.h"
#include "app/program.h"
#include "board/geometry.h"
#include "platform/sdl/sdl_platform.h"
#include "sdl_support.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;

constexpr Colour kBoard = 0x206020;       // background picture
constexpr Colour kBack = 0x0000C0;        // card back (red)
constexpr Colour kFace = 0xC08000;        // card faces
constexpr Colour kPanel = 0x802000;       // control-panel pictures
constexpr Colour kStrip = 0x404040;       // player pictures
constexpr Colour kQuit = 0x00A0A0;        // quit picture
constexpr Colour kTimerDigits = 0x00FFFF;  // yellow
constexpr Colour kLeftDigits = 0xFF00FF;   // magenta
constexpr Colour kName = 0xFFFFFF;
constexpr Colour kScore = 0x00FF00;
constexpr Colour kDim = 0x808080;
constexpr Colour kCaption = 0xFFFF00;  // cyan

class SdlBoard : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("sdl-board-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        for (const char* sub : {"gfx", "card", "sfx", "data"}) fs::create_directories(dir / sub);
        platform = std::make_unique<SdlPlatform>("", dir.string(), dir.string());
        platform->set_windowed(windowed);
        std::string error;
        ASSERT_TRUE(platform->start(error)) << error;
        screen = platform->screen();

        // A background for every row, so the board fills the screen when
        // its width is in the table.
        const int sizes[5][2] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}};
        std::string pictures;
        for (const auto& size : sizes) {
            const std::string name = "bg" + std::to_string(size[0]) + ".bmp";
            write_solid_bmp(dir / "gfx" / name, size[0], size[1], kBoard);
            pictures += (pictures.empty() ? "" : "\t") + name;
        }
        write_solid_bmp(dir / "gfx" / "back.bmp", 10, 10, kBack);
        write_solid_bmp(dir / "gfx" / "panel.bmp", 97, 57, kPanel);
        write_solid_bmp(dir / "gfx" / "player.bmp", 121, 25, kStrip);
        write_solid_bmp(dir / "gfx" / "quit.bmp", 97, 41, kQuit);
        write_solid_bmp(dir / "card" / "face.bmp", 10, 10, kFace);

        write("data/main.ini",
              "[interface]\npictures=" + pictures +
                  "\nbackcolor=0\nquitpicture=quit.bmp\n"
                  "[players]\nplayers=2\ndefaultname=P\npicture=player.bmp\n"
                  "namefont=DejaVu Sans\nnamefontsize=14\nnamefontbold=1\nnameforecolor=" +
                  std::to_string(kName) +
                  "\nscorefont=DejaVu Sans\nscorefontsize=14\nscorefontbold=1\nscoreforecolor=" +
                  std::to_string(kScore) + "\ndimcolor=" + std::to_string(kDim) +
                  "\n[timer]\nactive=1\norder=1\npicture=panel.bmp\nfontname=DejaVu Sans\nfontsize=20\n"
                  "fontbold=1\nforecolor=" +
                  std::to_string(kTimerDigits) +
                  "\nplacex=2\nplacey=2\n"
                  "[cards left]\nactive=1\norder=2\npicture=panel.bmp\nfontname=DejaVu Sans\nfontsize=20\n"
                  "fontbold=1\nforecolor=" +
                  std::to_string(kLeftDigits) + "\nplacex=0\nplacey=0\n");
        write("data/global.ini",
              "[cards]\ncardsx=4\ncardsy=4\ncardwidth=80\ncardheight=80\nborder=1\npicture=back.bmp\n"
              "fontname=DejaVu Sans\nfontsize=16\nfontbold=1\nforecolor=" +
                  std::to_string(kCaption) + "\n");
        std::string cards;
        for (int i = 0; i < 16; ++i) cards += "c" + std::to_string(i / 2) + "\tface.bmp\tWWW\n";
        write("data/cards.txt", cards);
    }
    void TearDown() override {
        platform.reset();
        fs::remove_all(dir);
    }

    void write(const std::string& relative, const std::string& content) {
        std::ofstream out(dir / relative, std::ios::binary);
        out << content;
    }
    void write_definition(const std::string& app) {
        const std::string root = dir.string() + "/";
        write("data/memory.ini", "[memory]\napp=" + app + "\n[paths]\ngfx=" + root + "gfx/\ncard=" + root +
                                     "card/\nsfx=" + root + "sfx/\ndata=" + root +
                                     "data/\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n");
    }

    // Loads the game window as the program does and runs `check` once it
    // is shown and active; then closes it.
    void play(const std::string& app, const std::function<void(frm_MemoryGame&, const Pixels&)>& check) {
        write_definition(app);
        Program program(*platform);
        program.memFile = (dir / "data" / "memory.ini").string();
        frm_MemoryGame game(program, *platform);
        bool checked = false;
        game.on_activate = [&] {
            game.Form_Activate();
            if (!game.loaded()) return;
            checked = true;
            check(game, Pixels(*platform, game));
            platform->close(game);
        };
        platform->show_modal(game);
        ASSERT_TRUE(checked) << "the game window did not load";
        EXPECT_EQ(program.memStartFailed, False);
    }

    fs::path dir;
    std::unique_ptr<SdlPlatform> platform;
    ScreenInfo screen;
    bool windowed = false;
};

// The board in a window of 1920 x 1080 on the offscreen display (1024 x 768,
// so the 1024 x 768 board): scaled by 1080 / 768 and centred.
class SdlScaledBoard : public SdlBoard {
protected:
    SdlScaledBoard() { windowed = true; }
    // The shown game window, resized.
    static void resize_game_window(int width, int height) {
        for (Uint32 id = 1; id < 64; ++id)
            if (SDL_Window* w = SDL_GetWindowFromID(id); w && !(SDL_GetWindowFlags(w) & SDL_WINDOW_HIDDEN)) {
                SDL_SetWindowSize(w, width, height);
                SDL_PumpEvents();
                return;
            }
    }
};

// Window rectangle of a control.
struct Rect {
    int left, top, width, height;
};
Rect rect_of(const Control& c) { return {c.window_left(), c.window_top(), c.width(), c.height()}; }

TEST_F(SdlBoard, CardBacksLieOnTheGridWithTheirBorders) {
    play("memory", [&](frm_MemoryGame& game, const Pixels& pixels) {
        // The board uses the row of the screen's width, centred.
        ASSERT_TRUE(game.pic_Background.picture()) << "no background picture";
        EXPECT_EQ(game.memLayout.Left, (screen.width - game.memLayout.Width) / 2);
        EXPECT_EQ(game.pic_Background.window_left(), game.memLayout.Left);
        EXPECT_EQ(game.pic_Background.window_top(), game.memLayout.Top);
        EXPECT_EQ(pixels.at(game.memLayout.Left + 115, game.memLayout.Top + 8), kBoard);
        if (screen.width == 1024 && screen.height == 768) {
            // 1024 x 768: area 121, 16, 887 x 703; gaps floor(567 / 7 - 1) = 80
            // and floor(383 / 7 - 1) = 53; neighbours 80 + 2 gaps apart.
            EXPECT_EQ(game.memLayout.SpaceX, 80);
            EXPECT_EQ(game.memLayout.SpaceY, 53);
        }
        for (int16_t k = 0; k < 16; ++k) {
            const Image& card = game.img_Card[k];
            const CardPlace place = memCardPlace(game.memLayout, 80, 80, k / 4 + 1, k % 4 + 1);
            EXPECT_EQ(card.left(), place.left) << k;
            EXPECT_EQ(card.top(), place.top) << k;
            const Rect r = rect_of(card);
            ASSERT_EQ(r.width, 80);
            ASSERT_EQ(r.height, 80);
            const int mid_x = r.left + r.width / 2, mid_y = r.top + r.height / 2;
            struct Probe {
                const char* what;
                int x, y;
                Colour colour;
            };
            const Probe probes[] = {
                {"back in the middle", mid_x, mid_y, kBack},
                {"back inside the left border", r.left + 1, mid_y, kBack},
                {"back inside the bottom border", mid_x, r.top + r.height - 2, kBack},
                {"left border", r.left, mid_y, kBlack},
                {"right border", r.left + r.width - 1, mid_y, kBlack},
                {"top border", mid_x, r.top, kBlack},
                {"bottom border", mid_x, r.top + r.height - 1, kBlack},
                {"board left of the card", r.left - 1, mid_y, kBoard},
                {"board above the card", mid_x, r.top - 1, kBoard},
                {"board right of the card", r.left + r.width, mid_y, kBoard},
                {"board below the card", mid_x, r.top + r.height, kBoard},
            };
            for (const Probe& p : probes) EXPECT_EQ(pixels.at(p.x, p.y), p.colour) << "card " << k << ": " << p.what;
            // Exactly the card's rectangle shows the back.
            EXPECT_EQ(pixels.count(r.left - 2, r.top - 2, r.width + 4, r.height + 4, kBack), 78 * 78) << k;
        }
    });
}

TEST_F(SdlBoard, PanelDigitsAndPlayerNamesShowInTheirColours) {
    play("memory", [&](frm_MemoryGame& game, const Pixels& pixels) {
        struct Case {
            const char* what;
            const Control& control;
            Colour colour;
        };
        const Case labels[] = {
            {"timer digits", game.lbl_Control[0], kTimerDigits},
            {"cards left digits", game.lbl_Control[1], kLeftDigits},
            {"current player's name", game.lbl_PlayerName[0], kName},
            {"current player's score", game.lbl_PlayerScore[0], kScore},
            {"other player's name, dimmed", game.lbl_PlayerName[1], kDim},
            {"other player's score, dimmed", game.lbl_PlayerScore[1], kDim},
        };
        for (const Case& c : labels) {
            const Rect r = rect_of(c.control);
            EXPECT_TRUE(c.control.visible()) << c.what;
            EXPECT_GT(pixels.count(r.left, r.top, r.width, r.height, c.colour), 10)
                << c.what << " at " << r.left << ", " << r.top << " " << r.width << " x " << r.height;
        }
        // " 16 " cards left (one blank each side at 20 points), left-aligned level with the picture's top; the
        // timer's "0" centred on its picture.
        const Rect timer = rect_of(game.img_Control[0]), left = rect_of(game.img_Control[1]);
        EXPECT_EQ(game.lbl_Control[1].caption(), " 16 ");
        EXPECT_EQ(rect_of(game.lbl_Control[1]).top, left.top);
        EXPECT_EQ(pixels.count(left.left + left.width / 2, left.top, left.width / 2, left.height, kLeftDigits), 0)
            << "left-aligned digits reach the right half";
        EXPECT_GT(pixels.count(timer.left + timer.width / 3, timer.top, timer.width / 3, timer.height, kTimerDigits), 10);
        EXPECT_EQ(pixels.count(timer.left, timer.top, timer.width / 3, timer.height, kTimerDigits), 0);

        // The pictures beneath the labels, and the quit picture at the bottom.
        const Case pictures[] = {
            {"timer picture", game.img_Control[0], kPanel},
            {"player picture", game.img_Player[0], kStrip},
            {"second player picture", game.img_Player[1], kStrip},
            {"quit picture", game.img_Quit, kQuit},
        };
        for (const Case& c : pictures) {
            const Rect r = rect_of(c.control);
            EXPECT_GT(pixels.count(r.left, r.top, r.width, r.height, c.colour), r.width * r.height / 2) << c.what;
        }
        EXPECT_EQ(game.img_Quit.top(), game.memLayout.Height - 41 - 8);
        EXPECT_EQ(game.img_Player[0].top(), game.memLayout.Height - 25 - 8);
        EXPECT_FALSE(game.img_Player[2].picture()) << "only two players";
    });
}

TEST_F(SdlBoard, MatchGameCaptionsLieOverEveryCard) {
    play("match", [&](frm_MemoryGame& game, const Pixels& pixels) {
        for (int16_t k = 0; k < 16; ++k) {
            const Rect card = rect_of(game.img_Card[k]);
            EXPECT_GT(pixels.count(card.left + 1, card.top + 1, card.width - 2, card.height - 2, kFace), 2000) << k;
            EXPECT_TRUE(game.lbl_Card[k].visible()) << k;
            EXPECT_GT(pixels.count(card.left, card.top, card.width, card.height, kCaption), 10)
                << "caption of card " << k << " not seen";
        }
    });
}

}  // namespace
}  // namespace mem::test

namespace mem::test {
namespace {

// The box around the pixels of one colour in a rectangle: {left, top, width, height}.
mem::Rect box_of(const Pixels& p, const mem::Rect& r, Colour c) {
    int left = r.right(), top = r.bottom(), right = r.left - 1, bottom = r.top - 1;
    for (int y = r.top; y < r.bottom(); ++y)
        for (int x = r.left; x < r.right(); ++x)
            if (p.at(x, y) == c) {
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x), bottom = std::max(bottom, y);
            }
    return {left, top, right - left + 1, bottom - top + 1};
}

TEST_F(SdlScaledBoard, CardsAndTextFillAFullHdWindow) {
    play("memory", [&](frm_MemoryGame& game, const Pixels&) {
        resize_game_window(1024, 768);
        const Pixels unscaled(*platform, game);
        resize_game_window(1920, 1080);
        const Pixels pixels(*platform, game);
        ASSERT_EQ(pixels.width, 1920);
        ASSERT_EQ(pixels.height, 1080);
        const ScreenFit fit = platform->fit_of(game);
        ASSERT_EQ(fit.board_on_display(), (mem::Rect{240, 0, 1440, 1080}));
        EXPECT_EQ(pixels.at(100, 500), kBlack) << "the margin shows the window's colour";
        EXPECT_EQ(pixels.at(240 + 5, 500), kBoard) << "the board starts at 240";
        for (int16_t k = 0; k < 16; ++k) {
            const mem::Rect r = fit.to_display(game.img_Card[k].window_rect());
            // 80 pixels of the board are 112 or 113 of the display.
            EXPECT_NEAR(r.width, 112.5, 1) << k;
            EXPECT_NEAR(r.left, 240 + game.img_Card[k].window_left() * 1.40625, 1) << k;
            EXPECT_EQ(box_of(pixels, {r.left - 3, r.top - 3, r.width + 6, r.height + 6}, kBack),
                      (mem::Rect{r.left + 1, r.top + 1, r.width - 2, r.height - 2}))
                << "card " << k << " shows its back inside its border";
            EXPECT_EQ(pixels.at(r.left, r.top + r.height / 2), kBlack) << k;
            EXPECT_EQ(pixels.at(r.left - 2, r.top + r.height / 2), kBoard) << k;
        }
        // The timer's digits are made at the scaled size: as much taller, with
        // solid strokes (a stretched small text would blur them).
        const Control& timer = game.lbl_Control[0];
        const mem::Rect small = box_of(unscaled, timer.window_rect(), kTimerDigits);
        const mem::Rect large = box_of(pixels, fit.to_display(timer.window_rect()), kTimerDigits);
        ASSERT_GT(small.height, 5);
        EXPECT_NEAR(static_cast<double>(large.height) / small.height, 1.40625, 0.15);
        const mem::Rect shown = fit.to_display(timer.window_rect());
        EXPECT_GT(pixels.count(shown.left, shown.top, shown.width, shown.height, kTimerDigits),
                  unscaled.count(timer.window_left(), timer.window_top(), timer.width(), timer.height(), kTimerDigits) * 3 / 2);
    });
}

}  // namespace
}  // namespace mem::test
