// Everything the game derives from its settings before the first deal.
#include "app/game_window.h"
#include "definition/syntax.h"

namespace mem {

void frm_MemoryGame::memFixResultSounds() {
    if (!memInterface.MatchSound.empty()) {
        const std::string path = memPaths.Sfx + memInterface.MatchSound;
        if (memFileExists(path)) {
            memResultSounds = True;
        } else {
            memHandleError(205, path);
            memInterface.MatchSound.clear();
        }
    }
    if (!memInterface.NoMatchSound.empty()) {
        const std::string path = memPaths.Sfx + memInterface.NoMatchSound;
        if (!memFileExists(path)) {
            memHandleError(206, path);
            memInterface.NoMatchSound.clear();
            memResultSounds = False;
        }
    }
}

void frm_MemoryGame::memMakePlayers() {
    // Kept: with "players=0" one player plays, the count itself stays 0.
    const int16_t named = memPlayers > 0 ? memPlayers : 1;
    // Kept: counts above four stay players of the rules; only four have labels.
    memPlayer.assign(static_cast<size_t>(named) + 1, PlayerRecord{});
    for (int16_t p = 0; p < named; ++p) {
        const std::string own = p < 4 ? memPlayerNames[static_cast<size_t>(p)] : "";
        memPlayer[static_cast<size_t>(p)].Name = own.empty() ? memPlayerDefaultName + std::to_string(p + 1) : own;
    }
}

void frm_MemoryGame::memLoadCardPictures() {
    if (memAppType == 0 && !memCardBackFile.empty())
        memCardBack = memLoadBoardPicture(memPaths.Gfx + memCardBackFile, 101);
    const auto n = static_cast<size_t>(memCardCount > 0 ? memCardCount : 0);
    for (size_t i = 0; i < n && i < memCardHolder.size(); ++i) {
        CardDefinition& card = memCardHolder[i];
        if (card.PictureFile.empty()) continue;
        // Loaded once here; turning a card never reads a file.
        card.Picture = memLoadBoardPicture(memPaths.Card + card.PictureFile, 105);
    }
}

void frm_MemoryGame::memFixVariabels() {
    memComputeBoardGeometry();
    memFixResultSounds();
    memMakePlayers();
    if (memInterface.TextList.Active) memReadTextList();
    if (memMatchLine) {
        pic_Background.set_draw_color(memLineColor);
        pic_Background.set_draw_width(memLineWidth);
    }
    memLoadCardPictures();
    memDealCards();
}

}  // namespace mem
