#pragma once
// The text files of a made game: the definition, main, global, card and
// list files, written so that the game's reader takes every line as meant.
#include <string>
#include <vector>

#include "board_plan.h"
#include "options.h"
#include "theme.h"

namespace mem::make {

// One line as the reader must see it: in double quotes when it holds a
// comma (which would end the item) or begins or ends with a blank (which
// the reader drops). Double quotes cannot be written inside a line and
// become apostrophes; tabs are kept, they separate the fields of card lines.
std::string item_line(const std::string& text);

// A caption or text fit for a card or list line: no tabs, line breaks or
// double quotes.
std::string plain_text(const std::string& text);

struct CardEntry {
    std::string caption;  // the card's name; its caption is drawn into its picture
    std::string picture;  // file name in cards/
    std::string sound;    // file name in cards/, or empty
};

// A control-panel counter: its section, the caption on its picture, its limit.
struct PanelGroup {
    std::string section, caption, picture;
    int condition = 0;
};
std::vector<PanelGroup> panel_groups(const Options& options);

struct TextListPlan {
    int top = 0, space = 0, font_size = 0;  // font size in points
};

struct GameText {
    std::string definition, main, global, cards, list;  // list: empty unless a text game
};

// `folder` is the game's folder as the definition names it, ending in "/".
GameText game_text(const Options& options, const Theme& theme, const std::string& folder, const BoardPlan& plan,
                   const std::vector<CardEntry>& cards, const TextListPlan& text_list);

}  // namespace mem::make
