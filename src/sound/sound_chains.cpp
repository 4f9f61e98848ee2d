// The sound chains of a try: card-turn sound, the card's (or text's) own
// sound, then the match or no-match sound, one after another on the one
// media device. The last link of a chain hands the try to its evaluation.
#include <string>

#include "app/game_window.h"
#include "board/geometry.h"
#include "definition/syntax.h"

namespace mem {

void frm_MemoryGame::memSoundCommand(const std::string& name) {
    // Every command the chains give stops the sound that plays, and with it
    // the completion event that a waiting link counted on.
    memLinkPending = False;
    mmc_Sound->command(name);
}

void frm_MemoryGame::memOpenSound(const std::string& path) {
    memSoundCommand("close");
    mmc_Sound->set_file_name(path);
    memSoundCommand("open");
}

void frm_MemoryGame::memOpenTurnSound() {
    if (memGameOver != False) return;
    const std::string path = memPaths.Sfx + memTurnSoundFile;
    if (memFileExists(path) != False) {
        memOpenSound(path);
        memSoundLoaded = 0;
    } else {
        // The turn sound is dropped until the definition is read again.
        memTurnSoundFile.clear();
        mmc_Sound->set_file_name("");
        memSoundCommand("close");
    }
}

void frm_MemoryGame::memOpenTextClickSound() {
    if (memGameOver != False) return;
    const std::string path = memPaths.Sfx + memInterface.TextList.Sound;
    if (memFileExists(path) != False) {
        memOpenSound(path);
        memSoundLoaded = 3;
    }
}

void frm_MemoryGame::memReopenIdleSound() {
    if (memInterface.TextList.Active != False) {
        memOpenTextClickSound();
    } else {
        memOpenTurnSound();
    }
}

void frm_MemoryGame::memTurnCardSoundStep() {
    if (memGameOver != False) return;
    if (memTurnSoundFile.empty()) {
        memPlayCardSound();
        return;
    }
    if (memFileExists(memPaths.Sfx + memTurnSoundFile) == False) {
        // Mended: a turn sound that vanished after it was opened is dropped
        // and the chain goes on as for an empty name, instead of stopping
        // with the try in hand and no further card clickable.
        memTurnSoundFile.clear();
        memPlayCardSound();
        return;
    }
    memSoundKind = 0;
    if (memSoundLoaded == 0) {
        memSoundCommand("prev");
    } else if (memMCIUpdating != False) {
        memOpenTurnSound();
    }
    // Before the first status tick whatever sound is open is played.
    memSoundCommand("play");
    if (memMCIUpdating != False) {
        memLinkPending = True;
        return;
    }
    // Not waiting: a failed play goes on as its completion would (the turn
    // sound's completion plays the card sound), a good one goes on at once.
    memPlayCardSound();
}

void frm_MemoryGame::memPlayCardSound() {
    if (memCardStatus == -1) return;
    int16_t r = -1;
    if (memInterface.TextList.Active != False) {
        r = memTextGame.CardReference;
    } else if (memCardStatus >= 0 && memCardStatus <= 2) {
        const int16_t position = memCardsTurned[static_cast<size_t>(memCardStatus)];
        if (has_index(memDisplayCard, position))
            r = memNearest16(memDisplayCard[static_cast<size_t>(position)].Reference);
    }
    // A card outside the records has no sound.
    const bool known = has_index(memCardHolder, r);
    const std::string name = known ? memCardHolder[static_cast<size_t>(r)].Sound : std::string();

    const bool result_due = memResultSounds != False && (memLastResult == memRESULTMATCH || memLastResult == memRESULTNOMATCH);
    if (name.empty()) {
        // The card has no sound.
        if (result_due) {
            memPlayResultSound();
            return;
        }
        memReopenIdleSound();
        memProcessing = False;
        memCheckCardStatus();
        return;
    }
    auto fallback_missing_or_failed = [this, result_due] {
        if (result_due) {
            memPlayResultSound();
            return;
        }
        if (memInterface.TextList.Active != False) {
            memOpenTextClickSound();
        } else if (memSoundLoaded != 1) {
            memOpenTurnSound();
        }
        memProcessing = False;
        memCheckCardStatus();
    };
    const std::string path = memPaths.Card + name;
    if (memFileExists(path) == False) {
        fallback_missing_or_failed();
        return;
    }
    if (debug()) memWriteLog("--> memPlayCardSound: '" + name + "', (" + path + ")");

    memSoundKind = 1;
    memOpenSound(path);
    memSoundCommand("play");
    const bool failed = mmc_Sound->error() != 0;
    memSoundLoaded = 1;
    if (memMCIUpdating == False) {
        // Mended: the chain's own state is put back before the try is
        // settled, so a try that starts while it is settled keeps its state.
        memProcessing = False;
        memCheckCardStatus();
        return;
    }
    if (!failed) {
        memLinkPending = True;
        return;
    }
    fallback_missing_or_failed();
}

void frm_MemoryGame::memPlayResultSound() {
    memSoundCommand("close");
    std::string path;
    if (memLastResult == memRESULTMATCH) {
        memSoundKind = 5;
        path = memPaths.Sfx + memInterface.MatchSound;
    } else if (memLastResult == memRESULTNOMATCH) {
        memSoundKind = 6;
        path = memPaths.Sfx + memInterface.NoMatchSound;
    } else {
        // First card of a try: only the board is freed.
        memProcessing = False;
        memLastResult = memRESULTNO;
        return;
    }
    // The names were checked when the definition was read.
    mmc_Sound->set_file_name(path);
    memSoundCommand("open");
    memSoundCommand("play");
    if (memMCIUpdating == False) {
        memLastResult = memRESULTNO;
        // Mended: put back before the try is settled (see memPlayCardSound).
        memProcessing = False;
        memCheckCardStatus();
        return;
    }
    memLinkPending = True;
}

void frm_MemoryGame::memTextClickSoundStep() {
    if (memInterface.TextList.Sound.empty()) {
        memPlayTextSound();
        return;
    }
    memSoundKind = 3;
    if (memSoundLoaded != 3) memOpenTextClickSound();
    // The text chain always waits for its completion events.
    memSoundCommand("play");
    memLinkPending = True;
}

void frm_MemoryGame::memPlayTextSound() {
    const int16_t t = memTextGame.TextReference;
    const auto& items = memInterface.TextList.Item;
    const std::string name = has_index(items, t) ? items[static_cast<size_t>(t)].Sound : "";
    if (!name.empty() && memFileExists(memPaths.Card + name) != False) {
        memSoundKind = 2;
        memOpenSound(memPaths.Card + name);
        memSoundCommand("play");
        memSoundLoaded = 2;
        memLinkPending = True;
        return;
    }
    if (memResultSounds != False) {
        memPlayResultSound();
        return;
    }
    // Kept: the idle sound reopened here is always the card-turn sound.
    memOpenTurnSound();
    memProcessing = False;
    memCheckCardStatus();
}

void frm_MemoryGame::memPlayEndSound() {
    // The file name was set with the end picture; nothing listens any more.
    memSoundCommand("open");
    memSoundCommand("play");
}

void frm_MemoryGame::mmc_Sound_Done(int16_t& NotifyCode) {
    (void)NotifyCode;
    if (memGameOver != False) return;
    // Mended: only a link that waits is carried on. A completion of a sound
    // whose try was already evaluated, or a repeated error tick, would
    // otherwise evaluate the try again or free the board in the middle of
    // the next try.
    if (memLinkPending == False) return;
    memLinkPending = False;
    // Each link that waits set its kind just before.
    switch (memSoundKind) {
        case 0:
            memPlayCardSound();
            break;
        case 1:
            if (memResultSounds != False) {
                memPlayResultSound();
            } else {
                memReopenIdleSound();
                memProcessing = False;
                memCheckCardStatus();
            }
            break;
        case 2:
            if (memResultSounds != False) {
                memPlayResultSound();
            } else {
                memReopenIdleSound();
                memProcessing = False;
            }
            memCheckTextStatus();
            break;
        case 3:
            memPlayTextSound();
            break;
        case 5:
        case 6:
            memReopenIdleSound();
            // Mended: put back before the try is settled (see memPlayCardSound).
            memProcessing = False;
            memCheckCardStatus();
            break;
    }
}

void frm_MemoryGame::mmc_Sound_StatusUpdate() {
    memMCIUpdating = True;
    // A failed command ends its link at the next tick, as if it had played.
    if (mmc_Sound->error() != 0) {
        int16_t code = 0;
        mmc_Sound_Done(code);
    }
}

}  // namespace mem
