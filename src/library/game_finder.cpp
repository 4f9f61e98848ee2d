#include "library/game_finder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "definition/definition_keys.h"
#include "definition/syntax.h"
#include "platform/translation.h"

namespace mem::library {
namespace fs = std::filesystem;
namespace {

std::string variable(const Environment& environment, const char* name) {
    const char* value = environment(name);
    return value ? value : "";
}

std::string joined(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

// An XDG base directory: the variable when it is an absolute path, else
// the default under the home folder.
std::string base_directory(const Environment& environment, const char* name, const char* under_home) {
    const std::string value = variable(environment, name);
    if (!value.empty() && value.front() == '/') return value;
    return joined(variable(environment, "HOME"), under_home);
}


bool has_extension(const fs::path& path, const std::string& extension) {
    return memLower(path.extension().string()) == extension;
}

// A definition names its application type (in any section).
bool names_application(const std::string& path) {
    bool found = false;
    memForEachKey(path, [&](const KeyItem& item) { found = found || item.key == "app"; });
    return found;
}

GameEntry folder_game(const fs::path& folder, bool own) {
    GameEntry game{folder.string(), "", folder.filename().string(), own};
    std::vector<std::string> ini_files, definitions;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error) || !has_extension(it->path(), ".ini")) continue;
        ini_files.push_back(it->path().string());
        if (names_application(it->path().string())) definitions.push_back(it->path().string());
    }
    if (error) {
        game.problem = format_text(tr("The folder cannot be read: %s"), error.message().c_str());
        return game;
    }
    // A single .ini file without an application type is the definition:
    // playing it says what is wrong with it.
    if (definitions.empty() && ini_files.size() == 1) definitions = ini_files;
    std::sort(definitions.begin(), definitions.end());
    if (definitions.empty()) {
        game.problem = tr("The folder holds no definition file (.ini).");
    } else if (definitions.size() > 1) {
        const std::string names = fs::path(definitions[0]).filename().string() + ", " +
                                  fs::path(definitions[1]).filename().string() + (definitions.size() > 2 ? ", ..." : "");
        // TRANSLATORS: %zu is the count of definition files (two or more), %s the first names of them.
        game.problem = format_text(tr_plural("The folder holds %zu definition file; a game has one: %s",
                                             "The folder holds %zu definition files; a game has one: %s",
                                             definitions.size()),
                                   definitions.size(), names.c_str());
    } else {
        game.definition = definitions[0];
        game.title = definition_title(game.definition);
    }
    return game;
}

}  // namespace

std::vector<GamePlace> game_places(const std::string& program_dir, const Environment& environment) {
    std::vector<GamePlace> places{{joined(program_dir, "games"), false}, {own_games_folder(environment), true}};
    std::string dirs = variable(environment, "XDG_DATA_DIRS");
    if (dirs.empty()) dirs = "/usr/local/share/:/usr/share/";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t colon = std::min(dirs.find(':', start), dirs.size());
        const std::string dir = dirs.substr(start, colon - start);
        if (!dir.empty() && dir.front() == '/') places.push_back({joined(joined(dir, "memory"), "games"), false});
        start = colon + 1;
    }
    // The same folder named twice, or through a link, is looked in once;
    // the user's own keeps its place.
    std::set<std::string> seen;
    std::vector<GamePlace> unique;
    for (const GamePlace& place : places) {
        std::error_code error;
        fs::path key = fs::weakly_canonical(place.folder, error);
        if (error) key = fs::path(place.folder).lexically_normal();
        std::string text = key.string();
        while (text.size() > 1 && text.back() == '/') text.pop_back();
        if (seen.insert(text).second) unique.push_back(place);
    }
    return unique;
}

std::string own_games_folder(const Environment& environment) {
    return joined(base_directory(environment, "XDG_DATA_HOME", ".local/share"), "memory/games");
}

std::string thumbnail_folder(const Environment& environment) {
    return joined(base_directory(environment, "XDG_CACHE_HOME", ".cache"), "memory/thumbnails");
}

std::vector<GameEntry> find_games(const std::vector<GamePlace>& places) {
    std::vector<GameEntry> games;
    for (const GamePlace& place : places) {
        std::error_code error;
        std::vector<fs::path> entries;
        for (fs::directory_iterator it(place.folder, error), end; !error && it != end; it.increment(error))
            entries.push_back(it->path());
        // A place that does not exist has no games; other files beside the
        // games (the default memory.ini) are not games.
        for (const fs::path& entry : entries) {
            if (fs::is_directory(entry, error)) {
                games.push_back(folder_game(entry, place.own));
            } else if (has_extension(entry, ".memorygame") && fs::is_regular_file(entry, error)) {
                games.push_back({entry.string(), "", entry.stem().string(), place.own, true});
            }
        }
    }
    sort_by_title(games);
    return games;
}

void sort_by_title(std::vector<GameEntry>& games) {
    std::sort(games.begin(), games.end(), [](const GameEntry& a, const GameEntry& b) {
        const std::string la = memLower(a.title), lb = memLower(b.title);
        return la != lb ? la < lb : a.path < b.path;
    });
}

std::string definition_title(const std::string& definition) {
    std::string title;
    memForEachKey(definition, [&](const KeyItem& item) {
        if (item.section == "application" && item.key == "title") title = item.value;
    });
    return title.empty() ? memStripExtension(fs::path(definition).filename().string()) : title;
}

}  // namespace mem::library
