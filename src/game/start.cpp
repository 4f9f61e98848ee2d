// The start of a game, and turning back the cards and text of a try that
// did not match.
#include <string>

#include "app/game_window.h"
#include "board/geometry.h"
#include "definition/syntax.h"

namespace mem {

void frm_MemoryGame::memInitValues() {
    // Reset the sound device.
    mmc_Sound->set_file_name("");
    mmc_Sound->command("close");

    memMCIUpdating = False;
    memWiping = False;
    memProcessing = False;
    memCardStatus = -1;
    memTurnedCards = 0;
    memCurrentPlayer = 0;
    memGameOver = False;
    memTextGame = TextGameState{};
    memLastResult = memRESULTNO;
    memCardsLeft = memNearest16(memCardCount);
    memSoundLoaded = -1;

    // Players 1 to 3 are dimmed whatever the number of players.
    for (int16_t p = 1; p <= 3; ++p) {
        if (lbl_PlayerName.exists(p)) lbl_PlayerName[p].set_fore_color(memDimColor);
        if (lbl_PlayerScore.exists(p)) lbl_PlayerScore[p].set_fore_color(memDimColor);
    }

    const ControlGroup& countdown = memControl[kGroupCountdown];
    const ControlGroup& tries_left = memControl[kGroupTriesLeft];
    for (PlayerRecord& player : memPlayer) {
        if (countdown.Active == True) player.Countdown = countdown.Condition;
        if (tries_left.Active == True) player.TriesLeft = tries_left.Condition;
    }

    // First values; timer and countdown keep the "0" the board was built with.
    const std::pair<int, int> first[] = {{kGroupCardsMade, 0},
                                         {kGroupCardsLeft, memCardsLeft},
                                         {kGroupTriesLeft, tries_left.Condition},
                                         {kGroupTriesMade, 0}};
    for (const auto& [g, value] : first) {
        const ControlGroup& group = memControl[static_cast<size_t>(g)];
        // A group without a slot is skipped as when the panel is built.
        if (group.Active == False || !lbl_Control.exists(group.Order)) continue;
        Label& label = lbl_Control[group.Order];
        label.set_caption(std::to_string(value));
        memPadLabel(label);
    }

    memOpenTurnSound();

    // With a preview the clock starts when the faces have been shown.
    if (memAppType == 0 && memPreview > 0) memStartPreview();
    else tim_Timer.set_enabled(true);
}

void frm_MemoryGame::memRestoreCards() {
    memLastResult = memRESULTNO;
    auto restore = [this](int16_t c) {
        // Mended: a position outside the board is left alone. Every card
        // on the board has its caption.
        if (!img_Card.exists(c)) return;
        lbl_Card[c].set_enabled(true);
        img_Card[c].set_enabled(true);
        if (memAppType == 0) {
            img_Card[c].set_picture(memCardBack);
            lbl_Card[c].set_visible(false);
        }
    };
    if (memInterface.TextList.Active != False) {
        restore(memTextGame.CardIndex);
    } else {
        // Both cards are enabled before either is turned face down.
        const int16_t a = memCardsTurned[0];
        const int16_t b = memCardsTurned[1];
        for (int16_t c : {a, b}) {
            if (!img_Card.exists(c)) continue;
            lbl_Card[c].set_enabled(true);
            img_Card[c].set_enabled(true);
        }
        for (int16_t c : {a, b}) restore(c);
    }
}

void frm_MemoryGame::memRestoreText() {
    const int16_t t = memTextGame.TextIndex;
    if (lbl_Text.exists(t)) lbl_Text[t].set_fore_color(memInterface.TextList.ForeColor);
}

}  // namespace mem
