#include "artwork.h"

#include <algorithm>
#include <cmath>

#include "platform/translation.h"

namespace mem::make {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// The largest size from `largest` pixels down at which `text` is at most
// `room` pixels wide.
int fitting_pixels(Fonts& fonts, const std::string& text, int largest, int room) {
    int pixels = largest;
    while (pixels > 4 && fonts.width(text, pixels) > room) --pixels;
    return pixels;
}

}  // namespace

std::unique_ptr<Canvas> draw_background(Fonts& fonts, const Theme& theme, int w, int h, const std::string& title,
                                        int players) {
    auto c = std::make_unique<Canvas>(w, h);
    c->gradient(theme.top, theme.bottom);
    c->round_rect(2, 2, 112, h - 3, 10, kBlack, 0x70);       // the control panel's column
    c->round_rect(116, h - 40, w - 3, h - 3, 10, kBlack, 0x50);  // the players' strip
    c->round_rect(116, 8, w - 8, h - 45, 14, kWhite, 0x14);   // the play area
    // The title right of the player pictures, as large as the room allows.
    const int strip_left = 120 + 128 * std::min(players, 4) + 8, strip_right = w - 14;
    for (int pixels = 22; pixels >= 12; pixels -= 2) {
        const int width = fonts.width(title, pixels);
        if (width > 0 && width <= strip_right - strip_left) {
            c->text(fonts, title, pixels, strip_right - width, h - 21.5 - pixels * 0.6, Anchor::TopLeft, kWhite, 0xA0);
            return c;
        }
    }
    c->text(fonts, title, 11, (116 + w - 8) / 2.0, 8, Anchor::Centre, kWhite, 0xA0);
    return c;
}

std::unique_ptr<Canvas> draw_card_back(const Theme& theme, int w, int h) {
    auto c = std::make_unique<Canvas>(w, h);
    const double radius = std::min(w, h) / 10.0;
    c->round_rect(0, 0, w - 1, h - 1, radius, theme.back, 255);
    // A lattice of diagonals inside the frame, and a diamond in the middle.
    const double inset = 6;
    c->fill(
        [&](double x, double y) {
            if (x < inset || y < inset || x > w - 1 - inset || y > h - 1 - inset) return false;
            const double a = std::fmod(x + y, 12.0), b = std::fmod(x - y + 1200.0, 12.0);
            return a < 1.6 || b < 1.6;
        },
        theme.back_pattern, 200);
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, rx = w * 0.28, ry = h * 0.28;
    c->fill([&](double x, double y) { return std::abs(x - cx) / rx + std::abs(y - cy) / ry <= 1; }, theme.back_pattern,
            255);
    c->fill([&](double x, double y) { return std::abs(x - cx) / rx + std::abs(y - cy) / ry <= 0.5; }, kWhite, 0x40);
    c->round_frame(2, 2, w - 3, h - 3, radius, 2, kWhite, 0x60);
    return c;
}

FaceSize face_size(const BoardPlan& plan) {
    FaceSize face;
    face.width = 2 * plan.card_width;
    face.height = 2 * plan.card_height;
    face.margin = std::max(4, std::min(face.width, face.height) / 16);
    face.room_width = face.width - 2 * face.margin;
    face.room_height = face.height - 2 * face.margin;
    face.caption_pixels = std::max(12, face.height / 9);
    return face;
}

std::unique_ptr<Canvas> draw_card_face(const Theme& theme, const Canvas& picture, const FaceSize& face,
                                       const Canvas* caption) {
    const int w = face.width, h = face.height, margin = face.margin;
    auto c = std::make_unique<Canvas>(w, h);
    const double radius = std::min(w, h) / 10.0;
    c->round_rect(0, 0, w - 1, h - 1, radius, theme.card, 255);
    const int room_w = face.room_width;
    const int room_h = std::max(1, face.room_height - (caption ? caption->height() + margin / 2 : 0));
    const double scale = std::min(static_cast<double>(room_w) / picture.width(),
                                  static_cast<double>(room_h) / picture.height());
    const int pw = std::clamp(static_cast<int>(std::lround(picture.width() * scale)), 1, room_w);
    const int ph = std::clamp(static_cast<int>(std::lround(picture.height() * scale)), 1, room_h);
    c->draw_scaled(picture, (w - pw) / 2, margin + (room_h - ph) / 2, pw, ph);
    if (caption) c->draw_scaled(*caption, (w - caption->width()) / 2, h - margin - caption->height(), caption->width(),
                                caption->height());
    c->round_frame(0, 0, w - 1, h - 1, radius, 1, theme.ink, 0x50);
    return c;
}

std::unique_ptr<Canvas> draw_panel(Fonts& fonts, const Theme& theme, const std::string& caption) {
    auto c = std::make_unique<Canvas>(kPanelWidth, kPanelHeight);
    c->round_rect(1, 1, kPanelWidth - 2, kPanelHeight - 2, 10, kBlack, 0xA0);
    c->round_frame(1, 1, kPanelWidth - 2, kPanelHeight - 2, 10, 2, theme.accent, 255);
    const int pixels = fitting_pixels(fonts, caption, 12, kPanelWidth - 16);
    c->text(fonts, caption, pixels, kPanelWidth / 2.0, kPanelHeight - 12, Anchor::Centre, theme.accent);
    return c;
}

DrawnWords drawn_words() {
    DrawnWords words;
    // TRANSLATORS: drawn on the game's quit button, a picture 97 pixels wide
    // (about 9 letters fit at full size; a longer word is drawn smaller).
    words.quit = tr("Quit");
    // TRANSLATORS: drawn large on the picture shown when the game is won,
    // 380 pixels wide (about 12 letters fit at full size).
    words.well_done = tr("Well done!");
    // TRANSLATORS: drawn large on the picture shown when the game is lost,
    // 380 pixels wide (about 12 letters fit at full size).
    words.game_over = tr("Game over");
    // TRANSLATORS: drawn below "Well done!" or "Game over" on the end picture;
    // a click on it ends the game. About 28 letters fit at full size.
    words.finish = tr("Click here to finish");
    return words;
}

std::unique_ptr<Canvas> draw_quit(Fonts& fonts, const Theme& theme, const DrawnWords& words) {
    (void)theme;
    auto c = std::make_unique<Canvas>(kQuitWidth, kQuitHeight);
    c->round_rect(1, 1, kQuitWidth - 2, kQuitHeight - 2, 10, Rgb{140, 28, 28}, 255);
    c->round_frame(1, 1, kQuitWidth - 2, kQuitHeight - 2, 10, 2, Rgb{255, 176, 176}, 255);
    const int pixels = fitting_pixels(fonts, words.quit, 18, kQuitWidth - 16);
    c->text(fonts, words.quit, pixels, kQuitWidth / 2.0, kQuitHeight / 2.0, Anchor::Centre, kWhite);
    return c;
}

std::unique_ptr<Canvas> draw_player(const Theme& theme) {
    auto c = std::make_unique<Canvas>(kPlayerWidth, kPlayerHeight);
    c->round_rect(0, 0, kPlayerWidth - 1, kPlayerHeight - 1, 6, kBlack, 0xA0);
    c->round_frame(0, 0, kPlayerWidth - 1, kPlayerHeight - 1, 6, 1, theme.accent, 255);
    return c;
}

std::unique_ptr<Canvas> draw_end(Fonts& fonts, const Theme& theme, bool good, const DrawnWords& words) {
    (void)theme;
    auto c = std::make_unique<Canvas>(kEndWidth, kEndHeight);
    const double w = kEndWidth - 1, h = kEndHeight - 1, mid = kEndWidth / 2.0;
    c->round_rect(2, 2, w - 2, h - 2, 24, good ? Rgb{28, 110, 44} : Rgb{110, 28, 28}, 255);
    c->round_frame(2, 2, w - 2, h - 2, 24, 4, kWhite, 255);
    if (good) {
        c->star(mid, 52, 36, 15, Rgb{240, 200, 20}, 255);
    } else {
        c->ring(mid, 52, 30, 6, Rgb{255, 176, 176}, 255);
        c->line(mid - 21, 31, mid + 21, 73, 6, Rgb{255, 176, 176}, 255);
    }
    const int room = kEndWidth - 40;
    const std::string& headline = good ? words.well_done : words.game_over;
    c->text(fonts, headline, fitting_pixels(fonts, headline, 44, room), mid, 130, Anchor::Centre, kWhite);
    c->text(fonts, words.finish, fitting_pixels(fonts, words.finish, 20, room), mid, 190, Anchor::Centre, kWhite);
    return c;
}

}  // namespace mem::make
