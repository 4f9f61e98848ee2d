#pragma once
// A game started on the headless backend and played by pointer clicks, as a
// player would: every card (and text) is clicked at its centre, and a click
// that something else in front would take is reported instead of made.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/game_window.h"
#include "app/program.h"
#include "board/geometry.h"
#include "platform/headless/headless_platform.h"

namespace mem {

struct Screen {
    int width, height;
};
inline constexpr Screen kScreens[] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}};

// The bundled games: games/NAME/NAME.ini under the source folder.
inline std::vector<std::string> bundled_games(const std::filesystem::path& source) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(source / "games")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && fs::exists(entry.path() / (name + ".ini"))) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PointerGame {
public:
    // `definition` as the game's argument, relative to `program_dir` or absolute.
    PointerGame(const std::string& program_dir, const std::string& definition, Screen screen) : name_(definition) {
        namespace fs = std::filesystem;
        system_ = fs::temp_directory_path() /
                  ("pointer-" + std::to_string(::getpid()) + "-" + std::to_string(screen.width) + "-" +
                   std::to_string(std::hash<std::string>{}(definition)));
        fs::remove_all(system_);
        fs::create_directories(system_);
        platform_.program_directory = program_dir;
        platform_.system_directory = system_.string() + "/";
        platform_.arguments = definition;
        platform_.screen_info = {screen.width, screen.height, 15};
    }
    ~PointerGame() {
        program_.reset();
        std::filesystem::remove_all(system_);
    }
    PointerGame(const PointerGame&) = delete;
    PointerGame& operator=(const PointerGame&) = delete;

    // Load and activation; false when the program ended on the way.
    bool start() {
        program_ = std::make_unique<Program>(platform_);
        try {
            program_->run();
        } catch (const ProgramEnded& ended) {
            ADD_FAILURE() << name_ << " ended at start with status " << ended.status;
            return false;
        }
        return program_->game() && program_->memStartFailed == False;
    }

    frm_MemoryGame& game() const { return *program_->game(); }
    HeadlessPlatform& platform() { return platform_; }

    // Clicks the centre of control `name`(`index`) as the pointer would.
    // Empty when it took the click; otherwise what lies in front of it.
    std::optional<std::string> click(const std::string& name, int16_t index) {
        const Control* control = platform_.find_control(name, index);
        if (!control) return "no such control";
        const int x = control->window_left() + control->width() / 2;
        const int y = control->window_top() + control->height() / 2;
        const Control* front = game().control_at(x, y);
        const bool own = front && front->index() == index &&
                         (front->name() == name || (name == "img_Card" && front->name() == "lbl_Card"));
        if (!own) {
            return front ? front->name() + "(" + std::to_string(front->index()) + ") at " + std::to_string(x) + "," +
                               std::to_string(y)
                         : std::string("nothing at ") + std::to_string(x) + "," + std::to_string(y);
        }
        if (!platform_.click_at(x, y)) return "the click was not taken";
        return std::nullopt;
    }

    // Moves the clock until nothing is in hand: no try being processed, no
    // wipe, and (for `whole_try`) no half of a text try waiting.
    bool settle(bool whole_try) {
        for (int waited = 0; waited < 30000; waited += 10) {
            const frm_MemoryGame& g = game();
            if (g.memGameOver != False) return true;
            const bool text_waits = g.memTextGame.CardChosen != False || g.memTextGame.TextChosen != False;
            if (g.memProcessing == False && g.memWiping == False && (!whole_try || !text_waits)) return true;
            platform_.advance(10);
        }
        return false;
    }

private:
    std::string name_;
    std::filesystem::path system_;
    HeadlessPlatform platform_;
    std::unique_ptr<Program> program_;
};

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

// Starts the game and plays every pair (or card and text) by the pointer;
// records a failure for each way it falls short of the good end: a refused
// click (naming what covered the card or text), a stall, a message box, the
// wrong end picture.
inline void play_to_good_end(PointerGame& run) {
    ASSERT_TRUE(run.start());
    frm_MemoryGame& g = run.game();
    ASSERT_TRUE(run.settle(true));
    const int cards = memNearest16(g.memCardCount);
    ASSERT_GT(cards, 0);
    const bool text_game = g.memInterface.TextList.Active != False;
    // The names keep the blank the definition gives them: "Player 1".
    ASSERT_FALSE(g.memPlayer.empty());
    EXPECT_TRUE(g.memPlayer[0].Name.ends_with(" 1")) << g.memPlayer[0].Name;

    // One try: two clicks, each waited for.
    int clicks = 0;
    auto play = [&](const std::string& first, int16_t a, const std::string& second, int16_t b) {
        ++clicks;
        if (auto covered = run.click(first, a)) return first + "(" + std::to_string(a) + ") covered by " + *covered;
        if (!run.settle(false)) return std::string("stalled after the first click");
        ++clicks;
        if (auto covered = run.click(second, b)) return second + "(" + std::to_string(b) + ") covered by " + *covered;
        if (!run.settle(true)) return std::string("stalled after the second click");
        return std::string();
    };

    std::string fault;
    if (text_game) {
        for (int r = 0; r < cards && fault.empty(); ++r) {
            const int16_t card = position_of(g, r), text = text_slot_of(g, r);
            ASSERT_GE(card, 0) << "card " << r;
            ASSERT_GE(text, 0) << "text " << r;
            fault = play("img_Card", card, "lbl_Text", text);
        }
    } else {
        for (int m = 0; 2 * m + 1 < cards && fault.empty(); ++m) {
            const int16_t a = position_of(g, 2 * m), b = position_of(g, 2 * m + 1);
            ASSERT_GE(a, 0) << "card " << 2 * m;
            ASSERT_GE(b, 0) << "card " << 2 * m + 1;
            fault = play("img_Card", a, "img_Card", b);
        }
    }
    EXPECT_EQ(fault, "");
    EXPECT_NE(g.memGameOver, False);
    // Every card was clicked once, and in a text game every text too.
    EXPECT_EQ(clicks, text_game ? 2 * cards : cards);
    EXPECT_EQ(g.memTurnedCards, cards);
    EXPECT_TRUE(g.pic_End.visible());
    ASSERT_TRUE(g.pic_End.picture());
    const std::string shown = g.pic_End.picture()->path();
    const std::string good = g.memInterface.EndGoodPicture;
    EXPECT_FALSE(good.empty());
    EXPECT_TRUE(shown.size() >= good.size() && shown.compare(shown.size() - good.size(), good.size(), good) == 0)
        << shown << " is not " << good;
    for (const MessageBoxRecord& box : run.platform().message_boxes)
        ADD_FAILURE() << "message box \"" << box.title << "\": " << box.text;
}

}  // namespace mem
