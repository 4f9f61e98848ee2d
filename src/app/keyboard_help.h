#pragma once
// The keys of the game, as the program's help text lists them.
#include "platform/translation.h"

namespace mem {

// Marked for translation; give it to tr() where it is shown.
inline constexpr const char* kKeyboardHelp = tr_later(
    "Keys while playing (the first of the focus keys only shows the focus frame):\n"
    "  Arrow keys     move the focus frame to the nearest card that can be turned\n"
    "  Tab            in a text game, move the focus between the cards and the texts\n"
    "  Up, Down       in the text column, move the focus through the texts\n"
    "  Return, Space  turn the card or choose the text in the frame; on the end picture, leave\n"
    "  M              sounds off and on (muted: the game keeps its pace; a speaker-off mark shows)\n"
    "  F2             speech on and off; with speech on, S says the scores, R repeats,\n"
    "                 H says the keys\n"
    "  Escape         end the game\n");

}  // namespace mem
