// The control panel: up to six displays, a picture with a number over it.
#include <cmath>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

namespace {

std::string whole_number(double value) { return std::to_string(static_cast<long>(std::nearbyint(value))); }

}  // namespace

void frm_MemoryGame::memPlaceControlPanel() {
    for (int g = 0; g <= 5; ++g) {
        const ControlGroup& group = memControl[static_cast<size_t>(g)];
        // Group 6 and groups outside the six slots are never shown.
        if (group.Active == False || !lbl_Control.exists(group.Order)) continue;
        const int16_t o = group.Order;
        Image& picture = img_Control[o];
        Label& value = lbl_Control[o];

        if (!group.Picture.empty()) {
            if (PictureRef loaded = memLoadBoardPicture(memPaths.Gfx + group.Picture, 102)) {
                picture.set_picture(loaded);
                picture.set_visible(true);
            }
        }

        value.set_fore_color(group.ForeColor);
        value.set_caption("0");
        memPadLabel(value);
        value.set_auto_size(false);
        // Element 0's width, whichever group uses it: the slots are one column.
        value.set_width(img_Control[0].width());
        if (group.PlaceX >= 0 && group.PlaceX <= 2) value.set_alignment(static_cast<Alignment>(group.PlaceX));
        value.set_visible(true);

        if (group.PlaceY == 0) {
            value.set_top(picture.top());
        } else if (group.PlaceY == 2) {
            value.set_top(memNearest16((picture.height() - value.height()) / 2.0 + picture.top()));
        }
    }
}

void frm_MemoryGame::memShowControls() {
    const PlayerRecord none;
    const bool known = has_index(memPlayer, memCurrentPlayer);
    const PlayerRecord& player = known ? memPlayer[static_cast<size_t>(memCurrentPlayer)] : none;
    const double values[4] = {player.CardsMade, static_cast<double>(memCardsLeft), player.TriesMade,
                              player.TriesLeft};
    for (int g = kGroupCardsMade; g <= kGroupTriesLeft; ++g) {
        const ControlGroup& group = memControl[static_cast<size_t>(g)];
        // A group without a slot is skipped here as when the panel is built.
        if (group.Active == False || !lbl_Control.exists(group.Order)) continue;
        Label& label = lbl_Control[group.Order];
        label.set_caption(whole_number(values[g - kGroupCardsMade]));
        memPadLabel(label);
    }
}

}  // namespace mem
