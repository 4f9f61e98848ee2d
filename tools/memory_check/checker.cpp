#include "checker.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "app/errors.h"
#include "app/game_window.h"
#include "app/program.h"
#include "board/geometry.h"
#include "definition/syntax.h"
#include "definition_scan.h"
#include "font_match.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"

namespace mem::check {
namespace {

const std::string kTitlePrefix = "Error in application (#";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// A message box as one line: the "Continue?" question dropped, line breaks
// made blanks.
std::string one_line(std::string text) {
    const std::string question = "\r\rContinue?";
    if (text.size() >= question.size() && text.compare(text.size() - question.size(), question.size(), question) == 0)
        text.erase(text.size() - question.size());
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    return line;
}

Problem from_message_box(const MessageBoxRecord& box) {
    if (box.title.rfind(kTitlePrefix, 0) == 0) {
        const int code = std::atoi(box.title.c_str() + kTitlePrefix.size());
        return {Problem::Kind::Error, code, one_line(box.text)};
    }
    return {Problem::Kind::Error, 0, box.title + ": " + one_line(box.text)};
}

class Warnings {
public:
    explicit Warnings(std::vector<Problem>& problems) : problems_(problems) {}
    void add(const std::string& text) {
        if (seen_.insert(text).second) problems_.push_back({Problem::Kind::Warning, 0, text});
    }

private:
    std::vector<Problem>& problems_;
    std::set<std::string> seen_;
};

std::string size_text(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

void scan_files(const frm_MemoryGame& game, const std::string& definition, Warnings& warnings) {
    const HasValueLabel has_label = [&](int16_t order) { return game.lbl_Control.exists(order); };
    std::vector<std::pair<FileKind, std::string>> files = {
        {FileKind::Definition, definition},
        {FileKind::Main, game.memPaths.Data + game.memGameFiles.Main},
        {FileKind::Global, game.memPaths.Data + game.memGameFiles.Global},
    };
    if (!game.memGameFiles.Special.empty())
        files.push_back({FileKind::Special, game.memPaths.Data + game.memGameFiles.Special});
    std::set<std::string> fonts_checked;
    for (const auto& [kind, path] : files) {
        const ScanResult scan =
            scan_file(kind, native_path(path), read_text_file(path).value_or(""), game.memAppType, has_label);
        for (const ScanFinding& finding : scan.findings) warnings.add(finding.text);
        for (const FontUse& font : scan.fonts) {
            if (!fonts_checked.insert(memLower(font.name)).second) continue;
            const std::optional<std::string> fallback = font_fallback(font.name);
            if (!fallback) continue;
            warnings.add(font.file + " [" + font.section + "] " + font.key + ": font " + quoted(font.name) +
                         " is not installed; fontconfig falls back to " + quoted(*fallback));
        }
    }
}

void check_cards(const frm_MemoryGame& game, Warnings& warnings) {
    const std::string global = native_path(game.memPaths.Data + game.memGameFiles.Global);
    const float count = game.memCardCount;
    const std::string sizes = "cardsx=" + memNumberText(game.memCardsX) + " and cardsy=" + memNumberText(game.memCardsY);
    if (count == 0) warnings.add(global + ": " + sizes + " give no cards");
    // In a text game card k pairs with text k, so only the other games need pairs.
    if (game.memInterface.TextList.Active == False && std::fmod(count, 2.0f) == 1.0f)
        warnings.add(global + ": " + sizes + " give " + memNumberText(count) + " cards, an odd number: card " +
                     memNumberText(count) + " has no pair and the board can never be cleared");

    std::string path = game.memPaths.Data + game.memGameFiles.Cards;
    if (!memFileExists(path)) path = game.memPaths.Card + game.memGameFiles.Cards;
    ItemReader items(read_text_file(path).value_or(""));
    const bool drawn = game.memRandomPairs != False;
    int lines = 0;
    while (!items.at_end()) {
        const std::string item = items.next();
        ++lines;
        // Drawn pairs may come from any line.
        if ((drawn || lines <= count) && item.empty())
            warnings.add(native_path(path) + " line " + std::to_string(lines) + ": empty, so card " + std::to_string(lines) +
                         " has no name, picture or caption");
    }
    if (lines < count)
        warnings.add(native_path(path) + ": " + std::to_string(lines) + " card lines for " + memNumberText(count) +
                     " cards (" + sizes + "): cards " + std::to_string(lines + 1) + " to " + memNumberText(count) +
                     " are empty");

    // A text game draws single cards, the others whole pairs.
    const bool text_game = game.memInterface.TextList.Active != False;
    const int on_board = static_cast<int>(text_game ? count : std::ceil(count / 2));
    const int in_file = text_game ? lines : lines / 2;
    const std::string unit = text_game ? " cards" : " pairs";
    if (drawn && in_file <= on_board)
        warnings.add(global + " randompairs=1: " + native_path(path) + " holds " + std::to_string(in_file) + unit +
                     " and the board takes " + std::to_string(on_board) +
                     ": nothing to choose from, every game deals the same" + unit);

    const int16_t preview = game.memPreview;
    if (preview != 0 && game.memAppType == 1)
        warnings.add(global + " preview=" + std::to_string(preview) +
                     ": ignored in a match game, whose faces are up from the start");
    else if (preview < 0 || preview > 60)
        warnings.add(global + " preview=" + std::to_string(preview) + ": the faces show from 0 to 60 seconds, so " +
                     (preview < 0 ? "not at all" : "for 60"));
}

void check_pictures(const frm_MemoryGame& game, Platform& platform, Warnings& warnings) {
    for (int row = 0; row <= 4; ++row) {
        const std::string& name = game.memInterface.Pictures[static_cast<size_t>(row)];
        if (name.empty()) continue;
        const ScreenSize& screen = game.memScreenSizes[static_cast<size_t>(row)];
        const std::string path = game.memPaths.Gfx + name;
        std::string reason;
        PictureRef picture = memFileExists(path) ? platform.load_picture(path, reason) : nullptr;
        const std::string where = "[interface] pictures: background for " + size_text(screen.Width, screen.Height) +
                                  " " + quoted(native_path(path));
        if (!picture) {
            // The row in use was reported by the game already (error 100).
            if (row != game.memLayout.Picture)
                warnings.add(where + " does not exist or cannot be read (error 100 on a screen of that size)");
        } else if (picture->width() != screen.Width || picture->height() != screen.Height) {
            warnings.add(where + " is " + size_text(picture->width(), picture->height()) +
                         " pixels; the board is not scaled to its picture");
        }
    }
    const std::pair<const char*, const std::string*> ends[] = {
        {"endgoodpicture", &game.memInterface.EndGoodPicture}, {"endbadpicture", &game.memInterface.EndBadPicture}};
    for (const auto& [key, name] : ends) {
        const std::string where = "[interface] " + std::string(key) + ": ";
        if (name->empty()) {
            warnings.add(where + "not set: that end shows no picture, and only Escape or the quit picture ends the game");
            continue;
        }
        const std::string path = game.memPaths.Gfx + *name;
        std::string reason;
        if (!memFileExists(path) || !platform.load_picture(path, reason))
            warnings.add(where + quoted(native_path(path)) + " does not exist or cannot be read (error 106 at the end of the game)");
    }
}

void check_fit(const frm_MemoryGame& game, Warnings& warnings) {
    // The designed places of the panel and player pictures, before the board moved them.
    HeadlessPlatform design_platform;
    Program design_program(design_platform);
    const frm_MemoryGame designed(design_program, design_platform);
    std::map<int, std::vector<std::string>> screens_by_board;
    std::map<int, BoardGeometry> boards;
    for (int row = 0; row <= 4; ++row) {
        const ScreenSize& screen = game.memScreenSizes[static_cast<size_t>(row)];
        BoardGeometryInput in;
        in.screen_width_units = screen.Width * in.units_per_pixel;
        in.screen_height_units = screen.Height * in.units_per_pixel;
        in.sizes = game.memScreenSizes;
        in.pictures = game.memInterface.Pictures;
        in.control_left = designed.img_Control[0].left();
        in.control_width = designed.img_Control[0].width();
        in.player_height = designed.img_Player[0].height();
        in.cards_x = game.memCardsX;
        in.cards_y = game.memCardsY;
        in.card_width = game.memCardWidth;
        in.card_height = game.memCardHeight;
        const BoardGeometry out = memBoardGeometry(in);
        if (out.layout.SpaceX >= 0 && out.layout.SpaceY >= 0) continue;
        screens_by_board[out.layout.Picture].push_back(size_text(screen.Width, screen.Height));
        boards[out.layout.Picture] = out;
    }
    const std::string global = native_path(game.memPaths.Data + game.memGameFiles.Global);
    for (const auto& [board, screens] : screens_by_board) {
        const Layout& layout = boards[board].layout;
        std::string on;
        for (const std::string& screen : screens) on += (on.empty() ? "" : ", ") + screen;
        warnings.add(global + ": the cards do not fit the play area of " + size_text(layout.AreaWidth, layout.AreaHeight) +
                     " pixels on a " + on + " screen: " + memNumberText(game.memCardsX) + " x " +
                     memNumberText(game.memCardsY) + " cards of " + memNumberText(game.memCardWidth) + " x " +
                     memNumberText(game.memCardHeight) + " leave gaps of " + std::to_string(layout.SpaceX) +
                     " across and " + std::to_string(layout.SpaceY) + " down, so cards overlap");
    }
}

// Limit groups that end the game, or never end it, by themselves.
void check_limits(const frm_MemoryGame& game, Warnings& warnings) {
    const std::string main = native_path(game.memPaths.Data + game.memGameFiles.Main);
    auto warn = [&](const char* section, int16_t condition, const std::string& effect) {
        warnings.add(main + " [" + section + "] condition: " + std::to_string(condition) + ": " + effect);
    };
    const ControlGroup* groups = game.memControl.data();
    // A player is out when the time equals the condition. Below 0 it never
    // does: the timer only shows the time, as a game may well want.
    if (groups[kGroupTimer].Active != False && groups[kGroupTimer].Condition == 0)
        warn("timer", 0,
             "the time counts 1, 2, 3, ... and a player is out only when it equals the condition, so the timer sets "
             "no limit, except that a try settled before the first clock tick puts the player out; give the seconds "
             "allowed, or -1 for a timer that only shows the time");
    const std::string at_once = "every player is out at the first test: ";
    if (groups[kGroupCountdown].Active != False && groups[kGroupCountdown].Condition <= 0)
        warn("countdown", groups[kGroupCountdown].Condition,
             "the countdown starts there, so " + at_once +
                 "the first clock tick puts the player whose turn it is out and ends a one-player game; give the "
                 "seconds allowed");
    if (groups[kGroupTriesMade].Active != False && groups[kGroupTriesMade].Condition <= 0)
        warn("tries made", groups[kGroupTriesMade].Condition,
             "no tries made already reach it, so " + at_once + "the first try ends a one-player game; give the "
                                                               "number of tries allowed");
    if (groups[kGroupTriesLeft].Active != False && groups[kGroupTriesLeft].Condition <= 0)
        warn("tries left", groups[kGroupTriesLeft].Condition,
             "the tries left start there, so " + at_once + "the first try ends a one-player game; give the number "
                                                          "of tries allowed");
}

CheckResult run_game(const CheckOptions& options) {
    CheckResult result;
    HeadlessPlatform platform;
    platform.program_directory = options.program_dir;
    platform.system_directory = options.system_dir;
    platform.screen_info = ScreenInfo{options.screen_width, options.screen_height, 15};
    Program program(platform);
    // The game traces its start-up; the checker writes the log only when the
    // definition itself asks for it with "debug".
    program.memDebug = False;
    try {
        // The game's own start: the load step up to the board and the first deal.
        program.memStartUp(options.definition);
    } catch (const ProgramEnded&) {
        result.fatal = true;
    }
    for (const MessageBoxRecord& box : platform.message_boxes) result.problems.push_back(from_message_box(box));
    if (result.fatal || !program.game()) {
        result.fatal = true;
        return result;
    }
    const frm_MemoryGame& game = *program.game();
    Warnings warnings(result.problems);
    scan_files(game, program.memFile, warnings);
    check_cards(game, warnings);
    check_limits(game, warnings);
    check_pictures(game, platform, warnings);
    check_fit(game, warnings);
    return result;
}

size_t error_count(const CheckResult& result) {
    size_t n = 0;
    for (const Problem& problem : result.problems) n += problem.kind == Problem::Kind::Error;
    return n;
}

// %apppath% is the program's directory. When a definition that uses it
// finds its files only with %apppath% standing for the definition's own
// directory (or one above it), the author most likely meant that one.
std::optional<std::string> apppath_hint(const CheckOptions& options, const CheckResult& result) {
    if (error_count(result) == 0) return std::nullopt;
    const std::string definition = memLower(read_text_file(options.definition).value_or(""));
    if (definition.find("%apppath%") == std::string::npos) return std::nullopt;
    const std::filesystem::path program = std::filesystem::weakly_canonical(options.program_dir);
    for (std::filesystem::path dir = std::filesystem::path(options.definition).parent_path();; dir = dir.parent_path()) {
        CheckOptions there = options;
        there.program_dir = dir.string();
        if (std::filesystem::weakly_canonical(dir) != program && error_count(run_game(there)) < error_count(result))
            return "%apppath% is the program's directory, " + options.program_dir +
                   ", not the definition's: the missing files lie under " + dir.string() +
                   " (did you mean to run it with --program-dir " + dir.string() +
                   "? To play the game, copy it beside the program as it lies there)";
        if (dir == dir.parent_path()) break;
    }
    return std::nullopt;
}

}  // namespace

CheckResult check_definition(const CheckOptions& options) {
    CheckResult result = run_game(options);
    if (const std::optional<std::string> hint = apppath_hint(options, result))
        result.problems.push_back({Problem::Kind::Hint, 0, *hint});
    return result;
}

std::string format_problem(const Problem& problem) {
    if (problem.kind == Problem::Kind::Warning) return "warning: " + problem.text;
    if (problem.kind == Problem::Kind::Hint) return "hint: " + problem.text;
    if (problem.code == 0) return "error: " + problem.text;
    return "error " + std::to_string(problem.code) + ": " + problem.text;
}

namespace {

const char* const kUsage =
    "usage: memory-check [options] DEFINITION\n"
    "\n"
    "Reads a game definition (the file given to memory, e.g. games/mine/mine.ini) as the\n"
    "game does, answers OK to every message, and prints every problem, one a line:\n"
    "  error N: <the game's message>      in the order the game shows them\n"
    "  warning: <file> [section] key: ... what the game does not report\n"
    "  hint: ...                          a likely cause of the errors\n"
    "\n"
    "options:\n"
    "  --warnings-as-errors  exit with status 1 on warnings too\n"
    "  --program-dir DIR     the directory %apppath% stands for (default: the directory\n"
    "                        of memory-check, where the memory program lies)\n"
    "  --system-dir DIR      the directory %windows% stands for (default: the game's)\n"
    "  --screen WxH          the screen size to start on (default 1024x768)\n"
    "  --help                this text\n"
    "  --version             the version\n"
    "\n"
    "Exit status: 0 no problems, 1 errors (or warnings with --warnings-as-errors), 2 bad usage.\n"
    "With debug=1 in the definition the game's trace goes to memory.log, as the game writes it.\n";

bool parse_screen(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    try {
        size_t used = 0;
        width = std::stoi(text.substr(0, x), &used);
        if (used != x) return false;
        const std::string rest = text.substr(x + 1);
        height = std::stoi(rest, &used);
        if (used != rest.size()) return false;
    } catch (const std::exception&) {
        return false;
    }
    return width > 0 && height > 0;
}

}  // namespace

int memory_check_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& default_program_dir, const std::string& default_system_dir) {
    CheckOptions options;
    options.program_dir = default_program_dir;
    options.system_dir = default_system_dir;
    bool warnings_as_errors = false;
    auto usage_error = [&](const std::string& message) {
        err << "memory-check: " << message << "\n" << kUsage;
        return 2;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        } else if (arg == "--warnings-as-errors") {
            warnings_as_errors = true;
        } else if (arg == "--program-dir" || arg == "--system-dir" || arg == "--screen") {
            const std::string* v = value();
            if (!v) return usage_error(arg + " needs a value");
            if (arg == "--program-dir") options.program_dir = *v;
            else if (arg == "--system-dir") options.system_dir = *v;
            else if (!parse_screen(*v, options.screen_width, options.screen_height))
                return usage_error("--screen wants WIDTHxHEIGHT, e.g. 800x600");
        } else if (arg.rfind("-", 0) == 0) {
            return usage_error("unknown option " + arg);
        } else if (options.definition.empty()) {
            options.definition = arg;
        } else {
            return usage_error("one definition file at a time");
        }
    }
    if (options.definition.empty()) return usage_error("no definition file given");
    // Relative to where the author is, not to the program directory as the game takes it.
    options.definition = std::filesystem::absolute(native_path(options.definition)).string();
    while (options.program_dir.size() > 1 && memEndsWithSeparator(options.program_dir)) options.program_dir.pop_back();
    if (!options.system_dir.empty() && !memEndsWithSeparator(options.system_dir)) options.system_dir += "/";

    const CheckResult result = check_definition(options);
    int errors = 0, warnings = 0;
    for (const Problem& problem : result.problems) {
        out << format_problem(problem) << "\n";
        if (problem.kind == Problem::Kind::Error) ++errors;
        if (problem.kind == Problem::Kind::Warning) ++warnings;
    }
    err << "memory-check: " << options.definition << ": " << errors << (errors == 1 ? " error" : " errors") << ", "
        << warnings << (warnings == 1 ? " warning" : " warnings")
        << (result.fatal ? " (the game ends at the last error; later steps were not checked)" : "") << "\n";
    if (errors > 0 || (warnings_as_errors && warnings > 0)) return 1;
    return 0;
}

}  // namespace mem::check
