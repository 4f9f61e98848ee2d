#pragma once
// The built-in colour themes of the drawn pictures.
#include <cstdint>
#include <string>

namespace mem::make {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    // The definition files' colour: red + 256 x green + 65536 x blue.
    int32_t colour() const { return r + 256 * g + 65536 * b; }
};

struct Theme {
    const char* name;
    Rgb top, bottom;  // the background's gradient
    Rgb accent;       // frames, panel captions, the match line
    Rgb card;         // the ground of the card faces
    Rgb ink;          // captions on the cards
    Rgb back, back_pattern;
};

const Theme* find_theme(const std::string& name);
std::string theme_names();  // "ocean, forest, sunset, night"

}  // namespace mem::make
