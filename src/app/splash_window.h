#pragma once
// The splash window shown while a definition is read.
#include "platform/platform.h"

namespace mem {

class frm_Splash : public Window {
public:
    explicit frm_Splash(Platform& platform);

    // Escape ends the program at once: no trace, no sound device closing.
    void Form_KeyPress(int16_t& KeyAscii);
};

}  // namespace mem
