// Tests that the end sounds, the turn sound and the text click sound exist.
#include "app/game_window.h"
#include "definition/syntax.h"

namespace mem {

void frm_MemoryGame::memCheckValues() {
    // An empty name tests the bare directory, which never exists.
    auto check = [this](std::string& setting, double code) {
        const std::string path = memPaths.Sfx + setting;
        if (!memFileExists(path)) {
            memHandleError(code, path);
            setting.clear();
        }
    };
    check(memInterface.EndGoodSound, 200);
    check(memInterface.EndBadSound, 201);
    check(memTurnSoundFile, 202);
    if (memInterface.TextList.Active) check(memInterface.TextList.Sound, 204);
}

}  // namespace mem
