#include "game_files.h"

#include "platform/translation.h"

namespace mem::make {

std::string item_line(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '"') c = '\'';
    const bool quote = line.find(',') != std::string::npos ||
                       (!line.empty() && (line.front() == ' ' || line.back() == ' '));
    return quote ? "\"" + line + "\"" : line;
}

std::string plain_text(const std::string& text) {
    std::string plain = text;
    for (char& c : plain) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        if (c == '"') c = '\'';
    }
    return plain;
}

// The counters' labels are drawn below each counter in the control panel,
// 81 pixels wide inside its frame: about 12 letters fit at full size, a
// longer label is drawn smaller.
std::vector<PanelGroup> panel_groups(const Options& options) {
    std::vector<PanelGroup> groups;
    // A timer that never reaches its limit: -1 seconds.
    // TRANSLATORS: label below the counter of a player's time (room for about 12 letters).
    if (options.timer) groups.push_back({"timer", tr("Time"), "panel_timer.png", -1});
    // TRANSLATORS: label below the counter of seconds a player has left (room for about 12 letters).
    if (options.countdown > 0)
        groups.push_back({"countdown", tr("Time left"), "panel_countdown.png", options.countdown});
    // TRANSLATORS: label below the counter of cards still on the board (room for about 12 letters).
    groups.push_back({"cards left", tr("Cards left"), "panel_left.png", 0});
    // TRANSLATORS: label below the counter of tries a player has left (room for about 12 letters).
    if (options.tries > 0) groups.push_back({"tries left", tr("Tries left"), "panel_tries.png", options.tries});
    // Tries made are only counted: the limit is out of reach.
    // TRANSLATORS: label below the counter of tries a player has made (room for about 12 letters).
    else groups.push_back({"tries made", tr("Tries"), "panel_tries.png", 32767});
    return groups;
}

namespace {

class Lines {
public:
    Lines& operator()(std::string line) {
        // Empty fields at the end of a card or list line are left off.
        while (!line.empty() && line.back() == '\t') line.pop_back();
        text += item_line(line) + "\n";
        return *this;
    }
    Lines& key(const std::string& key, const std::string& value) { return (*this)(key + "=" + value); }
    Lines& key(const std::string& key, long value) { return (*this)(key + "=" + std::to_string(value)); }
    std::string text;
};

int removal_code(Removal removal) {
    switch (removal) {
        case Removal::Hide: return 1;
        case Removal::Fly: return 2;
        case Removal::Shrink: return 3;
        case Removal::Line: return 0;
    }
    return 2;
}

// Font keys come after the key that makes them count (active, order).
void font(Lines& f, int points) { f.key("fontname", "DejaVu Sans").key("fontsize", points).key("fontbold", 1); }

}  // namespace

GameText game_text(const Options& options, const Theme& theme, const std::string& folder, const BoardPlan& plan,
                   const std::vector<CardEntry>& cards, const TextListPlan& text_list) {
    const bool text_game = options.kind == GameKind::Text;
    GameText out;

    Lines d;
    d("[memory]").key("app", options.kind == GameKind::Match ? "match" : "memory");
    // The game's title for its window and the library; an item with a comma is quoted whole.
    std::string title = options.name;
    std::erase(title, '"');
    d("[application]")(title.find(',') == std::string::npos ? "title=" + title : "\"title=" + title + "\"");
    d("[paths]").key("gfx", folder + "gfx/").key("card", folder + "cards/");
    d.key("sfx", folder + "sfx/").key("data", folder + "data/");
    d("[gamefiles]").key("main", "main.ini").key("global", "global.ini").key("cards", "cards.txt");
    if (text_game) d.key("listfile", "words.txt");
    out.definition = d.text;

    const Rgb white{255, 255, 255};
    Lines m;
    std::string pictures;
    // Appended piece by piece: GCC 12 at -O3 wrongly warns (-Wrestrict)
    // about "text" + a temporary string.
    for (int row = 0; row < kScreenRows; ++row) {
        if (row) pictures += '\t';
        if (!plan.boards[row]) continue;
        pictures += "bg";
        pictures += std::to_string(screen_width(row));
        pictures += ".png";
    }
    m("[interface]").key("pictures", pictures).key("backcolor", theme.bottom.colour());
    m.key("quitpicture", "quit.png").key("endgoodpicture", "good.png").key("endbadpicture", "bad.png");
    m.key("endgoodsound", "good.wav").key("endbadsound", "bad.wav");
    m.key("matchsound", "match.wav").key("nomatchsound", "nomatch.wav");
    if (options.removal == Removal::Line) m("[line]").key("active", 1).key("color", theme.accent.colour()).key("width", 5);
    // TRANSLATORS: the players' names are this and a number: "Player 1". Keep
    // the blank at the end. Drawn on a picture 121 pixels wide with the score.
    m("[players]").key("players", options.players).key("defaultname", tr("Player ")).key("picture", "player.png");
    // Player p's name, when given, replaces the default name and number.
    for (size_t p = 0; p < options.names.size(); ++p) m.key("name" + std::to_string(p + 1), options.names[p]);
    m.key("namefont", "DejaVu Sans").key("namefontsize", 9).key("namefontbold", 1).key("nameforecolor", white.colour());
    m.key("scorefont", "DejaVu Sans").key("scorefontsize", 9).key("scorefontbold", 1);
    m.key("scoreforecolor", theme.accent.colour()).key("dimcolor", 8421504);
    const std::vector<PanelGroup> groups = panel_groups(options);
    // Orders count the panel slots from 1.
    for (size_t order = 0; order < groups.size(); ++order) {
        const PanelGroup& g = groups[order];
        m("[" + g.section + "]").key("active", 1).key("order", static_cast<long>(order) + 1);
        if (g.condition != 0) m.key("condition", g.condition);
        m.key("picture", g.picture);
        font(m, 16);
        m.key("forecolor", white.colour()).key("placex", 2).key("placey", 2);
    }
    out.main = m.text;

    Lines g;
    g("[cards]").key("cardsx", plan.cards_x).key("cardsy", plan.cards_y);
    g.key("cardwidth", plan.card_width).key("cardheight", plan.card_height).key("border", 0);
    // A match game's cards lie face up: no back.
    if (options.kind != GameKind::Match) g.key("picture", "back.png");
    g.key("turnsound", "turn.wav");
    g.key("dissapear", removal_code(options.removal));
    // The captions are drawn into the card pictures, below the photos.
    font(g, 10);
    g.key("forecolor", theme.ink.colour());
    // More cards than the board holds: each game draws its own.
    if (cards.size() * (text_game ? 1 : 2) > static_cast<size_t>(plan.cards_x) * static_cast<size_t>(plan.cards_y))
        g.key("randompairs", 1);
    if (options.preview > 0) g.key("preview", options.preview);
    if (text_game) {
        g("[text list]").key("active", 1);
        font(g, text_list.font_size);
        g.key("forecolor", white.colour()).key("selectcolor", theme.accent.colour()).key("dimcolor", 8421504);
        g.key("destroy", 1).key("sound", "click.wav");
        g.key("top", text_list.top).key("left", 8).key("width", 97).key("space", text_list.space);
    }
    out.global = g.text;

    Lines c, l;
    for (const CardEntry& card : cards) {
        const std::string caption = plain_text(card.caption);
        if (text_game) {
            c(caption + "\t" + card.picture);
            l(caption + "\t" + card.sound);
        } else {
            for (int twice = 0; twice < 2; ++twice) c(caption + "\t" + card.picture + "\t\t" + card.sound);
        }
    }
    out.cards = c.text;
    out.list = l.text;
    return out;
}

}  // namespace mem::make
