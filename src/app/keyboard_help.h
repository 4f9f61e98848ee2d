#pragma once
// The keys of the game, as the program's help text lists them.
#include <string_view>

namespace mem {

inline constexpr std::string_view kKeyboardHelp =
    "Keys while playing (the first of the focus keys only shows the focus frame):\n"
    "  Arrow keys     move the focus frame to the nearest card that can be turned\n"
    "  Tab            in a text game, move the focus between the cards and the texts\n"
    "  Up, Down       in the text column, move the focus through the texts\n"
    "  Return, Space  turn the card or choose the text in the frame; on the end picture, leave\n"
    "  M              sounds off and on (muted: the game keeps its pace; a speaker-off mark shows)\n"
    "  Escape         end the game\n";

}  // namespace mem
