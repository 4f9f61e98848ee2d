// The column of text labels of a text game, one per board position.
#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

void frm_MemoryGame::memPlaceTextLabels() {
    // Element 1 exists from design with its own font; it takes the list font.
    lbl_Text[1].set_font(lbl_Text[0].font());
    const TextList& list = memInterface.TextList;
    const int16_t last = memNearest16(memCardCount - 1);
    for (int16_t i = 0; i <= last; ++i) {
        Label& label = lbl_Text.create(i);
        std::string text;
        // Mended: a slot or item the deal did not make leaves the label empty
        // instead of reading past the records.
        if (static_cast<size_t>(i) < list.Display.size()) {
            const int16_t r = memNearest16(list.Display[static_cast<size_t>(i)].Reference);
            if (has_index(list.Item, r)) text = list.Item[static_cast<size_t>(r)].Text;
        }
        label.set_caption(text);
        label.set_top(i * lbl_Text[0].height() + list.Top + static_cast<int16_t>(list.Space * i));
        label.set_left(list.Left);
        label.set_width(list.Width);
        label.set_fore_color(list.ForeColor);
        label.set_visible(true);
        label.set_enabled(true);
    }
}

}  // namespace mem
