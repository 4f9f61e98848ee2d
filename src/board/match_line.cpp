// The match line: where it runs, and drawing it on the board.
#include "board/match_line.h"

#include <cmath>

#include "app/game_window.h"
#include "board/geometry.h"

namespace mem {

namespace {

struct Edges {
    int16_t left, top, width, height, right, bottom;
};

Edges edges_of(const CardBox& c) {
    Edges e{memNearest16(c.left), memNearest16(c.top), memNearest16(c.width), memNearest16(c.height), 0, 0};
    e.right = memNearest16(static_cast<float>(e.width) + e.left);
    e.bottom = memNearest16(static_cast<float>(e.height) + e.top);
    return e;
}

// nearest(size / 2 + start - shift), in single precision.
int16_t middle(int16_t size, int16_t start, int16_t shift) {
    return memNearest16(static_cast<float>(size) / 2.0f + static_cast<float>(start) - static_cast<float>(shift));
}

}  // namespace

LineEnds memMatchLineEnds(const CardBox& card_a, const CardBox& card_b, int pen_width) {
    const Edges a = edges_of(card_a);
    const Edges b = edges_of(card_b);
    const auto h = static_cast<int16_t>(pen_width / 2);
    LineEnds line;

    if (a.left > b.left) {
        line.x1 = static_cast<int16_t>(a.left - h);
        line.x2 = static_cast<int16_t>(b.right + h);
    } else if (a.left < b.left) {
        line.x1 = static_cast<int16_t>(a.right + h);
        line.x2 = static_cast<int16_t>(b.left - h);
    } else {
        line.x1 = middle(a.width, a.left, h);
        line.x2 = middle(b.width, b.left, h);
    }

    if (a.top == b.top) {
        line.y1 = middle(a.height, a.top, h);
        line.y2 = middle(b.height, b.top, h);
        return line;
    }
    if (a.top > b.top) {
        line.y1 = static_cast<int16_t>(a.top - h);
        line.y2 = static_cast<int16_t>(b.bottom + h);
    } else {
        line.y1 = static_cast<int16_t>(a.bottom + h);
        line.y2 = static_cast<int16_t>(b.top - h);
    }
    // Different rows: from the middle of one facing edge to the other's.
    line.x1 = middle(a.width, a.left, 0);
    line.x2 = middle(b.width, b.left, 0);
    return line;
}

void frm_MemoryGame::memDrawLine() {
    const int16_t a = memCardsTurned[0];
    const int16_t b = memCardsTurned[1];
    if (!img_Card.exists(a) || !img_Card.exists(b)) return;
    auto box = [](const Image& card) {
        return CardBox{static_cast<double>(card.left()), static_cast<double>(card.top()),
                       static_cast<double>(card.width()), static_cast<double>(card.height())};
    };
    const LineEnds line = memMatchLineEnds(box(img_Card[a]), box(img_Card[b]), pic_Background.draw_width());
    // Kept: the box's own pen, the match-line colour and width; a player's
    // strike-out leaves it red, and later lines are red too.
    pic_Background.line(line.x1, line.y1, line.x2, line.y2);
}

}  // namespace mem
