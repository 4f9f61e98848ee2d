#include "board/geometry.h"

#include <algorithm>
#include <cmath>

#include "app/game_window.h"
#include "platform/screen_fit.h"

namespace mem {

// Mended: a value past the 16-bit range (a huge font or card size) stops at
// its nearest limit instead of overflowing; a value that is not a number is 0.
int16_t memNearest16(double value) {
    const double rounded = std::nearbyint(value);
    if (std::isnan(rounded)) return 0;
    return static_cast<int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

BoardGeometry memBoardGeometry(const BoardGeometryInput& in) {
    BoardGeometry out{in.screen, Layout{}};
    // The row kept when no row has a picture; one outside the table is row 0.
    out.layout.Picture = static_cast<size_t>(in.layout_picture) < in.pictures.size() ? in.layout_picture : int16_t{0};
    const float pixel = static_cast<float>(in.units_per_pixel > 0 ? in.units_per_pixel : 15);
    CurrentScreen& screen = out.screen;
    Layout& layout = out.layout;

    // Mended: the screen measures as the largest row that fits inside the
    // display in both width and height (row 0 when none fits), so the width
    // search below always hits and that row's background is used as it was
    // made; the backend scales the board to fill the display. A width-only
    // match gave today's displays a small board, or one larger than the screen.
    std::array<Size, 5> rows{};
    for (size_t row = 0; row < rows.size(); ++row) rows[row] = {in.sizes[row].Width, in.sizes[row].Height};
    const Size display{memNearest16(static_cast<float>(in.screen_width_units) / pixel),
                       memNearest16(static_cast<float>(in.screen_height_units) / pixel)};
    const Size measured = rows[static_cast<size_t>(largest_fitting(rows, display))];
    screen.Width = static_cast<int16_t>(measured.width);
    screen.Height = static_cast<int16_t>(measured.height);

    // Only the width picks the row; the row's height replaces the measured one.
    for (int row = 0; row <= 4; ++row) {
        if (in.sizes[row].Width == screen.Width) {
            screen.Index = in.sizes[row].Index;
            screen.Height = in.sizes[row].Height;
            break;
        }
    }

    // The row's own background, or the nearest smaller row that has one.
    for (int row = screen.Index; row >= 0; --row) {
        if (row < static_cast<int>(in.pictures.size()) && !in.pictures[row].empty()) {
            layout.Picture = static_cast<int16_t>(row);
            break;
        }
    }

    // The board keeps its row's size; the backend scales it on the display.
    const ScreenSize& board = in.sizes[static_cast<size_t>(layout.Picture)];
    layout.Width = board.Width;
    layout.Height = board.Height;
    layout.Left = memNearest16((static_cast<float>(screen.Width) - layout.Width) / 2.0f);
    layout.Top = memNearest16((static_cast<float>(screen.Height) - layout.Height) / 2.0f);

    layout.AreaLeft = memNearest16(static_cast<float>(in.control_left) + in.control_width + 16);
    layout.AreaTop = 16;
    layout.AreaWidth = static_cast<int16_t>(layout.Width - layout.AreaLeft - 16);
    layout.AreaHeight = memNearest16(static_cast<float>(layout.Height - 16) - (in.player_height + 8) - 16);

    // Kept: the divisor is the card count plus 3 and 1 is taken off before
    // flooring; boards were drawn for these gaps. A negative gap overlaps cards.
    layout.SpaceX = static_cast<int16_t>(std::floor(
        (static_cast<float>(layout.AreaWidth) - in.cards_x * in.card_width) / (in.cards_x + 3.0f) - 1.0f));
    layout.SpaceY = static_cast<int16_t>(std::floor(
        (static_cast<float>(layout.AreaHeight) - in.cards_y * in.card_height) / (in.cards_y + 3.0f) - 1.0f));
    return out;
}

CardPlace memCardPlace(const Layout& layout, float card_width, float card_height, int row, int column) {
    const float left = (2.0f * layout.SpaceX + card_width) * static_cast<float>(column) + layout.AreaLeft -
                       (card_width + layout.SpaceX);
    const float top = (2.0f * layout.SpaceY + card_height) * static_cast<float>(row) + layout.AreaTop -
                      (card_height + layout.SpaceY);
    return {memNearest16(left), memNearest16(top)};
}

void frm_MemoryGame::memComputeBoardGeometry() {
    const ScreenInfo info = platform().screen();
    BoardGeometryInput in;
    in.units_per_pixel = info.units_per_pixel;
    in.screen_width_units = info.width * info.units_per_pixel;
    in.screen_height_units = info.height * info.units_per_pixel;
    in.sizes = memScreenSizes;
    in.pictures = memInterface.Pictures;
    in.screen = memScreen;
    in.layout_picture = memLayout.Picture;
    in.control_left = img_Control[0].left();
    in.control_width = img_Control[0].width();
    in.player_height = img_Player[0].height();
    in.cards_x = memCardsX;
    in.cards_y = memCardsY;
    in.card_width = memCardWidth;
    in.card_height = memCardHeight;
    const BoardGeometry out = memBoardGeometry(in);
    memScreen = out.screen;
    memLayout = out.layout;
}

}  // namespace mem
