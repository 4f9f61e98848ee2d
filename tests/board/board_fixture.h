#pragma once
// A game window on the headless backend in a temporary folder; for the board
// tests, a 4 x 4 deal on an 800 x 600 screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/game_window.h"
#include "app/program.h"
#include "platform/headless/headless_platform.h"

namespace mem::test {

// Writes a small 24-bit BMP of the given size, every pixel one grey.
inline void write_bmp(const std::filesystem::path& path, int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    const int data = row * height;
    std::string bmp(static_cast<size_t>(54 + data), '\x40');
    auto put = [&bmp](int at, int value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp[static_cast<size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    // File header, then the info header: size, planes, bits, no compression, 72 dpi.
    const int header[][3] = {{0, 0x4D42, 2}, {2, 54 + data, 4}, {6, 0, 4},      {10, 54, 4},    {14, 40, 4},
                             {18, width, 4}, {22, height, 4},   {26, 1, 2},     {28, 24, 2},    {30, 0, 4},
                             {34, data, 4},  {38, 2835, 4},     {42, 2835, 4},  {46, 0, 4},     {50, 0, 4}};
    for (const auto& [at, value, bytes] : header) put(at, value, bytes);
    std::ofstream(path, std::ios::binary) << bmp;
}

// A fresh folder (the program directory, with the system directory "system"
// in it) and game window; SetUp again starts a table's next case afresh.
class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        game.reset();
        dir = std::filesystem::temp_directory_path() /
              ("memory-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "system");
        platform.program_directory = dir.string();
        platform.system_directory = (dir / "system").string() + "/";
        platform.message_boxes.clear();
        game = std::make_unique<frm_MemoryGame>(program, platform);
    }
    void TearDown() override {
        game.reset();
        std::filesystem::remove_all(dir);
    }

    void write(const std::string& relative, const std::string& content) {
        std::ofstream(dir / relative, std::ios::binary) << content;
    }
    std::string read(const std::string& relative) const {
        std::stringstream s;
        s << std::ifstream(dir / relative, std::ios::binary).rdbuf();
        return s.str();
    }
    // The error numbers of the message boxes shown.
    std::vector<int> error_codes() const {
        std::vector<int> codes;
        for (const auto& box : platform.message_boxes)
            codes.push_back(std::stoi(box.title.substr(box.title.find('#') + 1)));
        return codes;
    }

    std::filesystem::path dir;
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
        ASSERT_EQ(game->memMakeInterface(), True);
    }

    std::string error;
};

}  // namespace mem::test
