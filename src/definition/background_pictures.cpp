// The list of background pictures, one per screen-size row.
#include "app/game_window.h"
#include "definition/syntax.h"

namespace mem {

void frm_MemoryGame::memSetBkPictures(const std::string& value) {
    // Every call writes entries 0 to 4, so a later key replaces the whole list.
    for (int16_t i = 0; i <= 4; ++i)
        memInterface.Pictures[static_cast<size_t>(i)] = strGetTab(platform(), value, static_cast<int16_t>(i + 1));
}

}  // namespace mem
