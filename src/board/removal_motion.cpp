// The arithmetic of the removal animation.
#include "board/removal_motion.h"

#include <algorithm>
#include <cmath>

#include "board/geometry.h"
#include "game/records.h"

namespace mem {

int16_t memFlySign(double r) { return std::floor(2 * r) == 1 ? -20 : 20; }

int16_t memAreaThird(int16_t area_size) {
    // Mended: a play area under 2 pixels still gets a third of 1 pixel, so
    // the card's third is not divided by zero.
    return std::max<int16_t>(1, memNearest16(area_size / 3.0));
}

int16_t memCardThird(int card_start, int card_size, int16_t area_start, int16_t third) {
    const double centre = card_start - area_start + card_size / 2.0;
    return static_cast<int16_t>(std::trunc(centre / third) + 1);
}

int16_t memFlyVelocity(int16_t third, double r, int16_t sign) {
    const auto j = static_cast<int16_t>(std::floor(11 * r - 5));
    switch (third) {
        case 1: return static_cast<int16_t>(j - 20);
        case 2: return static_cast<int16_t>(2 * j + sign);
        case 3: return static_cast<int16_t>(j + 20);
        // Kept: a centre outside the three thirds moves by its own third
        // number, as the animation always did.
        default: return third;
    }
}

bool memWhollyOutside(int left, int top, int width, int height, int16_t frame_width, int16_t frame_height) {
    return left > frame_width || left + width < 0 || top > frame_height || top + height < 0;
}

int16_t memShrinkStep(int width, int height) {
    const auto step = static_cast<int16_t>(std::trunc((height + width) / 40.0));
    // Mended: a card whose width and height add up to less than 40 pixels
    // shrinks by 1 pixel a step instead of 0, so the shrink comes to an end.
    return std::max<int16_t>(step, 1);
}

bool memShrinkGoesOn(const ShrinkBox& first) { return first.width > 6 && first.height > 6; }

void memShrinkOnce(ShrinkBox& box, int16_t step) {
    // Kept: the half step rounds half to even, so an odd step drifts the
    // card right and down by half a pixel a step on average.
    memIncrease(box.left, step / 2.0);
    memIncrease(box.top, step / 2.0);
    memDecrease(box.width, step);
    memDecrease(box.height, step);
}

}  // namespace mem
