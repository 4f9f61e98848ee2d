#pragma once
// A definition file set in a temporary folder, read by a headless game window.
#include <map>
#include <optional>
#include <string>

#include "board/board_fixture.h"

namespace mem::test {

class DefinitionTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // A small memory game: 2 x 2 cards.
        files = {{"memory.ini", "[application]\napp=memory\n[paths]\ngfx=" + path("gfx") + "\ncard=" + path("card") +
                                    "\nsfx=" + path("sfx") + "\ndata=" + path("data") +
                                    "\n[gamefiles]\nmain=main.ini\nglobal=global.ini\ncards=cards.txt\n"},
                 {"main.ini", "[interface]\nbackcolor=255\n"},
                 {"global.ini", "[cards]\ncardsx=2\ncardsy=2\n"},
                 {"cards.txt", "a\ta.bmp\tA\nb\tb.bmp\tB\nc\tc.bmp\tC\nd\td.bmp\tD\n"}};
    }

    // Writes `files` into the data folder (an empty optional leaves one out), then runs memCheckINI and
    // memOpenINI. Gives the exit status when the program ended, nothing when loading returned.
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

    std::map<std::string, std::optional<std::string>> files;
};

}  // namespace mem::test
