// The SDL backend's side of playing by keys: key codes of the keys the
// game answers, and the silence a muted sound hands the output.
#include <vector>

#include "platform/sdl/sdl_media_device.h"
#include "sdl_support.h"

namespace mem::test {
namespace {

class SdlKeyboard : public SdlSuite {};

TEST_F(SdlKeyboard, KeysGoDownWithTheirKeyCodes) {
    Window window(*platform, "frm_Keys");
    std::vector<int16_t> codes;
    window.on_key_down = [&](int16_t& code) { codes.push_back(code); };
    platform->show(window);
    const SDL_Keycode keys[] = {SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_TAB,  SDLK_RETURN,
                                SDLK_KP_ENTER, SDLK_SPACE, SDLK_m, SDLK_F5, SDLK_ESCAPE};
    for (SDL_Keycode key : keys) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
    platform->yield();
    // A key the game has no code for (F5) does not go down.
    EXPECT_EQ(codes, (std::vector<int16_t>{kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeyTab, kKeyReturn, kKeyReturn,
                                           kKeySpace, 'M', kKeyEscape}));
    platform->close(window);
}

// What the output is handed: the sound, or silence of the same length
// while muted; the stream moves on either way.
TEST_F(SdlKeyboard, MutedStreamHandsOutSilenceAndMovesOn) {
    const uint8_t sound[] = {10, 20, 30, 40, 50, 60};
    for (const bool muted : {false, true}) {
        SdlMediaDevice::Stream stream{sound, sizeof sound, 2, 0, 0, 0x80};
        stream.muted = muted;
        uint8_t out[6] = {};
        fill_sound_block(stream, out, 6);
        const std::vector<uint8_t> expected =
            muted ? std::vector<uint8_t>{0x80, 0x80, 0x80, 0x80, 0x80, 0x80}
                  : std::vector<uint8_t>{30, 40, 50, 60, 0x80, 0x80};
        EXPECT_EQ(std::vector<uint8_t>(out, out + 6), expected) << (muted ? "muted" : "aloud");
        EXPECT_EQ(stream.position, sizeof sound);
        EXPECT_TRUE(stream.ended);
    }
}

}  // namespace
}  // namespace mem::test
