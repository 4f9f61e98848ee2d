#include "options.h"

#include <algorithm>

#include "memory_new.h"
#include "platform/translation.h"
#include "theme.h"

namespace mem::make {

// The help text, one block (shown through tr()).
const char* const kUsage = tr_later(
    "usage: memory-new [options] NAME PICTURE-OR-FOLDER...\n"
    "\n"
    "Makes the game NAME/ (NAME/NAME.ini, data/, gfx/, cards/, sfx/) from pictures\n"
    "(JPEG, HEIC, PNG, WebP and more, turned upright as their Exif data says): each\n"
    "becomes a pair of cards, captioned below with its file name (underscores as\n"
    "blanks); a wave file of the same name beside a picture becomes its sound.\n"
    "Play it with: memory /path/to/NAME/NAME.ini\n"
    "\n"
    "options:\n"
    "  --kind memory|match|text  cards face down (default), face up, or matched\n"
    "                            against their names in a list\n"
    "  --players N               1 to 4 players (default 1)\n"
    "  --names NAME,NAME...      the players' names, 1 to 4 (the number of players\n"
    "                            follows); without, they are Player 1, Player 2...\n"
    "  --timer                   show each player's time\n"
    "  --countdown SECONDS       each player has this many seconds\n"
    "  --tries N                 each player has N tries\n"
    "  --removal hide|fly|shrink|line  how a found pair leaves the board (default fly;\n"
    "                            line joins the pair with a line instead)\n"
    "  --theme NAME              colours: ocean (default), forest, sunset, night\n"
    "  --pairs N                 N pairs a game (cards in a text game), 2 to 18; with\n"
    "                            more pictures each game deals N of them at random\n"
    "                            (default: all pictures, up to what a board holds)\n"
    "  --preview SECONDS         the faces show this long before the cards turn face\n"
    "                            down, 1 to 60 (memory and text games)\n"
    "  --no-captions             no names on the cards\n"
    "  --speak                   each card says its name (needs espeak-ng)\n"
    "  --recursive               take the pictures in subfolders too\n"
    "  --output DIR              make NAME/ in DIR (default: the current folder)\n"
    "  --force                   replace an existing NAME/ folder (the old one goes\n"
    "                            to the trash)\n"
    "  --pack                    also pack the game into NAME.memorygame beside it,\n"
    "                            one file to send (see memory-pack)\n"
    "  --help                    this text\n"
    "  --version                 the version\n"
    "\n"
    "Exit status: 0 made, 1 the game could not be made, 2 bad usage.\n");

namespace {

std::optional<int> whole(const std::string& text) {
    if (text.size() > 6) return std::nullopt;  // empty text is 0, which no option takes
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The names of "Anna, Ben": blanks around each name dropped, and the double
// quotes the definition's lines are quoted with.
std::optional<std::vector<std::string>> player_names(const std::string& text, std::string& error) {
    std::vector<std::string> names;
    for (size_t at = 0; at <= text.size();) {
        const size_t comma = std::min(text.find(',', at), text.size());
        std::string name = text.substr(at, comma - at);
        std::erase(name, '"');
        for (char& c : name)
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        const size_t first = name.find_first_not_of(' ');
        name = first == std::string::npos ? "" : name.substr(first, name.find_last_not_of(' ') - first + 1);
        if (name.empty()) {
            error = tr("--names wants 1 to 4 names separated by commas, none of them empty");
            return std::nullopt;
        }
        names.push_back(name);
        at = comma + 1;
    }
    if (names.size() > 4) {
        error = format_text(tr("--names gives %zu names; a game has at most 4 players"), names.size());
        return std::nullopt;
    }
    return names;
}

}  // namespace

std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error) {
    Options options;
    std::vector<std::string> plain;
    bool options_end = false, players_given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_end || arg.size() < 2 || arg[0] != '-') {
            plain.push_back(arg);
            continue;
        }
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 < args.size()) return args[++i];
            error = format_text(tr("%s needs a value"), arg.c_str());
            return std::nullopt;
        };
        auto number = [&](int low, int high) -> std::optional<int> {
            const auto text = value();
            if (!text) return std::nullopt;
            const auto n = whole(*text);
            if (!n || *n < low || *n > high) {
                error = format_text(tr("%s wants a whole number from %d to %d, not \"%s\""), arg.c_str(), low, high,
                                    text->c_str());
                return std::nullopt;
            }
            return n;
        };
        if (arg == "--") {
            options_end = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--kind") {
            const auto v = value();
            if (!v) return std::nullopt;
            if (*v == "memory") options.kind = GameKind::Memory;
            else if (*v == "match") options.kind = GameKind::Match;
            else if (*v == "text") options.kind = GameKind::Text;
            else return error = format_text(tr("--kind is memory, match or text, not \"%s\""), v->c_str()), std::nullopt;
        } else if (arg == "--players") {
            const auto n = number(1, 4);
            if (!n) return std::nullopt;
            options.players = *n;
            players_given = true;
        } else if (arg == "--names") {
            const auto v = value();
            if (!v) return std::nullopt;
            auto names = player_names(*v, error);
            if (!names) return std::nullopt;
            options.names = std::move(*names);
        } else if (arg == "--timer") {
            options.timer = true;
        } else if (arg == "--countdown") {
            // The clock shows at most five digits.
            const auto n = number(1, 32767);
            if (!n) return std::nullopt;
            options.countdown = *n;
        } else if (arg == "--tries") {
            const auto n = number(1, 32767);
            if (!n) return std::nullopt;
            options.tries = *n;
        } else if (arg == "--pairs") {
            const auto n = number(2, kMostPairs);
            if (!n) return std::nullopt;
            options.pairs = *n;
        } else if (arg == "--preview") {
            const auto n = number(1, 60);
            if (!n) return std::nullopt;
            options.preview = *n;
        } else if (arg == "--removal") {
            const auto v = value();
            if (!v) return std::nullopt;
            if (*v == "hide") options.removal = Removal::Hide;
            else if (*v == "fly") options.removal = Removal::Fly;
            else if (*v == "shrink") options.removal = Removal::Shrink;
            else if (*v == "line") options.removal = Removal::Line;
            else return error = format_text(tr("--removal is hide, fly, shrink or line, not \"%s\""), v->c_str()), std::nullopt;
        } else if (arg == "--theme") {
            const auto v = value();
            if (!v) return std::nullopt;
            if (!find_theme(*v))
                return error = format_text(tr("no theme \"%s\"; the themes are %s"), v->c_str(), theme_names().c_str()),
                       std::nullopt;
            options.theme = *v;
        } else if (arg == "--output") {
            const auto v = value();
            if (!v) return std::nullopt;
            options.output = *v;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--recursive") {
            options.recursive = true;
        } else if (arg == "--no-captions") {
            options.captions = false;
        } else if (arg == "--speak") {
            options.speak = true;
        } else if (arg == "--pack") {
            options.pack = true;
        } else {
            error = format_text(tr("unknown option %s"), arg.c_str());
            return std::nullopt;
        }
    }
    if (options.help) return options;
    if (!options.names.empty()) {
        const int named = static_cast<int>(options.names.size());
        if (players_given && options.players != named) {
            error = format_text(tr("--players %d but --names gives %d names: leave out --players, or give as many "
                                   "names as players"),
                                options.players, named);
            return std::nullopt;
        }
        options.players = named;
    }
    if (plain.size() < 2) {
        error = plain.empty() ? tr("no game name and no pictures given") : tr("no pictures given");
        return std::nullopt;
    }
    options.name = plain[0];
    options.inputs.assign(plain.begin() + 1, plain.end());
    if (options.name.empty() || options.name.find_first_of("/\\\"") != std::string::npos || options.name == "." ||
        options.name == "..") {
        error = format_text(tr("the game's name \"%s\" cannot name a folder: not empty, . or .., no /, \\ or \""),
                            options.name.c_str());
        return std::nullopt;
    }
    if (options.kind == GameKind::Match && options.preview > 0) {
        error = tr("--preview shows the faces before the cards turn face down; a match game's lie face up");
        return std::nullopt;
    }
    if (options.kind == GameKind::Text && options.removal == Removal::Line) {
        error = tr("--removal line joins two cards; a text game takes one card at a time");
        return std::nullopt;
    }
    return options;
}

}  // namespace mem::make
