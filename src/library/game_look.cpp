#include "library/game_look.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/game_window.h"
#include "app/program.h"
#include "library/game_runner.h"
#include "package/package.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/screen_fit.h"
#include "platform/media/picture_writer.h"
#include "platform/translation.h"

namespace mem::library {
namespace fs = std::filesystem;
namespace {

// A hostile folder of millions of files is not walked to its end.
constexpr int kMostFilesHashed = 20000;

uint64_t fnv1a(uint64_t hash, const std::string& text) {
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

std::string players_text(int players) {
    return format_text(tr_plural("%d player", "%d players", static_cast<unsigned long>(std::max(players, 0))), players);
}

std::string kind_text(bool match, bool text_game) {
    // TRANSLATORS: the kind of a game, on its tile in the game library.
    if (match) return text_game ? tr("match with texts") : tr("match");
    return text_game ? tr("memory with texts") : tr("memory");
}

struct ReadGame {
    GameLook look;
    Size board;
    Colour back = kBlack;
    int smallest_row = 0;  // of the screen rows with a background
    std::vector<PicturePlacement> placements;  // in board coordinates
};

// Plays the start of the game on a screen of `screen` without a player:
// every question answered OK, the first message kept.
ReadGame read_game(const std::string& definition, const std::string& program_dir, Size screen) {
    HeadlessPlatform reader;
    reader.program_directory = program_dir;
    // The reading leaves no trace in the player's memory.log.
    reader.system_directory = "/nonexistent/";
    reader.arguments = definition;
    reader.screen_info = {screen.width, screen.height, 15};
    Program program(reader);
    ReadGame read;
    try {
        program.run();
    } catch (const ProgramEnded&) {
        // A fatal error: the message says why.
    }
    if (!reader.message_boxes.empty()) read.look.problem = message_on_one_line(reader.message_boxes.front().text);
    frm_MemoryGame* game = program.game();
    if (!game || !game->loaded() || program.memStartFailed) {
        if (read.look.problem.empty()) read.look.problem = tr("The game cannot be read.");
        return read;
    }
    const auto& pictures = game->memInterface.Pictures;
    while (read.smallest_row < 4 && pictures[static_cast<size_t>(read.smallest_row)].empty()) ++read.smallest_row;
    if (pictures[static_cast<size_t>(read.smallest_row)].empty()) read.smallest_row = 0;
    const bool text_game = game->memInterface.TextList.Active != False;
    read.look.line = kind_text(game->memAppType == 1, text_game) + " · " + players_text(game->memPlayers);
    const Rect board = game->pic_Background.window_rect();
    read.board = {board.width, board.height};
    read.back = game->back_color();
    read.placements.push_back({game->pic_Background.picture(), {0, 0, board.width, board.height}});
    for (const auto& card : game->img_Card)
        if (card->shown() && card->picture()) {
            const Rect r = card->window_rect();
            read.placements.push_back({card->picture(), {r.left - board.left, r.top - board.top, r.width, r.height}});
        }
    return read;
}

}  // namespace

std::string look_key(const GameEntry& game) {
    // The kept line and problem are in the user's language: another language
    // reads the game again.
    uint64_t hash = fnv1a(14695981039346656037ULL,
                          "look 1 " + game.path + " " + game.definition + " " + tr("The game cannot be read."));
    std::vector<std::string> files;
    std::error_code error;
    auto add = [&](const fs::path& path) {
        const auto size = fs::is_regular_file(path, error) ? fs::file_size(path, error) : 0;
        const auto time = fs::last_write_time(path, error).time_since_epoch().count();
        files.push_back(path.string() + " " + std::to_string(size) + " " + std::to_string(time));
    };
    add(game.path);
    if (!game.package) {
        for (fs::recursive_directory_iterator it(game.path, error), end;
             !error && it != end && static_cast<int>(files.size()) < kMostFilesHashed; it.increment(error))
            add(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const std::string& f : files) hash = fnv1a(hash, f + "\n");
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

GameLooks::GameLooks(Platform& display, std::string program_dir, std::string cache)
    : display_(display), program_dir_(std::move(program_dir)), cache_(std::move(cache)) {}

std::optional<GameLook> GameLooks::operator()(const GameEntry& game, bool cached_only) {
    if (!game.problem.empty()) return GameLook{};
    const std::string key = look_key(game);
    const std::string base = cache_ + "/" + key;
    if (const std::optional<std::string> kept = read_text_file(base + ".txt")) {
        GameLook look;
        std::istringstream lines(*kept);
        std::getline(lines, look.line);
        std::getline(lines, look.problem);
        std::string error;
        if (fs::exists(base + ".png")) look.miniature = display_.load_picture(base + ".png", error);
        return look;
    }
    if (cached_only) return std::nullopt;
    if (!game.package) return make(game, key);
    // A package is looked at as it plays: through the safe reader, into the folder it is played from.
    const package::Unpacked unpacked = package::unpack(game.path, package::default_cache_root());
    if (!unpacked.error.empty()) return GameLook{nullptr, "", unpacked.error};
    GameEntry inside = game;
    inside.path = unpacked.folder;
    inside.definition = unpacked.definition;
    return make(inside, key);
}

GameLook GameLooks::make(const GameEntry& game, const std::string& key) {
    // The smallest board the game offers: the smallest screen row it has a
    // background for.
    // A package's game may read only its own files, as when it plays.
    if (game.package) confine_reading_to(game.path);
    ReadGame read = read_game(game.definition, program_dir_, kScreenSizes[0]);
    if (read.smallest_row > 0)
        read = read_game(game.definition, program_dir_, kScreenSizes[static_cast<size_t>(read.smallest_row)]);
    confine_reading_to("");
    GameLook look = read.look;
    if (!read.placements.empty()) {
        // The board fitted into the miniature, centred on the game's own colour.
        const double scale = std::min(static_cast<double>(kMiniatureSize.width) / std::max(read.board.width, 1),
                                      static_cast<double>(kMiniatureSize.height) / std::max(read.board.height, 1));
        const int left = static_cast<int>((kMiniatureSize.width - read.board.width * scale) / 2);
        const int top = static_cast<int>((kMiniatureSize.height - read.board.height * scale) / 2);
        for (PicturePlacement& p : read.placements) {
            auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
            p.place = {left + at(p.place.left), top + at(p.place.top),
                       std::max(1, at(p.place.right()) - at(p.place.left)), std::max(1, at(p.place.bottom()) - at(p.place.top))};
        }
    }
    std::error_code error;
    fs::create_directories(cache_, error);
    const std::string base = cache_ + "/" + key;
    std::string reason;
    if (!read.placements.empty() && write_png_picture(base + ".png", kMiniatureSize, read.back, read.placements, reason))
        look.miniature = display_.load_picture(base + ".png", reason);
    // The look is kept only where it can be written; it is made again next time otherwise.
    std::ofstream(base + ".txt") << look.line << "\n" << look.problem << "\n";
    return look;
}

}  // namespace mem::library
