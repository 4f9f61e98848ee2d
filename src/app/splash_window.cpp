#include "app/splash_window.h"

namespace mem {

frm_Splash::frm_Splash(Platform& platform) : Window(platform, "frm_Splash") {
    set_caption("Memory");
    on_key_press = [this](int16_t& key) { Form_KeyPress(key); };
}

void frm_Splash::Form_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii == 27) platform().end_program(kExitNormal);
}

}  // namespace mem
