// The card count and the card file: one line per card, tab-separated name,
// picture, caption and sound.
#include <cmath>
#include <cstdlib>

#include "app/errors.h"
#include "app/game_window.h"
#include "definition/definition_keys.h"
#include "definition/syntax.h"
#include "platform/files.h"

namespace mem {

void frm_MemoryGame::memMakeCardHolder(const std::string& globalPath) {
    memCardCount = memCardsX * memCardsY;
    // Mended: a count that is negative, not whole, or above 32767 (or a
    // negative count across or down) ends the program with a message naming
    // the global file and both values, instead of a card list that cannot be made.
    const float count = memCardCount;
    const bool usable = count >= 0 && count <= 32767 && count == std::floor(count) && memCardsX >= 0 &&
                        memCardsY >= 0;
    if (!usable) {
        memHandleError(kErrorCardCount, "cardsx=" + memNumberText(memCardsX) + ", cardsy=" +
                                            memNumberText(memCardsY) + "'' in file ''" + globalPath);
        std::abort();  // not reached: the error is fatal
    }
    // Entries 0 to the count; the last one stays empty.
    memCardHolder.assign(static_cast<size_t>(std::nearbyint(count)) + 1, CardDefinition{});
}

void frm_MemoryGame::memReadCardFile() {
    std::string path = memPaths.Data + memGameFiles.Cards;
    if (!memFileExists(path)) {
        path = memPaths.Card + memGameFiles.Cards;
        if (!memFileExists(path)) memHandleError(7, memGameFiles.Cards);
    }
    ItemReader items(read_text_file(path).value_or(""));
    for (int i = 0; !items.at_end() && i + 1 <= memCardCount; ++i) {
        // Every item counts, an empty line too: it gives an empty card.
        const std::string item = items.next();
        CardDefinition& card = memCardHolder[static_cast<size_t>(i)];
        card.Name = strGetTab(platform(), item, 1);
        card.PictureFile = strGetTab(platform(), item, 2);
        card.Text = strGetTab(platform(), item, 3);
        card.Sound = strGetTab(platform(), item, 4);
        if (card.Sound.empty() && memSameNameSound) {
            const std::string sound = memStripExtension(card.PictureFile) + ".wav";
            const std::string trace = "----> memOpenINI: kortljudsame: " + sound + " (" + memPaths.Card + sound + ")";
            if (debug()) memWriteLog(trace);
            if (memFileExists(memPaths.Card + sound)) {
                card.Sound = sound;
                if (debug()) memWriteLog(trace);
            }
        }
        if (!card.Sound.empty() && !memFileExists(memPaths.Card + card.Sound)) {
            memHandleError(203, memPaths.Card + card.Sound, i + 1);
            card.Sound.clear();
        }
    }
}

}  // namespace mem
