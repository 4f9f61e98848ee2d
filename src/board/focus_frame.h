#pragma once
// The keyboard focus frame: an outline shape around a control, dark on the
// outside and the inside with a light band between, so it shows on any
// background, and as wide on the display at every scale. Shapes only draw,
// so the frame never takes a click.
#include <string>

#include "platform/controls.h"

namespace mem {

class FocusFrame {
public:
    // How far the frame reaches out from the control it surrounds.
    static constexpr int kWidth = 4;

    // Hidden at first; in `container`'s coordinates, like the controls it surrounds.
    FocusFrame(Window& window, const std::string& name, PictureBox* container);

    // Around the rectangle of a control in the same container.
    void show_around(int left, int top, int width, int height);
    void hide();
    bool visible() const { return outline_.visible(); }
    const Shape& outline() const { return outline_; }

private:
    Shape outline_;
};

}  // namespace mem
