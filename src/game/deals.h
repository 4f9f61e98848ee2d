#pragma once
// Dealing: a random permutation of the entries 0..n-1, drawn by rejection,
// and the draw of a game's pairs from a longer card file.
#include <cstdint>
#include <functional>
#include <vector>

namespace mem {

// Slot j receives the whole part of n * draw(), drawn again while that entry
// already lies in an earlier slot. draw() yields values in [0, 1).
std::vector<int32_t> memDealPermutation(int32_t n, const std::function<double()>& draw);

// A game's pairs drawn from a longer card file: `wanted` of the entries
// 0..available-1, every choice of them equally likely, in ascending order.
// All of them when there are no more than wanted.
std::vector<int32_t> memDrawPairs(int32_t available, int32_t wanted, const std::function<double()>& draw);

}  // namespace mem
