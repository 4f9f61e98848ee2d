#include "memory_new.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "artwork.h"
#include "board_plan.h"
#include "checker.h"
#include "game_files.h"
#include "options.h"
#include "sources.h"
#include "theme.h"
#include "tones.h"

extern char** environ;

namespace mem::make {
namespace fs = std::filesystem;

namespace {

// Thrown when a file of the game cannot be written.
struct WriteFailed {
    std::string message;
};

void write_file(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    if (!file.flush()) throw WriteFailed{"cannot write " + path.string()};
}

void save(const std::unique_ptr<Canvas>& canvas, const fs::path& path) {
    std::string reason;
    if (!canvas || !canvas->save(path.string(), reason)) throw WriteFailed{"cannot write " + path.string() + ": " + reason};
}

// The full path of `program` on PATH, or empty.
std::string find_program(const std::string& program) {
    if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0 ? program : "";
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = (end > start ? dirs.substr(start, end - start) : ".") + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return "";
}

// Runs espeak-ng without a shell: the words are one argument, whatever they hold.
bool speak(const std::string& program, const std::string& words, const fs::path& wave) {
    const std::string out = wave.string();
    std::vector<std::string> args = {program, "-v", "en", "-s", "140", "-w", out, "--", words};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::exists(wave);
}

std::string two_digits(int n) {
    // Appended, not "0" + a temporary string, which GCC 12 wrongly warns about at -O3.
    std::string digits = n < 10 ? "0" : "";
    digits += std::to_string(n);
    return digits;
}

constexpr int kTextListLeftRoom = 97;
// The lowest a text label may reach on the smallest board: above the quit picture.
constexpr int kTextListBottom = 480 - 8 - kQuitHeight - 6;

// Pixels of a `points` font at the game's 96 dots an inch.
int font_pixels(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

// Line height of a label in a `points` font; the larger of what the game's
// two backends measure.
int label_height(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0 * 1.25)); }

// Below the panel's last picture; font and spacing so that `shown` of the
// texts fit above the quit picture and the widest of all fits the column.
// False when even the smallest font leaves no room for them.
bool plan_text_list(Fonts& fonts, int groups, const std::vector<std::string>& texts, size_t shown,
                    TextListPlan& plan) {
    plan.top = 64 * groups + 12;
    const int count = static_cast<int>(shown);
    for (int points = 12; points >= 7; --points) {
        int widest = 0;
        for (const std::string& text : texts)
            widest = std::max(widest, fonts.width(text, font_pixels(points)));
        if (widest > kTextListLeftRoom && points > 7) continue;
        for (int space : {6, 3, 1}) {
            if (plan.top + count * label_height(points) + (count - 1) * space <= kTextListBottom) {
                plan.font_size = points;
                plan.space = space;
                return true;
            }
        }
    }
    return false;
}

// Caption font: the largest from 10 points down in which every caption fits
// the card on one line, so that it stays on the band drawn for it.
int caption_points(Fonts& fonts, const std::vector<SourcePicture>& pictures, int card_width) {
    for (int points = 10; points > 7; --points) {
        bool fits = true;
        for (const SourcePicture& picture : pictures)
            fits = fits && fonts.width(plain_text(picture.caption), font_pixels(points)) <= card_width - 4;
        if (fits) return points;
    }
    return 7;
}

class SdlLibraries {
public:
    SdlLibraries() : ttf_(TTF_Init() == 0) {}
    ~SdlLibraries() {
        if (ttf_) TTF_Quit();
    }
    bool ok() const { return ttf_; }

private:
    bool ttf_;
};

int make_game(const Options& options, std::ostream& out, std::ostream& err, const Environment& environment) {
    const Theme& theme = *find_theme(options.theme);
    const fs::path output = fs::absolute(options.output).lexically_normal();
    const fs::path target = output / options.name;
    std::error_code error;
    if (fs::exists(target, error) && !options.force) {
        err << "memory-new: " << target.string() << " exists already; --force replaces it\n";
        return 1;
    }
    const std::string folder = target.string() + "/";
    if (folder.find('"') != std::string::npos) {
        err << "memory-new: the game's folder " << folder << " holds a double quote, which a definition cannot name\n";
        return 1;
    }

    SdlLibraries libraries;
    Fonts fonts;
    if (!libraries.ok() || !fonts.ok() || !fonts.get(12)) {
        err << "memory-new: no font to draw with: install fonts-dejavu-core\n";
        return 1;
    }

    std::vector<SourcePicture> pictures = find_pictures(options.inputs, err);
    const size_t found = pictures.size();
    if (found < 2) {
        err << "memory-new: " << found << (found == 1 ? " usable picture" : " usable pictures")
            << "; a game needs at least 2\n";
        return 1;
    }
    const bool text_game = options.kind == GameKind::Text;
    // Every picture becomes a card; with more than a board's pairs each game
    // deals its pairs from all of them.
    size_t board = std::min<size_t>(found, options.pairs > 0 ? options.pairs : kMostPairs);
    std::string why = options.pairs > 0 ? "" : " (a board holds at most 18 pairs)";
    TextListPlan text_list;
    if (text_game) {
        const int groups = static_cast<int>(panel_groups(options).size());
        // Any of the names may be dealt: the widest must fit the column.
        std::vector<std::string> texts;
        for (const SourcePicture& picture : pictures) texts.push_back(plain_text(picture.caption));
        auto fits = [&](size_t count) { return plan_text_list(fonts, groups, texts, count, text_list); };
        size_t count = board;
        while (count > 2 && !fits(count)) --count;
        if (!fits(count)) {
            err << "memory-new: the list of names does not fit beside the board\n";
            return 1;
        }
        if (count < board) why = " (the list beside the board holds no more names)";
        board = count;
    }
    if (options.pairs > 0 && static_cast<size_t>(options.pairs) > found)
        err << "memory-new: --pairs " << options.pairs << " but only " << found << " pictures\n";
    if (board < found)
        out << found << " pictures, " << board << (text_game ? " cards" : " pairs") << " a game, dealt at random"
            << why << "\n";

    BoardPlan plan;
    const int card_count = static_cast<int>(board) * (text_game ? 1 : 2);
    if (!plan_board(card_count, plan)) {
        err << "memory-new: " << card_count << " cards do not fit on the board\n";
        return 1;
    }
    const bool captions = options.captions && !text_game;
    const int points = caption_points(fonts, pictures, plan.card_width);
    const int band = captions ? label_height(points) + 4 : 0;

    std::string speech;
    if (options.speak) {
        speech = find_program(environment.speech_program);
        if (speech.empty())
            err << "memory-new: --speak needs " << environment.speech_program
                << ", which is not installed (sudo apt-get install espeak-ng); the cards are made without spoken names\n";
    }

    // Made in a folder of its own beside the target, which it replaces only when whole.
    fs::create_directories(output, error);
    const fs::path making = output / ("." + options.name + ".making-" + std::to_string(getpid()));
    fs::remove_all(making, error);
    try {
        for (const char* sub : {"gfx", "cards", "sfx", "data"})
            if (!fs::create_directories(making / sub, error)) throw WriteFailed{"cannot make " + (making / sub).string()};
        const fs::path gfx = making / "gfx", cards = making / "cards", sfx = making / "sfx";
        const std::string title = caption_of(options.name + ".");
        for (int row = 0; row < kScreenRows; ++row)
            if (plan.boards[row])
                save(draw_background(fonts, theme, screen_width(row), screen_height(row), title, options.players),
                     gfx / ("bg" + std::to_string(screen_width(row)) + ".png"));
        if (options.kind != GameKind::Match)
            save(draw_card_back(theme, plan.card_width, plan.card_height), gfx / "back.png");
        for (const PanelGroup& group : panel_groups(options)) save(draw_panel(fonts, theme, group.caption), gfx / group.picture);
        save(draw_quit(fonts, theme), gfx / "quit.png");
        save(draw_player(theme), gfx / "player.png");
        save(draw_end(fonts, theme, true), gfx / "good.png");
        save(draw_end(fonts, theme, false), gfx / "bad.png");

        const std::pair<Tone, const char*> tones[] = {{Tone::Turn, "turn.wav"}, {Tone::Match, "match.wav"},
                                                      {Tone::NoMatch, "nomatch.wav"}, {Tone::Good, "good.wav"},
                                                      {Tone::Bad, "bad.wav"}, {Tone::Click, "click.wav"}};
        for (const auto& [tone, file] : tones) write_file(sfx / file, wave_file(synthesise(tone)));

        std::vector<CardEntry> entries;
        for (size_t i = 0; i < pictures.size(); ++i) {
            const SourcePicture& source = pictures[i];
            const std::string stem = "card" + two_digits(static_cast<int>(i) + 1);
            std::string reason;
            const std::unique_ptr<Canvas> picture = load_picture(source.path, reason);
            if (!picture) throw WriteFailed{"cannot read " + source.path + " again: " + reason};
            save(draw_card_face(theme, *picture, plan.card_width, plan.card_height, captions ? band : 0),
                 cards / (stem + ".png"));
            CardEntry entry{source.caption, stem + ".png", ""};
            if (!speech.empty() && speak(speech, source.caption, cards / (stem + ".wav"))) {
                entry.sound = stem + ".wav";
            } else if (!speech.empty()) {
                err << "memory-new: " << speech << " could not speak \"" << source.caption << "\"\n";
            }
            if (entry.sound.empty() && !source.sound.empty()) {
                if (!fs::copy_file(source.sound, cards / (stem + ".wav"), error))
                    throw WriteFailed{"cannot copy " + source.sound + ": " + error.message()};
                entry.sound = stem + ".wav";
            }
            entries.push_back(entry);
        }

        const GameText text = game_text(options, theme, folder, plan, entries, points, text_list);
        write_file(making / (options.name + ".ini"), text.definition);
        write_file(making / "data" / "main.ini", text.main);
        write_file(making / "data" / "global.ini", text.global);
        write_file(making / "data" / "cards.txt", text.cards);
        if (text_game) write_file(making / "data" / "words.txt", text.list);

        if (options.force) fs::remove_all(target, error);
        fs::rename(making, target, error);
        if (error) throw WriteFailed{"cannot move the game to " + target.string() + ": " + error.message()};
    } catch (const WriteFailed& failed) {
        fs::remove_all(making, error);
        err << "memory-new: " << failed.message << "\n";
        return 1;
    }

    // The game as the game itself reads it: no message, no warning.
    check::CheckOptions check;
    check.definition = folder + options.name + ".ini";
    check.program_dir = target.string();
    check.system_dir = environment.system_dir;
    const check::CheckResult result = check::check_definition(check);
    for (const check::Problem& problem : result.problems) err << "memory-new: " << check::format_problem(problem) << "\n";
    if (!result.problems.empty()) return 1;

    int boards = 0;
    for (bool board : plan.boards) boards += board ? 1 : 0;
    out << "Made " << target.string() << ": " << board << (text_game ? " cards and names" : " pairs") << ", "
        << plan.cards_x << " x " << plan.cards_y << " cards of " << plan.card_width << " x " << plan.card_height
        << " pixels";
    if (boards < kScreenRows) {
        int largest = 0;
        for (int row = 0; row < kScreenRows; ++row)
            if (plan.boards[row]) largest = row;
        out << " (larger screens show the " << screen_width(largest) << " x " << screen_height(largest)
            << " board: more cards across or down than fit a larger one)";
    }
    out << ".\nPlay it with: memory " << check.definition << "\n";
    return 0;
}

}  // namespace

int memory_new_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const Environment& environment) {
    std::string error;
    const std::optional<Options> options = parse_options(args, error);
    if (!options) {
        err << "memory-new: " << error << "\n" << kUsage;
        return 2;
    }
    if (options->help) {
        out << kUsage;
        return 0;
    }
    return make_game(*options, out, err, environment);
}

}  // namespace mem::make
