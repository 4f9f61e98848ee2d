// Taking matched cards off the board. For now every removal hides the card
// pictures at once; the fly-away and shrink animations come later.
#include "app/game_window.h"

namespace mem {

void frm_MemoryGame::memWipeOutCards() {
    memWiping = True;
    auto hide = [this](int16_t position) {
        if (img_Card.exists(position)) img_Card[position].set_visible(false);
    };
    if (memInterface.TextList.Active != False) {
        hide(memTextGame.CardIndex);
    } else {
        hide(memCardsTurned[0]);
        hide(memCardsTurned[1]);
    }
    memWiping = False;
}

}  // namespace mem
