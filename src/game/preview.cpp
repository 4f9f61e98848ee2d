// The look at the faces before a memory game starts: every face shows while
// a bar above the cards shrinks, then the cards turn face down and the clock
// starts.
#include <algorithm>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

namespace {

constexpr int kLongestPreview = 60;  // seconds
constexpr int kBarHeight = 8;
constexpr int kBarGap = 4;  // between the bar and the play area

int preview_ms(int16_t seconds) { return std::clamp<int>(seconds, 0, kLongestPreview) * 1000; }

}  // namespace

void frm_MemoryGame::memStartPreview() {
    memPreviewing = True;
    // Every card on the board has its caption.
    for (int16_t k = 0; static_cast<size_t>(k) < memDisplayCard.size() && img_Card.exists(k); ++k) {
        const int16_t r = memNearest16(memDisplayCard[static_cast<size_t>(k)].Reference);
        if (!has_index(memCardHolder, r)) continue;
        const CardDefinition& face = memCardHolder[static_cast<size_t>(r)];
        img_Card[k].set_picture(face.Picture);
        if (!face.Text.empty()) lbl_Card[k].set_visible(true);
    }
    // Above the play area, across its width.
    shp_Preview.set_bounds(memLayout.AreaLeft, std::max(0, memLayout.AreaTop - kBarGap - kBarHeight),
                           memLayout.AreaWidth, kBarHeight);
    shp_Preview.set_visible(true);
    memPreviewEnd = platform().now_ms() + static_cast<uint64_t>(preview_ms(memPreview));
    tim_Preview.set_enabled(true);
}

void frm_MemoryGame::tim_Preview_Timer() {
    const uint64_t now = platform().now_ms();
    if (now >= memPreviewEnd) {
        memEndPreview();
        return;
    }
    const double left = static_cast<double>(memPreviewEnd - now) / preview_ms(memPreview);
    shp_Preview.set_width(memNearest16(memLayout.AreaWidth * left));
}

void frm_MemoryGame::memEndPreview() {
    tim_Preview.set_enabled(false);
    shp_Preview.set_visible(false);
    // With the trace on, the faces stay up as the board was built.
    if (debug() == False) {
        for (int16_t k = 0; k < memNearest16(memCardCount) && img_Card.exists(k); ++k) {
            img_Card[k].set_picture(memCardBack);
            lbl_Card[k].set_visible(false);
        }
    }
    memPreviewing = False;
    tim_Timer.set_enabled(true);
}

}  // namespace mem
