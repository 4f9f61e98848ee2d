#pragma once
// The library: a tile for every game found, chosen by keys, pointer or
// touch, each game played as a program of its own; the library comes back
// when the game ends, with the focus on that game.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "board/focus_frame.h"
#include "library/game_finder.h"
#include "library/game_runner.h"
#include "platform/platform.h"

namespace mem::library {

// What a tile shows beside the title, made from the game's files.
struct GameLook {
    PictureRef miniature;  // null when the game has none
    std::string line;      // "memory · 2 players"
    std::string problem;   // the first error of reading the game, or empty
};

// The look of a game, or nothing when `cached_only` and it has not been
// made before.
using LookMaker = std::function<std::optional<GameLook>(const GameEntry& game, bool cached_only)>;

// The tiles on one screen of a board of `board` size: columns and rows, and
// each slot's place, at the size `scale` of the design.
struct TileLayout {
    int columns = 1;
    int rows = 1;
    double scale = 1.0;
    Rect slot(int index) const;
    int per_page() const { return columns * rows; }
    int left = 0, top = 0, width = 0, height = 0;  // of slot 0, and each slot's size
};
TileLayout tile_layout(Size board);

// The board of the library in window units: the height of the largest
// screen row that fits the display, as wide as the display's proportions.
Size library_board(Size display);

struct LibraryOptions {
    std::string program;  // this program, started with a game's definition
    bool windowed = false;
    std::string memory_new;  // the program that makes a game of pictures
    std::string own_games;   // where added games go
    // Finds the games again after one was added or removed.
    std::function<std::vector<GameEntry>()> find_games;
};

class frm_Library : public Window {
public:
    frm_Library(Platform& platform, std::vector<GameEntry> games, LookMaker looks, GameRunner& runner,
                LibraryOptions options);
    ~frm_Library() override;

    const std::vector<GameEntry>& games() const { return games_; }
    int focus() const { return focus_; }
    int first_shown() const { return first_row_ * layout_.columns; }
    // The slot's game index, or -1 for an empty slot.
    int game_at(int slot) const;

    void Form_Load();
    void Form_KeyDown(int16_t& key_code);
    void Form_KeyPress(int16_t& key_ascii);
    void Form_Drop(const std::vector<std::string>& paths);
    void tile_Click(int16_t slot);
    void tim_Game_Timer();
    void tim_Looks_Timer();

    // ---- Controls ----
    PictureBox pic_Background;
    Label lbl_Heading;
    Label lbl_Hint;
    Label lbl_Page;
    Label lbl_Empty;
    Label lbl_Status;
    ControlArray<Shape> shp_Frame;
    ControlArray<Image> img_Miniature;
    ControlArray<Label> lbl_Mark;
    ControlArray<Label> lbl_Title;
    ControlArray<Label> lbl_Line;
    FocusFrame shp_Focus;
    Timer tim_Game;
    Timer tim_Looks;

private:
    void design(Size board);
    void move_focus(int to);
    void show_page();
    void show_tile(int slot);
    void play(int game);
    void remove(int game);
    // The games found again, the focus on the one at `path` when it is there.
    void refresh(const std::string& path);
    void say(const std::string& status);
    // The look of a game once made; nothing until then.
    const GameLook* look(int game) const;

    std::vector<GameEntry> games_;
    std::vector<std::optional<GameLook>> looks_;
    std::vector<std::string> end_errors_;  // the message of the last failed end of each game
    LookMaker make_look_;
    GameRunner& runner_;
    LibraryOptions options_;
    TileLayout layout_;
    int focus_ = 0;
    int first_row_ = 0;
    int playing_ = -1;
    std::string making_;  // the game memory-new is making, while it runs
};

}  // namespace mem::library
