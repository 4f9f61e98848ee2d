// Players: passing the turn, dropping out at a limit, the score label and
// the end test.
#include <cmath>
#include <string>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

namespace {

constexpr Colour kStrikeColour = 255;  // red

}  // namespace

void frm_MemoryGame::memChangePlayer() {
    if (memGameOver != False) return;
    memCheckPlayerStatus(memCurrentPlayer);
    if (memPlayers <= 1) return;
    const int16_t before = memCurrentPlayer;

    auto advance = [this] {
        memIncrease(memCurrentPlayer);
        if (memCurrentPlayer >= memPlayers) memCurrentPlayer = 0;
    };
    auto is_out = [this](int16_t i) {
        return has_index(memPlayer, i) && memPlayer[static_cast<size_t>(i)].Out != False;
    };
    advance();
    // The last player to drop out ends the game, so the loop finds a player
    // who is in or stops at the end; it never goes round more than once.
    for (int16_t steps = 1; is_out(memCurrentPlayer) && memGameOver == False && steps <= memPlayers; ++steps) {
        platform().yield();
        advance();
    }

    for (int16_t i = 0; i < memPlayers; ++i) {
        if (is_out(i)) continue;
        // The window has labels for players 0 to 3 only.
        const bool labels = lbl_PlayerName.exists(i);
        if (i == memCurrentPlayer) {
            if (labels) {
                lbl_PlayerName[i].set_fore_color(memNameForeColor);
                lbl_PlayerScore[i].set_fore_color(memScoreForeColor);
            }
            memShowControls();
        } else if (labels) {
            lbl_PlayerName[i].set_fore_color(memDimColor);
            lbl_PlayerScore[i].set_fore_color(memDimColor);
        }
    }
    if (memCurrentPlayer != before && memGameOver == False) memSayTurn();
}

void frm_MemoryGame::memShowScore(int16_t p) {
    if (!has_index(memPlayer, p) || !lbl_PlayerScore.exists(p)) return;
    // The score between blanks. Appended piece by piece: GCC 12 at -O3
    // warns (-Wrestrict) about " " + a temporary string, wrongly.
    std::string caption = " ";
    caption += std::to_string(static_cast<long>(std::nearbyint(memPlayer[static_cast<size_t>(p)].CardsMade)));
    caption += ' ';
    lbl_PlayerScore[p].set_caption(caption);
}

bool frm_MemoryGame::memTryInHand() const {
    if (memProcessing != False || memWiping != False) return true;
    // A text game holds no memProcessing while a text's sounds play or
    // while the try is settled.
    if (memInterface.TextList.Active != False)
        return memTextGame.CardChosen != False || memTextGame.TextChosen != False || memSettlingText != False;
    return memCardStatus != -1;
}

bool frm_MemoryGame::memBoardEmptied() const {
    return static_cast<double>(memTurnedCards) == static_cast<double>(memCardCount) && !memTryInHand();
}

void frm_MemoryGame::memCheckPlayerStatus(int16_t& Player) {
    const int16_t p = Player;
    const bool known = has_index(memPlayer, p);
    bool ended_here = false;
    const bool tested_here = known && memPlayer[static_cast<size_t>(p)].Out == False;
    if (tested_here) {
        PlayerRecord& player = memPlayer[static_cast<size_t>(p)];
        const ControlGroup& timer = memControl[kGroupTimer];
        const ControlGroup& countdown = memControl[kGroupCountdown];
        const ControlGroup& tries_made = memControl[kGroupTriesMade];
        const ControlGroup& tries_left = memControl[kGroupTriesLeft];
        if (timer.Active != False && player.Time == timer.Condition) player.Out = True;
        if (countdown.Active != False && player.Countdown <= 0) player.Out = True;
        if (tries_made.Active != False && player.TriesMade >= tries_made.Condition) player.Out = True;
        if (tries_left.Active != False && player.TriesLeft <= 0) player.Out = True;

        // The window has labels and pictures for players 0 to 3 only.
        const bool slot = img_Player.exists(p);
        if (memPlayers > 1 && player.Out != False && slot) {
            lbl_PlayerName[p].set_fore_color(memDimColor);
            platform().yield();
            lbl_PlayerScore[p].set_fore_color(memDimColor);
            platform().yield();
            // Strike the player's picture out with red lines, 3 pixels apart.
            const Image& picture = img_Player[p];
            pic_Background.set_draw_color(kStrikeColour);
            const int height = memNearest16(picture.height());
            for (int y = 1; y <= height; y += 3)
                pic_Background.line(picture.left(), picture.top() + y, picture.left() + picture.width(),
                                    picture.top() + y);
        }
    }
    bool all_out = memPlayers >= 1;
    for (int16_t i = 0; i < memPlayers; ++i)
        if (has_index(memPlayer, i) && memPlayer[static_cast<size_t>(i)].Out == False) all_out = false;
    // Mended: an end that another test made already (a clock tick while
    // the try was settled, or while the labels above were dimmed) is not
    // made again, so the end sound plays once. While a found pair leaves
    // the board the end waits for its settlement, which tests again: the
    // pair is taken and scored before the end is judged, and the end that
    // waited is made once.
    if (all_out && memGameOver == False && memWiping == False) {
        memMakeEnd();
        ended_here = tested_here;
    }
    // When both tests hold in one call the end is made twice.
    // Mended: the board counts as emptied only once the try that took the
    // last card is settled. The last cards count as taken as soon as they
    // are chosen, so a clock tick during their sounds, pause or removal
    // would end the game before they are scored (in a text game, too).
    if ((memGameOver == False || ended_here) && memBoardEmptied()) memMakeEnd();
}

}  // namespace mem
