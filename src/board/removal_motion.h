#pragma once
// The arithmetic of taking a matched card off the board: the fly-away's
// thirds and velocities, the end of a flight, and the shrink's steps. Pure
// computations, no window.
#include <cstdint>

namespace mem {

// Speed of a card in the middle third: +20 or -20, from one random draw.
int16_t memFlySign(double r);

// A third of the play area's width or height, in whole pixels.
int16_t memAreaThird(int16_t area_size);

// Which third (1, 2, 3) of the play area a card's centre lies in along one
// axis: card start and size, area start, and the third's size.
int16_t memCardThird(int card_start, int card_size, int16_t area_start, int16_t third);

// Velocity along one axis for a card in `third`: the outer thirds leave
// through the nearer side at 15 to 25 pixels a frame, the middle third goes
// the way of `sign` at 10 to 30; `r` is a fresh random draw.
int16_t memFlyVelocity(int16_t third, double r, int16_t sign);

// True when a card no longer overlaps the visible board of `frame_width`
// by `frame_height` pixels.
bool memWhollyOutside(int left, int top, int width, int height, int16_t frame_width, int16_t frame_height);

// Pixels a shrinking card loses per step on each side length.
int16_t memShrinkStep(int width, int height);

// One card's rectangle while it shrinks.
struct ShrinkBox {
    int16_t left = 0, top = 0, width = 0, height = 0;
};

// The shrink goes on while the first card is wider and higher than 6 pixels.
bool memShrinkGoesOn(const ShrinkBox& first);

// The next, smaller rectangle: `step` off each side length, half of it onto
// the left and the top, so the card keeps its centre.
void memShrinkOnce(ShrinkBox& box, int16_t step);

}  // namespace mem
