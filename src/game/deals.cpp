// The text deal and the card deal.
#include "game/deals.h"

#include <algorithm>
#include <cmath>

#include "app/game_window.h"

namespace mem {

std::vector<int32_t> memDealPermutation(int32_t n, const std::function<double()>& draw) {
    std::vector<int32_t> slots;
    if (n <= 0) return slots;
    std::vector<bool> used(static_cast<size_t>(n), false);
    slots.reserve(static_cast<size_t>(n));
    while (static_cast<int32_t>(slots.size()) < n) {
        // Single precision, as the generator yields.
        const float x = static_cast<float>(draw());
        auto k = static_cast<int32_t>(std::floor(static_cast<float>(n) * x));
        // Mended: a product rounded up to n (or a stray value) is drawn again
        // instead of indexing past the last entry.
        if (k < 0 || k >= n) continue;
        if (used[static_cast<size_t>(k)]) continue;
        used[static_cast<size_t>(k)] = true;
        slots.push_back(k);
    }
    return slots;
}

std::vector<int32_t> memDrawPairs(int32_t available, int32_t wanted, const std::function<double()>& draw) {
    std::vector<int32_t> chosen;
    // Selection sampling: each entry in turn is taken with the chance that
    // the places still open bear to the entries still left.
    for (int32_t k = 0; k < available && static_cast<int32_t>(chosen.size()) < wanted; ++k) {
        const auto open = static_cast<double>(wanted - static_cast<int32_t>(chosen.size()));
        const auto left = static_cast<double>(available - k);
        if (left <= open || left * draw() < open) chosen.push_back(k);
    }
    return chosen;
}

void frm_MemoryGame::memDealTexts() {
    const auto n = static_cast<int32_t>(memCardCount);
    auto& display = memInterface.TextList.Display;
    display.assign(static_cast<size_t>(std::max(n, 0)), TextDisplay{});
    platform().seed_from_clock();
    const auto order = memDealPermutation(n, [this] { return platform().random(); });
    for (size_t j = 0; j < order.size(); ++j) display[j].Reference = static_cast<float>(order[j]);
}

void frm_MemoryGame::memDealCards() {
    const auto n = static_cast<int32_t>(memCardCount);
    // Positions 0..n, of which 0..n-1 are on the board.
    memDisplayCard.assign(static_cast<size_t>(std::max(n, 0) + 1), DisplayCard{});
    const auto order = memDealPermutation(n, [this] { return platform().random(); });
    for (size_t i = 0; i < order.size(); ++i) memDisplayCard[i].Reference = static_cast<float>(order[i]);
}

}  // namespace mem
