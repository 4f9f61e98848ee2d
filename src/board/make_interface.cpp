// Builds the board once: window colour, background, panel, quit picture,
// player strip and the card grid.
#include <iostream>

#include "app/game_window.h"
#include "definition/syntax.h"

namespace mem {

PictureRef frm_MemoryGame::memLoadBoardPicture(const std::string& path, double code) {
    if (memFileExists(path)) {
        std::string reason;
        PictureRef picture = platform().load_picture(path, reason);
        if (picture) return picture;
        // A file that cannot be decoded is reported as a missing one.
        if (debug()) memWriteLog("--> memLoadBoardPicture: " + reason);
        std::cerr << path << ": " << reason << "\n";
    }
    memHandleError(code, path);
    return nullptr;
}

void frm_MemoryGame::memMakeInterface() {
    set_back_color(memInterface.BackColor);

    pic_Background.set_bounds(memLayout.Left, memLayout.Top, memLayout.Width, memLayout.Height);

    if (debug()) {
        shp_PlayArea.set_bounds(memLayout.AreaLeft, memLayout.AreaTop, memLayout.AreaWidth, memLayout.AreaHeight);
        shp_PlayArea.set_visible(true);
    }

    // The geometry step keeps the picture row inside the table.
    const std::string background = memPaths.Gfx + memInterface.Pictures[static_cast<size_t>(memLayout.Picture)];
    if (PictureRef picture = memLoadBoardPicture(background, 100)) pic_Background.set_picture(picture);

    if (memInterface.TextList.Active != False) memPlaceTextLabels();

    memPlaceControlPanel();

    if (!memInterface.QuitPicture.empty()) {
        if (PictureRef picture = memLoadBoardPicture(memPaths.Gfx + memInterface.QuitPicture, 103))
            img_Quit.set_picture(picture);
        img_Quit.set_top(memLayout.Height - (img_Quit.height() + 8));
    }

    memPlacePlayerStrip();
    memPlaceCardGrid();
}

}  // namespace mem
