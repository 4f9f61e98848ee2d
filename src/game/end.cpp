// The end of a game: the board freezes, the good or bad end picture is
// shown in front of it and the end sound plays.
#include <cstdlib>
#include <string>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

void frm_MemoryGame::memMakeEnd() {
    // The end can be made twice in a row; a missing picture is reported once.
    const bool again = memGameOver != False;
    memGameOver = True;
    if (!again) memEndMadeAt = platform().now_ms();
    tim_Timer.set_enabled(false);
    const int16_t cards = memNearest16(memCardCount);
    for (int16_t i = 0; i < cards && img_Card.exists(i); ++i) img_Card[i].set_enabled(false);

    // Mended: an emptied board is a good end, also when the player who took
    // the last pair reached a limit with it (with one player, that player
    // would otherwise count as out and the end would be bad). A last try
    // still in hand has not emptied it: a limit reached before it is
    // settled is a bad end. The end is made only for an emptied board or
    // when every player is out, so the board alone tells which end it is.
    const bool good = memBoardEmptied();

    memSoundCommand("close");
    const std::string& picture_name = good ? memInterface.EndGoodPicture : memInterface.EndBadPicture;
    const std::string& sound_name = good ? memInterface.EndGoodSound : memInterface.EndBadSound;
    // Mended: an end picture that is named but missing or cannot be decoded
    // is reported like the other pictures (OK goes on without it); an empty
    // name gives the end without a picture and no message.
    PictureRef picture;
    std::string reason;
    if (!picture_name.empty()) {
        const std::string path = memPaths.Gfx + picture_name;
        picture = again ? platform().load_picture(path, reason) : memLoadBoardPicture(path, 106);
    }
    pic_End.set_picture(picture);
    mmc_Sound->set_file_name(memPaths.Sfx + sound_name);

    if (picture) {
        pic_End.set_left(memNearest16((inner_width() - pic_End.inner_width()) / 2.0));
        pic_End.set_top(memNearest16((inner_height() - pic_End.inner_height()) / 2.0));
        pic_End.set_visible(true);
        pic_End.bring_to_front();
    } else {
        // Without a picture the end goes on: the board stays frozen, and
        // Escape and the quit picture still end the program.
        pic_End.set_visible(false);
    }

    // A player on the keys finds the focus on the end picture.
    if (memFocusShown) memFocusArea = FocusArea::End;
    memShowFocus();

    if (!again) memSayEnd(good);
    memPlayEndSound();
}

// Mended: a key or click that came before the end was made never acts on
// the end picture (a Return pressed during the last pair's pause ended the
// program the moment the end appeared, unseen and unheard).
bool frm_MemoryGame::memInputBeforeEnd() const { return platform().input_time() < memEndMadeAt; }

void frm_MemoryGame::pic_End_Click() {
    if (memInputBeforeEnd()) return;
    // Ends at once: the sound device is not closed and the window not unloaded.
    platform().end_program(kExitNormal);
    std::abort();  // end_program never returns; the compiler cannot see that through the virtual call
}

}  // namespace mem
