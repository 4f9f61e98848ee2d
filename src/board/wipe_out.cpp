// Taking matched cards off the board: hidden at once, flown off the board or
// shrunk to nothing, as the definition's "dissapear" chooses.
#include <cmath>
#include <vector>

#include "app/game_window.h"
#include "board/geometry.h"
#include "board/removal_motion.h"

namespace mem {

namespace {

enum Removal : int16_t { kHideAtOnce = 1, kFlyAway = 2, kShrink = 3 };

}  // namespace

void frm_MemoryGame::memWipeOutCards() {
    memWiping = True;

    std::vector<int16_t> removed;
    if (memInterface.TextList.Active != False) {
        removed = {memTextGame.CardIndex};
    } else {
        removed = {memCardsTurned[0], memCardsTurned[1]};
    }
    // A position without a picture (or caption) has nothing to take away.
    std::erase_if(removed, [this](int16_t p) { return !img_Card.exists(p) || !lbl_Card.exists(p); });

    switch (memDissapear) {
        case kHideAtOnce:
            // Kept: the captions stay where they are; only the pictures go.
            for (int16_t p : removed) img_Card[p].set_visible(false);
            break;
        case kFlyAway:
            memFlyAway(removed);
            break;
        case kShrink:
            memShrinkAway(removed);
            break;
        default:
            break;
    }

    memWiping = False;
}

void frm_MemoryGame::memFlyAway(const std::vector<int16_t>& removed) {
    const size_t n = removed.size();
    std::vector<int16_t> sign(n), vx(n), vy(n), ox(n), oy(n);
    for (size_t i = 0; i < n; ++i) sign[i] = memFlySign(platform().random());

    const int16_t third_width = memAreaThird(memLayout.AreaWidth);
    const int16_t third_height = memAreaThird(memLayout.AreaHeight);
    for (size_t i = 0; i < n; ++i) {
        const Image& card = img_Card[removed[i]];
        const Label& caption = lbl_Card[removed[i]];
        const int16_t cx = memCardThird(card.left(), card.width(), memLayout.AreaLeft, third_width);
        const int16_t cy = memCardThird(card.top(), card.height(), memLayout.AreaTop, third_height);
        ox[i] = memNearest16(caption.left() - card.left());
        oy[i] = memNearest16(caption.top() - card.top());
        vx[i] = memFlyVelocity(cx, platform().random(), sign[i]);
        vy[i] = memFlyVelocity(cy, platform().random(), sign[i]);
    }

    const int16_t frame_width = memNearest16(pic_Background.inner_width());
    const int16_t frame_height = memNearest16(pic_Background.inner_height());
    // Kept: only the pictures come to the front; the captions keep their
    // place in the stacking order and fly along behind their pictures.
    for (int16_t p : removed) img_Card[p].bring_to_front();

    std::vector<bool> done(n, false);
    bool flying = n > 0;
    while (flying) {
        flying = false;
        for (size_t i = 0; i < n; ++i) {
            if (done[i]) continue;
            Image& card = img_Card[removed[i]];
            Label& caption = lbl_Card[removed[i]];
            card.set_bounds(card.left() + vx[i], card.top() + vy[i], card.width(), card.height());
            platform().yield();
            caption.set_bounds(card.left() + ox[i], card.top() + oy[i], caption.width(), caption.height());
            platform().yield();
            done[i] = memWhollyOutside(card.left(), card.top(), card.width(), card.height(), frame_width,
                                       frame_height);
            if (!done[i]) flying = true;
        }
        // The sleep follows every frame, the last one too.
        platform().sleep(50);
    }
    // The pictures and captions stay outside the board, not hidden.
}

void frm_MemoryGame::memShrinkAway(const std::vector<int16_t>& removed) {
    if (removed.empty()) return;
    const Image& first = img_Card[removed[0]];
    const int16_t step = memShrinkStep(first.width(), first.height());

    std::vector<ShrinkBox> boxes;
    for (int16_t p : removed) {
        const Image& card = img_Card[p];
        boxes.push_back({memNearest16(card.left()), memNearest16(card.top()), memNearest16(card.width()),
                         memNearest16(card.height())});
        lbl_Card[p].set_visible(false);
    }
    // The first card decides for all; every card has the same size.
    while (memShrinkGoesOn(boxes[0])) {
        for (size_t i = 0; i < removed.size(); ++i) {
            ShrinkBox& box = boxes[i];
            img_Card[removed[i]].set_bounds(box.left, box.top, box.width, box.height);
            platform().yield();
            memShrinkOnce(box, step);
        }
    }
    for (int16_t p : removed) {
        img_Card[p].set_visible(false);
        platform().yield();
    }
}

void frm_MemoryGame::tim_Wipe_Timer() {
    // The timer is never started; a tick would only let events through.
    platform().yield();
}

}  // namespace mem
