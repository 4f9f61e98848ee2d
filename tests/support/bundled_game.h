#pragma once
// A bundled game (games/NAME/NAME.ini under the source folder) run on the
// headless backend at a given screen size, with the helpers the tests that
// play it to its end share.
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

namespace mem::test {

namespace fs = std::filesystem;

struct Screen {
    int width, height;
};
constexpr Screen kScreens[] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}};

// The bundled games: games/NAME/NAME.ini under the source folder.
inline std::vector<std::string> bundled_games() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(MEMORY_SOURCE_DIR) / "games")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && fs::exists(entry.path() / (name + ".ini"))) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class BundledGame {
public:
    BundledGame(const std::string& name, Screen screen) : name_(name) {
        system_ = fs::temp_directory_path() /
                  ("bundled-" + std::to_string(::getpid()) + "-" + name + "-" + std::to_string(screen.width));
        fs::remove_all(system_);
        fs::create_directories(system_);
        platform_.program_directory = MEMORY_SOURCE_DIR;
        platform_.system_directory = system_.string() + "/";
        platform_.arguments = "games/" + name + "/" + name + ".ini";
        platform_.screen_info = {screen.width, screen.height, 15};
    }
    ~BundledGame() {
        program_.reset();
        fs::remove_all(system_);
    }

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
            return front ? front->name() + "(" + std::to_string(front->index()) + ") at " + std::to_string(x) +
                               "," + std::to_string(y)
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
    fs::path system_;
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

}  // namespace mem::test
