// Values of the settings that have defaults, before any file is read.
#include "app/game_window.h"

namespace mem {

void frm_MemoryGame::memSetDefaultValues() {
    memAppType = 0;
    memInterface.BackColor = 0;
    memInterface.MatchSound.clear();
    memInterface.NoMatchSound.clear();
    memResultSounds = False;
    memDissapear = 2;
    memInterface.TextList.Active = False;
    memMatchLine = False;
    memInCardClick = False;
}

}  // namespace mem
