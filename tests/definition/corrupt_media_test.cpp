#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include "definition/syntax.h"
#include "support/play_fixture.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;

void write_bytes(const fs::path& path, const std::string& bytes) {
    fs::remove_all(path);
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string le32(uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

// The ways a file can be broken.
void spoil_file(const fs::path& path, const std::string& how) {
    if (how == "truncated PNG") {
        write_bytes(path, std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x3c\0\0\0\x3c\x08\x02", 26));
    } else if (how == "BMP of a huge size") {
        std::string bmp = "BM" + le32(54) + le32(0) + le32(54) + le32(40) + le32(60000) + le32(60000);
        write_bytes(path, bmp + std::string("\x01\0\x18\0", 4) + std::string(24, '\0'));
    } else if (how == "wave whose data length lies") {
        // Claims 2 GB of sound; 800 bytes (0.1 s at 8000 bytes a second) are there.
        write_bytes(path, "RIFF" + le32(36 + 800) + "WAVEfmt " + le32(16) + std::string("\x01\0\x01\0", 4) +
                              le32(8000) + le32(8000) + std::string("\x01\0\x08\0", 4) + "data" +
                              le32(0x7FFFFFFF) + std::string(800, '\x80'));
    } else if (how == "empty file") {
        write_bytes(path, "");
    } else if (how == "directory") {
        fs::remove_all(path);
        fs::create_directory(path);
    }
}

using CorruptMedia = PlayTest;

// A broken card picture is reported with its numbered error and the game
// goes on without it; nothing hangs or takes giant memory.
TEST_F(CorruptMedia, BrokenCardPictureIsReportedAndTheGameGoesOn) {
    for (const char* how : {"truncated PNG", "BMP of a huge size", "empty file", "directory"}) {
        SCOPED_TRACE(how);
        restart(PlayOptions{});
        spoil = [how](const fs::path& dir) { spoil_file(dir / "card" / "f0.bmp", how); };
        ASSERT_EQ(start(), std::nullopt);
        ASSERT_EQ(platform().message_boxes.size(), 1u);
        EXPECT_EQ(platform().message_boxes[0].title, "Error in application (#105)");
        EXPECT_NE(platform().message_boxes[0].text.find("f0.bmp"), std::string::npos);
        EXPECT_EQ(game().memCardHolder[0].Picture, nullptr);
        EXPECT_TRUE(try_cards(position_of(0), position_of(1)));
    }
}

// A broken card sound plays as silence (or as the sound that is really
// there): the try is settled as usual.
TEST_F(CorruptMedia, BrokenCardSoundDoesNotHoldUpTheTry) {
    for (const char* how : {"wave whose data length lies", "empty file", "truncated PNG", "directory"}) {
        SCOPED_TRACE(how);
        restart(PlayOptions{});
        spoil = [how](const fs::path& dir) { spoil_file(dir / "card" / "s0.wav", how); };
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        const auto [a, b] = pair_positions(0);
        EXPECT_TRUE(try_cards(a, b));
        EXPECT_EQ(game().memTurnedCards, 2);
    }
}

// A named pipe given as the card file is no file: error 7 at once, where
// opening it would wait for a writer for ever.
TEST_F(CorruptMedia, NamedPipeAsCardFileIsMissing) {
    restart(PlayOptions{});
    spoil = [](const fs::path& dir) {
        fs::remove(dir / "data" / "cards.txt");
        ASSERT_EQ(::mkfifo((dir / "data" / "cards.txt").c_str(), 0600), 0);
    };
    EXPECT_EQ(start(), kExitFailure);
    ASSERT_FALSE(platform().message_boxes.empty());
    EXPECT_EQ(platform().message_boxes.back().title, "Error in application (#7)");
    EXPECT_EQ(memFileExists(path("data") + "cards.txt"), False);
}

}  // namespace
}  // namespace mem::test
