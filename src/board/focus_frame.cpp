// The keyboard focus frame, and where it is shown: around the focused card
// or text, or around the end picture once the game is over.
#include "board/focus_frame.h"

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

FocusFrame::FocusFrame(Window& window, const std::string& name, PictureBox* container)
    : outline_(window, name, container) {
    outline_.set_border_color(kBlack);
    outline_.set_band_color(kWhite);
    outline_.set_border_width(kWidth);
    outline_.set_visible(false);
}

void FocusFrame::show_around(int left, int top, int width, int height) {
    outline_.set_bounds(left - kWidth, top - kWidth, width + 2 * kWidth, height + 2 * kWidth);
    outline_.set_visible(true);
}

void FocusFrame::hide() { outline_.set_visible(false); }

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
    for (int16_t k = 0; static_cast<size_t>(k) < memDisplayCard.size() && img_Card.exists(k); ++k) {
        const bool face_up = memDisplayCard[static_cast<size_t>(k)].Turned != False || k == turning;
        if (face_up && img_Card[k].shown() && focus_frame_covers(outer, inner, rect_of(img_Card[k]))) {
            shp_Focus.hide();
            return;
        }
    }
    shp_Focus.show_around(inner.left, inner.top, inner.width, inner.height);
}

}  // namespace mem
