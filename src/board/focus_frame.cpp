// The keyboard focus frame, and where it is shown: around the focused card
// or text, or around the end picture once the game is over.
#include "board/focus_frame.h"

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

FocusFrame::FocusFrame(Window& window, const std::string& name, PictureBox* container) {
    const Colour colours[kWidth] = {kBlack, kWhite, kWhite, kBlack};
    for (int i = 0; i < kWidth; ++i) {
        rings_.push_back(std::make_unique<Shape>(window, name, container));
        rings_.back()->set_index(static_cast<int16_t>(i));
        rings_.back()->set_border_color(colours[i]);
        rings_.back()->set_visible(false);
    }
}

void FocusFrame::show_around(int left, int top, int width, int height) {
    for (size_t i = 0; i < rings_.size(); ++i) {
        const int d = static_cast<int>(i) + 1;
        rings_[i]->set_bounds(left - d, top - d, width + 2 * d, height + 2 * d);
        rings_[i]->set_visible(true);
    }
}

void FocusFrame::hide() {
    for (auto& ring : rings_) ring->set_visible(false);
}

namespace {

FocusRect rect_of(const Control& c) { return {c.left(), c.top(), c.width(), c.height()}; }

}  // namespace

void frm_MemoryGame::memShowFocus(int16_t turning) {
    const Control* target = nullptr;
    if (memFocusShown && memFocusArea == FocusArea::Cards && img_Card.exists(memFocusCard))
        target = &img_Card[memFocusCard];
    if (memFocusShown && memFocusArea == FocusArea::Texts && lbl_Text.exists(memFocusText))
        target = &lbl_Text[memFocusText];

    if (memFocusShown && memFocusArea == FocusArea::End && pic_End.shown())
        shp_EndFocus.show_around(pic_End.left(), pic_End.top(), pic_End.width(), pic_End.height());
    else
        shp_EndFocus.hide();

    if (!target || !target->shown()) {
        shp_Focus.hide();
        return;
    }
    // While a try's cards are face up, the frame goes when it would cover one.
    const FocusRect inner = rect_of(*target);
    const FocusRect outer{inner.left - FocusFrame::kWidth, inner.top - FocusFrame::kWidth,
                          inner.width + 2 * FocusFrame::kWidth, inner.height + 2 * FocusFrame::kWidth};
    const int16_t cards = memNearest16(memCardCount);
    for (int16_t k = 0; k < cards && img_Card.exists(k) && static_cast<size_t>(k) < memDisplayCard.size(); ++k) {
        const bool face_up = memDisplayCard[static_cast<size_t>(k)].Turned != False || k == turning;
        if (face_up && img_Card[k].shown() && focus_frame_covers(outer, inner, rect_of(img_Card[k]))) {
            shp_Focus.hide();
            return;
        }
    }
    shp_Focus.show_around(inner.left, inner.top, inner.width, inner.height);
}

}  // namespace mem
