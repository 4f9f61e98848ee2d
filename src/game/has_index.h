// Whether a signed position names an element of a list: the game keeps its
// positions and references in 16-bit signed numbers, while its lists count
// in size_t.
#pragma once

#include <cstddef>

namespace mem {

template <typename Items>
bool has_index(const Items& items, int index) {
    return index >= 0 && static_cast<size_t>(index) < items.size();
}

}  // namespace mem
