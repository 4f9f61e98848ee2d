// The card grid: one picture and one caption per board position.
#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

void frm_MemoryGame::memPlaceCardGrid() {
    if (memCardFont) lbl_Card[1].set_font(memCardFont);
    const int16_t rows = memNearest16(memCardsY);
    const int16_t columns = memNearest16(memCardsX);
    int16_t k = 0;
    for (int16_t r = 1; r <= rows; ++r) {
        for (int16_t c = 1; c <= columns; ++c, ++k) {
            // Positions 0 and 1 are made with the window; create gives those back as they are.
            Image& card = img_Card.create(k);
            Label& caption = lbl_Card.create(k);
            const CardPlace place = memCardPlace(memLayout, memCardWidth, memCardHeight, r, c);
            card.set_bounds(place.left, place.top, memNearest16(memCardWidth), memNearest16(memCardHeight));

            // Mended: a position the deal did not fill, or a reference past the
            // card file, gets no face and no caption instead of reading past
            // the records.
            const CardDefinition* face = nullptr;
            if (static_cast<size_t>(k) < memDisplayCard.size()) {
                const int16_t d = memNearest16(memDisplayCard[static_cast<size_t>(k)].Reference);
                if (has_index(memCardHolder, d)) face = &memCardHolder[static_cast<size_t>(d)];
            }
            if (memAppType == 0) {
                card.set_picture(memCardBack);
            } else if (memAppType == 1) {
                card.set_picture(face ? face->Picture : nullptr);
            }
            card.set_border(memCardBorder != False);

            caption.set_fore_color(memCardForeColor);
            caption.set_caption(face ? face->Text : std::string());
            caption.set_left(card.left());
            caption.set_top(memNearest16((card.height() - lbl_Card[0].height()) / 2.0 + card.top()));
            // Set after the top, so the caption wraps within the card.
            caption.set_width(memNearest16(memCardWidth));
            caption.fit_to_text();

            if (debug()) {
                caption.set_visible(true);
                card.set_picture(face ? face->Picture : nullptr);
            }
            card.set_visible(true);
            if (memAppType == 1) caption.set_visible(true);
        }
    }
}

}  // namespace mem
