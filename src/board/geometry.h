#pragma once
// Board geometry: which screen-size row the board uses, where it lies on the
// screen, the play area inside it and the gaps between the cards. Pure
// computations, no window.
#include <array>
#include <cstdint>
#include <string>

#include "game/records.h"

namespace mem {

struct BoardGeometryInput {
    // The screen and the pixel size in device-independent units.
    int screen_width_units = 0;
    int screen_height_units = 0;
    int units_per_pixel = 15;
    std::array<ScreenSize, 6> sizes{};
    std::array<std::string, 6> pictures{};  // background picture per row
    CurrentScreen screen{};                 // values before the step
    int16_t layout_picture = 0;             // value before the step
    // Designed places of the first control-panel picture and player picture.
    int control_left = 8;
    int control_width = 97;
    int player_height = 25;
    float cards_x = 0, cards_y = 0;
    float card_width = 0, card_height = 0;
};

struct BoardGeometry {
    CurrentScreen screen;
    Layout layout;
};

BoardGeometry memBoardGeometry(const BoardGeometryInput& in);

struct CardPlace {
    int left = 0;
    int top = 0;
};

// Place of the card in row `row` and column `column`, both counted from 1:
// the first card lies one gap unit inside the play area, neighbours are one
// card plus two gap units apart.
CardPlace memCardPlace(const Layout& layout, float card_width, float card_height, int row, int column);

// Nearest whole number, halves to even.
int16_t memNearest16(double value);

}  // namespace mem
