#pragma once
// A definition file set in a temporary folder, and a game window on the
// headless backend that reads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/game_window.h"
#include "app/program.h"
#include "platform/headless/headless_platform.h"

namespace mem::test {

class DefinitionTest : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("definition-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        for (const char* sub : {"gfx", "card", "sfx", "data", "system"})
            std::filesystem::create_directories(dir / sub);
        platform.system_directory = path("system");
        platform.program_directory = dir.string();
        game = std::make_unique<frm_MemoryGame>(program, platform);
        // A small memory game: 2 x 2 cards.
        files["memory.ini"] = "[application]\napp=memory\n[paths]\ngfx=" + path("gfx") + "\ncard=" +
                              path("card") + "\nsfx=" + path("sfx") + "\ndata=" + path("data") +
                              "\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n";
        files["main.ini"] = "[interface]\nbackcolor=255\n";
        files["global.ini"] = "[cards]\ncardsx=2\ncardsy=2\n";
        files["cards.txt"] = "a\ta.bmp\tA\nb\tb.bmp\tB\nc\tc.bmp\tC\nd\td.bmp\tD\n";
    }
    void TearDown() override {
        game.reset();
        std::filesystem::remove_all(dir);
    }

    // Starts again with a fresh window and set, for the next case of a table.
    void reset() {
        TearDown();
        platform.message_boxes.clear();
        SetUp();
    }

    // A folder of the set, with the trailing separator.
    std::string path(const std::string& sub) const { return (dir / sub).string() + "/"; }

    // Writes a file below the set's folder (e.g. "card/dog.wav").
    void write(const std::string& relative, const std::string& content) {
        std::ofstream out(dir / relative, std::ios::binary);
        out << content;
    }

    // Writes `files` into the data folder (an empty optional leaves one
    // out), then runs memCheckINI and memOpenINI. Gives the exit status when
    // the program ended, nothing when loading returned.
    std::optional<int> load() {
        write_files();
        try {
            const std::string ini = path("data") + "memory.ini";
            game->memCheckINI(ini);
            EXPECT_TRUE(game->memOpenINI(ini));
            return std::nullopt;
        } catch (const ProgramEnded& ended) {
            return ended.status;
        }
    }

    void write_files() {
        for (const auto& [name, content] : files)
            if (content) write("data/" + name, *content);
    }

    // The debug log's lines.
    std::vector<std::string> log_lines() const {
        std::ifstream in(dir / "system" / "memory.log", std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    std::filesystem::path dir;
    std::map<std::string, std::optional<std::string>> files;
    HeadlessPlatform platform;
    Program program{platform};
    std::unique_ptr<frm_MemoryGame> game;
};

}  // namespace mem::test
