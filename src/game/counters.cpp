#include <cmath>
#include <cstdlib>
#include <sstream>

#include "game/records.h"

namespace mem {
namespace {

template <typename T>
double through_text(T value) {
    std::ostringstream text;
    text.precision(9);
    text << value;
    return std::strtod(text.str().c_str(), nullptr);
}

// Mended: a step past the 16-bit range stops at its end instead of wrapping.
int16_t to_int16(double v) {
    double r = std::nearbyint(v);
    if (r > 32767) return 32767;
    if (r < -32768) return -32768;
    return static_cast<int16_t>(r);
}

}  // namespace

void memIncrease(int16_t& value, double step) { value = to_int16(through_text(value) + step); }
void memIncrease(float& value, double step) { value = static_cast<float>(through_text(value) + step); }
void memDecrease(int16_t& value, double step) { value = to_int16(through_text(value) - step); }
void memDecrease(float& value, double step) { value = static_cast<float>(through_text(value) - step); }

}  // namespace mem
