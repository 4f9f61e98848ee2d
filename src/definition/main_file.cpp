// The main file: splash window, interface, match line, players and the
// control-panel groups. Font keys, the splash keys and "pictures" act on the
// live controls the moment they are read, so their order in the file counts.
#include <algorithm>

#include "app/game_window.h"
#include "app/splash_window.h"
#include "definition/definition_keys.h"
#include "definition/syntax.h"

namespace mem {
namespace {

// The font keys shared by the players, groups, cards and text list: `base`
// is the key of the name ("fontname", "namefont"), the others add "size",
// "bold" and "italic". True when the key was one of them.
bool apply_font_key(const ValueReader& read, const KeyItem& item, const std::string& base, Font& font) {
    if (item.key == base + "size") font.size = read.real(item);
    else if (item.key == base + "bold") font.bold = read.flag(item) != False;
    else if (item.key == base + "italic") font.italic = read.flag(item) != False;
    else return false;
    return true;
}

}  // namespace

int16_t frm_MemoryGame::memGroupStrToNum(const std::string& strIn) {
    static const char* const names[] = {"timer", "countdown", "cards made", "cards left", "tries made", "tries left"};
    const std::string name = memLower(strIn);
    const auto found = std::find(std::begin(names), std::end(names), name);
    return found == std::end(names) ? int16_t{-1} : static_cast<int16_t>(found - std::begin(names));
}

void frm_MemoryGame::memReadMainFile(const std::string& path) {
    const ValueReader read(program(), path);
    memForEachKey(path, [&](const KeyItem& item) {
        const std::string& s = item.section;
        const std::string& k = item.key;
        if (s == "splash screen") {
            if (k == "active") {
                if (read.strict_number(item) == 1) platform().show(program().splash());
            } else if (k == "backcolor") {
                if (!item.value.empty()) program().splash().set_back_color(read.colour(item));
            } else if (k == "windowstate") {
                if (memLower(item.value) == "maximized") program().splash().set_window_state(WindowState::Maximized);
            }
        } else if (s == "interface") {
            if (k == "pictures") memSetBkPictures(item.value);
            else if (k == "backcolor") memInterface.BackColor = read.colour(item);
            else if (k == "quitpicture") memInterface.QuitPicture = item.value;
            else if (k == "endgoodpicture") memInterface.EndGoodPicture = item.value;
            else if (k == "endbadpicture") memInterface.EndBadPicture = item.value;
            else if (k == "endgoodsound") memInterface.EndGoodSound = item.value;
            else if (k == "endbadsound") memInterface.EndBadSound = item.value;
            else if (k == "matchsound") memInterface.MatchSound = item.value;
            else if (k == "nomatchsound") memInterface.NoMatchSound = item.value;
        } else if (s == "line") {
            if (k == "active") memMatchLine = read.flag(item);
            else if (k == "color") memLineColor = read.colour(item);
            else if (k == "width") memLineWidth = read.whole(item);
        } else if (s == "players") {
            if (k == "players") {
                // Mended: a negative count of players reads as 0, which gives one
                // player like "players=0", instead of a game with no player records.
                const int16_t players = read.whole(item);
                memPlayers = std::max(players, int16_t{0});
            } else if (k == "defaultname") {
                memPlayerDefaultName = item.value;
            } else if (k.size() == 5 && k.starts_with("name") && k[4] >= '1' && k[4] <= '4') {
                memPlayerNames[static_cast<size_t>(k[4] - '1')] = item.value;
            } else if (k == "picture") {
                memPlayerPicture = item.value;
            } else if (k == "namefont") {
                memNameFont = lbl_PlayerName[0].font();
                memNameFont->name = item.value;
                fonts_changed();
            } else if (k == "scorefont") {
                memScoreFont = lbl_PlayerScore[0].font();
                memScoreFont->name = item.value;
                fonts_changed();
            } else if (k == "nameforecolor") {
                memNameForeColor = read.colour(item);
            } else if (k == "scoreforecolor") {
                memScoreForeColor = read.colour(item);
            } else if (k == "dimcolor") {
                memDimColor = read.colour(item);
            } else if (k.rfind("namefont", 0) == 0) {
                // Before "namefont" there is no font to change: ignored.
                if (memNameFont && apply_font_key(read, item, "namefont", *memNameFont)) fonts_changed();
            } else if (k.rfind("scorefont", 0) == 0) {
                if (memScoreFont && apply_font_key(read, item, "scorefont", *memScoreFont)) fonts_changed();
            }
        } else if (const int16_t g = memGroupStrToNum(s); g >= 0) {
            ControlGroup& group = memControl[static_cast<size_t>(g)];
            if (k == "active") {
                group.Active = read.flag(item);
            } else if (k == "order") {
                group.Order = read.whole(item, -1);
                // Mended: an order without a value label gives the group no font
                // (its font keys are then ignored) instead of failing on the label.
                group.Font = lbl_Control.exists(group.Order) ? lbl_Control[group.Order].font() : nullptr;
            } else if (k == "condition") {
                group.Condition = read.whole(item);
            } else if (k == "picture") {
                group.Picture = item.value;
            } else if (k == "forecolor") {
                group.ForeColor = read.strict_colour(item);
            } else if (k == "placex") {
                group.PlaceX = read.whole(item);
            } else if (k == "placey") {
                group.PlaceY = read.whole(item);
            } else if (k.rfind("font", 0) == 0) {
                // Font keys work only after "active" (True) and "order".
                if (group.Active != True || !group.Font) return;
                if (k == "fontname") {
                    group.Font->name = item.value;
                    fonts_changed();
                } else if (apply_font_key(read, item, "font", *group.Font)) {
                    fonts_changed();
                }
            }
        }
    });
}

}  // namespace mem
