#include "library/library_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "library/install.h"
#include "platform/screen_fit.h"
#include "platform/trash.h"
#include "platform/translation.h"

namespace mem::library {
namespace {

constexpr Colour rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

constexpr Colour kTopColour = rgb(32, 48, 78);
constexpr Colour kBottomColour = rgb(12, 18, 34);
constexpr Colour kHeadingColour = rgb(255, 214, 102);
constexpr Colour kTitleColour = kWhite;
constexpr Colour kLineColour = rgb(168, 182, 204);
constexpr Colour kProblemColour = rgb(255, 160, 140);
constexpr Colour kFrameColour = rgb(70, 88, 122);
constexpr Colour kMarkColour = rgb(255, 90, 74);
const char* const kFontName = "DejaVu Sans";

// The design's sizes at a board 1024 units high.
constexpr int kDesignHeight = 1024;
constexpr int kMargin = 48;
constexpr int kHeader = 120;
constexpr int kFooter = 56;
constexpr int kSlotWidth = 292, kSlotHeight = 276;
constexpr int kMiniatureWidth = 256, kMiniatureHeight = 192;
constexpr int kPollMs = 100;

int scaled(int design, double scale) { return static_cast<int>(std::lround(design * scale)); }

Colour blend(Colour a, Colour b, double t) {
    auto mix = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return rgb(mix(colour_red(a), colour_red(b)), mix(colour_green(a), colour_green(b)),
               mix(colour_blue(a), colour_blue(b)));
}

}  // namespace

Size library_board(Size display) {
    const Size row = kScreenSizes[static_cast<size_t>(largest_fitting(kScreenSizes, display))];
    if (display.width <= 0 || display.height <= 0) return row;
    const int width = static_cast<int>(std::lround(static_cast<double>(row.height) * display.width / display.height));
    return {std::max(width, kScreenSizes[0].width), row.height};
}

TileLayout tile_layout(Size board) {
    TileLayout layout;
    // Smaller boards get smaller tiles, down to a size where text stays readable.
    layout.scale = std::clamp(static_cast<double>(board.height) / kDesignHeight, 0.6, 1.0);
    const double s = layout.scale;
    layout.width = scaled(kSlotWidth, s);
    layout.height = scaled(kSlotHeight, s);
    const int across = board.width - 2 * scaled(kMargin, s);
    const int down = board.height - scaled(kHeader, s) - scaled(kFooter, s);
    layout.columns = std::max(1, across / layout.width);
    layout.rows = std::max(1, down / layout.height);
    // The grid is centred across; rows start below the heading.
    layout.left = (board.width - layout.columns * layout.width) / 2;
    layout.top = scaled(kHeader, s) + (down - layout.rows * layout.height) / 2;
    return layout;
}

Rect TileLayout::slot(int index) const {
    return {left + index % columns * width, top + index / columns * height, width, height};
}

frm_Library::frm_Library(Platform& platform, std::vector<GameEntry> games, LookMaker looks, GameRunner& runner,
                         LibraryOptions options)
    : Window(platform, "frm_Library"),
      pic_Background(*this, "pic_Background"),
      lbl_Heading(*this, "lbl_Heading"),
      lbl_Hint(*this, "lbl_Hint"),
      lbl_Page(*this, "lbl_Page"),
      lbl_Empty(*this, "lbl_Empty"),
      lbl_Status(*this, "lbl_Status"),
      shp_Frame(*this, "shp_Frame"),
      img_Miniature(*this, "img_Miniature"),
      lbl_Mark(*this, "lbl_Mark"),
      lbl_Title(*this, "lbl_Title"),
      lbl_Line(*this, "lbl_Line"),
      shp_Focus(*this, "shp_Focus", nullptr),
      tim_Game(*this, "tim_Game"),
      tim_Looks(*this, "tim_Looks"),
      games_(std::move(games)),
      looks_(games_.size()),
      end_errors_(games_.size()),
      make_look_(std::move(looks)),
      runner_(runner),
      options_(std::move(options)) {
    set_caption("Memory");
    on_load = [this] { Form_Load(); };
    on_key_down = [this](int16_t& key) { Form_KeyDown(key); };
    on_key_press = [this](int16_t& key) { Form_KeyPress(key); };
    on_drop = [this](const std::vector<std::string>& paths) { Form_Drop(paths); };
    // The wheel moves the focus a row at a time, and the page with it.
    on_wheel = [this](int steps) {
        if (!runner_.running()) move_focus(focus_ - steps * layout_.columns);
    };
    img_Miniature[0].on_click = [this](int16_t slot) { tile_Click(slot); };
    lbl_Title[0].on_click = [this](int16_t slot) { tile_Click(slot); };
    lbl_Line[0].on_click = [this](int16_t slot) { tile_Click(slot); };
    tim_Game.on_tick = [this] { tim_Game_Timer(); };
    tim_Looks.on_tick = [this] { tim_Looks_Timer(); };
}

frm_Library::~frm_Library() { platform().forget(*this); }

void frm_Library::Form_Load() {
    const ScreenInfo screen = platform().screen();
    const Size board = library_board({screen.width, screen.height});
    layout_ = tile_layout(board);
    design(board);
    set_board(&pic_Background);
    // Cached looks show on the first screen; the others are made one at a
    // time afterwards, so the library answers at once.
    for (int slot = 0; slot < layout_.per_page() && slot < static_cast<int>(games_.size()); ++slot)
        looks_[static_cast<size_t>(slot)] = make_look_(games_[static_cast<size_t>(slot)], true);
    show_page();
}

void frm_Library::design(Size board) {
    const double s = layout_.scale;
    set_back_color(kBottomColour);
    // A gradient from the top down, in bands drawn on the background.
    constexpr int kBands = 48;
    const int band = board.height / kBands + 1;
    pic_Background.set_bounds(0, 0, board.width, board.height);
    pic_Background.clear_lines();
    pic_Background.set_draw_width(band + 1);
    for (int i = 0; i < kBands; ++i) {
        pic_Background.set_draw_color(blend(kTopColour, kBottomColour, static_cast<double>(i) / (kBands - 1)));
        const int y = i * band + band / 2;
        pic_Background.line(-band, y, board.width + band, y);
    }

    auto text = [&](Label& label, float points, bool bold, Colour colour) {
        label.set_font(make_font(kFontName, static_cast<float>(points * s), bold));
        label.set_fore_color(colour);
        label.set_transparent(true);
    };
    text(lbl_Heading, 30, true, kHeadingColour);
    lbl_Heading.set_caption("Memory");
    lbl_Heading.set_bounds(scaled(kMargin, s), scaled(36, s), scaled(400, s), scaled(56, s));
    text(lbl_Hint, 12, false, kLineColour);
    lbl_Hint.set_caption(tr("Arrows choose a game · Return plays it · Escape ends"));
    lbl_Hint.set_alignment(Alignment::Right);
    lbl_Hint.set_bounds(board.width / 2, scaled(56, s), board.width / 2 - scaled(kMargin, s), scaled(24, s));
    text(lbl_Page, 11, false, kLineColour);
    lbl_Page.set_alignment(Alignment::Right);
    lbl_Page.set_bounds(board.width / 2, board.height - scaled(kFooter, s) + scaled(14, s),
                        board.width / 2 - scaled(kMargin, s), scaled(24, s));
    text(lbl_Status, 11, false, kHeadingColour);
    lbl_Status.set_bounds(scaled(kMargin, s), board.height - scaled(kFooter, s) + scaled(14, s),
                          board.width / 2 - scaled(kMargin, s), scaled(24, s));
    text(lbl_Empty, 14, false, kLineColour);
    lbl_Empty.set_word_wrap(true);
    lbl_Empty.set_bounds(scaled(kMargin, s), scaled(kHeader + 20, s), board.width - 2 * scaled(kMargin, s),
                         scaled(120, s));
    lbl_Empty.set_caption(tr("No games were found. Games are folders with a definition file, in the bundled games "
                             "and in ~/.local/share/memory/games."));
    lbl_Empty.set_visible(games_.empty());

    text(lbl_Title[0], 13, true, kTitleColour);
    text(lbl_Line[0], 10.5f, false, kLineColour);
    lbl_Line[0].set_word_wrap(true);
    text(lbl_Mark[0], 22, true, kMarkColour);
    lbl_Mark[0].set_caption("⚠");
    shp_Frame[0].set_border_color(kFrameColour);
    img_Miniature[0].set_stretch(true);
    const int w = scaled(kMiniatureWidth, s), h = scaled(kMiniatureHeight, s);
    const int inset = (layout_.width - w) / 2;
    for (int16_t slot = 0; slot < layout_.per_page(); ++slot) {
        const Rect r = layout_.slot(slot);
        shp_Frame.create(slot).set_bounds(r.left + inset - 1, r.top - 1, w + 2, h + 2);
        img_Miniature.create(slot).set_bounds(r.left + inset, r.top, w, h);
        lbl_Mark.create(slot).set_bounds(r.left + inset + scaled(8, s), r.top + scaled(4, s), scaled(40, s),
                                         scaled(40, s));
        lbl_Title.create(slot).set_bounds(r.left + inset, r.top + h + scaled(10, s), w, scaled(24, s));
        lbl_Line.create(slot).set_bounds(r.left + inset, r.top + h + scaled(36, s), w, scaled(36, s));
    }
    tim_Game.set_interval(kPollMs);
    tim_Looks.set_interval(1);
}

int frm_Library::game_at(int slot) const {
    const int game = first_shown() + slot;
    return slot >= 0 && slot < layout_.per_page() && game < static_cast<int>(games_.size()) ? game : -1;
}

const GameLook* frm_Library::look(int game) const {
    const auto& made = looks_[static_cast<size_t>(game)];
    return made ? &*made : nullptr;
}

void frm_Library::show_page() {
    bool missing = false;
    for (int16_t slot = 0; slot < layout_.per_page(); ++slot) {
        show_tile(slot);
        const int game = game_at(slot);
        missing = missing || (game >= 0 && !look(game));
    }
    tim_Looks.set_enabled(missing);
    const int count = static_cast<int>(games_.size());
    const int last = std::min(count, first_shown() + layout_.per_page());
    lbl_Page.set_caption(count > layout_.per_page()
                             // TRANSLATORS: the games shown on this page of the library, of all.
                             ? format_text(tr_plural("%1$d–%2$d of %3$d game", "%1$d–%2$d of %3$d games",
                                                     static_cast<unsigned long>(count)),
                                           first_shown() + 1, last, count)
                             : "");
    if (game_at(focus_ - first_shown()) >= 0) {
        const Rect r = img_Miniature[static_cast<int16_t>(focus_ - first_shown())].window_rect();
        shp_Focus.show_around(r.left, r.top, r.width, r.height);
    } else {
        shp_Focus.hide();
    }
}

// Shortens a text with "…" until it fits the label in its font: its width,
// and when it wraps, its height (a word at a time then).
static std::string fitted(Platform& platform, const Label& label, std::string text) {
    const int wrap = label.word_wrap() ? label.width() : 0;
    auto fits = [&](const std::string& t) {
        const Size size = platform.measure_text(*label.font(), t, wrap);
        return size.width <= label.width() && (!wrap || size.height <= label.height());
    };
    if (fits(text)) return text;
    while (!text.empty()) {
        const size_t blank = wrap ? text.find_last_of(' ') : std::string::npos;
        if (blank != std::string::npos && blank > 0) {
            text.erase(blank);
        } else {
            do text.pop_back();
            while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80);
        }
        if (fits(text + "…")) break;
    }
    return text + "…";
}

void frm_Library::show_tile(int slot) {
    const int16_t i = static_cast<int16_t>(slot);
    const int game = game_at(slot);
    for (Control* c : std::initializer_list<Control*>{&shp_Frame[i], &img_Miniature[i], &lbl_Title[i], &lbl_Line[i]})
        c->set_visible(game >= 0);
    if (game < 0) {
        lbl_Mark[i].set_visible(false);
        return;
    }
    const GameEntry& entry = games_[static_cast<size_t>(game)];
    const GameLook* made = look(game);
    std::string problem = end_errors_[static_cast<size_t>(game)];
    if (problem.empty()) problem = entry.problem;
    if (problem.empty() && made) problem = made->problem;
    img_Miniature[i].set_picture(made ? made->miniature : nullptr);
    lbl_Title[i].set_caption(fitted(platform(), lbl_Title[i], entry.title));
    lbl_Line[i].set_fore_color(problem.empty() ? kLineColour : kProblemColour);
    lbl_Line[i].set_caption(fitted(platform(), lbl_Line[i], problem.empty() ? (made ? made->line : "") : problem));
    lbl_Mark[i].set_visible(!problem.empty());
    lbl_Title[i].set_fore_color(game == focus_ ? kHeadingColour : kTitleColour);
    shp_Frame[i].set_border_color(problem.empty() ? kFrameColour : kMarkColour);
}

void frm_Library::move_focus(int to) {
    const int count = static_cast<int>(games_.size());
    if (count == 0) return;
    focus_ = std::clamp(to, 0, count - 1);
    const int row = focus_ / layout_.columns;
    if (row < first_row_) first_row_ = row;
    if (row >= first_row_ + layout_.rows) first_row_ = row - layout_.rows + 1;
    show_page();
}

void frm_Library::Form_KeyDown(int16_t& key_code) {
    if (runner_.running()) return;  // the game has the players' attention
    const int count = static_cast<int>(games_.size());
    const int page = layout_.per_page();
    switch (key_code) {
        case kKeyLeft: move_focus(focus_ - 1); break;
        case kKeyRight: move_focus(focus_ + 1); break;
        case kKeyUp: if (focus_ >= layout_.columns) move_focus(focus_ - layout_.columns); break;
        case kKeyDown: if (focus_ + layout_.columns < count) move_focus(focus_ + layout_.columns); break;
        case kKeyTab: move_focus(count ? (focus_ + 1) % count : 0); break;
        case kKeyPageUp: move_focus(focus_ - page); break;
        case kKeyPageDown: move_focus(focus_ + page); break;
        case kKeyHome: move_focus(0); break;
        case kKeyEnd: move_focus(count - 1); break;
        case kKeyReturn:
        case kKeySpace: play(focus_); break;
        case kKeyDelete: remove(focus_); break;
        default: break;
    }
}

void frm_Library::Form_KeyPress(int16_t& key_ascii) {
    // Escape, or the window manager's close: the library ends, a game it
    // started plays on.
    if (key_ascii == kKeyEscape) platform().end_program(kExitNormal);
}

void frm_Library::tile_Click(int16_t slot) {
    const int game = game_at(slot);
    if (game < 0 || runner_.running()) return;
    move_focus(game);
    play(game);
}

void frm_Library::play(int game) {
    if (game < 0 || game >= static_cast<int>(games_.size())) return;
    const GameEntry& entry = games_[static_cast<size_t>(game)];
    // A game that cannot be read keeps its tile and its message.
    if (!entry.problem.empty()) return;
    std::vector<std::string> arguments{options_.program};
    if (options_.windowed) arguments.push_back("--window");
    arguments.push_back(entry.package ? entry.path : entry.definition);
    std::string error;
    end_errors_[static_cast<size_t>(game)].clear();
    if (!runner_.start(arguments, error)) {
        end_errors_[static_cast<size_t>(game)] = format_text(tr("The game could not be started: %s"), error.c_str());
    } else {
        playing_ = game;
        tim_Game.set_enabled(true);
    }
    show_page();
}

void frm_Library::tim_Game_Timer() {
    const std::optional<GameEnd> end = runner_.poll();
    if (!end) {
        // memory-new's own lines are the progress of a game being made.
        if (!making_.empty() && !runner_.last_line().empty()) say(runner_.last_line());
        return;
    }
    tim_Game.set_enabled(false);
    if (!making_.empty()) {
        const std::string made = std::exchange(making_, "");
        if (end->failed) say(format_text(tr("The game could not be made: %s"), end->message.c_str()));
        else refresh(made);
        return;
    }
    if (end->failed) end_errors_[static_cast<size_t>(playing_)] = end->message;
    move_focus(playing_);
    playing_ = -1;
    // The library comes to the front again.
    platform().show(*this);
}

void frm_Library::say(const std::string& status) { lbl_Status.set_caption(status); }

void frm_Library::refresh(const std::string& path) {
    if (!options_.find_games) return;
    games_ = options_.find_games();
    looks_.assign(games_.size(), std::nullopt);
    end_errors_.assign(games_.size(), "");
    lbl_Empty.set_visible(games_.empty());
    int found = std::min(focus_, static_cast<int>(games_.size()) - 1);
    for (size_t i = 0; i < games_.size(); ++i)
        if (games_[i].path == path) found = static_cast<int>(i);
    first_row_ = 0;
    move_focus(std::max(found, 0));
    show_page();
}

void frm_Library::Form_Drop(const std::vector<std::string>& paths) {
    if (runner_.running()) {
        say(tr("A game is running: drop the files again when it has ended."));
        return;
    }
    const InstallPlan plan = plan_install(paths);
    std::string error;
    if (plan.kind != InstallPlan::Kind::Pictures) {
        const std::string installed = copy_game(plan, options_.own_games, error);
        say(installed.empty() ? error : format_text(tr("Added “%s” to your games."), plan.name.c_str()));
        if (!installed.empty()) refresh(installed);
        return;
    }
    // memory-new makes the game as a program of its own; the library waits for it.
    const std::vector<std::string> command = memory_new_command(plan, options_.memory_new, options_.own_games);
    if (!runner_.start(command, error)) {
        say(format_text(tr("The game could not be made: %s"), error.c_str()));
        return;
    }
    making_ = options_.own_games + "/" + command[3];
    say(format_text(tr("Making the game “%s” from the pictures …"), command[3].c_str()));
    tim_Game.set_enabled(true);
}

void frm_Library::remove(int game) {
    if (game < 0 || game >= static_cast<int>(games_.size())) return;
    const GameEntry& entry = games_[static_cast<size_t>(game)];
    if (!entry.own) {
        say(format_text(tr("“%s” came with the program and cannot be removed."), entry.title.c_str()));
        return;
    }
    const std::string question =
        format_text(tr("Move “%s” to the trash?"), entry.title.c_str()) + "\r\r" + tr("It can be put back from there.");
    if (platform().message_box(question, kStyleCriticalOkCancel, "Memory") != kAnswerOk) return;
    std::string error;
    if (!move_to_trash(entry.path, error)) {
        say(format_text(tr("“%s” cannot be moved to the trash: %s"), entry.title.c_str(), error.c_str()));
        return;
    }
    say(format_text(tr("“%s” is in the trash."), entry.title.c_str()));
    refresh("");
}

void frm_Library::tim_Looks_Timer() {
    for (int slot = 0; slot < layout_.per_page(); ++slot) {
        const int game = game_at(slot);
        if (game < 0 || look(game)) continue;
        looks_[static_cast<size_t>(game)] = make_look_(games_[static_cast<size_t>(game)], false);
        show_tile(slot);
        return;
    }
    tim_Looks.set_enabled(false);
}

}  // namespace mem::library
