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
    auto read_into = [this](TextItem& text, const std::string& item) {
        text.Text = strGetTab(platform(), item, 1);
        text.Sound = strGetTab(platform(), item, 2);
    };
    if (!memDrawnLines.empty()) {
        // Drawn cards keep their own texts: card line k, text line k.
        std::vector<std::string> lines;
        while (!reader.at_end()) lines.push_back(reader.next());
        bool missing = false;
        for (size_t t = 0; t < list.Item.size() && t < memDrawnLines.size(); ++t) {
            const auto line = static_cast<size_t>(memDrawnLines[t]);
            if (line < lines.size()) read_into(list.Item[t], lines[line]);
            else missing = true;
        }
        if (missing) memHandleError(9);
    } else {
        int32_t t = 0;
        for (; !reader.at_end() && t < n; ++t) read_into(list.Item[static_cast<size_t>(t)], reader.next());
        if (t < n) memHandleError(9);
    }

    memDealTexts();
}

}  // namespace mem
