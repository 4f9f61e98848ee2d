// The player strip along the bottom of the board: at most four slots.
#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

void frm_MemoryGame::memPlacePlayerStrip() {
    // Mended: a slot no player uses is hidden. Its empty picture would keep
    // its designed place, which lies in the play area on boards above
    // 640 x 480, and take the clicks meant for the cards beneath it.
    for (auto& slot : img_Player)
        if (slot->index() >= memPlayers) slot->set_visible(false);
    if (memPlayers < 1) {
        memPlayers = 1;
        return;
    }
    const std::string path = memPaths.Gfx + memPlayerPicture;
    // The window has four slots; further players take part without one.
    for (int16_t p = 0; p < 4 && p < memPlayers; ++p) {
        Image& strip = img_Player[p];
        strip.set_top(memLayout.Height - (strip.height() + 8));
        // Kept: every slot loads the same picture, so a missing one is
        // reported once per slot.
        if (PictureRef picture = memLoadBoardPicture(path, 104)) strip.set_picture(picture);

        Label& name = lbl_PlayerName[p];
        if (memNameFont) name.set_font(memNameFont);
        name.set_fore_color(memNameForeColor);
        std::string caption = " ";
        if (static_cast<size_t>(p) < memPlayer.size()) caption += memPlayer[static_cast<size_t>(p)].Name;
        name.set_caption(caption);
        name.set_top(memNearest16((strip.height() - name.height()) / 2.0 + strip.top()));

        Label& score = lbl_PlayerScore[p];
        if (memScoreFont) score.set_font(memScoreFont);
        score.set_fore_color(memScoreForeColor);
        score.set_caption("0 ");
        score.set_top(memNearest16((strip.height() - score.height()) / 2.0 + strip.top()));

        name.set_visible(true);
        score.set_visible(true);
    }
}

}  // namespace mem
