#pragma once
// Test files and fresh folders: a headless game window in one, a definition set read by that window, and for the
// board tests a 4 x 4 deal on an 800 x 600 screen.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "app/game_window.h"
#include "app/program.h"
#include "support/scratch.h"

namespace mem::test {

// Writes each value as that many little-endian bytes.
inline void put_le(std::ostream& out, std::initializer_list<std::pair<long, int>> values) {
    for (const auto& [value, bytes] : values)
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

// A small 24-bit BMP of the given size, every pixel one grey.
inline void write_bmp(const std::filesystem::path& path, int width, int height) {
    const int data = (width * 3 + 3) / 4 * 4 * height;
    std::ofstream out(path, std::ios::binary);
    out << "BM";
    // The file header, then the info header: size, planes, bits, no compression, 72 dpi.
    put_le(out, {{54 + data, 4}, {0, 4}, {54, 4}, {40, 4}, {width, 4}, {height, 4}, {1, 2}, {24, 2}, {0, 4}, {data, 4},
                 {2835, 4}, {2835, 4}, {0, 4}, {0, 4}});
    out << std::string(static_cast<size_t>(data), '\x40');
}

// A mono 8-bit wave of silence, `ms` long.
inline void write_wave(const std::filesystem::path& path, int ms) {
    const int rate = 8000, bytes = rate * ms / 1000;
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    put_le(out, {{36 + bytes, 4}});
    out << "WAVEfmt ";
    put_le(out, {{16, 4}, {1, 2}, {1, 2}, {rate, 4}, {rate, 4}, {1, 2}, {8, 2}});
    out << "data";
    put_le(out, {{bytes, 4}});
    out << std::string(static_cast<size_t>(bytes), '\x80');
}

// An emptied folder NAME-pid with the set's folders in it; `platform` runs there, "system" its system directory.
inline std::filesystem::path fresh_folder(const std::string& name, HeadlessPlatform& platform) {
    const auto dir = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    for (const char* sub : {"gfx", "card", "sfx", "data", "system"}) std::filesystem::create_directories(dir / sub);
    platform.program_directory = dir.string();
    platform.system_directory = (dir / "system").string() + "/";
    return dir;
}

// The error numbers of the message boxes shown, in order.
inline std::vector<int> error_codes(const HeadlessPlatform& platform) {
    std::vector<int> codes;
    for (const auto& box : platform.message_boxes)
        codes.push_back(std::stoi(box.title.substr(box.title.find('#') + 1)));
    return codes;
}

// Files in the test's folder.
class FolderTest : public testing::Test {
public:
    void TearDown() override { std::filesystem::remove_all(dir); }
    // A folder in it, with the trailing separator.
    std::string path(const std::string& sub) const { return (dir / sub).string() + "/"; }
    void write(const std::string& relative, const std::string& content) const {
        std::ofstream(dir / relative, std::ios::binary) << content;
    }
    std::string read(const std::string& relative) const {
        std::ifstream in(dir / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path dir;
};

// A game window in a fresh folder; SetUp again starts a table's next case afresh.
class WindowTest : public FolderTest {
protected:
    void SetUp() override {
        game.reset();
        dir = fresh_folder("memory", platform);
        platform.message_boxes.clear();
        game = std::make_unique<frm_MemoryGame>(program, platform);
    }
    void TearDown() override {
        game.reset();
        FolderTest::TearDown();
    }

    std::vector<int> error_codes() const { return test::error_codes(platform); }

    HeadlessPlatform platform;
    Program program{platform};
    std::unique_ptr<frm_MemoryGame> game;
};

class BoardTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        platform.screen_info = {800, 600, 15};
        const int16_t sizes[5][2] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}};
        for (int16_t row = 0; row < 5; ++row) game->memScreenSizes[row] = ScreenSize{row, sizes[row][0], sizes[row][1]};
        game->memPaths.Gfx = game->memPaths.Sfx = dir.string() + "/";
        game->memInterface.Pictures[1] = "board800.bmp";
        picture("board800.bmp", 800, 600);
        game->memPlayerPicture = "player.bmp";
        picture("player.bmp", 121, 33);
        game->memCardBack = platform.load_picture(picture("back.bmp", 10, 10), error);
        game->memCardsX = game->memCardsY = 4;
        game->memCardCount = 16;
        game->memCardWidth = game->memCardHeight = 80;
        game->memPlayers = 1;
        game->memPlayer = {PlayerRecord{.Name = "Ann"}};
        deal(16);
    }
    // Creates a picture file in the picture directory; returns its path.
    std::string picture(const std::string& name, int width, int height) {
        write_bmp(dir / name, width, height);
        return (dir / name).string();
    }
    // Card definitions 0..n-1 with a face picture and caption each, dealt in reverse order.
    void deal(int n) {
        game->memCardHolder.assign(static_cast<size_t>(n), CardDefinition{});
        game->memDisplayCard.assign(static_cast<size_t>(n), DisplayCard{});
        PictureRef face = platform.load_picture(picture("face.bmp", 12, 12), error);
        for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
            game->memCardHolder[i].Picture = face;
            game->memCardHolder[i].Text = "C" + std::to_string(i);
            game->memDisplayCard[i].Reference = static_cast<float>(static_cast<size_t>(n) - 1 - i);
        }
    }
    void build() {
        game->memComputeBoardGeometry();
        game->memMakeInterface();
    }

    std::string error;
};

// A definition file set in a fresh folder, read by a game window.
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
        const std::string ini = path("data") + "memory.ini";
        return exit_status([&] { game->memCheckINI(ini); game->memOpenINI(ini); });
    }
    void write_files() {
        for (const auto& [name, content] : files)
            if (content) write("data/" + name, *content);
    }

    std::map<std::string, std::optional<std::string>> files;
};

}  // namespace mem::test
