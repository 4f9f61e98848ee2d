// Broken card pictures, sounds and card files: nothing hangs or takes giant memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/play_fixture.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;
using CorruptMedia = PlayTest;

// A truncated PNG or a BMP claiming a huge size as a card picture is error 105
// and left out; a wave that claims 2 GB plays as the 0.1 s really there.
// Either way the pair is taken as usual.
TEST_F(CorruptMedia, BrokenCardPictureOrSoundIsReportedAndTheGameGoesOn) {
    const std::pair<const char*, std::string> cases[] = {
        {"f0.bmp", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x3c\0\0\0\x3c\x08\x02", 26)},
        // 60000 x 60000 pixels, 24 bits.
        {"f0.bmp", std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x60\xEA\0\0\x60\xEA\0\0\x01\0\x18\0", 30) +
                       std::string(24, '\0')},
        // 8000 bytes a second, 800 there, 0x7FFFFFFF claimed.
        {"s0.wav", std::string("RIFF\x44\x03\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data"
                               "\xff\xff\xff\x7f", 44) + std::string(800, '\x80')},
    };
    for (const auto& [file, bytes] : cases) {
        SCOPED_TRACE(std::string(file) + ", " + std::to_string(bytes.size()) + " bytes");
        restart(PlayOptions{});
        spoil = [&](const fs::path& dir) { std::ofstream(dir / "card" / file, std::ios::binary) << bytes; };
        ASSERT_EQ(start(), std::nullopt);
        wait_for_status_tick();
        if (std::string(file) == "f0.bmp") {
            ASSERT_EQ(platform().message_boxes.size(), 1u);
            EXPECT_EQ(platform().message_boxes[0].title, "Error in application (#105)");
            EXPECT_NE(platform().message_boxes[0].text.find("f0.bmp"), std::string::npos);
            EXPECT_EQ(game().memCardHolder[0].Picture, nullptr);
        }
        EXPECT_TRUE(try_cards(position_of(0), position_of(1)));
        EXPECT_EQ(game().memTurnedCards, 2);
    }
}

}  // namespace
}  // namespace mem::test
