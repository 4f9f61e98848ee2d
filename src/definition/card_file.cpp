// The card count and the card file: one line per card, tab-separated name,
// picture, caption and sound; with "randompairs" a game's pairs are drawn
// from every line of it.
#include <cmath>
#include <cstdlib>

#include "app/errors.h"
#include "app/game_window.h"
#include "definition/definition_keys.h"
#include "definition/syntax.h"
#include "game/deals.h"
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
    const auto n = static_cast<size_t>(std::nearbyint(memCardCount));
    // Every item counts, an empty line too: it gives an empty card. The board
    // takes the first lines unless the pairs are drawn from all of them.
    ItemReader items(read_text_file(path).value_or(""));
    std::vector<std::string> lines;
    while (!items.at_end()) lines.push_back(items.next());

    memDrawnLines.clear();
    if (memRandomPairs != False && lines.size() > n) memDrawnLines = memDrawCardLines(lines.size(), n);
    for (size_t i = 0; i < n && i < lines.size(); ++i) {
        const size_t line = memDrawnLines.empty() ? i : static_cast<size_t>(memDrawnLines[i]);
        memReadCardLine(memCardHolder[i], lines[line], static_cast<int>(line) + 1);
    }
}

std::vector<int32_t> frm_MemoryGame::memDrawCardLines(size_t lines, size_t cards) {
    // Whole pairs, or in a text game single cards, each with its text line.
    const size_t unit = memInterface.TextList.Active != False ? 1 : 2;
    const std::vector<int32_t> units = memDrawPairs(static_cast<int32_t>(lines / unit),
                                                    static_cast<int32_t>((cards + unit - 1) / unit),
                                                    [this] { return platform().random(); });
    std::vector<int32_t> drawn;
    for (const int32_t u : units)
        for (int32_t k = 0; k < static_cast<int32_t>(unit) && drawn.size() < cards; ++k)
            drawn.push_back(static_cast<int32_t>(unit) * u + k);
    return drawn;
}

void frm_MemoryGame::memReadCardLine(CardDefinition& card, const std::string& item, int line) {
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
    // The number is the card's line in the file.
    if (!card.Sound.empty() && !memFileExists(memPaths.Card + card.Sound)) {
        memHandleError(203, memPaths.Card + card.Sound, line);
        card.Sound.clear();
    }
}

}  // namespace mem
