#include "app/game_window.h"
#include "definition/syntax.h"

namespace mem {

void memPadLabel(Label& label) {
    const std::string text = memRemoveSpaces(label.caption());
    const std::string pad = (label.font() && label.font()->size < 19) ? "  " : " ";
    label.set_caption(pad + text + pad);
}

}  // namespace mem
