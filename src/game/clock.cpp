// The clock: once a second the current player's time goes up and the
// countdown down.
#include <cmath>
#include <string>

#include "app/game_window.h"

namespace mem {

void frm_MemoryGame::tim_Timer_Timer() {
    if (memGameOver != False) return;
    const ControlGroup& timer = memControl[kGroupTimer];
    const ControlGroup& countdown = memControl[kGroupCountdown];
    if (timer.Active == False && countdown.Active == False) {
        // Mended: with no time shown the clock stops (the game starts it again
        // after a try without a pair), so an idle game is not woken every second.
        tim_Timer.set_enabled(false);
        return;
    }
    if (!has_index(memPlayer, memCurrentPlayer)) return;
    PlayerRecord& player = memPlayer[static_cast<size_t>(memCurrentPlayer)];

    auto show = [this](const ControlGroup& group, float value) {
        if (!lbl_Control.exists(group.Order)) return;  // the panel has slots 0 to 5
        Label& label = lbl_Control[group.Order];
        label.set_caption(std::to_string(static_cast<long>(std::nearbyint(value))));
        memPadLabel(label);
    };
    // Only exactly True counts here.
    if (timer.Active == True) {
        memIncrease(player.Time);
        show(timer, player.Time);
    }
    if (countdown.Active == True) {
        memDecrease(player.Countdown);
        show(countdown, player.Countdown);
    }
    memCheckPlayerStatus(memCurrentPlayer);
}

}  // namespace mem
