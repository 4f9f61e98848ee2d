// The global file: the text-list settings in the section "text list" and the
// card settings everywhere else, including before the first header.
#include "app/game_window.h"
#include "definition/definition_keys.h"
#include "definition/syntax.h"

namespace mem {
namespace {

bool apply_font_key(const ValueReader& read, const KeyItem& item, Font& font) {
    if (item.key == "fontsize") font.size = read.real(item);
    else if (item.key == "fontbold") font.bold = read.flag(item) != False;
    else if (item.key == "fontitalic") font.italic = read.flag(item) != False;
    else return false;
    return true;
}

}  // namespace

void frm_MemoryGame::memReadGlobalFile(const std::string& path) {
    const ValueReader read(program(), path);
    TextList& list = memInterface.TextList;
    memForEachKey(path, [&](const KeyItem& item) {
        const std::string& k = item.key;
        if (item.section == "text list") {
            if (k == "active") {
                list.Active = read.flag(item);
            } else if (k == "fontname") {
                // The text-list font keys work only after "active" (True).
                if (list.Active != True) return;
                list.Font = lbl_Text[0].font();
                list.Font->name = item.value;
                fonts_changed();
            } else if (k == "fontsize" || k == "fontbold" || k == "fontitalic") {
                // Before "fontname" there is no text font to change: ignored.
                if (list.Active != True || !list.Font) return;
                if (apply_font_key(read, item, *list.Font)) fonts_changed();
            } else if (k == "forecolor") {
                list.ForeColor = read.colour(item);
            } else if (k == "selectcolor") {
                list.SelectColor = read.colour(item);
            } else if (k == "dimcolor") {
                list.DimColor = read.colour(item);
            } else if (k == "destroy") {
                list.Destroy = read.flag(item);
            } else if (k == "sound") {
                list.Sound = item.value;
            } else if (k == "top") {
                list.Top = read.whole(item);
            } else if (k == "left") {
                list.Left = read.whole(item);
            } else if (k == "width") {
                list.Width = read.whole(item);
            } else if (k == "space") {
                list.Space = read.whole(item);
            }
            return;
        }
        if (k == "dissapear") {
            memDissapear = read.whole(item);
        } else if (k == "turnsound") {
            // Kept: a turn sound that does not exist is ignored without a message;
            // the missing setting is reported after loading.
            if (memFileExists(memPaths.Sfx + item.value)) memTurnSoundFile = item.value;
        } else if (k == "fontname") {
            memCardFont = lbl_Card[0].font();
            memCardFont->name = item.value;
            fonts_changed();
        } else if (k == "fontsize" || k == "fontbold" || k == "fontitalic") {
            // Before "fontname" there is no card font to change: ignored.
            if (memCardFont && apply_font_key(read, item, *memCardFont)) fonts_changed();
        } else if (k == "forecolor") {
            memCardForeColor = read.strict_colour(item);
        } else if (k == "cardsx") {
            memCardsX = read.real(item);
        } else if (k == "cardsy") {
            memCardsY = read.real(item);
        } else if (k == "cardwidth") {
            memCardWidth = read.real(item);
        } else if (k == "cardheight") {
            memCardHeight = read.real(item);
        } else if (k == "border") {
            memCardBorder = read.flag(item);
        } else if (k == "picture") {
            // A match game shows the faces from the start: no card back.
            if (memAppType == 0) memCardBackFile = item.value;
        } else if (k == "samenamesound") {
            memSameNameSound = read.flag(item);
        } else if (k == "randompairs") {
            memRandomPairs = read.flag(item);
        } else if (k == "preview") {
            memPreview = read.whole(item);
        }
    });
}

}  // namespace mem
