// The game window's load, activation, keys and the end of the program.
#include <cstdlib>

#include "app/game_window.h"
#include "platform/screen_fit.h"

namespace mem {

void frm_MemoryGame::Form_Load() {
    memReady = False;

    mmc_Sound->command("close");
    mmc_Sound->command("eject");
    mmc_Sound->set_notify(true);

    memSetDefaultValues();
    platform().seed_from_clock();

    for (int16_t row = 0; row < 5; ++row) {
        memScreenSizes[row].Index = row;
        memScreenSizes[row].Width = static_cast<int16_t>(kScreenSizes[static_cast<size_t>(row)].width);
        memScreenSizes[row].Height = static_cast<int16_t>(kScreenSizes[static_cast<size_t>(row)].height);
    }

    program().memStartFailed = False;
    const std::string strFile = program().memFile;
    if (!memCheckINI(strFile)) {
        program().memStartFailed = True;
        return;
    }
    // Every failure from here on ends the program or is reported and cleared.
    memOpenINI(strFile);
    memCheckValues();
    memFixVariabels();
    memMakeInterface();
    memInitValues();
    if (program().speak) memSwitchSpeech(true);
}

void frm_MemoryGame::Form_Activate() {
    if (debug()) memWriteLog("=> Form_Activate <=");
    if (program().memStartFailed) platform().close(*this);
    program().close_splash();
    memReady = True;
}

void frm_MemoryGame::Form_KeyPress(int16_t& KeyAscii) {
    if (debug()) memWriteLog("=> Form_Keypress <=");
    if (KeyAscii == 27) memDoEnd();
}

void frm_MemoryGame::img_Quit_Click() { memDoEnd(); }

void frm_MemoryGame::memDoEnd() {
    if (debug()) memWriteLog("=> memDoEnd <=");
    mmc_Sound->command("close");
    platform().close(*this);
    platform().end_program(kExitNormal);
    std::abort();  // end_program never returns; the compiler cannot see that through the virtual call
}

}  // namespace mem
