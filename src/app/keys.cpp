// Playing without a mouse: the focus keys and the mute key. A focus key
// first shows the frame; after that arrows move it, Tab switches between
// the cards and the text column, and Return or Space act as a click on
// what it surrounds, with the very guards of a click.
#include <algorithm>

#include "app/game_window.h"
#include "board/geometry.h"
#include "game/speech_texts.h"

namespace mem {

namespace {

bool is_focus_key(int16_t key) {
    switch (key) {
        case kKeyTab:
        case kKeyReturn:
        case kKeySpace:
        case kKeyLeft:
        case kKeyUp:
        case kKeyRight:
        case kKeyDown: return true;
        default: return false;
    }
}

FocusMove move_of(int16_t key) {
    switch (key) {
        case kKeyLeft: return FocusMove::Left;
        case kKeyUp: return FocusMove::Up;
        case kKeyDown: return FocusMove::Down;
        default: return FocusMove::Right;
    }
}

// Text i can be chosen, or card i turned.
bool choosable_text(const std::vector<bool>& texts, int i) {
    return has_index(texts, i) && texts[static_cast<size_t>(i)];
}
bool turnable_card(const std::vector<FocusCell>& cells, int i) {
    return has_index(cells, i) && cells[static_cast<size_t>(i)].turnable;
}

}  // namespace

void frm_MemoryGame::Form_KeyDown(int16_t& KeyCode) {
    if (KeyCode == 'M') {
        mmc_Sound->set_muted(!mmc_Sound->muted());
    } else if (is_focus_key(KeyCode) && memPreviewing == False) {
        memFocusKey(KeyCode);
    } else if (KeyCode == kKeyF2) {
        memSwitchSpeech(!memSpeaking);
    } else if (KeyCode == 'S') {
        memSayScores();
    } else if (KeyCode == 'R') {
        memSayAgain();
    } else if (KeyCode == 'H') {
        memSay(say_text(Said::Keys));
    }
}

std::vector<FocusCell> frm_MemoryGame::memFocusCells() const {
    const int columns = std::max<int>(1, memNearest16(memCardsX));
    const int16_t cards = memNearest16(memCardCount);
    std::vector<FocusCell> cells;
    for (int16_t k = 0; k < cards; ++k) {
        const bool turnable = img_Card.exists(k) && static_cast<size_t>(k) < memDisplayCard.size() &&
                              img_Card[k].shown() && img_Card[k].enabled() &&
                              memDisplayCard[static_cast<size_t>(k)].Turned == False;
        cells.push_back({k % columns, k / columns, turnable});
    }
    return cells;
}

std::vector<bool> frm_MemoryGame::memChoosableTexts() const {
    const auto& display = memInterface.TextList.Display;
    std::vector<bool> choosable;
    for (size_t i = 0; i < display.size() && lbl_Text.exists(static_cast<int>(i)); ++i) {
        const Label& label = lbl_Text[static_cast<int16_t>(i)];
        choosable.push_back(label.shown() && label.enabled() && display[i].Selected == False);
    }
    return choosable;
}

void frm_MemoryGame::memFocusKey(int16_t KeyCode) {
    const bool act = KeyCode == kKeyReturn || KeyCode == kKeySpace;
    const bool was_shown = memFocusShown;
    memFocusShown = true;
    const int16_t card_before = memFocusCard, text_before = memFocusText;

    if (memGameOver != False) {
        if (memInputBeforeEnd()) return;
        // After the end only the end picture is left to act on.
        const bool on_end = memFocusArea == FocusArea::End;  // the area is End only once a shown focus went there
        memFocusArea = FocusArea::End;
        memShowFocus();
        if (!act) memSayFocus();
        if (on_end && act && pic_End.shown()) pic_End_Click();
        return;
    }

    const std::vector<FocusCell> cells = memFocusCells();
    auto nearest_card = [&] {
        if (!has_index(cells, memFocusCard))
            return static_cast<int16_t>(focus_nearest_cell(cells, 0, 0));
        const FocusCell& from = cells[static_cast<size_t>(memFocusCard)];
        return static_cast<int16_t>(focus_nearest_cell(cells, from.column, from.row));
    };
    const bool text_game = memInterface.TextList.Active != False;
    if (!was_shown || !text_game) memFocusArea = FocusArea::Cards;

    if (!was_shown) {
        // The first key only shows the frame, on the card nearest the top left.
        memFocusCard = static_cast<int16_t>(focus_nearest_cell(cells, 0, 0));
    } else if (KeyCode == kKeyTab) {
        if (text_game && memFocusArea == FocusArea::Cards) {
            memFocusArea = FocusArea::Texts;
            const std::vector<bool> choosable = memChoosableTexts();
            if (!choosable_text(choosable, memFocusText))
                memFocusText = static_cast<int16_t>(focus_next_text(choosable, memFocusText, 1));
        } else if (text_game) {
            memFocusArea = FocusArea::Cards;
            if (!turnable_card(cells, memFocusCard)) memFocusCard = nearest_card();
        }
    } else if (memFocusArea == FocusArea::Texts) {
        const std::vector<bool> choosable = memChoosableTexts();
        if (KeyCode == kKeyUp || KeyCode == kKeyDown) {
            memFocusText = static_cast<int16_t>(focus_next_text(choosable, memFocusText, KeyCode == kKeyDown ? 1 : -1));
        } else if (act) {
            // A text that has left the board hands the focus on instead.
            if (lbl_Text.exists(memFocusText) && lbl_Text[memFocusText].shown()) lbl_Text_Click(memFocusText);
            else memFocusText = static_cast<int16_t>(focus_next_text(choosable, memFocusText, 1));
        }
    } else if (act) {
        // A card that has left the board hands the focus on instead.
        if (img_Card.exists(memFocusCard) && img_Card[memFocusCard].shown()) img_Card_Click(memFocusCard);
        else memFocusCard = nearest_card();
    } else {
        memFocusCard = static_cast<int16_t>(focus_next_cell(cells, memFocusCard, move_of(KeyCode)));
    }
    memShowFocus();
    // A turned card or a chosen text is said by the turn or the choice.
    if (!act || memFocusCard != card_before || memFocusText != text_before) memSayFocus();
}

}  // namespace mem
