#pragma once
// Dealing: a random permutation of the entries 0..n-1, drawn by rejection.
#include <cstdint>
#include <functional>
#include <vector>

namespace mem {

// Slot j receives the whole part of n * draw(), drawn again while that entry
// already lies in an earlier slot. draw() yields values in [0, 1).
std::vector<int32_t> memDealPermutation(int32_t n, const std::function<double()>& draw);

}  // namespace mem
