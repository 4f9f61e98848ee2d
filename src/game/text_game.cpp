// The text game: a try is one card and one text of the list, chosen in
// either order. They match when the card's line in the card file and the
// text's line in the list file have the same number. A matched card leaves
// the board and its text is hidden or dimmed; otherwise both go back.
#include <string>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

void frm_MemoryGame::lbl_Text_Click(int16_t Index) { memTextClick(Index); }

void frm_MemoryGame::memTextClick(int16_t& Index) {
    if (memReady == False || memGameOver != False || memProcessing != False || memWiping != False) return;
    // While the faces show before the game, texts take no clicks either.
    if (memPreviewing != False) return;
    TextList& list = memInterface.TextList;
    if (list.Active == False) return;
    // Mended: a label without a dealt slot, or one that takes no clicks (a
    // text already taken), is not chosen.
    if (!has_index(list.Display, Index) || !lbl_Text.exists(Index) ||
        !lbl_Text[Index].enabled())
        return;
    TextDisplay& slot = list.Display[static_cast<size_t>(Index)];
    if (slot.Selected != False || memTextGame.TextChosen != False) return;

    memTextGame.TextChosen = True;
    memTextGame.TextReference = memNearest16(slot.Reference);
    memTextGame.TextIndex = Index;
    slot.Selected = True;
    lbl_Text[Index].set_fore_color(list.SelectColor);

    if (memTextGame.CardChosen == False) {
        memLastResult = memRESULTNO;
    } else if (memTextGame.CardReference == memTextGame.TextReference) {
        memLastResult = memRESULTMATCH;
        memIncrease(memTurnedCards, 1);
    } else {
        memLastResult = memRESULTNOMATCH;
    }

    memSayChosenText(Index);
    // The text's chain does not hold the board: a card may be clicked
    // while the text's sounds play.
    if (memGameOver == False) memTextClickSoundStep();
}

void frm_MemoryGame::memCheckTextStatus() {
    memProcessing = False;
    memCheckCardTextStatus();
}

void frm_MemoryGame::memCheckCardTextStatus() {
    TextGameState& state = memTextGame;
    if (state.CardChosen == False || state.TextChosen == False) {
        // One half waits for the other.
        memLastResult = memRESULTNO;
        return;
    }
    // Mended: a try is settled once. A sound that ends while the removal
    // yields to the event loop reaches here again, and would take the card
    // and score it a second time.
    if (memSettlingText != False) return;
    const int16_t c = state.CardIndex;
    const int16_t t = state.TextIndex;
    const bool card_known = has_index(memDisplayCard, c);
    // Mended: while the chosen card is still being turned (its face is
    // painted with the event loop running), the text's chain leaves the try
    // to the card's own chain, which settles it once the card is up. Settled
    // here, the card would be turned up after the try had ended, with its
    // chain finding no try and the board held for good.
    if (card_known && memDisplayCard[static_cast<size_t>(c)].Turned == False) return;
    memSettlingText = True;

    const int16_t p = memCurrentPlayer;
    const bool player_known = has_index(memPlayer, p);
    const bool matched = state.CardReference == state.TextReference;
    memSayResult(matched);
    if (matched) {
        memLastResult = memRESULTMATCH;
        platform().sleep(500);
        memWipeOutCards();
        memRemoveTextObject();
        if (player_known) memIncrease(memPlayer[static_cast<size_t>(p)].CardsMade, 1);
        memDecrease(memCardsLeft, 1);
        memShowScore(p);
        memShowControls();
    } else {
        // Tries are not counted and the same player plays on.
        platform().sleep(500);
        memLastResult = memRESULTNOMATCH;
        memRestoreCards();
        memRestoreText();
    }

    if (card_known) memDisplayCard[static_cast<size_t>(c)].Turned = False;
    auto& display = memInterface.TextList.Display;
    if (has_index(display, t)) display[static_cast<size_t>(t)].Selected = False;
    state.CardChosen = False;
    state.TextChosen = False;
    memOpenTurnSound();
    memCardStatus = -1;
    memProcessing = False;
    memSettlingText = False;
    memShowFocus();
    memCheckPlayerStatus(memCurrentPlayer);
}

void frm_MemoryGame::memRemoveTextObject() {
    const int16_t t = memTextGame.TextIndex;
    if (!lbl_Text.exists(t)) return;
    Label& label = lbl_Text[t];
    if (memInterface.TextList.Destroy != False) {
        label.set_visible(false);
    } else {
        label.set_fore_color(memInterface.TextList.DimColor);
    }
    label.set_enabled(false);
}

}  // namespace mem
