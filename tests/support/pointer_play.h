#pragma once
// A game on the headless backend played by pointer clicks at the centre of each card and text, as a player would.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/geometry.h"
#include "platform/screen_fit.h"
#include "support/folder_fixtures.h"

namespace mem {

using Screen = Size;
inline constexpr auto kScreens = kScreenSizes;

// The bundled games: games/NAME/NAME.ini under the source folder.
inline std::vector<std::string> bundled_games(const std::filesystem::path& source) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(source / "games")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && std::filesystem::exists(entry.path() / (name + ".ini"))) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline int16_t position_of(const frm_MemoryGame& g, int reference) {
    for (size_t i = 0; i < g.memDisplayCard.size(); ++i)
        if (memNearest16(g.memDisplayCard[i].Reference) == reference) return static_cast<int16_t>(i);
    return -1;
}

// The list slot showing text `reference` and not yet taken.
inline int16_t text_slot_of(const frm_MemoryGame& g, int reference) {
    const auto& display = g.memInterface.TextList.Display;
    for (size_t i = 0; i < display.size(); ++i)
        if (memNearest16(display[i].Reference) == reference && g.lbl_Text.exists(static_cast<int>(i)) &&
            g.lbl_Text[static_cast<int16_t>(i)].enabled())
            return static_cast<int16_t>(i);
    return -1;
}

class PointerGame {
public:
    // `definition` as the game's argument, relative to `program_dir` or absolute.
    PointerGame(const std::string& program_dir, const std::string& definition, Screen screen)
        : dir_(test::fresh_folder("pointer", platform_)) {
        platform_.program_directory = program_dir;
        platform_.arguments = definition;
        platform_.screen_info = {screen.width, screen.height, 15};
    }
    ~PointerGame() {
        program_.reset();
        std::filesystem::remove_all(dir_);
    }

    // Load and activation; false when the program ended on the way.
    bool start() {
        program_ = std::make_unique<Program>(platform_);
        if (const std::optional<int> status = test::exit_status([this] { program_->run(); })) {
            ADD_FAILURE() << "ended at start with status " << *status;
            return false;
        }
        return program_->game() && program_->memStartFailed == False;
    }
    frm_MemoryGame& game() const { return *program_->game(); }
    HeadlessPlatform& platform() { return platform_; }

    // Clicks the centre of control `name`(`index`): empty when it took the click, else what lies in front of it.
    std::string click(const std::string& name, int16_t index) {
        const Control* control = platform_.find_control(name, index);
        if (!control) return "no such control";
        const int x = control->window_left() + control->width() / 2;
        const int y = control->window_top() + control->height() / 2;
        const Control* front = game().control_at(x, y);
        if (!front) return "nothing";
        if (front->index() != index || (front->name() != name && !(name == "img_Card" && front->name() == "lbl_Card")))
            return front->name() + "(" + std::to_string(front->index()) + ")";
        return platform_.click_at(x, y) ? "" : "the click was not taken";
    }
    // Moves the clock until no preview shows, no try is processed, no wipe runs and (for `whole_try`) no half of a
    // text try waits.
    bool settle(bool whole_try) {
        for (int waited = 0; waited < 30000; waited += 10, platform_.advance(10)) {
            const frm_MemoryGame& g = game();
            const bool text_waits = whole_try && (g.memTextGame.CardChosen || g.memTextGame.TextChosen);
            if (g.memGameOver || (!g.memPreviewing && !g.memProcessing && !g.memWiping && !text_waits)) return true;
        }
        return false;
    }

private:
    HeadlessPlatform platform_;
    std::filesystem::path dir_;
    std::unique_ptr<Program> program_;
};

// Starts the game and plays every pair (or card and its text) by the pointer, each click waited for; fails on a
// covered card or text (naming what covers it), a stall, a message box or the wrong end picture.
inline void play_to_good_end(PointerGame& run) {
    ASSERT_TRUE(run.start());
    frm_MemoryGame& g = run.game();
    ASSERT_TRUE(run.settle(true));
    const int cards = memNearest16(g.memCardCount);
    const bool text_game = g.memInterface.TextList.Active != False;
    // The default names keep the blank the definition gives them: "Player 1"; an own name stands alone.
    const std::string& name = g.memPlayer.at(0).Name;
    EXPECT_TRUE(name.ends_with(" 1") || name == g.memPlayerNames[0]) << name;
    EXPECT_EQ(g.lbl_PlayerName[0].caption(), " " + name) << "the strip shows the name";
    const int tries = text_game ? cards : cards / 2;
    ASSERT_GT(tries, 0);
    for (int t = 0; t < tries; ++t) {
        const int16_t card = position_of(g, text_game ? t : 2 * t);
        const int16_t other = text_game ? text_slot_of(g, t) : position_of(g, 2 * t + 1);
        const std::string other_name = text_game ? "lbl_Text" : "img_Card";
        ASSERT_EQ(run.click("img_Card", card), "") << "img_Card(" << card << ")";
        ASSERT_TRUE(run.settle(false)) << "stalled after the first click of try " << t;
        ASSERT_EQ(run.click(other_name, other), "") << other_name << "(" << other << ")";
        ASSERT_TRUE(run.settle(true)) << "stalled after the second click of try " << t;
    }
    EXPECT_NE(g.memGameOver, False);
    EXPECT_EQ(g.memTurnedCards, cards);
    ASSERT_TRUE(g.pic_End.visible() && g.pic_End.picture());
    const std::string shown = g.pic_End.picture()->path(), good = g.memInterface.EndGoodPicture;
    EXPECT_TRUE(!good.empty() && shown.ends_with(good)) << shown << " is not " << good;
    for (const MessageBoxRecord& box : run.platform().message_boxes)
        ADD_FAILURE() << "message box \"" << box.title << "\": " << box.text;
}

}  // namespace mem
