// The list file of a text game: one text item per card entry.
#include "app/game_window.h"
#include "definition/syntax.h"
#include "platform/files.h"

namespace mem {

void frm_MemoryGame::memReadTextList() {
    auto& list = memInterface.TextList;
    // Card directory first, then the data directory.
    std::string path = memPaths.Card + list.ListFile;
    if (!memFileExists(path)) {
        path = memPaths.Data + list.ListFile;
        if (!memFileExists(path)) {
            memHandleError(8, list.ListFile);
            return;
        }
    }

    if (!list.Sound.empty() && !memFileExists(memPaths.Sfx + list.Sound)) list.Sound.clear();

    const auto n = static_cast<int32_t>(memCardCount);
    list.Item.assign(static_cast<size_t>(n > 0 ? n : 0), TextItem{});
    ItemReader reader(read_text_file(path).value_or(""));
    int32_t t = 0;
    while (!reader.at_end() && t < n) {
        const std::string item = reader.next();
        list.Item[static_cast<size_t>(t)].Text = strGetTab(platform(), item, 1);
        list.Item[static_cast<size_t>(t)].Sound = strGetTab(platform(), item, 2);
        ++t;
    }
    if (t < n) memHandleError(9);

    memDealTexts();
}

}  // namespace mem
