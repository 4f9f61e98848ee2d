#pragma once
// The pictures memory-new draws: backgrounds, card back and faces, the
// control-panel, quit and player pictures and the two end pictures.
#include <memory>
#include <string>

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
// `picture` fitted into the card with its proportions kept, on the card's
// ground; `caption_band` pixels across the middle are lightened for the caption.
std::unique_ptr<Canvas> draw_card_face(const Theme& theme, const Canvas& picture, int width, int height,
                                       int caption_band);
std::unique_ptr<Canvas> draw_panel(Fonts& fonts, const Theme& theme, const std::string& caption);
std::unique_ptr<Canvas> draw_quit(Fonts& fonts, const Theme& theme);
std::unique_ptr<Canvas> draw_player(const Theme& theme);
std::unique_ptr<Canvas> draw_end(Fonts& fonts, const Theme& theme, bool good);

}  // namespace mem::make
