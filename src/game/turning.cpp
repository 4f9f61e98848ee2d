// Turning cards and settling a try: a click turns a card face up and starts
// its sound chain; the end of the chain settles the try.
#include <cmath>
#include <string>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

namespace {

// Cards 2m and 2m+1 of the card file are a pair.
bool same_pair(float a, float b) { return std::trunc(a / 2.0) == std::trunc(b / 2.0); }

}  // namespace

void frm_MemoryGame::img_Card_Click(int16_t Index) {
    if (memInCardClick == False) {
        memInCardClick = True;
        memCardClick(Index);
    }
    memInCardClick = False;
}

void frm_MemoryGame::lbl_Card_Click(int16_t Index) { memCardClick(Index); }

void frm_MemoryGame::img_Card_DblClick(int16_t Index) {
    // The second click of a double click turns no card.
    (void)Index;
    platform().yield();
}

void frm_MemoryGame::memCardClick(int16_t& Index) {
    if (debug()) memWriteLog("=> memCardClick(" + std::to_string(Index) + ") <=");
    if (memReady == False || memGameOver != False || memProcessing != False || memWiping != False) return;
    // While the faces show before the game, cards take no clicks.
    if (memPreviewing != False) return;
    // Mended: a position the deal did not fill takes no click.
    if (!has_index(memDisplayCard, Index) || !img_Card.exists(Index)) return;
    DisplayCard& card = memDisplayCard[static_cast<size_t>(Index)];
    if (card.Turned != False) return;
    // Mended: a card whose picture is disabled (in hand, or a pair taken off
    // the board or joined by the line) takes no click through its caption
    // either; its record says face down again once the try is settled, and
    // a taken pair could otherwise be turned and scored a second time.
    if (!img_Card[Index].enabled()) return;

    if (memInterface.TextList.Active != False) {
        memCardStatus = 0;
        if (memTextGame.CardChosen != False) return;
        memTextGame.CardChosen = True;
        memTextGame.CardReference = memNearest16(card.Reference);
        memTextGame.CardIndex = Index;
        memProcessing = True;
        memTurnCard(Index);
        return;
    }
    memProcessing = True;
    memTurnCard(Index);
}

void frm_MemoryGame::memTurnCard(int16_t& Index) {
    const int16_t r = memNearest16(memDisplayCard[static_cast<size_t>(Index)].Reference);
    const bool known = has_index(memCardHolder, r);
    memProcessing = True;
    memShowFocus(Index);

    if (memAppType == 0) {
        // Face and caption are painted now, so both cards show during the pause.
        img_Card[Index].set_picture(known ? memCardHolder[static_cast<size_t>(r)].Picture : nullptr);
        platform().yield();
        if (known && !memCardHolder[static_cast<size_t>(r)].Text.empty()) {
            lbl_Card[Index].set_visible(true);
            platform().yield();
        }
    }
    memDisplayCard[static_cast<size_t>(Index)].Turned = True;
    img_Card[Index].set_enabled(false);

    const bool text_game = memInterface.TextList.Active != False;
    if (!text_game) {
        memIncrease(memCardStatus);
        if (memCardStatus >= 0 && memCardStatus <= 2) memCardsTurned[static_cast<size_t>(memCardStatus)] = Index;
    }

    if (!text_game) {
        if (memCardStatus == 1) {
            const float a = memDisplayCard[static_cast<size_t>(memCardsTurned[0])].Reference;
            const float b = memDisplayCard[static_cast<size_t>(memCardsTurned[1])].Reference;
            if (same_pair(a, b)) {
                memLastResult = memRESULTMATCH;
                memIncrease(memTurnedCards, 2);
            } else {
                memLastResult = memRESULTNOMATCH;
            }
        } else {
            memLastResult = memRESULTNO;
        }
    } else if (memTextGame.CardChosen != False && memTextGame.TextChosen != False) {
        if (memTextGame.CardReference == memTextGame.TextReference) {
            memLastResult = memRESULTMATCH;
            memIncrease(memTurnedCards, 1);
        } else {
            memLastResult = memRESULTNOMATCH;
        }
    } else {
        memLastResult = memRESULTNO;
    }

    memSayTurnedCard(Index);
    // The sound chain clears memProcessing and settles the try.
    memTurnCardSoundStep();
}

void frm_MemoryGame::memCheckCardStatus() {
    if (debug()) memWriteLog("=> memCheckCardStatus <=");
    if (memInterface.TextList.Active != False) {
        memProcessing = False;
        memCheckCardTextStatus();
        return;
    }
    if (memCardStatus == 0) {
        memLastResult = memRESULTNO;
        memProcessing = False;
        if (memMCIUpdating != False) memOpenTurnSound();
        return;
    }
    if (memCardStatus != 1) return;

    // Mended: clicks stay ignored while the try is settled. The chain may
    // have freed the board already, and a card clicked during a yield of
    // the turn change would become a third card of this try and stay face
    // up for good.
    memProcessing = True;

    const int16_t a = memCardsTurned[0];
    const int16_t b = memCardsTurned[1];
    const int16_t p = memCurrentPlayer;
    const bool player_known = has_index(memPlayer, p);
    const float ra = static_cast<float>(memNearest16(memDisplayCard[static_cast<size_t>(a)].Reference));
    const float rb = static_cast<float>(memNearest16(memDisplayCard[static_cast<size_t>(b)].Reference));

    if (player_known) {
        PlayerRecord& player = memPlayer[static_cast<size_t>(p)];
        if (memControl[kGroupTriesMade].Active != False) memIncrease(player.TriesMade);
        if (memControl[kGroupTriesLeft].Active != False) memDecrease(player.TriesLeft);
    }
    memShowControls();

    if (same_pair(ra, rb)) {
        if (debug()) memWriteLog("--> memCheckCardStatus: Match!");
        memSayResult(true);
        // With the match line on the pair stays on the board, joined by the line.
        if (memMatchLine != False) memDrawLine();
        platform().sleep(500);
        if (memMatchLine == False) memWipeOutCards();
        if (player_known) memIncrease(memPlayer[static_cast<size_t>(p)].CardsMade, 2);
        memDecrease(memCardsLeft, 2);
        memShowScore(p);
        memShowControls();
    } else {
        if (debug()) memWriteLog("--> memCheckCardStatus: Ingen match...");
        memSayResult(false);
        platform().sleep(1000);
        tim_Timer.set_enabled(false);
        memChangePlayer();
        memRestoreCards();
        // Kept: the clock is started again even when the turn change ended
        // the game; its tick does nothing once the game is over.
        tim_Timer.set_enabled(true);
        memShowControls();
    }

    memDisplayCard[static_cast<size_t>(a)].Turned = False;
    memDisplayCard[static_cast<size_t>(b)].Turned = False;
    memCardStatus = -1;
    memProcessing = False;
    memShowFocus();
    memCheckPlayerStatus(memCurrentPlayer);
}

}  // namespace mem
