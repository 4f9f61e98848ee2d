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
#include "package/package.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/translation.h"

namespace mem::check {
namespace {


// A message box as one line: the "Continue?" question dropped, line breaks
// made blanks.
std::string one_line(std::string text) {
    const std::string question = memContinueQuestion();
    if (text.ends_with(question)) text.erase(text.size() - question.size());
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
    int code = 0;
    size_t after = 0;
    if (memReadErrorTitle(box.title, 0, code, after)) return {Problem::Kind::Error, code, one_line(box.text)};
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
            // TRANSLATORS: a file, [a section] and a key, then two font names.
            warnings.add(format_text(tr("%s [%s] %s: font \"%s\" is not installed; fontconfig falls back to \"%s\""),
                                     font.file.c_str(), font.section.c_str(), font.key.c_str(), font.name.c_str(),
                                     fallback->c_str()));
        }
    }
}

void check_cards(const frm_MemoryGame& game, Warnings& warnings) {
    const std::string global = native_path(game.memPaths.Data + game.memGameFiles.Global);
    const float count = game.memCardCount;
    const std::string x = "cardsx=" + memNumberText(game.memCardsX), y = "cardsy=" + memNumberText(game.memCardsY);
    // TRANSLATORS: the global file, then "cardsx=N" and "cardsy=N".
    if (count == 0) warnings.add(format_text(tr("%s: %s and %s give no cards"), global.c_str(), x.c_str(), y.c_str()));
    // In a text game card k pairs with text k, so only the other games need pairs.
    if (game.memInterface.TextList.Active == False && std::fmod(count, 2.0f) == 1.0f)
        warnings.add(format_text(tr("%1$s: %2$s and %3$s give %4$s cards, an odd number: card %4$s has no pair and the "
                                    "board can never be cleared"),
                                 global.c_str(), x.c_str(), y.c_str(), memNumberText(count).c_str()));

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
            warnings.add(format_text(tr("%1$s line %2$d: empty, so card %2$d has no name, picture or caption"),
                                     native_path(path).c_str(), lines));
    }
    if (lines < count)
        // TRANSLATORS: the card file, its lines, the cards, "cardsx=N", "cardsy=N", the first empty card.
        warnings.add(format_text(tr("%1$s: %2$d card lines for %3$s cards (%4$s and %5$s): cards %6$d to %3$s are empty"),
                                 native_path(path).c_str(), lines, memNumberText(count).c_str(), x.c_str(), y.c_str(),
                                 lines + 1));

    // A text game draws single cards, the others whole pairs.
    const bool text_game = game.memInterface.TextList.Active != False;
    const int on_board = static_cast<int>(text_game ? count : std::ceil(count / 2));
    const int in_file = text_game ? lines : lines / 2;
    if (drawn && in_file <= on_board)
        warnings.add(format_text(text_game ? tr("%1$s randompairs=1: %2$s holds %3$d cards and the board takes %4$d: "
                                                "nothing to choose from, every game deals the same cards")
                                           : tr("%1$s randompairs=1: %2$s holds %3$d pairs and the board takes %4$d: "
                                                "nothing to choose from, every game deals the same pairs"),
                                 global.c_str(), native_path(path).c_str(), in_file, on_board));

    const int16_t preview = game.memPreview;
    if (preview != 0 && game.memAppType == 1)
        warnings.add(format_text(tr("%s preview=%d: ignored in a match game, whose faces are up from the start"),
                                 global.c_str(), static_cast<int>(preview)));
    else if (preview < 0 || preview > 60)
        warnings.add(format_text(preview < 0 ? tr("%s preview=%d: the faces show from 0 to 60 seconds, so not at all")
                                             : tr("%s preview=%d: the faces show from 0 to 60 seconds, so for 60"),
                                 global.c_str(), static_cast<int>(preview)));
}

void check_pictures(const frm_MemoryGame& game, Platform& platform, Warnings& warnings) {
    for (int row = 0; row <= 4; ++row) {
        const std::string& name = game.memInterface.Pictures[static_cast<size_t>(row)];
        if (name.empty()) continue;
        const ScreenSize& screen = game.memScreenSizes[static_cast<size_t>(row)];
        const std::string path = game.memPaths.Gfx + name;
        std::string reason;
        PictureRef picture = platform.load_picture(path, reason);
        const std::string size = size_text(screen.Width, screen.Height), file = native_path(path);
        if (!picture) {
            // The row in use was reported by the game already (error 100).
            if (row != game.memLayout.Picture)
                // TRANSLATORS: a screen size ("800 x 600") and a picture file.
                warnings.add(format_text(tr("[interface] pictures: background for %s \"%s\" does not exist or cannot be "
                                            "read (error 100 on a screen of that size)"),
                                         size.c_str(), file.c_str()));
        } else if (picture->width() != screen.Width || picture->height() != screen.Height) {
            warnings.add(format_text(tr("[interface] pictures: background for %s \"%s\" is %s pixels; the board is not "
                                        "scaled to its picture"),
                                     size.c_str(), file.c_str(), size_text(picture->width(), picture->height()).c_str()));
        }
    }
    const std::pair<const char*, const std::string*> ends[] = {
        {"endgoodpicture", &game.memInterface.EndGoodPicture}, {"endbadpicture", &game.memInterface.EndBadPicture}};
    for (const auto& [key, name] : ends) {
        if (name->empty()) {
            // TRANSLATORS: %s is the key, endgoodpicture or endbadpicture.
            warnings.add(format_text(tr("[interface] %s: not set: that end shows no picture, and only Escape or the quit "
                                        "picture ends the game"),
                                     key));
            continue;
        }
        const std::string path = game.memPaths.Gfx + *name;
        std::string reason;
        if (!platform.load_picture(path, reason))
            warnings.add(format_text(tr("[interface] %s: \"%s\" does not exist or cannot be read (error 106 at the end of "
                                        "the game)"),
                                     key, native_path(path).c_str()));
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
        warnings.add(format_text(
            // TRANSLATORS: the global file, the play area's size ("800 x 600"), the screen sizes, the cards across
            // and down, a card's width and height, the gaps across and down (below 0).
            tr("%s: the cards do not fit the play area of %s pixels on a %s screen: %s x %s cards of "
                                    "%s x %s leave gaps of %d across and %d down, so cards overlap"),
                                 global.c_str(), size_text(layout.AreaWidth, layout.AreaHeight).c_str(), on.c_str(),
                                 memNumberText(game.memCardsX).c_str(), memNumberText(game.memCardsY).c_str(),
                                 memNumberText(game.memCardWidth).c_str(), memNumberText(game.memCardHeight).c_str(),
                                 static_cast<int>(layout.SpaceX), static_cast<int>(layout.SpaceY)));
    }
}

// Limit groups that end the game, or never end it, by themselves.
void check_limits(const frm_MemoryGame& game, Warnings& warnings) {
    const std::string main = native_path(game.memPaths.Data + game.memGameFiles.Main);
    auto warn = [&](const char* section, int16_t condition, const std::string& effect) {
        // TRANSLATORS: the main file, [a section], the condition's value, then what it does (a text of its own).
        warnings.add(format_text(tr("%s [%s] condition: %d: %s"), main.c_str(), section, static_cast<int>(condition),
                                 effect.c_str()));
    };
    const ControlGroup* groups = game.memControl.data();
    // A player is out when the time equals the condition. Below 0 it never
    // does: the timer only shows the time, as a game may well want.
    if (groups[kGroupTimer].Active != False && groups[kGroupTimer].Condition == 0)
        warn("timer", 0,
             tr("the time counts 1, 2, 3, ... and a player is out only when it equals the condition, so the timer sets "
                "no limit, except that a try settled before the first clock tick puts the player out; give the seconds "
                "allowed, or -1 for a timer that only shows the time"));
    if (groups[kGroupCountdown].Active != False && groups[kGroupCountdown].Condition <= 0)
        warn("countdown", groups[kGroupCountdown].Condition,
             tr("the countdown starts there, so every player is out at the first test: the first clock tick puts the "
                "player whose turn it is out and ends a one-player game; give the seconds allowed"));
    if (groups[kGroupTriesMade].Active != False && groups[kGroupTriesMade].Condition <= 0)
        warn("tries made", groups[kGroupTriesMade].Condition,
             tr("no tries made already reach it, so every player is out at the first test: the first try ends a "
                "one-player game; give the number of tries allowed"));
    if (groups[kGroupTriesLeft].Active != False && groups[kGroupTriesLeft].Condition <= 0)
        warn("tries left", groups[kGroupTriesLeft].Condition,
             tr("the tries left start there, so every player is out at the first test: the first try ends a "
                "one-player game; give the number of tries allowed"));
}

CheckResult run_game(const CheckOptions& options) {
    CheckResult result;
    HeadlessPlatform platform;
    platform.program_directory = options.program_dir;
    platform.system_directory = options.system_dir;
    platform.screen_info = ScreenInfo{options.screen_width, options.screen_height, 15};
    Program program(platform);
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
            // TRANSLATORS: %apppath% and %gamepath% are written in definitions as they are: keep them.
            return format_text(tr("%%apppath%% is the program's directory, %1$s, not the definition's: the missing files "
                                  "lie under %2$s (did you mean to run it with --program-dir %2$s? To play the game "
                                  "where it lies, write %%gamepath%% for %%apppath%%)"),
                               options.program_dir.c_str(), dir.string().c_str());
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

const char* const kUsage = tr_later(
    // TRANSLATORS: the words "error N:", "warning:" and "hint:" start the lines memory-check
    // prints and stay English; so do the options and %apppath%, %windows%.
    // xgettext:no-c-format
    "usage: memory-check [options] DEFINITION|PACKAGE.memorygame\n"
    "\n"
    "Reads a game definition (the file given to memory, e.g. games/mine/mine.ini) or a\n"
    "game package as the game does, answers OK to every message, and prints every\n"
    "problem, one a line:\n"
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
    "With debug=1 in the definition the game's trace goes to memory.log, as the game writes it.\n");

bool parse_screen(const std::string& text, int& width, int& height) {
    // Without an x, x is npos: no width ends there, so the text is refused below.
    const size_t x = text.find_first_of("xX");
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

int read_tool_arguments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const char* name,
                        const char* usage, std::map<std::string, TakeValue> values,
                        const std::map<std::string, bool*>& switches, std::string& definition,
                        std::string& program_dir, std::string& system_dir) {
    auto usage_error = [&](const std::string& message) { err << name << ": " << message << "\n" << usage; return 2; };
    values.emplace("--program-dir", [&](const std::string& value) { program_dir = value; return std::string(); });
    values.emplace("--system-dir", [&](const std::string& value) { system_dir = value; return std::string(); });
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << usage;
            return 0;
        } else if (switches.count(arg)) {
            *switches.at(arg) = true;
        } else if (values.count(arg)) {
            if (i + 1 >= args.size()) return usage_error(format_text(tr("%s needs a value"), arg.c_str()));
            if (const std::string error = values.at(arg)(args[++i]); !error.empty()) return usage_error(error);
        } else if (arg.rfind("-", 0) == 0) {
            return usage_error(format_text(tr("unknown option %s"), arg.c_str()));
        } else if (definition.empty()) {
            definition = arg;
        } else {
            return usage_error(tr("one definition file at a time"));
        }
    }
    if (definition.empty()) return usage_error(tr("no definition file given"));
    // Relative to where the author is, not to the program directory as the game takes it.
    definition = std::filesystem::absolute(native_path(definition)).string();
    if (!system_dir.empty() && !memEndsWithSeparator(system_dir)) system_dir += "/";
    return -1;
}

int memory_check_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& default_program_dir, const std::string& default_system_dir) {
    CheckOptions options{.program_dir = default_program_dir, .system_dir = default_system_dir};
    bool warnings_as_errors = false;
    auto screen = [&](const std::string& value) -> std::string {
        if (parse_screen(value, options.screen_width, options.screen_height)) return "";
        return tr("--screen wants WIDTHxHEIGHT, e.g. 800x600");
    };
    const int status = read_tool_arguments(args, out, err, "memory-check", tr(kUsage), {{"--screen", screen}},
                                           {{"--warnings-as-errors", &warnings_as_errors}}, options.definition,
                                           options.program_dir, options.system_dir);
    if (status >= 0) return status;
    while (options.program_dir.size() > 1 && memEndsWithSeparator(options.program_dir)) options.program_dir.pop_back();

    // A package is checked as the game plays it: unpacked, reading only its own files.
    const std::string named = options.definition;
    if (package::is_package_name(named)) {
        const package::Unpacked unpacked = package::unpack(named, package::default_cache_root());
        if (!unpacked.error.empty()) {
            out << "error: " << unpacked.error << "\n";
            err << format_text(tr("memory-check: %s: the package is refused"), named.c_str()) << "\n";
            return 1;
        }
        options.definition = unpacked.definition;
        confine_reading_to(unpacked.folder);
    }
    const CheckResult result = check_definition(options);
    confine_reading_to("");
    int errors = 0, warnings = 0;
    for (const Problem& problem : result.problems) {
        out << format_problem(problem) << "\n";
        if (problem.kind == Problem::Kind::Error) ++errors;
        if (problem.kind == Problem::Kind::Warning) ++warnings;
    }
    // TRANSLATORS: the definition file, then the count of errors and of warnings (texts of their own).
    err << format_text(tr("memory-check: %1$s: %2$s, %3$s"), named.c_str(),
                       format_text(tr_plural("%d error", "%d errors", static_cast<unsigned long>(errors)), errors).c_str(),
                       format_text(tr_plural("%d warning", "%d warnings", static_cast<unsigned long>(warnings)), warnings)
                           .c_str());
    if (result.fatal) err << " " << tr("(the game ends at the last error; later steps were not checked)");
    err << "\n";
    if (errors > 0 || (warnings_as_errors && warnings > 0)) return 1;
    return 0;
}

}  // namespace mem::check
