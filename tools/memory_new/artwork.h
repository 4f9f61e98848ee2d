#pragma once
// The pictures memory-new draws: backgrounds, card back and faces, the
// control-panel, quit and player pictures and the two end pictures.
#include <memory>
#include <string>

#include "board_plan.h"
#include "canvas.h"
#include "theme.h"

namespace mem::make {

// Sizes of the drawn pictures; the board's layout depends on them.
constexpr int kPanelWidth = 97, kPanelHeight = 57;
constexpr int kQuitWidth = 97, kQuitHeight = 36;
constexpr int kPlayerWidth = 121, kPlayerHeight = 25;
constexpr int kEndWidth = 380, kEndHeight = 230;

// The board of a width x height screen with the title in the players' strip
// (or along the top when the strip is full).
std::unique_ptr<Canvas> draw_background(Fonts& fonts, const Theme& theme, int width, int height,
                                        const std::string& title, int players);
std::unique_ptr<Canvas> draw_card_back(const Theme& theme, int width, int height);
// A card's face is drawn at twice the card's size or more, so that it stays
// crisp when the board is scaled up; the photo and its caption share the
// room inside the margin.
struct FaceSize {
    int width = 0, height = 0, margin = 0;
    int room_width = 0, room_height = 0;
    int caption_pixels = 0;  // the caption's largest font size
};
FaceSize face_size(const BoardPlan& plan);

// `picture` fitted with its proportions kept into the room above `caption`
// (null: none), on the card's ground.
std::unique_ptr<Canvas> draw_card_face(const Theme& theme, const Canvas& picture, const FaceSize& face,
                                       const Canvas* caption);
std::unique_ptr<Canvas> draw_panel(Fonts& fonts, const Theme& theme, const std::string& caption);
// The words drawn into the quit and end pictures, in the user's language.
struct DrawnWords {
    std::string quit, well_done, game_over, finish;
};
DrawnWords drawn_words();
// Each word is drawn as large as its place allows, and smaller where a
// language's word is longer: never cut.
std::unique_ptr<Canvas> draw_quit(Fonts& fonts, const Theme& theme, const DrawnWords& words);
std::unique_ptr<Canvas> draw_player(const Theme& theme);
std::unique_ptr<Canvas> draw_end(Fonts& fonts, const Theme& theme, bool good, const DrawnWords& words);

}  // namespace mem::make
