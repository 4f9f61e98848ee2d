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
#include "caption.h"
#include "checker.h"
#include "every_core.h"
#include "game_files.h"
#include "options.h"
#include "pack_game.h"
#include "package/package.h"
#include "picture_reader.h"
#include "sources.h"
#include "theme.h"
#include "tones.h"
#include "platform/trash.h"
#include "platform/translation.h"

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
    if (!file.flush()) throw WriteFailed{format_text(tr("cannot write %s"), path.string().c_str())};
}

void save(const std::unique_ptr<Canvas>& canvas, const fs::path& path) {
    std::string reason;
    if (!canvas || !canvas->save(path.string(), reason))
        throw WriteFailed{format_text(tr("cannot write %s: %s"), path.string().c_str(), reason.c_str())};
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

// True when `inner` is `outer` or lies inside it; both canonical.
bool lies_within(const fs::path& inner, const fs::path& outer) {
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i)
        if (i == inner.end() || *i != *o) return false;
    return true;
}

// Mended: the game's folder is never one that holds an input, nor inside
// one: replacing the game would take the pictures with it, and a folder of
// pictures would take in the game.
bool inputs_apart_from(const fs::path& target, const std::vector<std::string>& inputs, std::ostream& err) {
    std::error_code error;
    const fs::path game = fs::weakly_canonical(target, error);
    for (const std::string& input : inputs) {
        const fs::path picture = fs::weakly_canonical(fs::absolute(input), error);
        if (lies_within(picture, game)) {
            err << "memory-new: "
                << format_text(tr("\"%s\" lies inside the game's folder %s, which making the game would replace; "
                                  "choose another name or --output"),
                               input.c_str(), target.string().c_str())
                << "\n";
            return false;
        }
        if (lies_within(game, picture)) {
            err << "memory-new: "
                << format_text(tr("the game's folder %s would lie inside \"%s\", which is read for pictures; choose "
                                  "another --output"),
                               target.string().c_str(), input.c_str())
                << "\n";
            return false;
        }
    }
    return true;
}

// The pictures of the game, read, with the board and the text list they make.
struct Chosen {
    std::vector<SourcePicture> pictures;
    std::vector<ReadPicture> read;
    size_t board = 0;  // pairs a game (cards in a text game)
    const char* why = "";  // why not more: a sentence of its own, or empty
    BoardPlan plan;
    FaceSize face;
    TextListPlan text_list;
};

// Reads every file of the inputs, each once and only as large as the cards
// need, and plans the board; false, said on `err`, when they make no game.
// Every picture becomes a card; with more than a board's pairs each game
// deals its pairs from all of them.
bool choose_pictures(const Options& options, Fonts& fonts, std::ostream& err, Chosen& chosen) {
    const bool text_game = options.kind == GameKind::Text;
    std::vector<SourcePicture> candidates = find_pictures(options.inputs, options.recursive, err);
    if (text_game) number_equal_captions(candidates, err);
    const int groups = static_cast<int>(panel_groups(options).size());
    // The pairs a game deals from `pictures`, with the list planned for them;
    // 0 when the names do not fit it.
    auto board_for = [&](const std::vector<SourcePicture>& pictures) -> size_t {
        const size_t board = std::min<size_t>(pictures.size(), options.pairs > 0 ? options.pairs : kMostPairs);
        chosen.why = options.pairs > 0 ? "" : tr("(a board holds at most 18 pairs)");
        if (!text_game) return board;
        // Any of the names may be dealt: the widest must fit the column.
        std::vector<std::string> texts;
        for (const SourcePicture& picture : pictures) texts.push_back(plain_text(picture.caption));
        auto fits = [&](size_t count) { return plan_text_list(fonts, groups, texts, count, chosen.text_list); };
        size_t count = board;
        while (count > 2 && !fits(count)) --count;
        if (count < board) chosen.why = tr("(the list beside the board holds no more names)");
        return fits(count) ? count : 0;
    };
    auto plan_for = [&](size_t board) {
        return board >= 2 && plan_board(static_cast<int>(board) * (text_game ? 1 : 2), chosen.plan);
    };
    auto read_all = [&](const std::vector<SourcePicture>& pictures) {
        std::vector<std::string> paths;
        for (const SourcePicture& picture : pictures) paths.push_back(picture.path);
        return read_pictures(paths, chosen.face.room_width, chosen.face.room_height);
    };

    if (plan_for(board_for(candidates))) chosen.face = face_size(chosen.plan);
    std::vector<ReadPicture> read = read_all(candidates);
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!read[i].picture) {
            err << "memory-new: "
                << format_text(tr("skipped \"%s\": not a picture it can read (%s)"), candidates[i].path.c_str(),
                               read[i].error.c_str())
                << "\n";
            continue;
        }
        chosen.pictures.push_back(candidates[i]);
        chosen.read.push_back(std::move(read[i]));
    }
    const std::vector<SourcePicture>& pictures = chosen.pictures;
    if (pictures.size() < 2) {
        err << "memory-new: "
            << format_text(tr_plural("%zu usable picture; a game needs at least 2",
                                     "%zu usable pictures; a game needs at least 2", pictures.size()),
                           pictures.size())
            << "\n";
        return false;
    }
    chosen.board = board_for(pictures);
    if (chosen.board == 0) {
        err << "memory-new: " << tr("the list of names does not fit beside the board") << "\n";
        return false;
    }
    if (!plan_for(chosen.board)) {
        err << "memory-new: "
            << format_text(tr_plural("%zu picture does not fit on the board", "%zu pictures do not fit on the board",
                                     chosen.board),
                           chosen.board)
            << "\n";
        return false;
    }
    // Files that were no pictures leave larger cards: read again at their size.
    const FaceSize face = face_size(chosen.plan);
    if (face.room_width > chosen.face.room_width || face.room_height > chosen.face.room_height) {
        chosen.face = face;
        chosen.read = read_all(pictures);
        for (size_t i = 0; i < pictures.size(); ++i) {
            if (!chosen.read[i].picture) {
                err << "memory-new: "
                    << format_text(tr("cannot read %s again: %s"), pictures[i].path.c_str(), chosen.read[i].error.c_str())
                    << "\n";
                return false;
            }
        }
    }
    chosen.face = face;
    for (size_t i = 0; i < pictures.size(); ++i) {
        // On a board shown at its own size, the photo would be enlarged.
        const ReadPicture& picture = chosen.read[i];
        if (picture.width * 2 < face.room_width && picture.height * 2 < face.room_height)
            err << "memory-new: "
                << format_text(tr("\"%s\" is %d x %d pixels, smaller than the card's photo (%d x %d): it is enlarged "
                                  "and looks blurred"),
                               pictures[i].path.c_str(), static_cast<int>(picture.width), static_cast<int>(picture.height),
                               static_cast<int>(face.room_width / 2), static_cast<int>(face.room_height / 2))
                << "\n";
    }
    return true;
}

int make_game(const Options& options, std::ostream& out, std::ostream& err, const Environment& environment) {
    const Theme& theme = *find_theme(options.theme);
    const fs::path output = fs::absolute(options.output).lexically_normal();
    const fs::path target = output / options.name;
    std::error_code error;
    if (!inputs_apart_from(target, options.inputs, err)) return 1;
    if (fs::exists(target, error) && !options.force) {
        err << "memory-new: " << format_text(tr("%s exists already; --force replaces it"), target.string().c_str()) << "\n";
        return 1;
    }
    const std::string folder = target.string() + "/";
    if (folder.find('"') != std::string::npos) {
        err << "memory-new: "
            << format_text(tr("the game's folder %s holds a double quote, which a definition cannot name"), folder.c_str())
            << "\n";
        return 1;
    }

    SdlLibraries libraries;
    Fonts fonts;
    if (!libraries.ok() || !fonts.ok() || !fonts.get(12)) {
        err << "memory-new: " << tr("no font to draw with: install fonts-dejavu-core") << "\n";
        return 1;
    }

    const bool text_game = options.kind == GameKind::Text;
    Chosen chosen;
    if (!choose_pictures(options, fonts, err, chosen)) return 1;
    const std::vector<SourcePicture>& pictures = chosen.pictures;
    const BoardPlan& plan = chosen.plan;
    const FaceSize& face = chosen.face;
    const size_t board = chosen.board, found = pictures.size();
    if (options.pairs > 0 && static_cast<size_t>(options.pairs) > found)
        err << "memory-new: "
            << format_text(tr_plural("--pairs %1$d but only %2$zu picture", "--pairs %1$d but only %2$zu pictures", found),
                           static_cast<int>(options.pairs), found)
            << "\n";
    if (board < found)
        // TRANSLATORS: the pictures found, then the cards (or pairs) a game deals of them.
        out << format_text(text_game ? tr("%zu pictures, %zu cards a game, dealt at random")
                                     : tr("%zu pictures, %zu pairs a game, dealt at random"),
                           found, board)
            << (*chosen.why ? " " : "") << chosen.why << "\n";
    const bool captions = options.captions && !text_game;

    std::string speech;
    if (options.speak) {
        speech = find_program(environment.speech_program);
        if (speech.empty())
            err << "memory-new: "
                << format_text(tr("--speak needs %s, which is not installed (sudo apt-get install espeak-ng); the cards "
                                  "are made without spoken names"),
                               environment.speech_program.c_str())
                << "\n";
    }

    // Made in a folder of its own beside the target, which it replaces only when whole.
    fs::create_directories(output, error);
    const fs::path making = output / ("." + options.name + ".making-" + std::to_string(getpid()));
    fs::remove_all(making, error);
    try {
        for (const char* sub : {"gfx", "cards", "sfx", "data"})
            if (!fs::create_directories(making / sub, error))
                throw WriteFailed{format_text(tr("cannot make %s"), (making / sub).string().c_str())};
        const fs::path gfx = making / "gfx", cards = making / "cards", sfx = making / "sfx";
        const std::string title = caption_of(options.name + ".");
        for (int row = 0; row < kScreenRows; ++row)
            if (plan.boards[row])
                save(draw_background(fonts, theme, screen_width(row), screen_height(row), title, options.players),
                     gfx / ("bg" + std::to_string(screen_width(row)) + ".png"));
        if (options.kind != GameKind::Match)
            save(draw_card_back(theme, plan.card_width, plan.card_height), gfx / "back.png");
        for (const PanelGroup& group : panel_groups(options)) save(draw_panel(fonts, theme, group.caption), gfx / group.picture);
        const DrawnWords words = drawn_words();
        save(draw_quit(fonts, theme, words), gfx / "quit.png");
        save(draw_player(theme), gfx / "player.png");
        save(draw_end(fonts, theme, true, words), gfx / "good.png");
        save(draw_end(fonts, theme, false, words), gfx / "bad.png");

        const std::pair<Tone, const char*> tones[] = {{Tone::Turn, "turn.wav"}, {Tone::Match, "match.wav"},
                                                      {Tone::NoMatch, "nomatch.wav"}, {Tone::Good, "good.wav"},
                                                      {Tone::Bad, "bad.wav"}, {Tone::Click, "click.wav"}};
        for (const auto& [tone, file] : tones) write_file(sfx / file, wave_file(synthesise(tone)));

        // Captions are written first, one font at a time; faces are drawn on every core.
        CaptionWriter writer(fonts);
        std::vector<std::unique_ptr<Canvas>> caption_pictures(pictures.size());
        if (captions)
            for (size_t i = 0; i < pictures.size(); ++i)
                caption_pictures[i] =
                    writer.write(plain_text(pictures[i].caption), face.room_width, face.caption_pixels, theme.ink);
        auto stem = [](size_t i) { return "card" + two_digits(static_cast<int>(i) + 1); };
        std::vector<std::string> unsaved(pictures.size());
        on_every_core(pictures.size(), [&](size_t i) {
            std::string reason;
            const std::unique_ptr<Canvas> card =
                draw_card_face(theme, *chosen.read[i].picture, face, caption_pictures[i].get());
            const fs::path path = cards / (stem(i) + ".png");
            if (!card || !card->save(path.string(), reason))
                unsaved[i] = format_text(tr("cannot write %s: %s"), path.string().c_str(), reason.c_str());
        });
        for (const std::string& failed : unsaved)
            if (!failed.empty()) throw WriteFailed{failed};

        std::vector<CardEntry> entries;
        for (size_t i = 0; i < pictures.size(); ++i) {
            const SourcePicture& source = pictures[i];
            CardEntry entry{source.caption, stem(i) + ".png", ""};
            if (!speech.empty() && speak(speech, source.caption, cards / (stem(i) + ".wav"))) {
                entry.sound = stem(i) + ".wav";
            } else if (!speech.empty()) {
                err << "memory-new: "
                    << format_text(tr("%s could not speak \"%s\""), speech.c_str(), source.caption.c_str()) << "\n";
            }
            if (entry.sound.empty() && !source.sound.empty()) {
                if (!fs::copy_file(source.sound, cards / (stem(i) + ".wav"), error))
                    throw WriteFailed{
                        format_text(tr("cannot copy %s: %s"), source.sound.c_str(), error.message().c_str())};
                entry.sound = stem(i) + ".wav";
            }
            entries.push_back(entry);
        }

        // The definition names its folders from its own place, so the game plays wherever it is copied.
        const GameText text = game_text(options, theme, "%gamepath%", plan, entries, chosen.text_list);
        write_file(making / (options.name + ".ini"), text.definition);
        write_file(making / "data" / "main.ini", text.main);
        write_file(making / "data" / "global.ini", text.global);
        write_file(making / "data" / "cards.txt", text.cards);
        if (text_game) write_file(making / "data" / "words.txt", text.list);

        // Mended: the game replaced goes to the desktop's trash, never deleted.
        std::string reason;
        if (fs::exists(fs::symlink_status(target, error))) {
            if (!move_to_trash(target, reason))
                throw WriteFailed{format_text(tr("cannot move the old %s to the trash (%s); it is left as it was"),
                                              target.string().c_str(), reason.c_str())};
            out << format_text(tr("Moved the old %s to the trash."), target.string().c_str()) << "\n";
        }
        fs::rename(making, target, error);
        if (error)
            throw WriteFailed{
                format_text(tr("cannot move the game to %s: %s"), target.string().c_str(), error.message().c_str())};
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
    // TRANSLATORS: the game's folder, the pairs (cards and names), the cards across and down, a card's size.
    out << format_text(text_game ? tr_plural("Made %1$s: %2$zu card and name, %3$d x %4$d cards of %5$d x %6$d pixels",
                                             "Made %1$s: %2$zu cards and names, %3$d x %4$d cards of %5$d x %6$d pixels",
                                             board)
                                 : tr_plural("Made %1$s: %2$zu pair, %3$d x %4$d cards of %5$d x %6$d pixels",
                                             "Made %1$s: %2$zu pairs, %3$d x %4$d cards of %5$d x %6$d pixels", board),
                       target.string().c_str(), board, static_cast<int>(plan.cards_x), static_cast<int>(plan.cards_y),
                       static_cast<int>(plan.card_width), static_cast<int>(plan.card_height));
    if (boards < kScreenRows) {
        int largest = 0;
        for (int row = 0; row < kScreenRows; ++row)
            if (plan.boards[row]) largest = row;
        out << " "
            << format_text(tr("(larger screens show the %d x %d board scaled up: the cards would be smaller on a larger "
                              "one)"),
                           static_cast<int>(screen_width(largest)), static_cast<int>(screen_height(largest)));
    }
    out << ".\n" << tr("Pictures used:") << "\n";
    for (size_t i = 0; i < pictures.size(); ++i)
        out << "  "
            // TRANSLATORS: a card's picture file, its caption, the picture it was made of.
            << format_text(tr("%s \"%s\" from %s"), ("card" + two_digits(static_cast<int>(i) + 1) + ".png").c_str(),
                           pictures[i].caption.c_str(), pictures[i].path.c_str())
            << "\n";
    out << format_text(tr("Play it with: memory %s"), check.definition.c_str()) << "\n";
    if (!options.pack) return 0;
    pack::PackOptions packing;
    packing.definition = check.definition;
    packing.output = target.string() + package::kExtension;
    packing.program_dir = check.program_dir;
    packing.system_dir = check.system_dir;
    return pack::pack_game(packing, out, err);
}

}  // namespace

int memory_new_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const Environment& environment) {
    std::string error;
    const std::optional<Options> options = parse_options(args, error);
    if (!options) {
        err << "memory-new: " << error << "\n" << tr(kUsage);
        return 2;
    }
    if (options->help) {
        out << tr(kUsage);
        return 0;
    }
    return make_game(*options, out, err, environment);
}

}  // namespace mem::make
